#pragma once

#include <QString>

namespace KX::Tovrin {

// Maps a family named by a document to one installed here: a metric-compatible family first
// (ours for Calibri and Cambria, then fontconfig's aliases), else the closest free family of the
// same kind (serif, sans, monospace; condensed for the narrow ones), so line breaks stay close to
// the author's. Thread-safe; answers are remembered.
QString mapFontFamily(const QString& family);

// Whether text in the family keeps the author's line breaks here: the family itself is installed,
// or a metric-compatible one stands in for it.
bool keepsAuthorMetrics(const QString& family);

} // namespace KX::Tovrin
