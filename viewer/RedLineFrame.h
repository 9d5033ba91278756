#pragma once

#include <QFrame>

namespace KX {

// The short red underline of a tip's text; its colour and size come from the style sheet.
class RedLineFrame : public QFrame {
public:
    explicit RedLineFrame(QWidget* parent);
    ~RedLineFrame() override;
};

} // namespace KX
