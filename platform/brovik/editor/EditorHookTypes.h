#pragma once

// Value types in the signatures of the editor hooks for cloud documents, collaboration and
// signatures. The viewer declines these hooks; the types exist so that the hooks keep their
// signatures across the suite's editors.

#include "platform/brovik/application/DocumentType.h"

#include <QString>
#include <QUuid>
#include <memory>

namespace KX {

struct UUID {
    QUuid value;
};

} // namespace KX

namespace KX::Brovik {

struct LocalDocumentInfo {
    QString path;
    DocumentType type = DocumentType::PresentationPptx;
};

} // namespace KX::Brovik

namespace KX::Fernhill {

class CloudSessionController {
public:
    enum class ConnectionState { Disconnected, Connecting, Connected };
};

} // namespace KX::Fernhill

namespace KX::Tovrin {

class DocumentSharingInterface;
using DocumentSharingInterfacePtr = std::shared_ptr<DocumentSharingInterface>;

struct ClientID {
    QString value;
};

} // namespace KX::Tovrin
