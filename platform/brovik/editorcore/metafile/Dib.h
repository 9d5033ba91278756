#pragma once

#include "platform/brovik/editorcore/metafile/RecordReader.h"

#include <QImage>

namespace KX::Tovrin::Metafiles {

// A device-independent bitmap as metafiles embed it: its header with colour table, and its
// pixel rows (bottom-up unless the height is negative). Returns a null image for unsupported or
// inconsistent bitmaps. With keepAlpha, 32-bit pixels keep their fourth byte as alpha (as an
// alpha blend uses it); otherwise it is padding.
QImage decodeDib(const RecordReader& info, const RecordReader& bits, bool keepAlpha = false);

// A packed bitmap: header, colour table and rows in one block (as WMF records carry them).
QImage decodePackedDib(const RecordReader& packed);

} // namespace KX::Tovrin::Metafiles
