// On Windows the exported names carry each type's class key ("class" or "struct"), so a module built
// against a header with the other key would not find the members. Itanium names, read by the export
// test, do not encode the key, so this test reads the declarations in the API headers instead.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Class key of every type defined at namespace scope (unindented) in the headers under `root`.
std::map<std::string, std::string> definedClassKeys(const std::filesystem::path& root) {
    static const std::regex definition(R"(^(class|struct)\s+(\w+)\s*(final\s*)?(:[^;{]*)?\{)",
                                       std::regex::multiline);
    std::map<std::string, std::string> keys;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".h") {
            continue;
        }
        const auto text = readFile(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), definition), end; it != end; ++it) {
            keys[(*it)[2]] = (*it)[1];
        }
    }
    return keys;
}

// The key with which `name` is declared or defined (first occurrence) in one header.
std::string classKeyIn(const std::filesystem::path& header, const std::string& name) {
    const std::regex declaration("(class|struct)\\s+" + name + "\\b");
    std::smatch match;
    const auto text = readFile(header);
    return std::regex_search(text, match, declaration) ? match[1].str() : std::string();
}

TEST(ApiClassKeys, TypesAreDeclaredWithTheirPublishedKeys) {
    const std::map<std::string, std::string> published = {
        {"ColorRGBA", "struct"},
        {"CellPosition", "struct"},
        {"TextOrientation", "class"},
        {"CellRangePosition", "struct"},
        {"Insets", "struct"},
        {"FrozenRangePosition", "struct"},
        {"PivotTableLayoutSettings", "struct"},
        {"Color", "class"},
        {"PageProperties", "struct"},
        {"TextAnchoredPosition", "struct"},
        {"UserInfo", "struct"},
        {"Hyperlink", "struct"},
        {"PivotTableCaptions", "struct"},
        {"PivotTableFieldProperties", "struct"},
        {"PivotTablePageField", "struct"},
        {"PivotTableField", "struct"},
        {"PivotTableCategoryField", "struct"},
        {"PivotTableValueField", "struct"},
    };
    const auto defined = definedClassKeys(KX_API_SOURCE_DIR);
    for (const auto& [name, key] : published) {
        const auto found = defined.find(name);
        ASSERT_NE(found, defined.end()) << name << " is not defined in the API headers";
        EXPECT_EQ(found->second, key) << name;
    }
}

TEST(ApiClassKeys, HandlesAreClasses) {
    const auto defined = definedClassKeys(KX_API_SOURCE_DIR);
    for (const char* name : {"Application",
                             "AbsoluteFrame",
                             "Block",
                             "Cell",
                             "CellRange",
                             "ColorTransforms",
                             "Comments",
                             "Document",
                             "FiltersRange",
                             "Images",
                             "InlineFrame",
                             "MediaObject",
                             "MediaObjects",
                             "Paragraphs",
                             "PivotTable",
                             "PivotTableEditor",
                             "PivotTableFieldCategories",
                             "PivotTableFilter",
                             "PivotTableFilters",
                             "PivotTableItem",
                             "PivotTableItems",
                             "PivotTablesManager",
                             "Position",
                             "Range",
                             "StyledTableRange",
                             "Table"}) {
        const auto found = defined.find(name);
        ASSERT_NE(found, defined.end()) << name << " is not defined in the API headers";
        EXPECT_EQ(found->second, "class") << name;
    }
}

TEST(ApiClassKeys, FactoryIsDeclaredAsTheFrameworkDefinesIt) {
    const std::filesystem::path framework = KX_API_FRAMEWORK_HEADER;
    if (!std::filesystem::exists(framework)) {
        GTEST_SKIP() << "the framework's EditorCoreFactory header is not there";
    }
    const auto frameworkKey = classKeyIn(framework, "EditorCoreFactory");
    ASSERT_FALSE(frameworkKey.empty());
    EXPECT_EQ(
        classKeyIn(std::filesystem::path(KX_API_SOURCE_DIR) / "EditorCoreFactoryFwd.h", "EditorCoreFactory"),
        frameworkKey);
}

} // namespace
