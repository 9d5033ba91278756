#include "signature/tarnwell/ModuleProviderLoader.h"

#include "core/Errors.h"
#include "core/FatalError.h"

#include <boost/dll/runtime_symbol_info.hpp>
#include <boost/dll/shared_library.hpp>
#include <boost/function.hpp>

namespace KX::CryptographicEngine::DigitalSignature::Tarnwell {

namespace {

// Calls the module's factory and keeps the module loaded for as long as it exists.
class ModuleProviderCreator {
public:
    ModuleProviderCreator(std::shared_ptr<boost::dll::shared_library> module, ProviderFactory factory)
        : _module(std::move(module)) {
        if (factory)
            _factory = factory;
    }

    // An empty factory throws boost::bad_function_call ("call to empty boost::function").
    std::shared_ptr<DigitalSignatureProvider> operator()() const { return _factory(); }

private:
    std::shared_ptr<boost::dll::shared_library> _module;
    boost::function<std::shared_ptr<DigitalSignatureProvider>()> _factory;
};

template <typename Error> [[noreturn]] void throwAnew(const Error& error) {
    throw Error(std::string(error.what()));
}

class TWDigitalSignatureProviderHolder : public DigitalSignatureProvider {
public:
    explicit TWDigitalSignatureProviderHolder(std::unique_ptr<ModuleProviderCreator> providerCreator)
        : _providerCreator(std::move(providerCreator)) {
        KX_ASSERT(_providerCreator != nullptr);
        _provider = createProvider();
        KX_ASSERT(_provider != nullptr);
    }

    // The provider's code lives in the module: release it while the module is still loaded.
    ~TWDigitalSignatureProviderHolder() override {
        _provider.reset();
        _providerCreator.reset();
    }

    const Info& info() const override { return _provider->info(); }
    std::unique_ptr<CAdESSignatureManager> createCAdESSignatureManager(InOutStream& content,
                                                                       InOutStream& signature) override {
        return _provider->createCAdESSignatureManager(content, signature);
    }
    std::unique_ptr<XAdESSignatureManager> createXAdESSignatureManager(InOutStream& document) override {
        return _provider->createXAdESSignatureManager(document);
    }
    std::unique_ptr<SigningKeyStore> createSigningKeyStore() override {
        return _provider->createSigningKeyStore();
    }
    std::unique_ptr<CertificateStorage> createCertificateStorage() override {
        return _provider->createCertificateStorage();
    }
    std::unique_ptr<CertificateValidator> createCertificateValidator() override {
        return _provider->createCertificateValidator();
    }

private:
    std::shared_ptr<DigitalSignatureProvider> createProvider() {
        try {
            return (*_providerCreator)();
        } catch (const InternalSecurityError& e) {
            throwAnew(e);
        } catch (const WrongPasswordError& e) {
            throwAnew(e);
        } catch (const InvalidDataError& e) {
            throwAnew(e);
        } catch (const UnsupportedAlgorithmError& e) {
            throwAnew(e);
        } catch (const SigningError& e) {
            throwAnew(e);
        } catch (const PackageSignatureError& e) {
            throwAnew(e);
        } catch (const VerifySignatureError& e) {
            throwAnew(e);
        } catch (const CryptoProviderNotAvailableError& e) {
            throwAnew(e);
        } catch (const UIModuleIsNotAvailableError& e) {
            throwAnew(e);
        } catch (const std::exception& e) {
            throw InternalSecurityError(std::string(e.what()));
        }
    }

    std::unique_ptr<ModuleProviderCreator> _providerCreator;
    std::shared_ptr<DigitalSignatureProvider> _provider;
};

} // namespace

boost::filesystem::path moduleFileName() {
    return boost::dll::shared_library::decorate("Tarnwell");
}

std::shared_ptr<DigitalSignatureProvider> loadModuleProvider(const boost::filesystem::path& modulePath) {
    std::shared_ptr<boost::dll::shared_library> module;
    ProviderFactory factory = nullptr;
    try {
        module =
            std::make_shared<boost::dll::shared_library>(modulePath, boost::dll::load_mode::default_mode);
        factory = module->get<ProviderFactory>(factorySymbolName);
    } catch (const std::exception&) {
        // The module is optional: a missing or foreign file just means there is none.
        return nullptr;
    }
    return std::make_shared<TWDigitalSignatureProviderHolder>(
        std::make_unique<ModuleProviderCreator>(std::move(module), factory));
}

std::shared_ptr<DigitalSignatureProvider> loadModuleProviderBesideExecutable() {
    boost::dll::fs::error_code error;
    // The module that holds this code, which is the executable itself.
    const auto location = boost::dll::this_line_location(error);
    if (error)
        throw SystemError("Cannot get the module handle. Error code: {}", error.value());
    return loadModuleProvider(location.parent_path() / moduleFileName());
}

} // namespace KX::CryptographicEngine::DigitalSignature::Tarnwell
