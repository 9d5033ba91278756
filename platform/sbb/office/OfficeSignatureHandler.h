#pragma once

#include "platform/sbb/MemoryCertStorage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace SBB {

class OfficeDocument;
class XAdESSigner;

// Results of OfficeSignatureHandler::validate.
namespace SignatureValidationResult {
constexpr int Valid = 1;
constexpr int EntriesInvalid = 2;   // the signature value verifies, a signed entry or part does not
constexpr int SignatureInvalid = 3; // the signature value or a reference inside the signature fails
constexpr int NoCertificate = 4;    // no usable certificate travels with the signature
constexpr int NotSigned = 5;        // a new handler that has not signed yet
} // namespace SignatureValidationResult

// Status of one signed entry (OpenDocument) or part (Office Open XML) after validation.
namespace EntryStatus {
constexpr int NotFound = 0; // signed, but no longer in the package
constexpr int Valid = 1;
constexpr int DigestMismatch = 2;       // in the package, changed since signing
constexpr int NotSigned = 3;            // in the package, but the signature does not cover it
constexpr int Unverifiable = 4;         // its reference cannot be computed
constexpr int RelationshipsInvalid = 5; // Office Open XML: a relationship part fails its transform
} // namespace EntryStatus

struct SignedEntry {
    std::string name;
    int status = EntryStatus::Valid;
};

// One signature of an office document.
class OfficeSignatureHandler {
public:
    virtual ~OfficeSignatureHandler() = default;

    // The library class name the handler stands for.
    virtual const char* className() const = 0;
    bool classNameIs(std::string_view name) const { return name == className(); }

    // Called by the document when the handler joins it.
    void attach(OfficeDocument* document) { _document = document; }
    // The signature covers the whole document (every entry but the signature's own).
    void addDocument() { _coversDocument = true; }
    void setXAdESProcessor(XAdESSigner* signer) { _signer = signer; }
    // Signs with the first certificate of certificates (which carries the private key); the others
    // travel with the signature. Throws SBException.
    virtual void sign(const MemoryCertStorage& certificates) = 0;

    // A SignatureValidationResult; signedEntries(), certificates(), signerCertificate() are read.
    virtual int validate() = 0;
    const std::vector<SignedEntry>& signedEntries() const { return _entries; }
    const MemoryCertStorage& certificates() const { return _certificates; }
    const std::optional<Certificate>& signerCertificate() const { return _signerCertificate; }
    // Seconds since 1970 UTC, 0 when the signature gives none.
    virtual std::int64_t signatureTime() const = 0;

protected:
    OfficeDocument* _document = nullptr;
    bool _coversDocument = false;
    XAdESSigner* _signer = nullptr;
    std::vector<SignedEntry> _entries;
    MemoryCertStorage _certificates;
    std::optional<Certificate> _signerCertificate;
};

} // namespace SBB
