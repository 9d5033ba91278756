#include "packaging_tool/SignPackageCommand.h"

#include "core/Errors.h"
#include "core/FatalError.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "integrity/DigestFilter.h"
#include "integrity/OpenSSLCryptoProvider.h"
#include "integrity/PackageDigest.h"
#include "integrity/SignatureFileNames.h"
#include "integrity/SignatureFiles.h"
#include "package/EntryNameCheck.h"
#include "package/OpenedPackage.h"
#include "signature/DigitalSignatureProviderFactory.h"
#include "signature/SigningCredentials.h"

#include <boost/container/vector.hpp>
#include <boost/program_options/value_semantic.hpp>
#include <ctime>
#include <iostream>

namespace KX::PluginPackagingTool {

namespace po = boost::program_options;

SignPackageCommand::SignPackageCommand() {
    options.add_options() //
        ("package,p", po::value<std::string>(&package)->required(),
         "a path to a plugin directory or to a package") //
        ("certificate,c", po::value<std::vector<std::string>>(&certificates)->required(),
         "path to certificate, may be specified several times")                                       //
        ("private-key,k", po::value<std::string>(&privateKey)->required(), "a path to a private key") //
        ("passphrase,s", po::value<std::string>(&passphrase),
         "a secret passphrase to decrypt the private key");
}

const char* SignPackageCommand::description() const {
    return "Sign a package or plugin";
}

void SignPackageCommand::printHelp(const std::string& programName, std::ostream& out) const {
    static const std::string helpText = "Sign a package passed by the --package option. The package is a "
                                        "directory or a zip file. Private key is "
                                        "a mandatory. If it is protected by a passphrase, the --passphrase "
                                        "option should contain the password. "
                                        "Certificates are passed by the --certificate options and verified "
                                        "using a trust store. The trust store "
                                        "is supplied with the application\n";
    printHelpPage(programName, out,
                  std::string(" sign --package=${package} --certificate=${certificate path} ") +
                      "--private-key=${private key path} --passphrase=${passphrase} \n\n",
                  helpText);
}

std::string formatCalendarTime(std::int64_t seconds) {
    static constexpr const char* weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // The form has room for four-digit years only; 9999-12-31 23:59:59 UTC is the last such moment.
    constexpr std::int64_t last = 253402300799;
    std::tm calendar{};
    const auto time = static_cast<std::time_t>(seconds);
#ifdef _WIN32
    const bool converted = seconds >= 0 && seconds <= last && gmtime_s(&calendar, &time) == 0;
#else
    const bool converted = seconds >= 0 && seconds <= last && gmtime_r(&time, &calendar) != nullptr;
#endif
    if (!converted)
        return "unknown\n";
    return fmt::format("{} {} {:02} {:02}:{:02}:{:02} {}\n", weekdays[calendar.tm_wday],
                       months[calendar.tm_mon], calendar.tm_mday, calendar.tm_hour, calendar.tm_min,
                       calendar.tm_sec, calendar.tm_year + 1900);
}

void SignPackageCommand::execute() {
    using namespace CryptographicEngine::DigitalSignature;
    using CryptographicEngine::HashAlgorithm;

    // Declared in the reverse of the order of release: the provider outlives everything it made,
    // the package outlives its entry streams.
    const DigitalSignatureProviderPtr provider =
        createDigitalSignatureProvider(DigitalSignatureProviderType::SecureBlackbox);
    const SigningCredentials credentials = loadSigningCredentials(
        *provider, certificates, privateKey, passphrase.empty() ? std::nullopt : std::optional(passphrase));

    OpenedPackage opened = openPackage(package, ZipOpenMode::OpenOrCreate, FileOpenMode::OpenExisting);
    // A package we did not write may hold names that would sign one entry under another's name.
    checkEntryNames(*opened, opened.stream ? std::string() : packageDisplayPrefix(package));
    const PluginAPI::SignatureFileNames existing = PluginAPI::findSignatureFiles(*opened);
    const auto isExcluded =
        makeCallableRef<bool(const FileSystem::Path&, Package::EntryType)>(PluginAPI::isExcludedFromDigest);
    auto manifest = PluginAPI::PackageDigest::create(*opened, HashAlgorithm::Sha256, isExcluded);
    // META-INF exists once the package is signed, so the manifest describes it even when it is created
    // below; otherwise a plug-in directory signed without it could not be packed.
    if (manifest.size() > 0 && manifest.records().count(existing.metaInf) == 0) {
        const auto context =
            CryptographicEngine::createOpenSSLCryptoProvider()->createDigestContext(HashAlgorithm::Sha256);
        manifest.add(existing.metaInf, PluginAPI::computeEntryDigest(*context, *opened, existing.metaInf,
                                                                     Package::EntryType::Directory));
    }

    ContainerBasedInOutStream<std::string> content;
    manifest.writeTo(content, '\n');
    content.seek(0, std::ios_base::beg);
    ContainerBasedInOutStream<boost::container::vector<char>> signatureBytes;

    const std::unique_ptr<CAdESSignatureManager> manager =
        provider->createCAdESSignatureManager(content, signatureBytes);
    CAdESSignatureManager* plainPtr = manager.get();
    KX_ASSERT(plainPtr);
    plainPtr->sign(*credentials.trustedCertificates, *credentials.keyStore,
                   SignOptions{AdESForm::CAdES_BES, std::nullopt, std::nullopt});
    const auto detached = plainPtr->detachedSignature();
    if (!detached || !*detached)
        throw CryptographicEngine::SigningError("package is not signed");
    // Listed before the package changes, so that a failure here leaves it as it was.
    const std::vector<SignatureInfo> infos = plainPtr->signatures();

    // A zip folder is found only under its name with the trailing separator.
    const FileSystem::Path metaInfFolder(existing.metaInf.generic_u8string() + "/");
    if (!opened->hasEntry(existing.metaInf) && !opened->hasEntry(metaInfFolder))
        opened->addEntry(metaInfFolder, Compression::Default);
    // Old signature files spelled otherwise go, rather than staying beside the new ones (a zip package
    // replaces them by itself, since it looks names up regardless of case).
    for (const auto& [old, written] : {std::pair(existing.digest, existing.standardDigest()),
                                       std::pair(existing.signature, existing.standardSignature())}) {
        if (old && old->native() != written.native() && !opened.stream)
            opened->deleteEntry(*old);
    }
    {
        BlobUPtr digestBlob = opened->addEntry(existing.standardDigest(), Compression::Default);
        const auto digestOut = digestBlob->openOutputStream();
        manifest.writeTo(*digestOut, '\n');
    }
    {
        BlobUPtr signatureBlob = opened->addEntry(existing.standardSignature(), Compression::Default);
        const auto signatureOut = signatureBlob->openOutputStream();
        (*detached)->seek(0, std::ios_base::beg);
        (*detached)->copyTo(*signatureOut);
    }
    // A package file is written back here, with every entry stream closed; nothing is reported as
    // signed unless that worked.
    opened->save();

    std::string report;
    for (const auto& info : infos) {
        const auto& signer = info.signer;
        report +=
            fmt::format("INFO: Certificate info:\n    S/N: {}\n    Valid to: {}    Common name: {}\n    "
                        "Email: {}\n    Organization: {}\n    Issuer common name: {}",
                        signer.serialNumber, formatCalendarTime(signer.validTo), signer.subject.commonName,
                        signer.subject.email, signer.subject.organization, signer.issuer.commonName);
        report += "\n";
    }
    report += "INFO: The package '" + package + "' is successfully signed\n";
    std::cout << report << std::flush;
}

} // namespace KX::PluginPackagingTool
