#include "signature/TrustStore.h"

#include "core/Errors.h"
#include "core/streams/FileStreams.h"

#include <boost/dll/runtime_symbol_info.hpp>
#include <boost/filesystem/operations.hpp>

namespace KX::CryptographicEngine::DigitalSignature {

std::unique_ptr<InputStream> openDefaultTrustStore() {
    // Throws a system error "boost::dll::program_location() failed" when the location is unknown.
    return openTrustStore(boost::dll::program_location().parent_path());
}

std::unique_ptr<InputStream> openTrustStore(const boost::filesystem::path& programFolder) {
    const auto path = programFolder / "Resources" / "CACertificatesStore.pem";
    boost::system::error_code error;
    if (!boost::filesystem::exists(path, error))
        throw BaseRuntimeError("Trust store was not found.");
    return openFileForReading(FileSystem::Path(path));
}

} // namespace KX::CryptographicEngine::DigitalSignature
