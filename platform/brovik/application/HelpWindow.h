#pragma once

#include <QDialog>

class QTextBrowser;

namespace KX::Brovik {

// Shows a help topic from the help pages compiled into the framework.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Returns false (and shows a short notice) when there is no page for `topic`.
    bool showTopic(const QString& topic);
    // The resource path of a topic's page ("Help Presentation" -> ":/brovik/help/HelpPresentation.html").
    static QString pageForTopic(const QString& topic);
    QString currentPage() const { return _currentPage; }

private:
    QTextBrowser* _browser;
    QString _currentPage;
};

} // namespace KX::Brovik
