#pragma once

#include <QObject>

namespace KX::Brovik {

// Lifecycle of one editor window as the framework sees it: created once the editor has told it that
// it is ready for the user (for the viewer: after its first-run tips are dismissed).
class EditorState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool isCreated() const { return _created; }

public slots:
    void editorCreated();

signals:
    void created();

private:
    bool _created = false;
};

} // namespace KX::Brovik
