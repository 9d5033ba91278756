#include "platform/sbb/Decoding.h"

#include <algorithm>
#include <cstring>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/provider.h>

namespace SBB::Decoding {

using namespace OpenSSL;

namespace {

bool isCertificateBlock(const std::string& name) {
    return name == "CERTIFICATE" || name == "X509 CERTIFICATE" || name == "TRUSTED CERTIFICATE";
}

bool isKeyBlock(const std::string& name) {
    return name.size() >= 11 && name.compare(name.size() - 11, 11, "PRIVATE KEY") == 0;
}

bool isPkcs7Block(const std::string& name) {
    return name == "PKCS7" || name == "PKCS #7 SIGNED DATA";
}

bool isEncryptedBlock(const PemBlock& block) {
    return block.name == "ENCRYPTED PRIVATE KEY" || block.header.find("ENCRYPTED") != std::string::npos;
}

// PKCS#12 files exported by older tools protect their contents with RC2 or similar ciphers that
// only OpenSSL's legacy provider offers. It is loaded when such a file is first met, not before,
// so that nothing else in the process sees the legacy algorithms unless it has to.
bool loadLegacyAlgorithms() {
    struct Providers {
        // Loading any provider explicitly stops the default one from loading implicitly.
        OSSL_PROVIDER* defaultProvider = OSSL_PROVIDER_load(nullptr, "default");
        OSSL_PROVIDER* legacyProvider = OSSL_PROVIDER_load(nullptr, "legacy");
        ~Providers() {
            if (legacyProvider)
                OSSL_PROVIDER_unload(legacyProvider);
            if (defaultProvider)
                OSSL_PROVIDER_unload(defaultProvider);
        }
    };
    static const Providers providers;
    ERR_clear_error();
    return providers.defaultProvider && providers.legacyProvider;
}

bool startsWithSequence(const std::vector<unsigned char>& bytes) {
    return !bytes.empty() && bytes[0] == 0x30;
}

// Hands the given password to OpenSSL; an empty one refuses, so nothing ever prompts on a terminal.
int passwordCallback(char* buffer, int size, int /*rwflag*/, void* user) {
    const auto* password = static_cast<const std::string_view*>(user);
    if (password->empty() || password->size() > static_cast<std::size_t>(size))
        return -1;
    std::memcpy(buffer, password->data(), password->size());
    return static_cast<int>(password->size());
}

X509Ptr decodeCertificateBlock(const PemBlock& block) {
    const unsigned char* p = block.data.data();
    const auto length = static_cast<long>(block.data.size());
    X509Ptr cert(block.name == "TRUSTED CERTIFICATE" ? d2i_X509_AUX(nullptr, &p, length)
                                                     : d2i_X509(nullptr, &p, length));
    return cert;
}

DecodedKey decodeKeyBlock(const PemBlock& block, std::string_view password) {
    DecodedKey result;
    const bool encrypted = isEncryptedBlock(block);
    const int passwordCode = block.name == "ENCRYPTED PRIVATE KEY" ? LoadResult::PkcsKeyPasswordInvalid
                                                                   : LoadResult::PemPasswordInvalid;
    if (encrypted && password.empty()) {
        result.code = passwordCode;
        return result;
    }
    // Re-armour the one block so that OpenSSL decodes exactly it, whatever else the file holds.
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!bio || PEM_write_bio(bio.get(), block.name.c_str(), block.header.c_str(), block.data.data(),
                              static_cast<long>(block.data.size())) <= 0)
        throwError("PEM_write_bio");
    result.key.reset(PEM_read_bio_PrivateKey(bio.get(), nullptr, passwordCallback, &password));
    if (!result.key) {
        ERR_clear_error();
        // A wrong password and damaged ciphertext cannot be told apart; the password is the likely cause.
        result.code = encrypted ? passwordCode : LoadResult::InvalidData;
    }
    return result;
}

PKeyPtr decodeDerKey(const std::vector<unsigned char>& bytes, std::string_view password, int& code) {
    const unsigned char* p = bytes.data();
    PKeyPtr key(d2i_AutoPrivateKey(nullptr, &p, static_cast<long>(bytes.size())));
    if (key)
        return key;
    ERR_clear_error();
    p = bytes.data();
    X509SigPtr sig(d2i_X509_SIG(nullptr, &p, static_cast<long>(bytes.size())));
    if (sig) {
        if (!password.empty()) {
            P8InfoPtr info(PKCS8_decrypt(sig.get(), password.data(), static_cast<int>(password.size())));
            if (info)
                key.reset(EVP_PKCS82PKEY(info.get()));
        }
        ERR_clear_error();
        code = key ? LoadResult::Ok : LoadResult::PkcsKeyPasswordInvalid;
        return key;
    }
    ERR_clear_error();
    code = startsWithSequence(bytes) ? LoadResult::InvalidData : LoadResult::UnsupportedFormat;
    return nullptr;
}

Pkcs12Ptr parsePkcs12(const std::vector<unsigned char>& bytes) {
    const unsigned char* p = bytes.data();
    Pkcs12Ptr p12(d2i_PKCS12(nullptr, &p, static_cast<long>(bytes.size())));
    ERR_clear_error();
    return p12;
}

Pkcs7Ptr parsePkcs7Der(const std::vector<unsigned char>& bytes) {
    const unsigned char* p = bytes.data();
    Pkcs7Ptr p7(d2i_PKCS7(nullptr, &p, static_cast<long>(bytes.size())));
    ERR_clear_error();
    return p7;
}

X509Ptr parseX509Der(const std::vector<unsigned char>& bytes) {
    const unsigned char* p = bytes.data();
    X509Ptr cert(d2i_X509(nullptr, &p, static_cast<long>(bytes.size())));
    ERR_clear_error();
    return cert;
}

} // namespace

