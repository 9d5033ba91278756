#pragma once

#include "platform/brovik/editorcore/model/PictureData.h"
#include "platform/brovik/editorcore/package/ZipReader.h"

#include <QDomDocument>
#include <QString>
#include <map>
#include <memory>
#include <set>

namespace KX::Tovrin {

struct Relationship {
    QString type;   // the last segment of the relationship type, e.g. "slideLayout"
    QString target; // absolute part name without a leading slash; empty for external targets
};

// The parts of an Office Open XML package: parsed XML parts and relationships, each read once.
class OoxmlPackage {
public:
    explicit OoxmlPackage(const ZipReader& zip) : _zip(zip) {}

    const ZipReader& zip() const { return _zip; }
    // Throws DocumentLoadError when the part is missing or malformed.
    const QDomDocument& xml(const QString& partName);
    // Forgets the parsed XML of every part not in `keep`; a later xml() parses it again.
    void releaseXmlExcept(const std::set<QString>& keep);
    // Relationships of a part; an absent or broken relationships part gives none.
    const std::map<QString, Relationship>& relationships(const QString& partName);
    // Target of relationship id from partName, or empty.
    QString target(const QString& partName, const QString& id);
    // First target of the given type from partName, or empty.
    QString targetOfType(const QString& partName, const QString& type);
    // A picture part, shared by every element that shows it; nullptr when missing or too large.
    std::shared_ptr<const PictureData> picture(const QString& partName);

private:
    const ZipReader& _zip;
    std::map<QString, QDomDocument> _xml;
    std::map<QString, std::map<QString, Relationship>> _relationships;
    std::map<QString, std::shared_ptr<const PictureData>> _pictures;
};

} // namespace KX::Tovrin
