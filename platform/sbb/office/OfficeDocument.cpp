#include "platform/sbb/office/OfficeDocument.h"

#include "platform/sbb/MemoryStream.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/office/OpenOfficeSignatureHandler.h"

namespace SBB {

namespace {

[[noreturn]] void fail(const std::string& message, std::uint32_t code) {
    throw SBException(SBException::Kind::Library, "EElOfficeError", message, code);
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

} // namespace

OfficeDocument::~OfficeDocument() {
    close();
}

void OfficeDocument::open(Stream& stream) {
    close();
    _archive.open(stream.readToEnd());
    _stream = &stream;
    detectType();
    if (_type == OfficeDocumentType::OpenDocument)
        loadOpenDocumentSignatures();
}

void OfficeDocument::close() {
    _handlers.clear();
    _odfSignatures.reset();
    _archive.close();
    _stream = nullptr;
    _type = OfficeDocumentType::Unknown;
    _signaturesChanged = false;
}

void OfficeDocument::detectType() {
    if (const auto mimetype = _archive.read("mimetype");
        mimetype &&
        startsWith(std::string(mimetype->begin(), mimetype->end()), "application/vnd.oasis.opendocument")) {
        _type = OfficeDocumentType::OpenDocument;
        return;
    }
    if (_archive.contains("META-INF/manifest.xml")) {
        _type = OfficeDocumentType::OpenDocument;
        return;
    }
    if (const auto types = _archive.read("[Content_Types].xml")) {
        const std::string text(types->begin(), types->end());
        _type = text.find("application/vnd.ms-package.xps-fixeddocumentsequence+xml") != std::string::npos
                    ? OfficeDocumentType::OpenXPS
                    : OfficeDocumentType::OpenXML;
    }
}

void OfficeDocument::loadOpenDocumentSignatures() {
    const auto bytes = _archive.read(DocumentSignaturesEntry);
    if (!bytes)
        return;
    _odfSignatures = Xml::parse(*bytes);
    xmlNode* root = xmlDocGetRootElement(_odfSignatures.get());
    if (!Xml::is(root, DocumentSignaturesNs, "document-signatures") &&
        !Xml::is(root, LegacyDocumentSignaturesNs, "document-signatures"))
        fail("META-INF/documentsignatures.xml is not an OpenDocument signature file", 0x8002);
    Xml::registerIds(root);
    for (xmlNode* signature : Xml::children(root, Xml::DSigNs, "Signature"))
        addSignature(std::make_unique<OpenOfficeSignatureHandler>(signature));
}

xmlDoc* OfficeDocument::openDocumentSignatures() {
    if (!_odfSignatures) {
        _odfSignatures.reset(xmlNewDoc(BAD_CAST "1.0"));
        xmlNode* root = xmlNewDocNode(_odfSignatures.get(), nullptr, BAD_CAST "document-signatures", nullptr);
        xmlSetNs(root, xmlNewNs(root, BAD_CAST DocumentSignaturesNs, nullptr));
        xmlDocSetRootElement(_odfSignatures.get(), root);
    }
    return _odfSignatures.get();
}

OfficeSignatureHandler* OfficeDocument::signatureHandler(int index) const {
    if (index < 0 || index >= signatureHandlerCount())
        return nullptr;
    return _handlers[static_cast<std::size_t>(index)].get();
}

int OfficeDocument::addSignature(std::unique_ptr<OfficeSignatureHandler> handler) {
    handler->attach(this);
    _handlers.push_back(std::move(handler));
    return signatureHandlerCount() - 1;
}

void OfficeDocument::removeSignature(int index) {
    auto* handler = signatureHandler(index);
    if (!handler)
        fail("signature index out of bounds", 0x8003);
    if (auto* odf = dynamic_cast<OpenOfficeSignatureHandler*>(handler); odf && odf->signatureNode()) {
        xmlUnlinkNode(odf->signatureNode());
        xmlFreeNode(odf->signatureNode());
        _signaturesChanged = true;
    }
    _handlers.erase(_handlers.begin() + index);
}

void OfficeDocument::flush() {
    if (!_stream)
        fail("the document is not open", 0x8004);
    if (_signaturesChanged && _odfSignatures) {
        xmlNode* root = xmlDocGetRootElement(_odfSignatures.get());
        if (Xml::children(root, Xml::DSigNs, "Signature").empty())
            _archive.remove(DocumentSignaturesEntry);
        else
            _archive.write(DocumentSignaturesEntry, Xml::serialize(_odfSignatures.get()));
        _signaturesChanged = false;
    }
    const auto& bytes = _archive.save();
    _stream->seek(0, SeekOrigin::Begin);
    if (auto* memory = dynamic_cast<MemoryStream*>(_stream))
        memory->setSize(0);
    _stream->writeAll(bytes);
    _stream->seek(0, SeekOrigin::Begin);
}

} // namespace SBB
