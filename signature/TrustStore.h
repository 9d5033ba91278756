#pragma once

#include "core/streams/InputStream.h"

#include <boost/filesystem/path.hpp>
#include <functional>
#include <memory>

namespace KX::CryptographicEngine::DigitalSignature {

// The trusted roots shipped with the program: Resources/CACertificatesStore.pem in the folder of
// the executable. Read-only.
std::unique_ptr<InputStream> openDefaultTrustStore();
// The same file below another folder; BaseRuntimeError "Trust store was not found." when absent.
std::unique_ptr<InputStream> openTrustStore(const boost::filesystem::path& programFolder);

using TrustStoreOpener = std::function<std::unique_ptr<InputStream>()>;

} // namespace KX::CryptographicEngine::DigitalSignature
