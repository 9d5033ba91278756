#include "platform/brovik/windows/MainWindow.h"

#include "platform/brovik/application/EditorApplication.h"
#include "platform/brovik/document/DocumentIO.h"
#include "platform/brovik/editor/EditorMainWidget.h"
#include "platform/brovik/windows/RestoringGeometryHandler.h"

#include <QCloseEvent>
#include <QStatusBar>
#include <QWindowStateChangeEvent>

namespace KX::Brovik {

MainWindow::MainWindow(EditorMainWidget* editor, bool withStatusBar) : _editor(editor) {
    setAttribute(Qt::WA_DeleteOnClose);
    if (editor) {
        // A window without stored geometry opens at the size its editor asked for, not at the
        // editor's minimum.
        const QSize initialSize = editor->size();
        setCentralWidget(editor);
        resize(initialSize.expandedTo(minimumSizeHint()));
        QString title = editor->getDocumentIO().fileName();
        if (auto* application = EditorApplication::instance()) {
            title = title.isEmpty()
                        ? application->getLocalizedApplicationName()
                        : title + QStringLiteral(" - ") + application->getLocalizedApplicationName();
        }
        setWindowTitle(title);
        setWindowFilePath(editor->getDocumentIO().filePath());
        editor->setFocus(Qt::OtherFocusReason);
    }
    if (withStatusBar) {
        statusBar();
    }
}

MainWindow::~MainWindow() = default;

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && _editor) {
        if (auto* application = EditorApplication::instance()) {
            application->onEditorActivated(_editor);
        }
    }
    if (const auto& handler = getRestoringGeometryHandler()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            handler->restartStoringWindowStatesTimer();
            break;
        default:
            break;
        }
    }
    return QMainWindow::event(event);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && _editor) {
        _editor->handleWindowStateChange(static_cast<QWindowStateChangeEvent*>(event)->oldState());
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (const auto& handler = getRestoringGeometryHandler()) {
        handler->saveWindowSettings(true);
    }
    QMainWindow::closeEvent(event);
}

} // namespace KX::Brovik
