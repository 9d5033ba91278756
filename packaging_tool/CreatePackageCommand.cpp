#include "packaging_tool/CreatePackageCommand.h"

#include "core/Errors.h"
#include "core/FileSystem.h"
#include "core/PackagePath.h"
#include "core/streams/ContainerBasedInOutStream.h"
#include "integrity/DigestFilter.h"
#include "integrity/PackageDigest.h"
#include "integrity/SignatureFileNames.h"
#include "integrity/SignatureFiles.h"
#include "package/EntryNameCheck.h"
#include "package/FileReplacement.h"
#include "package/FileSystemPackage.h"
#include "package/ZippedPackage.h"

#include <boost/filesystem/operations.hpp>
#include <boost/program_options/value_semantic.hpp>
#include <iostream>
#include <optional>

namespace KX::PluginPackagingTool {

namespace po = boost::program_options;

CreatePackageCommand::CreatePackageCommand() {
    options.add_options()                                                                     //
        ("source,s", po::value<std::string>(&source)->required(), "path to plugin directory") //
        ("package,p", po::value<std::string>(&package), "package name")                       //
        ("delete,d", po::bool_switch(&deleteExisting), "delete existing package silently");
}

const char* CreatePackageCommand::description() const {
    return "Creates a package from the source directory";
}

void CreatePackageCommand::printHelp(const std::string& programName, std::ostream& out) const {
    static const std::string helpText = "Creates a package from the directory defined by the --source "
                                        "option. If the option --package is missed, "
                                        "then the source directory name will be used as a package name. If "
                                        "destination file is exist, the command "
                                        "will be failed. Use the --delete option to silently removing "
                                        "destination file. Package file is always "
                                        "created with '.xpk' extension. If the package is signed, the digest "
                                        "of the package will be verified. If "
                                        "the verification fails, the package will be not created.\n";
    printHelpPage(programName, out, " create --source=${plugin directory} --package=${package name}\n\n",
                  helpText);
}

namespace {

namespace fs = boost::filesystem;

// The source's own name, also when it was typed with a trailing separator or as "." or "..", so
// that the package lands beside the directory rather than inside it.
fs::path packageNameFromSource(const fs::path& source) {
    fs::path name = source;
    while (!name.empty() && name.filename_is_dot() && name.has_parent_path() && name != name.root_path())
        name = name.parent_path();
    if (name.filename_is_dot() || name.filename_is_dot_dot()) {
        name = fs::absolute(name).lexically_normal();
        if (name.filename_is_dot())
            name = name.parent_path();
    }
    return name;
}

bool isSameFile(const fs::path& a, const fs::path& b) {
    boost::system::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

// What fs::path::filename() gives for a path the walk made (never ending in a separator).
std::string_view lastName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
}

} // namespace

void CreatePackageCommand::execute() {
    const FileSystem::Path sourcePath(source);
    boost::system::error_code statusError;
    if (!fs::is_directory(sourcePath.boostPath(), statusError))
        throw BaseRuntimeError("The source path '{}' must be a directory", source);
    const std::shared_ptr<Package> openedSource = openFileSystemPackage(sourcePath);
    if (!openedSource->hasEntry(PluginAPI::metaInfDirectory))
        throw BaseRuntimeError("The package doesn't contain the required directory '{}'", "META-INF");
    checkEntryNames(*openedSource, packageDisplayPrefix(source));
    // The manifest check and the copy see the same files, and a large tree is listed once for them.
    static_cast<FileSystemPackage&>(*openedSource).keepListing();
    const std::shared_ptr<const Package> sourcePackage = openedSource;
    const auto& sourceDirectory = static_cast<const FileSystemPackage&>(*sourcePackage);

    fs::path destination = package.empty() ? packageNameFromSource(sourcePath.boostPath())
                                           : FileSystem::Path(package).boostPath();
    destination.replace_extension("xpk");
    const std::string destinationText = destination.string();
    if (FileSystem::exists(FileSystem::Path(destination))) {
        if (!deleteExisting)
            throw BaseRuntimeError("The destination file '{}' exists", destinationText);
        std::cout << "INFO: The file '" << destinationText << "' exists and will be deleted" << std::endl;
    }

    // In any letter case: the suite on Windows would read them as the signature files.
    const PluginAPI::SignatureFileNames signatureFiles = PluginAPI::findSignatureFiles(*sourcePackage);
    const bool hasDigest = signatureFiles.digest.has_value();
    const bool hasSignature = signatureFiles.signature.has_value();
    if (hasDigest != hasSignature)
        throw BaseRuntimeError(
            "The package doesn't contain correct signature files, please sign package again");
    const fs::path root = sourceDirectory.root().boostPath();
    // A destination inside the source directory is the tool's output (an earlier run's, or the one
    // being written), not plug-in content: neither checked nor copied.
    // Names compared as text first: this runs for every entry of the tree.
    const std::string destinationName = destination.filename().string();
    const auto isOwnOutput = [&](const FileSystem::Path& entry, const fs::path& temporary) {
        const std::string text = entry.generic_u8string();
        const std::string_view name = lastName(text);
        if (name != destinationName && (temporary.empty() || name != lastName(temporary.native())))
            return false;
        const fs::path full = root / entry.boostPath();
        return isSameFile(full, destination) || (!temporary.empty() && isSameFile(full, temporary));
    };
    if (hasDigest) {
        // The manifest is parsed byte by byte; from memory, not with a system call per byte.
        ContainerBasedInOutStream<std::string> manifestText;
        sourcePackage->getEntry(*signatureFiles.digest)->openInputStream()->copyTo(manifestText);
        manifestText.seek(0, std::ios_base::beg);
        const auto manifest = PluginAPI::PackageDigest::readFrom(manifestText, '\n');
        const auto isExcluded = [&](const FileSystem::Path& path, Package::EntryType type) {
            return PluginAPI::isExcludedFromDigest(path, type) || isOwnOutput(path, {});
        };
        manifest.verify(*sourcePackage, CryptographicEngine::HashAlgorithm::Sha256,
                        makeCallableRef<bool(const FileSystem::Path&, Package::EntryType)>(isExcluded));
        std::cout << "INFO: A digest of the package is successfully verified" << std::endl;
    }

    // The archive is built in a temporary file beside the destination, so that an existing destination
    // keeps its content until the new package is complete on the disk.
    try {
        FileReplacement replacement{FileSystem::Path(destination)};
        {
            const auto zipped = std::make_shared<ZippedPackage>(replacement.stream(), ZipOpenMode::CreateNew,
                                                                false, std::nullopt);
            const fs::path temporaryPath = replacement.temporaryPath().boostPath();
            const auto copy = [&](const FileSystemPackage::WalkedEntry& walked) {
                const Package::EntryType type = walked.type;
                const FileSystem::Path entry = FileSystem::toPackagePath(walked.path);
                if (isOwnOutput(entry, temporaryPath))
                    return;
                if (type == Package::EntryType::Directory) {
                    zipped->addEntry(FileSystem::Path(entry.generic_u8string() + "/"), Compression::Deflate);
                    return;
                }
                const auto blob = zipped->addEntry(entry, Compression::Deflate);
                // As zip does: programs stay runnable once unpacked, nothing else is.
                if (walked.isExecutable)
                    zipped->setUnixPermissions(entry, 0755);
                const auto output = blob->openOutputStream();
                // A file the walk found empty has nothing to read; plug-ins hold many of them.
                if (walked.size == 0 && !walked.isSymlink)
                    return;
                const auto input = sourcePackage->getEntry(entry)->openInputStream();
                input->copyTo(*output);
            };
            sourceDirectory.traverseWalkedEntries(
                makeCallableRef<void(const FileSystemPackage::WalkedEntry&)>(copy));
            try {
                zipped->save();
            } catch (const IOError& e) {
                throw BaseRuntimeError("Package '{}' cannot be created, {}", destinationText, e.what());
            }
        }
        replacement.commit();
    } catch (const std::ios_base::failure& e) {
        throw BaseRuntimeError("Package '{}' cannot be created, {}", destinationText, e.what());
    }

    if (!hasSignature)
        std::cout << "WARNING: the created package is not signed" << std::endl;
    std::cout << "INFO: The package file '" << destinationText << "' is created" << std::endl;
}

} // namespace KX::PluginPackagingTool
