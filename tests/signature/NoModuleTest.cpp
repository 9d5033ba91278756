#include "signature/DigitalSignatureProviderFactory.h"
#include "signature/tarnwell/ModuleProviderLoader.h"

#include <gtest/gtest.h>

using namespace KX::CryptographicEngine::DigitalSignature;
using Tarnwell::loadModuleProvider;

// This test program lives in a folder without a module.

TEST(SigTarnwellAbsent, NoModuleGivesAnEmptyProviderSilently) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const auto provider = createDigitalSignatureProvider(DigitalSignatureProviderType::Tarnwell);
    const auto out = testing::internal::GetCapturedStdout();
    const auto err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(provider, nullptr);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

TEST(SigTarnwellAbsent, ModulesWithoutTheFactoryOrNoModuleAtAllAreIgnored) {
    EXPECT_EQ(loadModuleProvider(KX_TEST_NOFACTORY_MODULE), nullptr);
    EXPECT_EQ(loadModuleProvider(__FILE__), nullptr);
    EXPECT_EQ(loadModuleProvider("/nonexistent/folder/libTarnwell.so"), nullptr);
}
