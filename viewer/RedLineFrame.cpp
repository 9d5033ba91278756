#include "viewer/RedLineFrame.h"

namespace KX {

RedLineFrame::RedLineFrame(QWidget* parent) : QFrame(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setObjectName(QStringLiteral("RedLine"));
}

RedLineFrame::~RedLineFrame() = default;

} // namespace KX
