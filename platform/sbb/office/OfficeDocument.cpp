#include "platform/sbb/office/OfficeDocument.h"

#include "platform/sbb/MemoryStream.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/office/OfficeOpenXMLSignatureHandler.h"
#include "platform/sbb/office/OpcPackage.h"
#include "platform/sbb/office/OpcSignatureParts.h"
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
    else if (isOpenXMLDocument() || isOpenXPSDocument())
        loadOpenXMLSignatures();
}

int OfficeDocument::addSignatureLine(const std::string& id) {
    _signatureLines.push_back({id, nullptr});
    return static_cast<int>(_signatureLines.size()) - 1;
}

SignatureLine* OfficeDocument::signatureLine(int index) {
    if (index < 0 || index >= signatureLineCount())
        return nullptr;
    return &_signatureLines[static_cast<std::size_t>(index)];
}

void OfficeDocument::close() {
    _signatureLines.clear();
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

void OfficeDocument::loadOpenXMLSignatures() {
    for (const auto& origin : Opc::readRelationships(_archive, "")) {
        if (origin.type != Opc::OriginRelationshipType || origin.external)
            continue;
        const auto originPart = Opc::resolveTarget("", origin.target);
        for (const auto& relationship : Opc::readRelationships(_archive, originPart)) {
            if (relationship.type != Opc::SignatureRelationshipType || relationship.external)
                continue;
            const auto part = Opc::resolveTarget(originPart, relationship.target);
            const auto bytes = _archive.read(part);
            if (!bytes)
                continue;
            auto signature = Xml::parse(*bytes);
            Xml::registerIds(xmlDocGetRootElement(signature.get()));
            if (_type == OfficeDocumentType::OpenXPS)
                addSignature(std::make_unique<OfficeOpenXPSSignatureHandler>(part, std::move(signature)));
            else
                addSignature(std::make_unique<OfficeOpenXMLSignatureHandler>(part, std::move(signature)));
            const auto& info =
                static_cast<OfficeOpenXMLBaseSignatureHandler*>(_handlers.back().get())->signatureInfoV1();
            if (!info.setupID.empty())
                _signatureLines.push_back({info.setupID, _handlers.back().get()});
        }
    }
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
    if (auto* ooxml = dynamic_cast<OfficeOpenXMLBaseSignatureHandler*>(handler);
        ooxml && !ooxml->partName().empty())
        Opc::removeSignaturePart(_archive, ooxml->partName());
    for (auto& line : _signatureLines)
        if (line.signatureHandler == handler)
            line.signatureHandler = nullptr;
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
