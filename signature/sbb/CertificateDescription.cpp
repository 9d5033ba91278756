#include "signature/sbb/CertificateDescription.h"

#include "platform/sbb/StringUtils.h"

#include <algorithm>
#include <array>

namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider {

namespace {

struct AttributeField {
    std::vector<unsigned char> oid;
    std::string DistinguishedName::*field;
};

const std::array<AttributeField, 7>& attributeFields() {
    static const std::array<AttributeField, 7> fields{{
        {{0x55, 0x04, 0x03}, &DistinguishedName::commonName},
        {{0x55, 0x04, 0x0A}, &DistinguishedName::organization},
        {{0x55, 0x04, 0x06}, &DistinguishedName::country},
        {{0x55, 0x04, 0x08}, &DistinguishedName::stateOrProvince},
        {{0x55, 0x04, 0x07}, &DistinguishedName::locality},
        {{0x55, 0x04, 0x0B}, &DistinguishedName::organizationalUnit},
        {{0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x09, 0x01}, &DistinguishedName::email},
    }};
    return fields;
}

std::int64_t positiveOrZero(std::int64_t seconds) {
    return seconds < 1 ? 0 : seconds;
}

} // namespace

DistinguishedName describeName(const SBB::DistinguishedNameAttributes& attributes) {
    DistinguishedName name;
    for (const auto& attribute : attributes) {
        const auto& fields = attributeFields();
        const auto match = std::find_if(fields.begin(), fields.end(),
                                        [&](const AttributeField& f) { return f.oid == attribute.oid; });
        if (match != fields.end())
            name.*(match->field) = std::string(attribute.value.begin(), attribute.value.end());
    }
    return name;
}

CertificateInfo describeCertificate(const SBB::Certificate& certificate) {
    CertificateInfo info;
    info.issuer = describeName(certificate.issuerRDN());
    info.subject = describeName(certificate.subjectRDN());
    info.validFrom = positiveOrZero(certificate.validFrom());
    info.validTo = positiveOrZero(certificate.validTo());
    info.serialNumber = SBB::beautifyBinaryString(SBB::binaryToString(certificate.serialNumber()), ':');
    info.publicKey = SBB::binaryToString(certificate.fullPublicKeyInfo());
    return info;
}

} // namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider
