// Runs with a libcrypto configured to load no digest implementation (base-provider-only.cnf).

#include "TestFiles.h"
#include "integrity/DigestFilter.h"
#include "integrity/OpenSSLCryptoProvider.h"
#include "integrity/PackageDigest.h"
#include "package/FileSystemPackage.h"

#include <gtest/gtest.h>

using namespace KX;
using namespace KX::CryptographicEngine;
using namespace KX::Testing;

TEST(IntegrityLibcryptoFailure, FailingDigestIsAnErrorNotAnEmptyDigest) {
    const std::string message = messageOf<InternalSecurityError>(
        [] { createOpenSSLCryptoProvider()->createDigestContext(HashAlgorithm::Sha256); });
    EXPECT_EQ(message.rfind("Message digest failed: EVP_DigestInit_ex (error:", 0), 0u) << message;
}

TEST(IntegrityLibcryptoFailure, NoManifestIsMadeFromFailedDigests) {
    ScratchDirectory scratch;
    writeFile(scratch / "a.txt", "a");
    const auto package = makeFileSystemPackage(FileSystem::Path(scratch.path()));
    EXPECT_THROW(
        PluginAPI::PackageDigest::create(*package, HashAlgorithm::Sha256,
                                         makeCallableRef<bool(const FileSystem::Path&, Package::EntryType)>(
                                             PluginAPI::isExcludedFromDigest)),
        InternalSecurityError);
}
