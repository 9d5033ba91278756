#include "platform/sbb/Certificate.h"

#include "platform/sbb/Decoding.h"
#include "platform/sbb/SBException.h"

#include <openssl/err.h>

namespace SBB {

using namespace OpenSSL;

namespace {

DistinguishedNameAttributes nameAttributes(const X509_NAME* name) {
    DistinguishedNameAttributes attributes;
    const int count = X509_NAME_entry_count(name);
    for (int i = 0; i < count; ++i) {
        const X509_NAME_ENTRY* entry = X509_NAME_get_entry(name, i);
        const ASN1_OBJECT* object = X509_NAME_ENTRY_get_object(entry);
        NameAttribute attribute;
        const auto oidLength = OBJ_length(object);
        const unsigned char* oidData = OBJ_get0_data(object);
        attribute.oid.assign(oidData, oidData + oidLength);
        unsigned char* utf8 = nullptr;
        const int length = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(entry));
        if (length >= 0) {
            attribute.value.assign(utf8, utf8 + length);
            OPENSSL_free(utf8);
        } else {
            // A value that does not convert keeps its raw bytes.
            ERR_clear_error();
            const ASN1_STRING* raw = X509_NAME_ENTRY_get_data(entry);
            attribute.value.assign(ASN1_STRING_get0_data(raw),
                                   ASN1_STRING_get0_data(raw) + ASN1_STRING_length(raw));
        }
        attributes.push_back(std::move(attribute));
    }
    return attributes;
}

std::int64_t secondsSinceEpoch(const ASN1_TIME* time) {
    ASN1_TIME* epoch = ASN1_TIME_set(nullptr, 0);
    int days = 0;
    int seconds = 0;
    const bool ok = epoch && ASN1_TIME_diff(&days, &seconds, epoch, time) == 1;
    ASN1_TIME_free(epoch);
    if (!ok)
        throwError("ASN1_TIME_diff");
    return static_cast<std::int64_t>(days) * 86400 + seconds;
}

template <typename T, typename Encode>
std::vector<unsigned char> encode(const T* object, Encode encodeFunction) {
    const int length = encodeFunction(object, nullptr);
    if (length <= 0)
        throwError("i2d");
    std::vector<unsigned char> bytes(static_cast<std::size_t>(length));
    unsigned char* p = bytes.data();
    encodeFunction(object, &p);
    return bytes;
}

std::vector<unsigned char> readFromPosition(Stream& stream) {
    return stream.readToEnd();
}

} // namespace

Certificate::Certificate(X509Ptr certificate, PKeyPtr privateKey)
    : _certificate(std::move(certificate)), _privateKey(std::move(privateKey)) {}

Certificate::Certificate(const Certificate& other)
    : _certificate(share(other._certificate.get())), _privateKey(share(other._privateKey.get())) {}

Certificate& Certificate::operator=(const Certificate& other) {
    if (this != &other) {
        _certificate = share(other._certificate.get());
        _privateKey = share(other._privateKey.get());
    }
    return *this;
}

int Certificate::loadFromStreamAuto(Stream& stream, std::string_view password) {
    auto decoded = Decoding::decodeCertificate(readFromPosition(stream), password);
    if (decoded.code != LoadResult::Ok)
        return decoded.code;
    _certificate = std::move(decoded.certificate);
    _privateKey = std::move(decoded.privateKey);
    return LoadResult::Ok;
}

int Certificate::loadKeyFromStreamAuto(Stream& stream, std::string_view password) {
    auto decoded = Decoding::decodePrivateKey(readFromPosition(stream), password);
    if (decoded.code != LoadResult::Ok)
        return decoded.code;
    _privateKey = std::move(decoded.key);
    return LoadResult::Ok;
}

CertFileFormat Certificate::detectCertFileFormat(Stream& stream) {
    const auto start = stream.position();
    const auto bytes = stream.readToEnd();
    stream.seek(start, SeekOrigin::Begin);
    return Decoding::detectFormat(bytes);
}

void Certificate::requireLoaded() const {
    if (!_certificate)
        throw SBException(SBException::Kind::Library, "EElCertificateError", "No certificate is loaded",
                          0x5030);
}

bool Certificate::isKeyValid() const {
    if (!_certificate || !_privateKey)
        return false;
    const bool matches = X509_check_private_key(_certificate.get(), _privateKey.get()) == 1;
    ERR_clear_error();
    return matches;
}

bool Certificate::isIssuedBy(const Certificate& issuer) const {
    requireLoaded();
    issuer.requireLoaded();
    if (X509_NAME_cmp(X509_get_issuer_name(_certificate.get()), X509_get_subject_name(issuer.native())) != 0)
        return false;
    EVP_PKEY* issuerKey = X509_get0_pubkey(issuer.native());
    const bool verified = issuerKey && X509_verify(_certificate.get(), issuerKey) == 1;
    ERR_clear_error();
    return verified;
}

bool Certificate::selfSigned() const {
    return isIssuedBy(*this);
}

bool Certificate::sameAs(const Certificate& other) const {
    return _certificate && other._certificate && X509_cmp(_certificate.get(), other._certificate.get()) == 0;
}

DistinguishedNameAttributes Certificate::issuerRDN() const {
    requireLoaded();
    return nameAttributes(X509_get_issuer_name(_certificate.get()));
}

DistinguishedNameAttributes Certificate::subjectRDN() const {
    requireLoaded();
    return nameAttributes(X509_get_subject_name(_certificate.get()));
}

std::int64_t Certificate::validFrom() const {
    requireLoaded();
    return secondsSinceEpoch(X509_get0_notBefore(_certificate.get()));
}

std::int64_t Certificate::validTo() const {
    requireLoaded();
    return secondsSinceEpoch(X509_get0_notAfter(_certificate.get()));
}

std::vector<unsigned char> Certificate::serialNumber() const {
    requireLoaded();
    const ASN1_INTEGER* serial = X509_get0_serialNumber(_certificate.get());
    const unsigned char* data = ASN1_STRING_get0_data(serial);
    return std::vector<unsigned char>(data, data + ASN1_STRING_length(serial));
}

std::vector<unsigned char> Certificate::fullPublicKeyInfo() const {
    requireLoaded();
    return encode(X509_get_X509_PUBKEY(_certificate.get()), i2d_X509_PUBKEY);
}

std::vector<unsigned char> Certificate::der() const {
    requireLoaded();
    return encode(_certificate.get(), i2d_X509);
}

Certificate Certificate::withoutPrivateKey() const {
    return Certificate(share(_certificate.get()));
}

} // namespace SBB
