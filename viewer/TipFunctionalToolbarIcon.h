#pragma once

#include <QFrame>

namespace KX {

// A highlighted copy of the toolbar's pointer button that the tips overlay lays over the real one:
// the pointer icon on a grey disc.
class TipFunctionalToolbarIcon : public QFrame {
public:
    explicit TipFunctionalToolbarIcon(QWidget* parent);
    ~TipFunctionalToolbarIcon() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace KX
