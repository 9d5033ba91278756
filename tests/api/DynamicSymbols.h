#pragma once

#include <string>
#include <vector>

// The dynamic symbol table of an ELF file, read with nm.
struct DynamicSymbol {
    std::string mangled;
    // Empty when the name does not demangle.
    std::string demangled;
};

enum class SymbolKind { Defined, Undefined };

// Throws std::runtime_error when nm cannot read the file.
std::vector<DynamicSymbol> readDynamicSymbols(const std::string& file, SymbolKind kind);
