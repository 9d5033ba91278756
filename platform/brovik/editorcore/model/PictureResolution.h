#pragma once

#include <QByteArray>
#include <QSizeF>
#include <optional>

namespace KX::Tovrin {

// The resolution a PNG (pHYs) or JPEG (JFIF) header records, in dots per inch; nullopt when the
// file gives none (its size is then meant at 96 dpi).
std::optional<QSizeF> recordedDotsPerInch(const QByteArray& bytes);

} // namespace KX::Tovrin
