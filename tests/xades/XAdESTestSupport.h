#pragma once

// Office documents, signing credentials from the generated test PKI and the XAdES manager over
// them, for the XAdES tests.

#include "TestPki.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "core/streams/FileStreams.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBSigningKeyStore.h"
#include "signature/sbb/SBBXAdESSignatureManager.h"

#include <boost/filesystem.hpp>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace XadesTest {

using namespace KX;
using namespace KX::CryptographicEngine::DigitalSignature;
using namespace KX::CryptographicEngine::DigitalSignature::SecureBlackboxProvider;
using Memory = ContainerBasedInOutStream<std::string>;
namespace fs = boost::filesystem;

inline const KX::Testing::TestPki& pki() {
    return KX::Testing::TestPki::instance();
}

// The shared samples beside the repository; empty when they are not there.
inline fs::path samplesDir() {
    const fs::path dir = fs::path(KX_SOURCE_DIR) / ".." / "shared" / "samples";
    return fs::is_directory(dir) ? dir : fs::path();
}

#define KX_REQUIRE_SAMPLES()                                                                                 \
    do {                                                                                                     \
        if (::XadesTest::samplesDir().empty())                                                               \
            GTEST_SKIP() << "../shared/samples is not present";                                              \
    } while (false)

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path.string(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path.string(), std::ios::binary) << bytes;
}

inline std::string sample(const std::string& relative) {
    return readFile(samplesDir() / relative);
}

inline std::string bytesOf(InOutStream& stream) {
    std::string bytes(static_cast<std::size_t>(stream.size()), '\0');
    stream.seek(0, std::ios_base::beg);
    stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

inline CertificateSource source(const std::string& name) {
    return openFileForReading(FileSystem::Path(pki().path(name)));
}

inline std::unique_ptr<SBBCertificateStorage> storage(const std::string& trusted = "trust.pem",
                                                      const std::string& intermediate = {}) {
    auto result = std::make_unique<SBBCertificateStorage>();
    if (!trusted.empty()) {
        EXPECT_EQ(result->load(CertificateType::Trusted, source(trusted), {}), LoadStatus::Loaded);
    }
    if (!intermediate.empty()) {
        EXPECT_EQ(result->load(CertificateType::Intermediate, source(intermediate), {}), LoadStatus::Loaded);
    }
    return result;
}

inline std::unique_ptr<SBBSigningKeyStore> keys(const std::string& name = "signer") {
    auto store = std::make_unique<SBBSigningKeyStore>();
    EXPECT_EQ(store->loadWithoutValidation(source(name + ".key"), {}, source(name + ".pem"), {}),
              LoadStatus::Loaded);
    return store;
}

inline SignOptions options(AdESForm form = AdESForm::XAdES_BES,
                           std::optional<std::string> url = std::nullopt) {
    return SignOptions{form, std::move(url), std::nullopt};
}

inline std::unique_ptr<SBBXAdESSignatureManager> managerOver(const std::string& document) {
    Memory stream(document);
    return std::make_unique<SBBXAdESSignatureManager>(stream);
}

// The document after signing it once with the test signer.
inline std::string signedCopy(const std::string& document, AdESForm form = AdESForm::XAdES_BES,
                              const std::string& signer = "signer") {
    auto manager = managerOver(document);
    manager->sign(*storage("trust.pem", "intermediate.pem"), *keys(signer), options(form));
    return bytesOf(**manager->signedDocument());
}

inline int verdict(SignatureValidity validity) {
    return static_cast<int>(validity);
}

} // namespace XadesTest
