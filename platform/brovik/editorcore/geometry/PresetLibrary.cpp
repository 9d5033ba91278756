#include "platform/brovik/editorcore/geometry/GeometryDefinition.h"

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
// The preset definitions, compiled one shape at a time when first needed: compiling all ~190 of
// them up front would cost a noticeable part of opening a presentation.
class PresetLibrary {
public:
    PresetLibrary() {
#ifdef KX_HAVE_PRESET_DEFINITIONS
        initPresetResource();
        QFile file(QStringLiteral(":/editorcore/presetShapeDefinitions.xml"));
        if (file.open(QIODevice::ReadOnly))
            _xml = file.readAll();
        index();
#endif
    }

    const GeometryDefinition* find(const QString& name) {
        std::lock_guard lock(_mutex);
        auto compiled = _compiled.find(name);
        if (compiled != _compiled.end())
            return &compiled->second;
        auto range = _ranges.find(name);
        if (range == _ranges.end())
            return nullptr;
        const QByteArray slice = QByteArray::fromRawData(_xml.constData() + range->second.first,
                                                         range->second.second - range->second.first);
        QXmlStreamReader reader(slice);
        while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartElement) {
        }
        if (reader.atEnd())
            return nullptr;
        return &_compiled.emplace(name, GeometryDefinition::fromStream(reader)).first->second;
    }

private:
    // Finds where each child element of the root starts and ends. The file is plain markup
    // without comments or character data that could contain angle brackets.
    void index() {
        const char* data = _xml.constData();
        const int size = _xml.size();
        int depth = 0;
        int start = -1;
        QString name;
        for (int i = 0; i < size; ++i) {
            if (data[i] != '<')
                continue;
            const int open = i;
            if (i + 1 < size && (data[i + 1] == '?' || data[i + 1] == '!')) {
                while (i < size && data[i] != '>')
                    ++i;
                continue;
            }
            const bool closing = i + 1 < size && data[i + 1] == '/';
            int end = i;
            while (end < size && data[end] != '>')
                ++end;
            if (end >= size)
                break;
            const bool selfClosing = data[end - 1] == '/';
            if (closing) {
                --depth;
                if (depth == 1 && start >= 0) {
                    _ranges[name] = {start, end + 1};
                    start = -1;
                }
            } else if (!selfClosing) {
                ++depth;
                if (depth == 2) {
                    int n = open + 1;
                    while (n < end && data[n] != ' ' && data[n] != '>' && data[n] != '/')
                        ++n;
                    name = QString::fromLatin1(data + open + 1, n - open - 1);
                    start = open;
                }
            }
            i = end;
        }
    }

    std::mutex _mutex;
    QByteArray _xml;
    std::unordered_map<QString, std::pair<int, int>> _ranges;
    std::unordered_map<QString, GeometryDefinition> _compiled;
};

PresetLibrary& library() {
    static PresetLibrary lib;
    return lib;
}
} // namespace

const GeometryDefinition* presetDefinition(const QString& name) {
    return library().find(name);
}

} // namespace KX::Tovrin
