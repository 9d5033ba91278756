#pragma once

#include "platform/brovik/windows/RestoringGeometryProvider.h"

#include <QDialog>

class QAction;

namespace KX {

// The start window shown when slidewell starts without a document: a welcome banner, an "OPEN..."
// button leading to the document browser, and the product logo. Fixed size; F1 asks for help.
class WelcomeScreen : public QDialog, public Brovik::RestoringGeometryProvider {
    Q_OBJECT
public:
    explicit WelcomeScreen(QWidget* parent = nullptr);
    ~WelcomeScreen() override;

signals:
    void browseButtonClicked();
    void helpTriggered(QString helpFile);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* _helpAction = nullptr;
};

} // namespace KX
