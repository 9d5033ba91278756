#pragma once

// Plug-in directories and packages for the command-line tests, built on real files.

#include "CliRunner.h"
#include "TestFiles.h"
#include "ZipTestSupport.h"
#include "integrity/DigestFilter.h"
#include "integrity/PackageDigest.h"
#include "package/FileSystemPackage.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace KX::Testing {

inline std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    return bytes;
}

// Writes META-INF/.digest for the directory as it is now, and a signature beside it. The tool never
// checks the signature's bytes, only that it comes with the manifest.
inline void signDirectory(const fs::path& directory) {
    const auto package = makeFileSystemPackage(FileSystem::Path(directory));
    const auto manifest = PluginAPI::PackageDigest::create(
        *package, CryptographicEngine::HashAlgorithm::Sha256,
        makeCallableRef<bool(const FileSystem::Path&, Package::EntryType)>(PluginAPI::isExcludedFromDigest));
    MemoryStream text;
    manifest.writeTo(text, '\n');
    writeFile(directory / "META-INF/.digest", text.container());
    writeFile(directory / "META-INF/.signature", "detached signature bytes");
}

// Runs a Python script (arguments follow it) for checks with Python's zipfile and for writing the
// archives a test needs byte for byte; empty result with status -1 when Python is missing.
inline CliResult runPython(const std::string& script, const std::vector<std::string>& arguments = {}) {
    if (!fs::exists("/usr/bin/python3"))
        return {};
    std::vector<std::string> all{"-c", script};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return runProgram("/usr/bin/python3", all);
}

// Writes a zip archive with Python's zipfile, names exactly as given, for archives the tool would
// never write itself. Each entry is "name" or "name=content".
inline void writeZipWithPython(const fs::path& archive, const std::vector<std::string>& entries) {
    const auto result = runPython("import sys, zipfile\n"
                                  "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                                  "    for e in sys.argv[2:]:\n"
                                  "        name, _, content = e.partition('=')\n"
                                  "        z.writestr(zipfile.ZipInfo(name), content)\n",
                                  [&] {
                                      std::vector<std::string> all{archive.string()};
                                      all.insert(all.end(), entries.begin(), entries.end());
                                      return all;
                                  }());
    if (result.status != 0)
        throw std::runtime_error("python could not write " + archive.string() + ": " + result.err);
}

class CliTest : public ::testing::Test {
protected:
    CliResult xpk(const std::vector<std::string>& arguments, CliOptions options = {}) {
        if (options.workingDirectory.empty())
            options.workingDirectory = scratch.path().string();
        return runXpk(arguments, options);
    }

    // A small plug-in: metadata, nested and empty directories, text and binary files.
    fs::path makePlugin(const std::string& name = "plug") {
        const fs::path root = scratch / name;
        writeFile(root / "META-INF/LICENSE", "Licensed to everyone.\n");
        writeFile(root / "lib/code.js", "function f() { return 1; }\n");
        writeFile(root / "lib/deep/data.bin", randomBytes(70000, 7));
        fs::create_directories(root / "empty");
        return root;
    }

    // Names of the entries in the directory (not recursive), for spotting left-over temporary files.
    std::vector<std::string> listing(const fs::path& directory) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchDirectory scratch;
};

} // namespace KX::Testing
