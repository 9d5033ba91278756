#include "platform/brovik/editorcore/notes/SpeakerNotes.h"

#include "platform/brovik/editorcore/package/ZipReader.h"

#include <QFile>
#include <exception>

namespace KX::Tovrin {

namespace {

// The same limit as a presentation itself.
constexpr qint64 MaxFileSize = 1024ll << 20;

} // namespace

std::vector<QString> readSpeakerNotes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize) {
        return {};
    }
    try {
        const ZipReader zip(file.readAll());
        if (zip.contains(QStringLiteral("content.xml"))) {
            return readOdpNotes(zip);
        }
        return readPptxNotes(zip);
    } catch (const std::exception&) {
        // Notes are a help for the presenter; a damaged part leaves them out, not the show.
        return {};
    }
}

} // namespace KX::Tovrin
