#include "viewer/WelcomeScreen.h"

#include "platform/brovik/style/IconPixmap.h"
#include "platform/brovik/windows/RestoringGeometryHandler.h"
#include "ui_WelcomeScreen.h"

#include <QAction>
#include <QCloseEvent>

namespace KX {

WelcomeScreen::WelcomeScreen(QWidget* parent) : QDialog(parent) {
    Ui::WelcomeScreen form;
    form.setupUi(this);
    form.welcomeText->setText(QString());
    form.logo->setText(QString());
    form.browseButton->setText(QCoreApplication::translate("WelcomeScreen", "OPEN..."));
    // Setting a button's text replaces its shortcut with the text's mnemonic; keep the form's key.
    form.browseButton->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));

    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    form.browseButton->setAttribute(Qt::WA_LayoutUsesWidgetRect);
    connect(form.browseButton, &QPushButton::clicked, this, &WelcomeScreen::browseButtonClicked);

    _helpAction = new QAction(this);
    _helpAction->setShortcut(Qt::Key_F1);
    connect(_helpAction, &QAction::triggered,
            [this] { emit helpTriggered(QStringLiteral("Help Presentation")); });
    addAction(_helpAction);

    form.welcomeText->setPixmap(Brovik::getPixmapForIcon(QStringLiteral("icons:p_welcome_text")));
    form.logo->setPixmap(Brovik::getPixmapForIcon(QStringLiteral("icons:p_welcome_ordova_logo")));
}

WelcomeScreen::~WelcomeScreen() = default;

bool WelcomeScreen::event(QEvent* event) {
    if (const auto& handler = getRestoringGeometryHandler()) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
        case QEvent::WindowStateChange:
            handler->restartStoringWindowStatesTimer();
            break;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

void WelcomeScreen::closeEvent(QCloseEvent*) {
    // The dialog's own close handling would reject it; the window simply closes.
    if (const auto& handler = getRestoringGeometryHandler()) {
        handler->saveWindowSettings(true);
    }
}

} // namespace KX
