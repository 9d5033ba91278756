#include "TestPki.h"
#include "core/Errors.h"
#include "signature/DigitalSignatureProviderFactory.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace KX::CryptographicEngine;
using namespace KX::CryptographicEngine::DigitalSignature;

// The test program's folder holds the test module under the platform's name for "Tarnwell".

namespace {

std::shared_ptr<DigitalSignatureProvider> moduleProvider(const char* mode) {
    setenv("KX_TEST_TARNWELL_MODE", mode, 1);
    return createDigitalSignatureProvider(DigitalSignatureProviderType::Tarnwell);
}

template <typename Error> std::string thrownMessage(const char* mode) {
    try {
        moduleProvider(mode);
    } catch (const Error& e) {
        return e.what();
    }
    return "nothing thrown";
}

} // namespace

TEST(SigTarnwellModule, ProvidesTheModulesProvider) {
    const auto provider = moduleProvider("");
    ASSERT_TRUE(provider);
    EXPECT_FALSE(provider->info().isSupported());
    EXPECT_EQ(provider->createSigningKeyStore(), nullptr);
}

TEST(SigTarnwellModule, FactoryErrorsSurfaceAsTheirOwnClass) {
    EXPECT_EQ(thrownMessage<WrongPasswordError>("wrong-password"), "the module refuses the password");
    EXPECT_EQ(thrownMessage<Tarnwell::UIModuleIsNotAvailableError>("ui-module"), "no user interface module");
    EXPECT_EQ(thrownMessage<InternalSecurityError>("runtime"), "the module failed");
    EXPECT_EQ(thrownMessage<InternalSecurityError>("empty-factory"), "call to empty boost::function");
    EXPECT_THROW(moduleProvider("null"), KX::AbortException);
}

TEST(SigTarnwellModule, ProviderIsReleasedBeforeTheModule) {
    const auto log = KX::Testing::TestPki::instance().path("release.log");
    setenv("KX_TEST_TARNWELL_LOG", log.c_str(), 1);
    auto provider = moduleProvider("");
    ASSERT_TRUE(provider);
    auto copy = provider;
    provider.reset();
    EXPECT_EQ(KX::Testing::TestPki::readFile(log), "");
    copy.reset();
    EXPECT_EQ(KX::Testing::TestPki::readFile(log), "provider released\nmodule unloaded\n");
    unsetenv("KX_TEST_TARNWELL_LOG");
}
