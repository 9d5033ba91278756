#include "platform/brovik/editorcore/pptx/OoxmlPackage.h"

#include "platform/brovik/editorcore/package/XmlPart.h"

#include <QDir>

namespace KX::Tovrin {

namespace {
constexpr qint64 MaxPictureSize = 128ll << 20;

QString resolveTarget(const QString& sourcePart, const QString& target) {
    QString t = target;
    t.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (t.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(t.mid(1));
    const int slash = sourcePart.lastIndexOf(QLatin1Char('/'));
    const QString dir = slash < 0 ? QString() : sourcePart.left(slash + 1);
    QString resolved = QDir::cleanPath(dir + t);
    // A target climbing out of the package names nothing inside it.
    if (resolved.startsWith(QLatin1String("../")) || resolved == QLatin1String(".."))
        return {};
    return resolved;
}
} // namespace

const QDomDocument& OoxmlPackage::xml(const QString& partName) {
    auto it = _xml.find(partName);
    if (it != _xml.end())
        return it->second;
    return _xml.emplace(partName, parseXmlPart(_zip.read(partName), partName)).first->second;
}

void OoxmlPackage::releaseXmlExcept(const std::set<QString>& keep) {
    std::erase_if(_xml, [&](const auto& entry) { return !keep.contains(entry.first); });
}

const std::map<QString, Relationship>& OoxmlPackage::relationships(const QString& partName) {
    auto it = _relationships.find(partName);
    if (it != _relationships.end())
        return it->second;
    std::map<QString, Relationship> rels;
    const int slash = partName.lastIndexOf(QLatin1Char('/'));
    const QString relsName = partName.left(slash + 1) + QStringLiteral("_rels/") + partName.mid(slash + 1) +
                             QStringLiteral(".rels");
    const QByteArray bytes = _zip.tryRead(relsName, 16 << 20);
    if (!bytes.isEmpty()) {
        try {
            const QDomDocument doc = parseXmlPart(bytes, relsName);
            forEachChild(doc.documentElement(), QStringLiteral("Relationship"), [&](const QDomElement& r) {
                Relationship rel;
                const QString type = r.attribute(QStringLiteral("Type"));
                rel.type = type.mid(type.lastIndexOf(QLatin1Char('/')) + 1);
                if (r.attribute(QStringLiteral("TargetMode")) != QLatin1String("External"))
                    rel.target = resolveTarget(partName, r.attribute(QStringLiteral("Target")));
                rels.emplace(r.attribute(QStringLiteral("Id")), rel);
            });
        } catch (...) {
            // Broken relationships leave the part without links; what they pointed to is skipped.
        }
    }
    return _relationships.emplace(partName, std::move(rels)).first->second;
}

QString OoxmlPackage::target(const QString& partName, const QString& id) {
    if (id.isEmpty())
        return {};
    const auto& rels = relationships(partName);
    auto it = rels.find(id);
    return it == rels.end() ? QString() : it->second.target;
}

QString OoxmlPackage::targetOfType(const QString& partName, const QString& type) {
    for (const auto& [id, rel] : relationships(partName))
        if (rel.type == type)
            return rel.target;
    return {};
}

std::shared_ptr<const PictureData> OoxmlPackage::picture(const QString& partName) {
    if (partName.isEmpty())
        return nullptr;
    auto it = _pictures.find(partName);
    if (it != _pictures.end())
        return it->second;
    std::shared_ptr<const PictureData> picture;
    QByteArray bytes = _zip.tryRead(partName, MaxPictureSize);
    if (!bytes.isEmpty())
        picture = std::make_shared<PictureData>(std::move(bytes), partName);
    _pictures.emplace(partName, picture);
    return picture;
}

} // namespace KX::Tovrin
