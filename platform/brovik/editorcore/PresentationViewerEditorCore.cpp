#include "platform/brovik/editorcore/PresentationViewerEditorCore.h"

#include "platform/brovik/editorcore/model/PresentationDocument.h"
#include "platform/brovik/editorcore/odp/OdpImporter.h"
#include "platform/brovik/editorcore/pptx/PptxImporter.h"
#include "platform/brovik/editorcore/render/RenderCache.h"
#include "platform/brovik/editorcore/render/SlideRenderer.h"

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <mutex>

namespace KX::Tovrin {

namespace {
constexpr qint64 MaxFileSize = 1024ll << 20;

std::shared_ptr<PresentationDocument> importFile(const QString& path, const LoadProgress& progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DocumentLoadError(QStringLiteral("The file \"%1\" cannot be opened: %2.")
                                    .arg(path, file.errorString())
                                    .toStdString());
    if (file.size() > MaxFileSize)
        throw DocumentLoadError(
            QStringLiteral("The file \"%1\" is too large to open.").arg(path).toStdString());
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")))
        throw DocumentLoadError(
            QStringLiteral("The file \"%1\" is in an old binary format (PowerPoint 97-2003) that "
                           "is not supported. Save it as .pptx and open it again.")
                .arg(path)
                .toStdString());
    if (bytes.isEmpty())
        throw DocumentLoadError(QStringLiteral("The file \"%1\" is empty.").arg(path).toStdString());
    try {
        const ZipReader zip(std::move(bytes));
        if (OdpImporter::recognizes(zip))
            return OdpImporter::import(zip, progress);
        if (PptxImporter::recognizes(zip))
            return PptxImporter::import(zip, progress);
    } catch (const DocumentLoadCancelled&) {
        throw;
    } catch (const DocumentLoadError& e) {
        throw DocumentLoadError(QStringLiteral("\"%1\": %2")
                                    .arg(QFileInfo(path).fileName(), QString::fromUtf8(e.what()))
                                    .toStdString());
    } catch (const std::bad_alloc&) {
        throw DocumentLoadError(QStringLiteral("\"%1\": there is not enough memory to open the presentation.")
                                    .arg(QFileInfo(path).fileName())
                                    .toStdString());
    } catch (const std::exception& e) {
        // Whatever else goes wrong inside an importer still reaches the caller as a load error.
        throw DocumentLoadError(QStringLiteral("\"%1\": the presentation cannot be read (%2).")
                                    .arg(QFileInfo(path).fileName(), QString::fromUtf8(e.what()))
                                    .toStdString());
    }
    throw DocumentLoadError(
        QStringLiteral("\"%1\": the file is neither a PowerPoint (.pptx) nor an OpenDocument "
                       "(.odp) presentation.")
            .arg(QFileInfo(path).fileName())
            .toStdString());
}
} // namespace

void reportLoadProgress(const LoadProgress& progress, int done, int total) {
    if (progress && !progress(done, total))
        throw DocumentLoadCancelled();
}

struct PresentationViewerEditorCore::State {
    mutable std::mutex mutex;
    std::shared_ptr<const PresentationDocument> document;
    QString path;
    // Replaced with the document, so renders of a previous document can never land in the cache
    // of the current one.
    std::shared_ptr<RenderCache> cache = std::make_shared<RenderCache>();
    std::atomic<bool> cacheEnabled{true};
};

PresentationViewerEditorCore::PresentationViewerEditorCore() : _state(std::make_unique<State>()) {}

PresentationViewerEditorCore::~PresentationViewerEditorCore() = default;

void PresentationViewerEditorCore::load(const QString& path, const LoadProgress& progress) {
    std::shared_ptr<const PresentationDocument> document = importFile(path, progress);
    std::lock_guard lock(_state->mutex);
    _state->document = std::move(document);
    _state->path = path;
    _state->cache = std::make_shared<RenderCache>();
}

std::shared_ptr<const PresentationDocument> PresentationViewerEditorCore::document() const {
    std::lock_guard lock(_state->mutex);
    return _state->document;
}

bool PresentationViewerEditorCore::isLoaded() const {
    return document() != nullptr;
}

QString PresentationViewerEditorCore::filePath() const {
    std::lock_guard lock(_state->mutex);
    return _state->path;
}

int PresentationViewerEditorCore::getSlidesCount() const {
    const auto doc = document();
    return doc ? int(doc->slides.size()) : 0;
}

QSizeF PresentationViewerEditorCore::slideSize() const {
    const auto doc = document();
    return doc ? doc->slideSize : QSizeF();
}

SlideTransition PresentationViewerEditorCore::slideTransition(int index) const {
    const auto doc = document();
    return doc && index >= 0 && index < int(doc->slides.size()) ? doc->slides[std::size_t(index)].transition
                                                                : SlideTransition{};
}

QImage PresentationViewerEditorCore::renderSlide(int index, const QSize& size) const {
    std::shared_ptr<const PresentationDocument> doc;
    std::shared_ptr<RenderCache> cache;
    {
        std::lock_guard lock(_state->mutex);
        doc = _state->document;
        cache = _state->cache;
    }
    if (!doc || index < 0 || index >= int(doc->slides.size()) || size.isEmpty())
        return {};
    const bool useCache = _state->cacheEnabled.load();
    if (useCache) {
        QImage cached = cache->find(index, size);
        if (!cached.isNull())
            return cached;
    }
    QImage image = SlideRenderer::render(*doc, index, size);
    if (useCache)
        cache->insert(index, size, image);
    return image;
}

void PresentationViewerEditorCore::renderSlide(int index, QPainter& painter, const QRectF& target) const {
    if (const auto doc = document())
        SlideRenderer::render(*doc, index, painter, target);
}

void PresentationViewerEditorCore::setCacheEnabled(bool enabled) {
    _state->cacheEnabled = enabled;
    if (!enabled) {
        std::lock_guard lock(_state->mutex);
        _state->cache->clear();
    }
}

} // namespace KX::Tovrin
