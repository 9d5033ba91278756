// Reads the dynamic symbol table of the executables that provide the document API and compares the
// API's members in it with the list those executables promise to modules.
#include "DynamicSymbols.h"
#include "ExportedMembers.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) {
        text += "  " + name + "\n";
    }
    return text;
}

std::set<std::string> apiMembersIn(const std::vector<DynamicSymbol>& symbols) {
    std::set<std::string> names;
    for (const auto& symbol : symbols) {
        // AddressSanitizer adds an ODR indicator beside every instrumented global; it is not ours.
        if (symbol.mangled.starts_with("__odr_asan"))
            continue;
        if (symbol.mangled.find("KX") != std::string::npos) {
            EXPECT_FALSE(symbol.demangled.empty()) << "does not demangle: " << symbol.mangled;
        }
        if (isApiMemberName(symbol.demangled)) {
            names.insert(symbol.demangled);
        }
    }
    return names;
}

void expectExportsExactlyTheListedMembers(const std::string& file) {
    const auto expected = expectedExportedMembers();
    const auto exported = apiMembersIn(readDynamicSymbols(file, SymbolKind::Defined));
    std::vector<std::string> missing;
    std::vector<std::string> unexpected;
    std::ranges::set_difference(expected, exported, std::back_inserter(missing));
    std::ranges::set_difference(exported, expected, std::back_inserter(unexpected));
    EXPECT_TRUE(missing.empty()) << file << " does not export:\n" << joined(missing);
    EXPECT_TRUE(unexpected.empty()) << file << " exports members that must stay inline:\n"
                                    << joined(unexpected);
}

void expectCategoriesConstructorImported(const std::string& file) {
    const auto constructor = frameworkCategoriesConstructor();
    EXPECT_TRUE(apiMembersIn(readDynamicSymbols(file, SymbolKind::Undefined)).contains(constructor))
        << file << " does not import " << constructor;
    EXPECT_TRUE(
        apiMembersIn(readDynamicSymbols(KX_API_FRAMEWORK_LIBRARY, SymbolKind::Defined)).contains(constructor))
        << "the framework library does not export " << constructor;
}

TEST(ApiExports, ListCoversEveryFamily) {
    // 24 handles with five members, CellRange with three, ColorTransforms with six; 75 members of the
    // 18 value types; eight members of the factory's shared-from-this base.
    EXPECT_EQ(expectedExportedMembers().size(), 24u * 5 + 3 + 6 + 75 + 8);
}

TEST(ApiExports, HostExportsExactlyTheListedMembers) {
    expectExportsExactlyTheListedMembers(KX_API_HOST);
    expectCategoriesConstructorImported(KX_API_HOST);
}

TEST(ApiExports, SlidewellExportsExactlyTheListedMembers) {
#if defined(KX_API_SLIDEWELL)
    if (!std::filesystem::exists(KX_API_SLIDEWELL)) {
        GTEST_SKIP() << "slidewell has not been built";
    }
    expectExportsExactlyTheListedMembers(KX_API_SLIDEWELL);
    expectCategoriesConstructorImported(KX_API_SLIDEWELL);
#else
    GTEST_SKIP() << "this build has no slidewell target";
#endif
}

TEST(ApiExports, ModuleTakesItsMembersFromTheExecutable) {
    // The module is linked without the API objects: every special member it uses is an import that
    // only an executable exporting the list can satisfy.
    const auto imported = apiMembersIn(readDynamicSymbols(KX_API_MODULE, SymbolKind::Undefined));
    const auto expected = expectedExportedMembers();
    EXPECT_FALSE(imported.empty());
    for (const auto& name : imported) {
        EXPECT_TRUE(expected.contains(name) || name == frameworkCategoriesConstructor())
            << "the module imports an unlisted member: " << name;
    }
    EXPECT_TRUE(imported.contains("KX::API::Document::PivotTableField::PivotTableField()"));
    EXPECT_TRUE(imported.contains("KX::API::Document::Document::~Document()"));
}

} // namespace
