#include "viewer/BlankScreen.h"

#include <QPainter>

namespace KX {

namespace {

constexpr int TextPointSize = 18;

} // namespace

BlankScreen::BlankScreen(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

BlankScreen::~BlankScreen() = default;

void BlankScreen::showColour(const QColor& colour, const QString& text) {
    _colour = colour;
    _text = text;
    if (parentWidget()) {
        setGeometry(parentWidget()->rect());
    }
    show();
    raise();
    update();
}

void BlankScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), _colour);
    if (_text.isEmpty()) {
        return;
    }
    QFont font = painter.font();
    font.setPointSize(TextPointSize);
    painter.setFont(font);
    painter.setPen(QColor(160, 160, 160));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, _text);
}

} // namespace KX
