#include "platform/brovik/style/Repolish.h"

#include <QStyle>
#include <QWidget>

namespace KX::Brovik {

void repolish(QWidget* widget) {
    if (!widget) {
        return;
    }
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

} // namespace KX::Brovik
