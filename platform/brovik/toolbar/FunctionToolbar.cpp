#include "platform/brovik/toolbar/FunctionToolbar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyleOption>
#include <QToolButton>

namespace KX::Brovik {

FunctionToolbar::FunctionToolbar(QWidget* parent) : FadeInOutWidget(parent), _layout(new QHBoxLayout(this)) {
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

void FunctionToolbar::paintEvent(QPaintEvent*) {
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

} // namespace KX::Brovik
