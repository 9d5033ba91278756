#pragma once

// Decoders behind the certificate and store loaders: every function answers with a load result
// code (Codes.h) instead of throwing for bad input.

#include "platform/sbb/Codes.h"
#include "platform/sbb/OpenSSLHandles.h"

#include <string>
#include <string_view>
#include <vector>

namespace SBB::Decoding {

struct PemBlock {
    std::string name;
    std::string header;
    std::vector<unsigned char> data;
};

bool looksLikePem(const std::vector<unsigned char>& bytes);
// All blocks of a PEM text; false when the armour or the base64 inside it is damaged.
bool readPemBlocks(const std::vector<unsigned char>& bytes, std::vector<PemBlock>& blocks);

CertFileFormat detectFormat(const std::vector<unsigned char>& bytes);

struct DecodedCertificate {
    int code = LoadResult::Ok;
    OpenSSL::X509Ptr certificate;
    OpenSSL::PKeyPtr privateKey;
    std::vector<OpenSSL::X509Ptr> others; // further certificates of a bundle
};

// One certificate from PEM, DER or PFX; a key stored next to it comes along.
DecodedCertificate decodeCertificate(const std::vector<unsigned char>& bytes, std::string_view password);

struct DecodedKey {
    int code = LoadResult::Ok;
    OpenSSL::PKeyPtr key;
};

// A private key from PEM (PKCS#8, encrypted PKCS#8, traditional, encrypted traditional), DER or PFX.
DecodedKey decodePrivateKey(const std::vector<unsigned char>& bytes, std::string_view password);

// Every certificate of a PEM bundle, each with the key of the bundle that matches it.
struct DecodedBundle {
    int code = LoadResult::Ok;
    std::vector<std::pair<OpenSSL::X509Ptr, OpenSSL::PKeyPtr>> entries;
};
DecodedBundle decodePemBundle(const std::vector<unsigned char>& bytes, std::string_view password);
DecodedBundle decodePfx(const std::vector<unsigned char>& bytes, std::string_view password);
// The certificates of a PKCS#7 bundle (DER or PEM); false when it cannot be read.
bool decodePkcs7(const std::vector<unsigned char>& bytes, std::vector<OpenSSL::X509Ptr>& certificates);

} // namespace SBB::Decoding
