#pragma once

#include "platform/brovik/toolbar/FadeInOutWidget.h"

class QAction;
class QHBoxLayout;
class QToolButton;

namespace KX::Brovik {

// The floating toolbar of a presentation: a row of icon buttons, one per action, on the style
// sheet's background. Its size follows its buttons.
class FunctionToolbar : public FadeInOutWidget {
    Q_OBJECT
public:
    static constexpr int IconSize = 24;

    explicit FunctionToolbar(QWidget* parent = nullptr);
    ~FunctionToolbar() override;

    // Adds a button for `action` at the right end and returns it (owned by the toolbar).
    QToolButton* addAction(QAction* action);

private:
    QHBoxLayout* _layout;
};

} // namespace KX::Brovik
