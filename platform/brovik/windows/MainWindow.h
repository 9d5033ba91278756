#pragma once

#include "platform/brovik/windows/RestoringGeometryProvider.h"

#include <QMainWindow>
#include <QPointer>

namespace KX::Brovik {

class EditorMainWidget;

// The top-level window of one document. It owns its editor widget, tells it about full-screen
// changes, keeps its geometry through the RestoringGeometryHandler it is given, and deletes itself
// when closed.
class MainWindow : public QMainWindow, public RestoringGeometryProvider {
    Q_OBJECT
public:
    // `withStatusBar` adds a status bar (editors that report progress there).
    MainWindow(EditorMainWidget* editor, bool withStatusBar);
    ~MainWindow() override;

    EditorMainWidget* getEditor() const { return _editor; }

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<EditorMainWidget> _editor;
};

} // namespace KX::Brovik
