#include "viewer/resources/painter/Painting.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace KX::ImagePainter {

namespace {

QFont font(qreal pixelSize, int weight) {
    QFont result(QStringLiteral("DejaVu Sans"));
    result.setPixelSize(static_cast<int>(pixelSize));
    result.setWeight(weight);
    return result;
}

// The banner: the product's red with a slide motif and the welcome text.
void banner(QPainter& p) {
    const QRectF area(0, 0, 500, 172);
    QLinearGradient background(area.topLeft(), area.bottomRight());
    background.setColorAt(0.0, AppRed);
    background.setColorAt(1.0, AppRedDark);
    p.fillRect(area, background);

    // Two stacked slides at the right.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(372, 38, 100, 66), 4, 4);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(QRectF(358, 52, 100, 66), 4, 4);
    p.setBrush(AppRed);
    QPainterPath play;
    play.moveTo(399, 72);
    play.lineTo(399, 98);
    play.lineTo(421, 85);
    play.closeSubpath();
    p.drawPath(play);

    p.setPen(QColor(255, 255, 255));
    p.setFont(font(17, QFont::Light));
    p.drawText(QRectF(32, 34, 320, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Welcome to"));
    p.setFont(font(24, QFont::Bold));
    p.drawText(QRectF(32, 58, 330, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Ordova Presentation"));
    p.setPen(QColor(255, 255, 255, 215));
    p.setFont(font(13, QFont::Normal));
    p.drawText(QRectF(32, 104, 320, 44), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("This version views and plays presentations made in PPTX and ODP."));
}

void logo(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(AppRed);
    p.drawEllipse(QRectF(1, 2, 11, 11));
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(QRectF(4, 5, 5, 5));
    p.setPen(QColor(70, 70, 70));
    p.setFont(font(11, QFont::Bold));
    p.drawText(QRectF(15, 0, 53, 15), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ORDOVA"));
}

void openFileIcon(QPainter& p) {
    // Back of the folder with its tab.
    QPainterPath back;
    back.moveTo(4, 84);
    back.lineTo(4, 14);
    back.quadTo(4, 9, 9, 9);
    back.lineTo(32, 9);
    back.lineTo(40, 18);
    back.lineTo(84, 18);
    back.quadTo(89, 18, 89, 23);
    back.lineTo(89, 84);
    back.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(AppRedDark);
    p.drawPath(back);
    // A slide sticking out of the folder.
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(16, 26, 62, 40));
    p.setBrush(AppRed);
    p.drawRect(QRectF(22, 32, 30, 4));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(22, 41, 48, 3));
    p.drawRect(QRectF(22, 48, 40, 3));
    // Front of the folder.
    QPainterPath front;
    front.moveTo(4, 86);
    front.lineTo(12, 44);
    front.quadTo(13, 40, 17, 40);
    front.lineTo(91, 40);
    front.quadTo(95, 40, 94, 44);
    front.lineTo(86, 86);
    front.closeSubpath();
    QLinearGradient shade(QPointF(0, 40), QPointF(0, 86));
    shade.setColorAt(0.0, QColor(214, 92, 101));
    shade.setColorAt(1.0, AppRed);
    p.setBrush(shade);
    p.drawPath(front);
}

} // namespace

std::vector<ImageRecipe> welcomeImages() {
    return {
        {QStringLiteral("p_welcome_text"), QSize(500, 172), banner},
        {QStringLiteral("p_welcome_ordova_logo"), QSize(68, 15), logo},
        {QStringLiteral("p_welcome_open_file_icon"), QSize(96, 91), openFileIcon},
    };
}

} // namespace KX::ImagePainter
