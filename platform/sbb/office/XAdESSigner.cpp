#include "platform/sbb/office/XAdESSigner.h"

#include "platform/sbb/OpenSSLHandles.h"
#include "platform/sbb/SBException.h"
#include "platform/sbb/office/XmlSignature.h"
#include "platform/sbb/office/XmlSupport.h"

#include <openssl/bn.h>
#include <openssl/evp.h>

namespace SBB {

namespace {

[[noreturn]] void fail(const std::string& message) {
    throw SBException(SBException::Kind::Library, "EElXAdESError", message, 0x8301);
}

std::string issuerName(const Certificate& certificate) {
    OpenSSL::BioPtr bio(BIO_new(BIO_s_mem()));
    X509_NAME_print_ex(bio.get(), X509_get_issuer_name(certificate.native()), 0, XN_FLAG_RFC2253);
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

std::string decimalSerial(const Certificate& certificate) {
    BIGNUM* number = ASN1_INTEGER_to_BN(X509_get0_serialNumber(certificate.native()), nullptr);
    char* text = number ? BN_bn2dec(number) : nullptr;
    std::string result = text ? text : "0";
    OPENSSL_free(text);
    BN_free(number);
    return result;
}

std::vector<unsigned char> sha256(const std::vector<unsigned char>& data) {
    std::vector<unsigned char> digest(EVP_MAX_MD_SIZE);
    unsigned int size = 0;
    EVP_Digest(data.data(), data.size(), digest.data(), &size, EVP_sha256(), nullptr);
    digest.resize(size);
    return digest;
}

xmlNode* add(xmlNode* parent, xmlNs* ns, const char* name, const std::string& content = {}) {
    return xmlNewTextChild(parent, ns, BAD_CAST name, content.empty() ? nullptr : BAD_CAST content.c_str());
}

void writeCertificate(xmlNode* signingCertificate, xmlNs* xades, xmlNs* ds, const Certificate& certificate) {
    xmlNode* cert = add(signingCertificate, xades, "Cert");
    xmlNode* digest = add(cert, xades, "CertDigest");
    xmlNode* method = add(digest, ds, "DigestMethod");
    xmlNewProp(method, BAD_CAST "Algorithm", BAD_CAST Sha256Uri);
    add(digest, ds, "DigestValue", Xml::base64Encode(sha256(certificate.der())));
    xmlNode* issuerSerial = add(cert, xades, "IssuerSerial");
    add(issuerSerial, ds, "X509IssuerName", issuerName(certificate));
    add(issuerSerial, ds, "X509SerialNumber", decimalSerial(certificate));
}

} // namespace

XAdESSigner::~XAdESSigner() {
    delete _owned;
}

void XAdESSigner::setSigningCertificates(const MemoryCertStorage* certificates) {
    delete _owned;
    _owned = nullptr;
    _certificates = certificates;
    if (_ownSigningCertificates && certificates) {
        _owned = new MemoryCertStorage();
        for (const auto& certificate : certificates->certificates())
            _owned->add(certificate, false);
        _certificates = _owned;
    }
}

void XAdESSigner::generate() {
    if (_version != XAdESVersion::V1_3_2)
        fail("unsupported XAdES version");
    if (_form != XAdESForm::Basic && _form != XAdESForm::BES && _form != XAdESForm::T)
        fail("unsupported XAdES form");
    if (_form != XAdESForm::Basic && (!_certificates || _certificates->count() == 0))
        fail("no signing certificates");
    if (_form == XAdESForm::T && !_tsp)
        fail("XAdES-T needs a time-stamp client");
    _generated = true;
}

void XAdESSigner::writeQualifyingProperties(xmlNode* object, const std::string& signatureId,
                                            const std::string& signedPropertiesId) const {
    if (!_generated)
        fail("the XAdES data was not generated");
    xmlNode* qualifying = xmlNewChild(object, nullptr, BAD_CAST "QualifyingProperties", nullptr);
    xmlNs* xades = xmlNewNs(qualifying, BAD_CAST Xml::XAdES132Ns, BAD_CAST "xd");
    xmlSetNs(qualifying, xades);
    xmlNs* ds = xmlSearchNsByHref(object->doc, object, BAD_CAST Xml::DSigNs);
    xmlNewProp(qualifying, BAD_CAST "Target", BAD_CAST("#" + signatureId).c_str());
    xmlNode* signedProperties = add(qualifying, xades, "SignedProperties");
    xmlNewProp(signedProperties, BAD_CAST "Id", BAD_CAST signedPropertiesId.c_str());
    xmlNode* signatureProperties = add(signedProperties, xades, "SignedSignatureProperties");
    add(signatureProperties, xades, "SigningTime", Xml::formatDateTime(_signingTime));
    if (_form != XAdESForm::Basic) {
        xmlNode* signingCertificate = add(signatureProperties, xades, "SigningCertificate");
        for (const auto& certificate : _certificates->certificates())
            writeCertificate(signingCertificate, xades, ds, certificate);
    }
}

int XAdESSigner::completeSignature(xmlNode* signature) const {
    if (_form != XAdESForm::T)
        return 0;
    std::vector<unsigned char> token;
    const int result = _tsp->timestamp(canonicalSignatureValue(signature), token);
    if (result != 0)
        return result;
    xmlNode* qualifying = nullptr;
    for (xmlNode* object : Xml::children(signature, Xml::DSigNs, "Object"))
        if ((qualifying = Xml::firstChild(object, Xml::XAdES132Ns, "QualifyingProperties")))
            break;
    if (!qualifying)
        fail("the signature has no qualifying properties");
    xmlNs* xades = qualifying->ns;
    xmlNs* ds = xmlSearchNsByHref(signature->doc, signature, BAD_CAST Xml::DSigNs);
    xmlNode* unsignedProperties = add(qualifying, xades, "UnsignedProperties");
    xmlNode* unsignedSignature = add(unsignedProperties, xades, "UnsignedSignatureProperties");
    xmlNode* stamp = add(unsignedSignature, xades, "SignatureTimeStamp");
    xmlNode* c14n = add(stamp, ds, "CanonicalizationMethod");
    xmlNewProp(c14n, BAD_CAST "Algorithm", BAD_CAST C14NUri);
    add(stamp, xades, "EncapsulatedTimeStamp", Xml::base64Encode(token));
    return 0;
}

} // namespace SBB