bool looksLikePem(const std::vector<unsigned char>& bytes) {
    static constexpr char marker[] = "-----BEGIN ";
    return std::search(bytes.begin(), bytes.end(), marker, marker + sizeof marker - 1) != bytes.end();
}

bool readPemBlocks(const std::vector<unsigned char>& bytes, std::vector<PemBlock>& blocks) {
    auto bio = memoryBio(bytes);
    for (;;) {
        char* name = nullptr;
        char* header = nullptr;
        unsigned char* data = nullptr;
        long length = 0;
        if (PEM_read_bio(bio.get(), &name, &header, &data, &length) <= 0) {
            const auto reason = ERR_GET_REASON(ERR_peek_last_error());
            ERR_clear_error();
            // "No start line" is the normal end of the text, provided something was read.
            return reason == PEM_R_NO_START_LINE && !blocks.empty();
        }
        blocks.push_back({name, header, std::vector<unsigned char>(data, data + length)});
        OPENSSL_free(name);
        OPENSSL_free(header);
        OPENSSL_free(data);
    }
}

CertFileFormat detectFormat(const std::vector<unsigned char>& bytes) {
    if (bytes.empty())
        return CertFileFormat::Unknown;
    if (looksLikePem(bytes)) {
        std::vector<PemBlock> blocks;
        readPemBlocks(bytes, blocks);
        const bool onlyPkcs7 =
            !blocks.empty() &&
            std::all_of(blocks.begin(), blocks.end(), [](const auto& b) { return isPkcs7Block(b.name); });
        return onlyPkcs7 ? CertFileFormat::Pkcs7 : CertFileFormat::Pem;
    }
    if (parsePkcs12(bytes))
        return CertFileFormat::Pfx;
    if (parsePkcs7Der(bytes))
        return CertFileFormat::Pkcs7;
    if (parseX509Der(bytes))
        return CertFileFormat::Der;
    return CertFileFormat::Unknown;
}

