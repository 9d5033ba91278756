#include "platform/brovik/editorcore/package/XmlPart.h"

#include "platform/brovik/editorcore/model/DocumentLoadError.h"

#include <QXmlSimpleReader>
#include <QXmlStreamReader>
#include <cmath>

namespace KX::Tovrin {

namespace {
// Far deeper than any real slide or style part; the DOM and the readers above it recurse, so a
// crafted part must not get that far.
constexpr int MaxElementDepth = 256;

// Streams through the part once, without building anything, to refuse a document type anywhere in
// the prolog and nesting past the limit. Malformed XML is left to the DOM parser's message.
void checkStructure(const QByteArray& bytes, const QString& partName) {
    QXmlStreamReader reader(bytes);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            throw DocumentLoadError(
                QStringLiteral("The presentation is damaged: the part \"%1\" declares a document type.")
                    .arg(partName)
                    .toStdString());
        case QXmlStreamReader::StartElement:
            if (++depth > MaxElementDepth)
                throw DocumentLoadError(
                    QStringLiteral("The presentation is damaged: the part \"%1\" nests too deeply.")
                        .arg(partName)
                        .toStdString());
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
}
} // namespace

QDomDocument parseXmlPart(const QByteArray& bytes, const QString& partName) {
    checkStructure(bytes, partName);
    // Text made only of spaces is content in both formats (a run holding one space), and the
    // plain QDomDocument parser would drop it; the SAX reader can be told to keep it.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QXmlSimpleReader reader;
    reader.setFeature(QStringLiteral("http://xml.org/sax/features/namespaces"), true);
    reader.setFeature(QStringLiteral("http://xml.org/sax/features/namespace-prefixes"), false);
    reader.setFeature(QStringLiteral("http://qt-project.org/xml/features/report-whitespace-only-CharData"),
                      true);
    QXmlInputSource source;
    source.setData(bytes);
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    const bool parsed = document.setContent(&source, &reader, &message, &line, &column);
    QT_WARNING_POP
    if (!parsed)
        throw DocumentLoadError(
            QStringLiteral("The presentation is damaged: the part \"%1\" is not valid XML (%2 at "
                           "line %3, column %4).")
                .arg(partName, message)
                .arg(line)
                .arg(column)
                .toStdString());
    return document;
}

QDomElement firstChild(const QDomElement& parent, const QString& localName) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (e.localName() == localName)
            return e;
    return {};
}

QDomElement firstChild(const QDomElement& parent, const QString& localName1, const QString& localName2) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (e.localName() == localName1 || e.localName() == localName2)
            return e;
    return {};
}

QDomElement childPath(const QDomElement& parent, std::initializer_list<QString> path) {
    QDomElement e = parent;
    for (const QString& name : path) {
        if (e.isNull())
            break;
        e = firstChild(e, name);
    }
    return e;
}

void forEachChild(const QDomElement& parent, const std::function<void(const QDomElement&)>& visit) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        visit(e);
}

void forEachChild(const QDomElement& parent, const QString& localName,
                  const std::function<void(const QDomElement&)>& visit) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (e.localName() == localName)
            visit(e);
}

double attrDouble(const QDomElement& e, const QString& name, double fallback) {
    if (e.isNull() || !e.hasAttribute(name))
        return fallback;
    bool ok = false;
    const double v = e.attribute(name).toDouble(&ok);
    return ok && std::isfinite(v) ? v : fallback;
}

qint64 attrInt(const QDomElement& e, const QString& name, qint64 fallback) {
    if (e.isNull() || !e.hasAttribute(name))
        return fallback;
    bool ok = false;
    const qint64 v = e.attribute(name).toLongLong(&ok);
    if (ok)
        return v;
    const double d = e.attribute(name).toDouble(&ok);
    return ok && std::isfinite(d) && std::abs(d) < 9e15 ? static_cast<qint64>(d) : fallback;
}

bool attrBool(const QDomElement& e, const QString& name, bool fallback) {
    if (e.isNull() || !e.hasAttribute(name))
        return fallback;
    const QString v = e.attribute(name);
    if (v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("on"))
        return true;
    if (v == QLatin1String("0") || v == QLatin1String("false") || v == QLatin1String("off"))
        return false;
    return fallback;
}

QString attrNS(const QDomElement& e, const char* ns, const QString& name, const QString& fallback) {
    if (e.isNull())
        return fallback;
    const QString nsUri = QString::fromLatin1(ns);
    if (!e.hasAttributeNS(nsUri, name))
        return fallback;
    return e.attributeNS(nsUri, name);
}

} // namespace KX::Tovrin
