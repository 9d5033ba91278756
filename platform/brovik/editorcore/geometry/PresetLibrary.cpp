#include "platform/brovik/editorcore/geometry/GeometryDefinition.h"

#include <QDomDocument>
#include <QFile>
#include <mutex>
#include <unordered_map>

#ifdef KX_HAVE_PRESET_DEFINITIONS
// Resources of a static library must be registered explicitly, from the global namespace.
static void initPresetResource() {
    Q_INIT_RESOURCE(editorcore_presets);
}
#endif

namespace KX::Tovrin {

namespace {
struct PresetLibrary {
    std::unordered_map<QString, GeometryDefinition> definitions;
};

const PresetLibrary& library() {
    static PresetLibrary lib;
    static std::once_flag once;
    std::call_once(once, [] {
#ifdef KX_HAVE_PRESET_DEFINITIONS
        initPresetResource();
        QFile file(QStringLiteral(":/editorcore/presetShapeDefinitions.xml"));
        if (!file.open(QIODevice::ReadOnly))
            return;
        QDomDocument doc;
        if (!doc.setContent(&file, true))
            return;
        for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull();
             e = e.nextSiblingElement())
            lib.definitions.emplace(e.tagName(), GeometryDefinition::fromXml(e));
#endif
    });
    return lib;
}
} // namespace

const GeometryDefinition* presetDefinition(const QString& name) {
    const auto& defs = library().definitions;
    auto it = defs.find(name);
    return it == defs.end() ? nullptr : &it->second;
}

} // namespace KX::Tovrin