DecodedBundle decodePfx(const std::vector<unsigned char>& bytes, std::string_view password) {
    DecodedBundle result;
    auto p12 = parsePkcs12(bytes);
    if (!p12) {
        result.code = startsWithSequence(bytes) ? LoadResult::InvalidData : LoadResult::UnsupportedFormat;
        return result;
    }
    const std::string pass(password);
    // PKCS12_parse tries both the absent and the empty password when it is given none.
    if (PKCS12_mac_present(p12.get()) && !password.empty() &&
        !PKCS12_verify_mac(p12.get(), pass.c_str(), static_cast<int>(pass.size()))) {
        ERR_clear_error();
        result.code = LoadResult::PfxPasswordInvalid;
        return result;
    }
    EVP_PKEY* key = nullptr;
    X509* cert = nullptr;
    STACK_OF(X509)* ca = nullptr;
    const char* parsePassword = password.empty() ? nullptr : pass.c_str();
    bool parsed = PKCS12_parse(p12.get(), parsePassword, &key, &cert, &ca) == 1;
    if (!parsed && ERR_GET_REASON(ERR_peek_last_error()) != PKCS12_R_MAC_VERIFY_FAILURE &&
        !OSSL_PROVIDER_available(nullptr, "legacy") && loadLegacyAlgorithms()) {
        ERR_clear_error();
        parsed = PKCS12_parse(p12.get(), parsePassword, &key, &cert, &ca) == 1;
    }
    if (!parsed) {
        const auto reason = ERR_GET_REASON(ERR_peek_last_error());
        ERR_clear_error();
        result.code = reason == PKCS12_R_MAC_VERIFY_FAILURE || reason == PKCS12_R_PKCS12_CIPHERFINAL_ERROR ||
                              reason == PKCS12_R_DECODE_ERROR
                          ? LoadResult::PfxPasswordInvalid
                          : LoadResult::InvalidData;
        return result;
    }
    X509StackPtr others(ca);
    if (cert)
        result.entries.emplace_back(X509Ptr(cert), PKeyPtr(key));
    else
        EVP_PKEY_free(key);
    while (others && sk_X509_num(others.get()) > 0)
        result.entries.emplace_back(X509Ptr(sk_X509_shift(others.get())), nullptr);
    if (result.entries.empty())
        result.code = LoadResult::NoData;
    return result;
}

DecodedCertificate decodeCertificate(const std::vector<unsigned char>& bytes, std::string_view password) {
    DecodedCertificate result;
    if (bytes.empty()) {
        result.code = LoadResult::NoData;
        return result;
    }
    if (looksLikePem(bytes)) {
        std::vector<PemBlock> blocks;
        if (!readPemBlocks(bytes, blocks)) {
            result.code = LoadResult::InvalidData;
            return result;
        }
        const auto certBlock = std::find_if(blocks.begin(), blocks.end(),
                                            [](const auto& b) { return isCertificateBlock(b.name); });
        if (certBlock == blocks.end()) {
            result.code = LoadResult::UnsupportedFormat;
            return result;
        }
        result.certificate = decodeCertificateBlock(*certBlock);
        if (!result.certificate) {
            ERR_clear_error();
            result.code = LoadResult::InvalidData;
            return result;
        }
        // A key kept in the same file comes along when it opens with the password given.
        const auto keyBlock =
            std::find_if(blocks.begin(), blocks.end(), [](const auto& b) { return isKeyBlock(b.name); });
        if (keyBlock != blocks.end())
            result.privateKey = decodeKeyBlock(*keyBlock, password).key;
        return result;
    }
    if (parsePkcs12(bytes)) {
        auto bundle = decodePfx(bytes, password);
        result.code = bundle.code;
        if (bundle.code == LoadResult::Ok) {
            result.certificate = std::move(bundle.entries.front().first);
            result.privateKey = std::move(bundle.entries.front().second);
            for (std::size_t i = 1; i < bundle.entries.size(); ++i)
                result.others.push_back(std::move(bundle.entries[i].first));
        }
        return result;
    }
    result.certificate = parseX509Der(bytes);
    if (result.certificate)
        return result;
    if (parsePkcs7Der(bytes))
        result.code = LoadResult::UnsupportedFormat;
    else
        result.code = startsWithSequence(bytes) ? LoadResult::InvalidData : LoadResult::UnsupportedFormat;
    return result;
}

