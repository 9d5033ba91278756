#include "platform/brovik/editorcore/odp/OdpImporter.h"

#include "platform/brovik/editorcore/PresentationViewerEditorCore.h"

namespace KX::Tovrin {

bool OdpImporter::recognizes(const ZipReader& zip) {
    const QByteArray mimetype = zip.tryRead(QStringLiteral("mimetype"), 256).trimmed();
    return mimetype.startsWith("application/vnd.oasis.opendocument.presentation");
}

std::shared_ptr<PresentationDocument> OdpImporter::import(const ZipReader&) {
    throw DocumentLoadError("OpenDocument presentations are not supported yet.");
}

} // namespace KX::Tovrin
