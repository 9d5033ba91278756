#include "viewer/resources/painter/Painting.h"

#include <QPainter>
#include <QPainterPath>

namespace KX::ImagePainter {

namespace {

const QColor Accent(213, 86, 91);
const QColor FocusRing(213, 86, 91, 90);
const QColor Grey(120, 120, 120);

void checkMark(QPainter& p, qreal offset) {
    QPen pen(QColor(255, 255, 255), 1.8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    QPainterPath path;
    path.moveTo(offset + 3.5, offset + 8);
    path.lineTo(offset + 6.5, offset + 11);
    path.lineTo(offset + 12.5, offset + 4.5);
    p.drawPath(path);
}

void checkBox(QPainter& p, bool checked, bool focused) {
    if (focused) {
        p.setPen(QPen(FocusRing, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(0.75, 0.75, 14.5, 14.5), 3, 3);
    }
    const QRectF box(2, 2, 12, 12);
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(Accent);
        p.drawRoundedRect(box, 2, 2);
        p.save();
        p.translate(2, 2);
        p.scale(0.75, 0.75);
        checkMark(p, 0);
        p.restore();
    } else {
        p.setPen(QPen(Accent, 1.2));
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    }
}

void radio(QPainter& p, qreal size, bool checked, bool focused) {
    const QPointF centre(size / 2, size / 2);
    if (focused) {
        p.setPen(QPen(FocusRing, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, size / 2 - 0.75, size / 2 - 0.75);
    }
    p.setPen(QPen(Accent, 1.2));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(centre, 6, 6);
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(Accent);
        p.drawEllipse(centre, 3.2, 3.2);
    }
}

void inputButtonBackground(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 28));
    p.drawEllipse(QPointF(12, 12), 10, 10);
}

void clearButton(QPainter& p) {
    inputButtonBackground(p);
    QPen pen(Grey, 1.8);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
}

void eye(QPainter& p, bool crossed) {
    inputButtonBackground(p);
    QPen pen(Grey, 1.5);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath outline;
    outline.moveTo(5, 12);
    outline.quadTo(12, 4.5, 19, 12);
    outline.quadTo(12, 19.5, 5, 12);
    p.drawPath(outline);
    p.setBrush(Grey);
    p.drawEllipse(QPointF(12, 12), 2.3, 2.3);
    if (crossed) {
        p.drawLine(QPointF(6, 18), QPointF(18, 6));
    }
}

} // namespace

std::vector<ImageRecipe> dialogImages() {
    return {
        {QStringLiteral("com_dlg_pv_checkbox_on_ic"), QSize(16, 16),
         [](QPainter& p) { checkBox(p, true, false); }},
        {QStringLiteral("com_dlg_pv_checkbox_on_ic_focused"), QSize(16, 16),
         [](QPainter& p) { checkBox(p, true, true); }},
        {QStringLiteral("com_dlg_pv_checkbox_off_ic_focused"), QSize(16, 16),
         [](QPainter& p) { checkBox(p, false, true); }},
        {QStringLiteral("dlg_radio_checked_pv"), QSize(16, 16),
         [](QPainter& p) { radio(p, 16, true, false); }},
        {QStringLiteral("dlg_radio_checked_focused_pv"), QSize(18, 18),
         [](QPainter& p) { radio(p, 18, true, true); }},
        {QStringLiteral("dlg_radio_unchecked_focused_pv"), QSize(18, 18),
         [](QPainter& p) { radio(p, 18, false, true); }},
        {QStringLiteral("dlg_clear_input_button_hovered_pressed"), QSize(24, 24), clearButton},
        {QStringLiteral("dlg_show_input_pass_button_hovered_pressed"), QSize(24, 24),
         [](QPainter& p) { eye(p, false); }},
        {QStringLiteral("dlg_hide_input_pass_button_hovered_pressed"), QSize(24, 24),
         [](QPainter& p) { eye(p, true); }},
        {QStringLiteral("file_loading_screen_ic"), QSize(128, 128),
         [](QPainter& p) { paintAppIcon(p, 128); }},
        {QStringLiteral("dlg_about_app_ic"), QSize(80, 80), [](QPainter& p) { paintAppIcon(p, 80); }},
    };
}

} // namespace KX::ImagePainter
