#pragma once

#include "signature/DigitalSignatureProvider.h"

#include <boost/filesystem/path.hpp>
#include <memory>

namespace KX::CryptographicEngine::DigitalSignature::Tarnwell {

// The module exports, under this name, a pointer-sized variable holding the address of its
// provider factory.
inline constexpr const char* factorySymbolName = "createTWDigitalSignatureProviderImplExported";
using ProviderFactory = std::shared_ptr<DigitalSignatureProvider> (*)();

// The platform's file name of the module: "libTarnwell.so", "Tarnwell.dll", ...
boost::filesystem::path moduleFileName();

// The module's provider, wrapped so that it is released before the module is unloaded; an empty
// pointer when the module cannot be loaded or lacks the factory. Errors of the factory are thrown
// anew as their own class (the nine security errors a module may raise) or as
// InternalSecurityError, so that no exception object of the module outlives it.
std::shared_ptr<DigitalSignatureProvider> loadModuleProvider(const boost::filesystem::path& modulePath);

// loadModuleProvider on the module in the folder of the executable.
std::shared_ptr<DigitalSignatureProvider> loadModuleProviderBesideExecutable();

} // namespace KX::CryptographicEngine::DigitalSignature::Tarnwell
