#pragma once

class QWidget;

namespace KX::Brovik {

// Re-applies the style sheet to a widget after a dynamic property that its rules test has changed.
void repolish(QWidget* widget);

} // namespace KX::Brovik
