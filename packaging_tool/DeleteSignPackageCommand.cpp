#include "packaging_tool/DeleteSignPackageCommand.h"

#include "core/Errors.h"
#include "integrity/SignatureFileNames.h"
#include "integrity/SignatureFiles.h"
#include "package/EntryNameCheck.h"
#include "package/OpenedPackage.h"
#include "packaging_tool/Command.h"

#include <boost/program_options/value_semantic.hpp>
#include <iostream>

namespace KX::PluginPackagingTool {

namespace po = boost::program_options;

DeleteSignPackageCommand::DeleteSignPackageCommand() {
    options.add_options()("package,p", po::value<std::string>(&package)->required(),
                          "a path to a plugin directory or to a package");
}

const char* DeleteSignPackageCommand::description() const {
    return "Delete signature from a package or plugin";
}

void DeleteSignPackageCommand::printHelp(const std::string& programName, std::ostream& out) const {
    static const std::string helpText = "Delete signature files from a package passed by the --package "
                                        "option. The package is a directory or a "
                                        "zip file.\n";
    printHelpPage(programName, out, " deletesignature --package=${package}\n\n", helpText);
}

void DeleteSignPackageCommand::execute() {
    OpenedPackage opened = openPackage(package, ZipOpenMode::OpenOrCreate, FileOpenMode::OpenExisting);
    checkEntryNames(*opened, opened.stream ? std::string() : packageDisplayPrefix(package));
    // Spelled in any letter case, they are what the suite reads as the signature files.
    const PluginAPI::SignatureFileNames existing = PluginAPI::findSignatureFiles(*opened);
    // The lines wait for the save: a package file that cannot be written back has lost nothing,
    // and must not be reported as changed.
    std::string report;
    for (const auto& [found, standard] : {std::pair(existing.digest, PluginAPI::digestFilePath),
                                          std::pair(existing.signature, PluginAPI::signatureFilePath)}) {
        const FileSystem::Path& path = found.value_or(standard);
        try {
            if (opened->hasEntry(path)) {
                opened->deleteEntry(path);
                report += "INFO: The file '" + path.u8string() + "' is successfully removed.\n";
            }
        } catch (const AbortException&) {
            throw;
        } catch (const std::exception&) {
            report += "ERROR: The file'" + path.u8string() + "' is not removed.\n";
        }
    }
    opened->save();
    std::cout << report << std::flush;
}

} // namespace KX::PluginPackagingTool
