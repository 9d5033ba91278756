#include "viewer/resources/painter/Painting.h"

#include <QPainter>
#include <QPainterPath>

namespace KX::ImagePainter {

namespace {

QPen strokePen(const QColor& colour, qreal width = 2.0) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void chevron(QPainter& p, const QColor& colour, bool pointingLeft) {
    p.setPen(strokePen(colour, 2.4));
    QPainterPath path;
    if (pointingLeft) {
        path.moveTo(14.5, 6);
        path.lineTo(8.5, 12);
        path.lineTo(14.5, 18);
    } else {
        path.moveTo(9.5, 6);
        path.lineTo(15.5, 12);
        path.lineTo(9.5, 18);
    }
    p.drawPath(path);
}

// Four corner brackets; `outwards` draws them opening away from the centre (enter full screen).
void corners(QPainter& p, bool outwards) {
    p.setPen(strokePen(ToolbarIconColour));
    const qreal a = 5, b = 10, c = 14, d = 19;
    for (int corner = 0; corner < 4; ++corner) {
        const bool right = corner % 2 == 1;
        const bool bottom = corner >= 2;
        const qreal x = right ? d : a;
        const qreal y = bottom ? d : a;
        const qreal inX = right ? c : b;
        const qreal inY = bottom ? c : b;
        QPainterPath path;
        if (outwards) {
            path.moveTo(inX, y);
            path.lineTo(x, y);
            path.lineTo(x, inY);
        } else {
            // The bracket sits at the inner point and opens towards the corner.
            path.moveTo(x, inY);
            path.lineTo(inX, inY);
            path.lineTo(inX, y);
        }
        p.drawPath(path);
    }
}

void pointer(QPainter& p) {
    p.setPen(Qt::NoPen);
    QRadialGradient glow(QPointF(12, 12), 9);
    glow.setColorAt(0.0, QColor(255, 90, 90, 200));
    glow.setColorAt(1.0, QColor(255, 90, 90, 0));
    p.setBrush(glow);
    p.drawEllipse(QPointF(12, 12), 9, 9);
    p.setBrush(QColor(240, 50, 50));
    p.drawEllipse(QPointF(12, 12), 4, 4);
    p.setPen(strokePen(ToolbarIconColour, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 5.5, 5.5);
}

void folder(QPainter& p) {
    p.setPen(strokePen(ToolbarIconColour, 1.8));
    QPainterPath path;
    path.moveTo(4, 18);
    path.lineTo(4, 6.5);
    path.lineTo(9.5, 6.5);
    path.lineTo(11.5, 8.5);
    path.lineTo(19, 8.5);
    path.lineTo(19, 11);
    p.drawPath(path);
    QPainterPath front;
    front.moveTo(4, 18);
    front.lineTo(7, 11);
    front.lineTo(21, 11);
    front.lineTo(18, 18);
    front.closeSubpath();
    p.drawPath(front);
}

void floppy(QPainter& p, const QColor& colour) {
    p.setPen(strokePen(colour, 1.8));
    QPainterPath body;
    body.moveTo(5, 5);
    body.lineTo(16, 5);
    body.lineTo(19, 8);
    body.lineTo(19, 19);
    body.lineTo(5, 19);
    body.closeSubpath();
    p.drawPath(body);
    p.drawRect(QRectF(8, 5, 7, 4.5));
    p.drawRect(QRectF(8, 13, 8, 6));
}

void printer(QPainter& p) {
    p.setPen(strokePen(ToolbarIconColour, 1.8));
    p.drawRect(QRectF(7.5, 4, 9, 5));
    QPainterPath body;
    body.moveTo(7.5, 16);
    body.lineTo(4, 16);
    body.lineTo(4, 9);
    body.lineTo(20, 9);
    body.lineTo(20, 16);
    body.lineTo(16.5, 16);
    p.drawPath(body);
    p.drawRect(QRectF(7.5, 13, 9, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(ToolbarIconColour);
    p.drawEllipse(QPointF(17, 11.5), 0.9, 0.9);
}

void help(QPainter& p) {
    p.setPen(strokePen(ToolbarIconColour, 1.8));
    p.drawEllipse(QPointF(12, 12), 8.5, 8.5);
    QPainterPath question;
    question.moveTo(9.3, 9.6);
    question.cubicTo(9.3, 7.6, 10.6, 6.8, 12, 6.8);
    question.cubicTo(13.6, 6.8, 14.8, 7.9, 14.8, 9.4);
    question.cubicTo(14.8, 11.4, 12, 11.6, 12, 13.8);
    p.drawPath(question);
    p.setPen(Qt::NoPen);
    p.setBrush(ToolbarIconColour);
    p.drawEllipse(QPointF(12, 16.8), 1.1, 1.1);
}

} // namespace

std::vector<ImageRecipe> toolbarImages() {
    const QSize s(24, 24);
    return {
        {QStringLiteral("p_fn_bar_previous_slide_ic"), s,
         [](QPainter& p) { chevron(p, ToolbarIconColour, true); }},
        {QStringLiteral("p_fn_bar_previous_slide_disable_ic"), s,
         [](QPainter& p) { chevron(p, ToolbarIconDisabledColour, true); }},
        {QStringLiteral("p_fn_bar_next_slide_ic"), s,
         [](QPainter& p) { chevron(p, ToolbarIconColour, false); }},
        {QStringLiteral("p_fn_bar_next_slide_disable_ic"), s,
         [](QPainter& p) { chevron(p, ToolbarIconDisabledColour, false); }},
        {QStringLiteral("p_fn_bar_fullscreen_in_ic"), s, [](QPainter& p) { corners(p, true); }},
        {QStringLiteral("p_fn_bar_fullscreen_out_ic"), s, [](QPainter& p) { corners(p, false); }},
        {QStringLiteral("p_fn_bar_pointer-on"), s, pointer},
        {QStringLiteral("p_fn_bar_open_folder_ic"), s, folder},
        {QStringLiteral("p_fn_bar_save_as_ic"), s, [](QPainter& p) { floppy(p, ToolbarIconColour); }},
        {QStringLiteral("p_fn_bar_save_as_disable_ic"), s,
         [](QPainter& p) { floppy(p, ToolbarIconDisabledColour); }},
        {QStringLiteral("p_fn_bar_print_ic"), s, printer},
        {QStringLiteral("p_fn_bar_help_ic"), s, help},
    };
}

std::vector<ImageRecipe> tipsImages() {
    auto arrow = [](QPainter& p, const QPointF& tail, const QPointF& tip, const QPointF& wingA,
                    const QPointF& wingB) {
        p.setPen(strokePen(QColor(255, 255, 255), 2.0));
        p.drawLine(tail, tip);
        p.drawLine(tip, wingA);
        p.drawLine(tip, wingB);
    };
    return {
        {QStringLiteral("p_tips_side_arrow"), QSize(67, 13),
         [arrow](QPainter& p) {
             arrow(p, {66, 6.5}, {1.5, 6.5}, {7.5, 1.5}, {7.5, 11.5});
         }},
        {QStringLiteral("p_tips_bottom_arrow"), QSize(13, 67),
         [arrow](QPainter& p) {
             arrow(p, {6.5, 1}, {6.5, 65.5}, {1.5, 59.5}, {11.5, 59.5});
         }},
    };
}

} // namespace KX::ImagePainter
