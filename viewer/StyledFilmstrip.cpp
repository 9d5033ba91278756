#include "viewer/StyledFilmstrip.h"

#include "core/FatalError.h"

#include <QPainter>
#include <QPainterPath>

namespace KX {

StyledFilmstrip::StyledFilmstrip(Brovik::PresentationEditorCoreHolder holder, QWidget* parent)
    : Filmstrip(std::move(holder), QMargins(20, 2, 28, 14), 0, parent) {
    FilmstripSettings settings;
    settings.itemColor = QColor(245, 245, 245, 217);
    settings.currentItemColor = QColor(251, 88, 92, 217);
    settings.frameWidth = 0;
    setFilmstripSettings(settings);
    setViewportMargins(0, 18, 0, 10);
    setCacheEnabled(true);
}

StyledFilmstrip::~StyledFilmstrip() = default;

void StyledFilmstrip::render(QPainter& painter, const QRect& rect, boost::optional<int> itemIndex) {
    if (!itemIndex) {
        assertionFailed("itemIndex");
    }
    const int current = getCurrentIndex();
    painter.setRenderHint(QPainter::Antialiasing);

    const QRect inner = rect.marginsRemoved(getLayout()->getItemMargins());
    const int right = inner.right();
    const int bottom = inner.bottom();
    SlideControlBase::render(painter, inner, itemIndex);

    const QString text = QString("%1").arg(*itemIndex + 1);

    // A tab 24 pixels high, open towards the right edge, with a rounded left end.
    QPainterPath badge;
    badge.moveTo(right + 1, bottom - 32);
    badge.lineTo(right - 15, bottom - 32);
    badge.arcTo(QRectF(right - 27, bottom - 32, 24, 24), 90, 180);
    badge.lineTo(right + 1, bottom - 8);

    const bool isCurrent = *itemIndex == current;
    const FilmstripSettings& settings = getFilmstripSettings();
    painter.setPen(QColor(0, 0, 0, 13));
    painter.setBrush(isCurrent ? settings.currentItemColor : settings.itemColor);
    painter.drawPath(badge);

    painter.setPen(isCurrent ? QColor(Qt::white) : QColor(51, 51, 51));
    painter.drawText(QRect(right - 27, bottom - 32, 28, 24), Qt::AlignCenter, text);
}

} // namespace KX
