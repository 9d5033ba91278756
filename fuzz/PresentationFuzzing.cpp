#include "fuzz/PresentationFuzzing.h"

#include "platform/brovik/editorcore/PresentationViewerEditorCore.h"
#include "platform/brovik/editorcore/odp/OdpImporter.h"
#include "platform/brovik/editorcore/pptx/PptxImporter.h"
#include "platform/brovik/editorcore/render/SlideRenderer.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <memory>

namespace KX::Fuzzing {

namespace {
// Few and small: the renderer's handling of odd geometry is what matters, not its fill rate.
constexpr int SlidesRendered = 3;
const QSize RenderSize(96, 72);
} // namespace

void startGuiApplication(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication application(*argc, *argv);
}

void importAndRender(const std::uint8_t* data, std::size_t size, PresentationFormat format) {
    using namespace KX::Tovrin;
    std::shared_ptr<PresentationDocument> document;
    try {
        const ZipReader zip(QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size)));
        if (format == PresentationFormat::Odp) {
            if (OdpImporter::recognizes(zip))
                document = OdpImporter::import(zip);
        } else if (PptxImporter::recognizes(zip)) {
            document = PptxImporter::import(zip);
        }
    } catch (const std::exception&) {
        // The viewer turns every exception of an import into a load error.
        return;
    }
    if (!document)
        return;
    const int slides = std::min<int>(SlidesRendered, static_cast<int>(document->slides.size()));
    for (int i = 0; i < slides; ++i)
        SlideRenderer::render(*document, i, RenderSize);
}

} // namespace KX::Fuzzing
