#pragma once

#include <QWidget>

namespace KX {

// A plain screen laid over the whole presentation window: black or white while the presenter
// blanks the audience's view, black with a line of text at the end of the show.
class BlankScreen : public QWidget {
    Q_OBJECT
public:
    explicit BlankScreen(QWidget* parent);
    ~BlankScreen() override;

    void showColour(const QColor& colour, const QString& text = QString());
    QColor colour() const { return _colour; }
    QString text() const { return _text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor _colour;
    QString _text;
};

} // namespace KX
