// A stand-in for the optional provider module, built by the tests to prove the loading contract.
// KX_TEST_TARNWELL_MODE picks what the factory does; KX_TEST_TARNWELL_LOG names a file that
// records when the provider is released and when the module is unloaded.

#include "core/Errors.h"
#include "signature/DigitalSignatureProvider.h"
#include "signature/tarnwell/ModuleProviderLoader.h"

#include <boost/config.hpp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

using namespace KX::CryptographicEngine;
using namespace KX::CryptographicEngine::DigitalSignature;
using KX::InOutStream;

namespace {

std::string mode() {
    const char* value = std::getenv("KX_TEST_TARNWELL_MODE");
    return value ? value : "";
}

void note(const char* line) {
    if (const char* log = std::getenv("KX_TEST_TARNWELL_LOG")) {
        if (FILE* file = std::fopen(log, "a")) {
            std::fprintf(file, "%s\n", line);
            std::fclose(file);
        }
    }
}

class ModuleInfo : public DigitalSignatureProvider::Info {
public:
    bool isSupported() const override { return false; }
};

class ModuleProvider : public DigitalSignatureProvider {
public:
    ~ModuleProvider() override { note("provider released"); }
    const Info& info() const override { return _info; }
    std::unique_ptr<CAdESSignatureManager> createCAdESSignatureManager(InOutStream&, InOutStream&) override {
        throw CryptoProviderNotAvailableError("no CAdES in the test module");
    }
    std::unique_ptr<XAdESSignatureManager> createXAdESSignatureManager(InOutStream&) override {
        throw CryptoProviderNotAvailableError("no XAdES in the test module");
    }
    std::unique_ptr<SigningKeyStore> createSigningKeyStore() override { return nullptr; }
    std::unique_ptr<CertificateStorage> createCertificateStorage() override { return nullptr; }
    std::unique_ptr<CertificateValidator> createCertificateValidator() override { return nullptr; }

private:
    ModuleInfo _info;
};

std::shared_ptr<DigitalSignatureProvider> createProvider() {
    const auto m = mode();
    if (m == "wrong-password")
        throw WrongPasswordError("the module refuses the password");
    if (m == "ui-module")
        throw DigitalSignature::Tarnwell::UIModuleIsNotAvailableError("no user interface module");
    if (m == "runtime")
        throw std::runtime_error("the module failed");
    if (m == "null")
        return nullptr;
    return std::make_shared<ModuleProvider>();
}

} // namespace

extern "C" {
BOOST_SYMBOL_EXPORT DigitalSignature::Tarnwell::ProviderFactory createTWDigitalSignatureProviderImplExported =
    &createProvider;
}

__attribute__((constructor)) static void onLoad() {
    if (mode() == "empty-factory")
        createTWDigitalSignatureProviderImplExported = nullptr;
}

__attribute__((destructor)) static void onUnload() {
    note("module unloaded");
}
