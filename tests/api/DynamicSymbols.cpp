#include "DynamicSymbols.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace {

std::string demangle(const std::string& mangled) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> text(
        abi::__cxa_demangle(mangled.c_str(), nullptr, nullptr, &status), &std::free);
    return status == 0 && text ? std::string(text.get()) : std::string();
}

} // namespace

std::vector<DynamicSymbol> readDynamicSymbols(const std::string& file, SymbolKind kind) {
    const std::string command = std::string(KX_API_NM) + " -D " +
                                (kind == SymbolKind::Defined ? "--defined-only" : "--undefined-only") + " '" +
                                file + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    if (!pipe) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string output;
    std::array<char, 4096> buffer;
    while (const auto count = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
        output.append(buffer.data(), count);
    }
    if (pclose(pipe.release()) != 0) {
        throw std::runtime_error(command + " failed: " + output);
    }

    std::vector<DynamicSymbol> symbols;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        // "<address> <type> <name>", or "<type> <name>" for undefined symbols; versioned names carry
        // "@VERSION".
        const auto nameStart = line.find_last_of(' ');
        if (nameStart == std::string::npos) {
            continue;
        }
        std::string name = line.substr(nameStart + 1);
        name = name.substr(0, name.find('@'));
        symbols.push_back({name, demangle(name)});
    }
    return symbols;
}
