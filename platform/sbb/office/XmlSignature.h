#pragma once

// Checking and computing one ds:Signature with xmlsec1: canonical XML, digests and signature values
// all come from xmlsec1 and libxml2.

#include "platform/sbb/MemoryCertStorage.h"

#include <libxml/tree.h>
#include <optional>
#include <string>
#include <vector>

namespace SBB {

// What became of one reference.
namespace ReferenceOutcome {
constexpr int NotFound = 0;       // names a package entry that is not there
constexpr int Valid = 1;          // the digest matches
constexpr int DigestMismatch = 2; // the data changed
constexpr int Unverifiable = 4;   // cannot be computed (transform, digest, unreadable data)
} // namespace ReferenceOutcome

struct ReferenceCheck {
    std::string uri;
    bool sameDocument = false;
    int outcome = ReferenceOutcome::NotFound;
};

struct SignatureCheck {
    bool signatureValueValid = false;
    // The carried certificate whose key verifies the signature value (the first carried one when
    // none does).
    std::optional<Certificate> signer;
    std::vector<ReferenceCheck> references;
};

// Certificates the signature carries: KeyInfo's X509Certificate and XAdES CertificateValues.
MemoryCertStorage carriedCertificates(xmlNode* signature);

// Checks the signature value with every carried certificate and each reference of SignedInfo on
// its own. Entries are read through the current Xml::EntryResolverScope. IDs must be registered.
SignatureCheck checkSignature(xmlNode* signature);
// The references of a ds:Manifest (the package object of Office Open XML signatures).
std::vector<ReferenceCheck> checkManifestReferences(xmlNode* signature, xmlNode* manifest);

// Fills the DigestValue of every reference of a ds:Manifest (before the signature is computed).
void digestManifest(xmlNode* manifest);

// Fills the DigestValue and SignatureValue of a template signature with signer's private key.
// Throws SBException when xmlsec1 cannot sign.
void signTemplate(xmlNode* signature, const Certificate& signer);

// The canonical form (C14N 1.0) of the signature's ds:SignatureValue element, what a signature
// time-stamp covers.
std::vector<unsigned char> canonicalSignatureValue(xmlNode* signature);

// The canonical form of the signature's ds:SignatureValue element under the given algorithm (C14N
// 1.0 or 1.1, with or without comments, exclusive C14N); empty for an algorithm we do not know.
std::vector<unsigned char> canonicalSignatureValue(xmlNode* signature, const std::string& algorithm);

// Every XAdES SignatureTimeStamp of the signature stamps the digest of its canonical
// SignatureValue (the time-stamp authority's own signature is not checked: nothing here trusts
// it). True when there is none.
bool signatureTimeStampsMatch(xmlNode* signature);

// The signature method URI for the key (RSA or EC, SHA-256).
const char* signatureMethodFor(const Certificate& signer);
constexpr const char* Sha256Uri = "http://www.w3.org/2001/04/xmlenc#sha256";
constexpr const char* C14NUri = "http://www.w3.org/TR/2001/REC-xml-c14n-20010315";

} // namespace SBB
