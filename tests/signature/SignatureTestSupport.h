#pragma once

#include "TestPki.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "core/streams/FileStreams.h"
#include "signature/CertificateSource.h"

#include <memory>
#include <string>

namespace SignatureTest {

inline const KX::Testing::TestPki& pki() {
    return KX::Testing::TestPki::instance();
}

inline std::int64_t now() {
    return KX::Testing::TestPki::now();
}

// A source over one of the generated files.
inline KX::CryptographicEngine::DigitalSignature::CertificateSource source(const std::string& name) {
    return KX::openFileForReading(KX::FileSystem::Path(pki().path(name)));
}

inline std::unique_ptr<KX::ContainerBasedInOutStream<std::string>> memoryCopy(const std::string& name) {
    return std::make_unique<KX::ContainerBasedInOutStream<std::string>>(
        KX::Testing::TestPki::readFile(pki().path(name)));
}

} // namespace SignatureTest
