#include "core/Errors.h"
#include "signature/DigitalSignatureProviderFactory.h"
#include "signature/SignatureIndex.h"
#include "signature/sbb/SBBCertificateStorage.h"
#include "signature/sbb/SBBCertificateValidator.h"
#include "signature/sbb/SBBSigningKeyStore.h"

#include <gtest/gtest.h>

using namespace KX::CryptographicEngine;
using namespace KX::CryptographicEngine::DigitalSignature;

TEST(SigProvider, SecureBlackboxProviderCreatesItsWorkersAndSharesItsInfo) {
    const auto first = createDigitalSignatureProvider(DigitalSignatureProviderType::SecureBlackbox);
    const auto second = createDigitalSignatureProvider(DigitalSignatureProviderType::SecureBlackbox);
    ASSERT_TRUE(first);
    EXPECT_NE(first, second);
    EXPECT_EQ(&first->info(), &second->info());
    EXPECT_TRUE(first->info().isSupported());
    EXPECT_NE(dynamic_cast<SecureBlackboxProvider::SBBSigningKeyStore*>(first->createSigningKeyStore().get()),
              nullptr);
    EXPECT_NE(
        dynamic_cast<SecureBlackboxProvider::SBBCertificateStorage*>(first->createCertificateStorage().get()),
        nullptr);
    EXPECT_NE(dynamic_cast<SecureBlackboxProvider::SBBCertificateValidator*>(
                  first->createCertificateValidator().get()),
              nullptr);
}

TEST(SigProvider, UnknownProviderTypeIsRefused) {
    try {
        createDigitalSignatureProvider(static_cast<DigitalSignatureProviderType>(2));
        FAIL();
    } catch (const InternalSecurityError& e) {
        EXPECT_STREQ(e.what(), "Signing is not supported");
    }
}

TEST(SigSignatureIndex, BuiltFromSignedPositions) {
    EXPECT_EQ(SignatureIndex().index, 0u);
    EXPECT_EQ(SignatureIndex().kind, SignatureKind::Undefined);
    const SignatureIndex index(7, SignatureKind::CAdES);
    EXPECT_EQ(index.index, 7u);
    EXPECT_EQ(index.kind, SignatureKind::CAdES);
    EXPECT_THROW(SignatureIndex(-1), KX::BadNumCastError);
}
