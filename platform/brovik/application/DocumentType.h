#pragma once

#include <QList>
#include <QString>
#include <cstdint>

namespace KX::Brovik {

// Document formats known to the suite. The values are stable: they are stored in settings and
// exchanged with the applications' hooks.
enum class DocumentType : int {
    PresentationPptx = 19,
    PresentationOdp = 22,
    PresentationSlideShow = 30, // .ppsx: opens for viewing, never converted into another format
};

// Why the framework asks an application which document types it handles.
enum class DocumentTypesPurpose : std::uint8_t {
    Open = 1,
    SaveCopy = 8,
};

// File-chooser filter text and default suffix of a document type.
QString documentTypeFilter(DocumentType type);
QString documentTypeSuffix(DocumentType type);
// The one filter a copy of the document at `sourcePath` is saved under: its own format.
QString saveCopyFilter(const QString& sourcePath);
// `destination`, given the suffix of `sourcePath` when it has another (or none).
QString withSuffixOf(const QString& destination, const QString& sourcePath);

class DocumentTypesProvider {
public:
    virtual ~DocumentTypesProvider() = default;
    // `purpose` is a DocumentTypesPurpose code; unknown codes give an empty list.
    virtual QList<DocumentType> getDocumentTypes(std::uint8_t purpose) const = 0;
};

} // namespace KX::Brovik
