#include "platform/brovik/toolbar/FunctionToolbar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QToolButton>

namespace KX::Brovik {

FunctionToolbar::FunctionToolbar(QWidget* parent) : FadeInOutWidget(parent), _layout(new QHBoxLayout(this)) {
    // The style sheet paints the translucent background, once; the widget paints nothing itself.
    setAttribute(Qt::WA_StyledBackground, true);
    _layout->setContentsMargins(6, 4, 6, 4);
    _layout->setSpacing(4);
    _layout->setSizeConstraint(QLayout::SetFixedSize);
}

FunctionToolbar::~FunctionToolbar() = default;

QToolButton* FunctionToolbar::addAction(QAction* action) {
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setIconSize(QSize(IconSize, IconSize));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    _layout->addWidget(button);
    adjustSize();
    return button;
}

} // namespace KX::Brovik
