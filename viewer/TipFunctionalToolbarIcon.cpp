#include "viewer/TipFunctionalToolbarIcon.h"

#include <QPainter>
#include <QPixmap>

namespace KX {

TipFunctionalToolbarIcon::TipFunctionalToolbarIcon(QWidget* parent) : QFrame(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Shares the red line's name so that the same style rule applies.
    setObjectName(QStringLiteral("RedLine"));
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_NoSystemBackground);
}

TipFunctionalToolbarIcon::~TipFunctionalToolbarIcon() = default;

void TipFunctionalToolbarIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor grey(153, 153, 153);
    painter.setPen(grey);
    painter.setBrush(QBrush(grey, Qt::SolidPattern));

    const QPixmap pixmap(QStringLiteral("icons:p_fn_bar_pointer-on"));
    const QRect r = rect().adjusted(3, 3, -3, -3);
    painter.drawEllipse(r);
    const QPoint centre = r.center();
    painter.drawPixmap(QPoint(centre.x() - pixmap.width() / 2, centre.y() - pixmap.height() / 2), pixmap,
                       pixmap.rect());
}

} // namespace KX
