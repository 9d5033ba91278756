#pragma once

#include "platform/sbb/Stream.h"
#include "platform/sbb/office/OfficeSignatureHandler.h"
#include "platform/sbb/office/XmlSupport.h"
#include "platform/sbb/office/ZipArchive.h"

#include <memory>

namespace SBB {

// A visible signature line of an Office Open XML document, tied to the signature that fills it.
// The line is known to the document's signatures (SignatureInfoV1's SetupID); no shape is drawn
// into the document's body.
struct SignatureLine {
    std::string id; // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
    OfficeSignatureHandler* signatureHandler = nullptr;
};

enum class OfficeDocumentType { Unknown, OpenDocument, OpenXML, OpenXPS };

// An office document (a zip package) and its signatures, worked on in memory. The stream given to
// open() receives the document again on flush().
class OfficeDocument {
public:
    OfficeDocument() = default;
    OfficeDocument(const OfficeDocument&) = delete;
    OfficeDocument& operator=(const OfficeDocument&) = delete;
    ~OfficeDocument();

    // Reads the stream from its position. Throws SBException when it is not a zip package or a
    // signature part is not XML.
    void open(Stream& stream);
    // Forgets the document; pending changes are dropped.
    void close();

    OfficeDocumentType documentType() const { return _type; }
    bool isOpenDocument() const { return _type == OfficeDocumentType::OpenDocument; }
    // XPS packages share the signature parts, but their signatures are only read.
    bool isOpenXMLDocument() const { return _type == OfficeDocumentType::OpenXML; }
    bool isOpenXPSDocument() const { return _type == OfficeDocumentType::OpenXPS; }

    bool isSigned() const { return !_handlers.empty(); }
    int signatureHandlerCount() const { return static_cast<int>(_handlers.size()); }
    // Null for a position out of range.
    OfficeSignatureHandler* signatureHandler(int index) const;
    // The document owns the handler from now on; returns its position.
    int addSignature(std::unique_ptr<OfficeSignatureHandler> handler);
    // Throws SBException for a position out of range.
    void removeSignature(int index);

    // Office Open XML: adds a signature line; returns its position.
    int addSignatureLine(const std::string& id);
    int signatureLineCount() const { return static_cast<int>(_signatureLines.size()); }
    // Null for a position out of range.
    SignatureLine* signatureLine(int index);

    // Writes the signature parts into the package and the package into the stream.
    void flush();

    ZipArchive& archive() { return _archive; }
    // The OpenDocument signature file, created on first use.
    xmlDoc* openDocumentSignatures();
    void markSignaturesChanged() { _signaturesChanged = true; }

private:
    void detectType();
    void loadOpenDocumentSignatures();
    void loadOpenXMLSignatures();

    Stream* _stream = nullptr;
    ZipArchive _archive;
    OfficeDocumentType _type = OfficeDocumentType::Unknown;
    Xml::DocPtr _odfSignatures;
    bool _signaturesChanged = false;
    std::vector<std::unique_ptr<OfficeSignatureHandler>> _handlers;
    std::vector<SignatureLine> _signatureLines;
};

constexpr const char* DocumentSignaturesEntry = "META-INF/documentsignatures.xml";
constexpr const char* DocumentSignaturesNs = "urn:oasis:names:tc:opendocument:xmlns:digitalsignature:1.0";
constexpr const char* LegacyDocumentSignaturesNs = "http://openoffice.org/2004/documentsignatures";

} // namespace SBB
