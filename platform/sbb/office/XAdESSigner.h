#pragma once

#include "platform/sbb/MemoryCertStorage.h"
#include "platform/sbb/tsp/TSPClient.h"

#include <cstdint>
#include <libxml/tree.h>
#include <string>

namespace SBB {

namespace XAdESVersion {
constexpr int V1_3_2 = 3; // the only version written
}

// XAdES forms the signer writes: signing time only (XAdES), plus the signing certificates
// (XAdES-BES), plus a signature time-stamp (XAdES-T).
namespace XAdESForm {
constexpr int Basic = 1;
constexpr int BES = 2;
constexpr int T = 3;
} // namespace XAdESForm

// The qualifying properties of an XML signature. A signature handler given the signer as its XAdES
// processor places them in the signature and asks for the time-stamp after the signature value.
class XAdESSigner {
public:
    XAdESSigner() = default;
    XAdESSigner(const XAdESSigner&) = delete;
    XAdESSigner& operator=(const XAdESSigner&) = delete;
    ~XAdESSigner();

    void setXAdESVersion(int version) { _version = version; }
    int xadesVersion() const { return _version; }
    void setXAdESForm(int form) { _form = form; }
    int xadesForm() const { return _form; }
    // Seconds since 1970 UTC.
    void setSigningTime(std::int64_t seconds) { _signingTime = seconds; }
    std::int64_t signingTime() const { return _signingTime; }
    // The certificates named in SigningCertificate, the signer's first. With ownership the signer
    // keeps a copy; otherwise the store must outlive the signer.
    void setOwnSigningCertificates(bool own) { _ownSigningCertificates = own; }
    void setSigningCertificates(const MemoryCertStorage* certificates);
    const MemoryCertStorage* signingCertificates() const { return _certificates; }
    // Needed by XAdES-T; must outlive the signing.
    void setTSPClient(TSPClient* client) { _tsp = client; }

    // Checks the settings. Throws SBException for an unknown version or form, XAdES-T without a
    // time-stamp client, or a form that names certificates without any.
    void generate();
    bool generated() const { return _generated; }

    // Appends xades:QualifyingProperties for the signature with signatureId to object; its
    // SignedProperties get signedPropertiesId.
    void writeQualifyingProperties(xmlNode* object, const std::string& signatureId,
                                   const std::string& signedPropertiesId) const;
    // After the signature value exists: XAdES-T adds the signature time-stamp. Returns 0 or the
    // time-stamp client's failure code.
    int completeSignature(xmlNode* signature) const;
    const char* timestampFailure() const { return _tsp ? _tsp->failureText() : ""; }

private:
    int _version = XAdESVersion::V1_3_2;
    int _form = XAdESForm::BES;
    std::int64_t _signingTime = 0;
    bool _ownSigningCertificates = false;
    const MemoryCertStorage* _certificates = nullptr;
    MemoryCertStorage* _owned = nullptr;
    TSPClient* _tsp = nullptr;
    bool _generated = false;
};

} // namespace SBB
