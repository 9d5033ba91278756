#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <functional>

namespace KX::Tovrin {

// Parses a package part into a namespace-aware DOM. Documents with a DTD are refused: neither
// format uses one, and entity expansion is the classic way to blow up a parser.
// Throws DocumentLoadError naming the part on malformed XML.
QDomDocument parseXmlPart(const QByteArray& bytes, const QString& partName);

// Element helpers that match on local names, which is unambiguous inside one vocabulary.
QDomElement firstChild(const QDomElement& parent, const QString& localName);
QDomElement firstChild(const QDomElement& parent, const QString& localName1, const QString& localName2);
// Follows a path of local names, e.g. childPath(sp, {"spPr", "xfrm", "off"}).
QDomElement childPath(const QDomElement& parent, std::initializer_list<QString> path);
void forEachChild(const QDomElement& parent, const std::function<void(const QDomElement&)>& visit);
void forEachChild(const QDomElement& parent, const QString& localName,
                  const std::function<void(const QDomElement&)>& visit);

// Attribute readers tolerant of garbage: a missing or malformed value gives the fallback.
double attrDouble(const QDomElement& e, const QString& name, double fallback);
qint64 attrInt(const QDomElement& e, const QString& name, qint64 fallback);
bool attrBool(const QDomElement& e, const QString& name, bool fallback);
QString attrNS(const QDomElement& e, const char* ns, const QString& name, const QString& fallback = {});

} // namespace KX::Tovrin
