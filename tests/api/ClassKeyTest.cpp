// On Windows the exported names carry each type's class key ("class" or "struct"), so a module built
// against a header with the other key would not find the members. Itanium names, read by the export
// test, do not encode the key, so this test reads the declarations in the API headers instead.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Class key of every type defined at namespace scope (unindented, head on one line) in the headers
// under `root`.
std::map<std::string, std::string> definedClassKeys(const std::filesystem::path& root) {
    std::map<std::string, std::string> keys;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".h") {
            continue;
        }
        std::istringstream lines(readFile(entry.path()));
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string key;
            std::string name;
            words >> key >> name;
            const auto brace = line.find('{');
            if ((key == "class" || key == "struct") && brace != std::string::npos && line.find(';') > brace) {
                keys[name] = key;
            }
        }
    }
    return keys;
}

// The key with which `name` is first declared or defined in one header; empty when it is not.
std::string classKeyIn(const std::filesystem::path& header, const std::string& name) {
    const auto text = readFile(header);
    const auto isIdentifier = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    std::size_t best = std::string::npos;
    std::string bestKey;
    for (const std::string key : {"class", "struct"}) {
        const std::string needle = key + " " + name;
        for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
            const auto end = at + needle.size();
            if (end < text.size() && isIdentifier(text[end])) {
                continue;
            }
            if (at < best) {
                best = at;
                bestKey = key;
            }
            break;
        }
    }
    return bestKey;
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