DecodedKey decodePrivateKey(const std::vector<unsigned char>& bytes, std::string_view password) {
    DecodedKey result;
    if (bytes.empty()) {
        result.code = LoadResult::NoData;
        return result;
    }
    if (looksLikePem(bytes)) {
        std::vector<PemBlock> blocks;
        if (!readPemBlocks(bytes, blocks)) {
            result.code = LoadResult::InvalidData;
            return result;
        }
        const auto keyBlock =
            std::find_if(blocks.begin(), blocks.end(), [](const auto& b) { return isKeyBlock(b.name); });
        if (keyBlock == blocks.end()) {
            result.code = LoadResult::UnsupportedFormat;
            return result;
        }
        return decodeKeyBlock(*keyBlock, password);
    }
    if (parsePkcs12(bytes)) {
        auto bundle = decodePfx(bytes, password);
        result.code = bundle.code;
        if (bundle.code == LoadResult::Ok) {
            result.key = std::move(bundle.entries.front().second);
            if (!result.key)
                result.code = LoadResult::NoData;
        }
        return result;
    }
    result.key = decodeDerKey(bytes, password, result.code);
    return result;
}

DecodedBundle decodePemBundle(const std::vector<unsigned char>& bytes, std::string_view password) {
    DecodedBundle result;
    std::vector<PemBlock> blocks;
    if (!looksLikePem(bytes) || !readPemBlocks(bytes, blocks)) {
        result.code = LoadResult::InvalidData;
        return result;
    }
    std::vector<PKeyPtr> keys;
    for (const auto& block : blocks) {
        if (isCertificateBlock(block.name)) {
            auto cert = decodeCertificateBlock(block);
            if (!cert) {
                ERR_clear_error();
                result.code = LoadResult::InvalidData;
                return result;
            }
            result.entries.emplace_back(std::move(cert), nullptr);
        } else if (isKeyBlock(block.name)) {
            auto key = decodeKeyBlock(block, password);
            if (key.code != LoadResult::Ok) {
                result.code =
                    LoadResult::isPasswordError(key.code) ? LoadResult::StorePasswordInvalid : key.code;
                return result;
            }
            keys.push_back(std::move(key.key));
        }
    }
    if (result.entries.empty()) {
        result.code = LoadResult::NoData;
        return result;
    }
    for (auto& key : keys) {
        for (auto& [cert, certKey] : result.entries) {
            if (!certKey && X509_check_private_key(cert.get(), key.get()) == 1) {
                certKey = std::move(key);
                break;
            }
        }
        ERR_clear_error();
    }
    return result;
}

bool decodePkcs7(const std::vector<unsigned char>& bytes, std::vector<X509Ptr>& certificates) {
    Pkcs7Ptr p7;
    if (looksLikePem(bytes)) {
        auto bio = memoryBio(bytes);
        p7.reset(PEM_read_bio_PKCS7(bio.get(), nullptr, nullptr, nullptr));
        ERR_clear_error();
    } else {
        p7 = parsePkcs7Der(bytes);
    }
    if (!p7)
        return false;
    STACK_OF(X509)* certs = nullptr;
    const int type = OBJ_obj2nid(p7->type);
    if (type == NID_pkcs7_signed && p7->d.sign)
        certs = p7->d.sign->cert;
    else if (type == NID_pkcs7_signedAndEnveloped && p7->d.signed_and_enveloped)
        certs = p7->d.signed_and_enveloped->cert;
    else
        return false;
    for (int i = 0; certs && i < sk_X509_num(certs); ++i)
        certificates.push_back(share(sk_X509_value(certs, i)));
    return true;
}

} // namespace SBB::Decoding
