#include "platform/brovik/application/HelpWindow.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace KX::Brovik {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), _browser(new QTextBrowser(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    _browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_browser);
    resize(640, 560);
}

QString HelpWindow::pageForTopic(const QString& topic) {
    QString name = topic;
    name.remove(QLatin1Char(' '));
    return QStringLiteral(":/brovik/help/") + name + QStringLiteral(".html");
}

bool HelpWindow::showTopic(const QString& topic) {
    setWindowTitle(topic);
    const QString page = pageForTopic(topic);
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly)) {
        _currentPage.clear();
        _browser->setPlainText(tr("No help is available for \"%1\".").arg(topic));
        return false;
    }
    _currentPage = page;
    _browser->setHtml(QString::fromUtf8(file.readAll()));
    return true;
}

} // namespace KX::Brovik
