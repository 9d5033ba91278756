#pragma once

#include <QDomElement>
#include <QString>

namespace KX::Tovrin::Odf {

// Namespaces of the OpenDocument vocabulary used by the importer.
inline constexpr const char* Office = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
inline constexpr const char* Style = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
inline constexpr const char* Text = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
inline constexpr const char* Table = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
inline constexpr const char* Draw = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
inline constexpr const char* Fo = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
inline constexpr const char* XLink = "http://www.w3.org/1999/xlink";
inline constexpr const char* Svg = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";
inline constexpr const char* Presentation = "urn:oasis:names:tc:opendocument:xmlns:presentation:1.0";
inline constexpr const char* Chart = "urn:oasis:names:tc:opendocument:xmlns:chart:1.0";
inline constexpr const char* Dr3d = "urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0";
inline constexpr const char* LoExt = "urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0";

// The attribute ns:name of e, or an empty string.
inline QString attr(const QDomElement& e, const char* ns, const char* name) {
    return e.attributeNS(QString::fromLatin1(ns), QString::fromLatin1(name));
}

// A length such as "2.5cm", "12pt", "0.3in", "4mm" in points; fallback when malformed.
double length(const QString& text, double fallback = 0);
// A percentage such as "45%" as a fraction; fallback when it is not one.
double percent(const QString& text, double fallback);

} // namespace KX::Tovrin::Odf
