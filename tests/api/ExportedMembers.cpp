#include "ExportedMembers.h"

#include <cstdint>
#include <string_view>

namespace {

enum Member : std::uint8_t {
    DefaultConstructor = 1,
    CopyConstructor = 2,
    MoveConstructor = 4,
    CopyAssignment = 8,
    MoveAssignment = 16,
    Destructor = 32,
};
constexpr std::uint8_t Handle =
    CopyConstructor | MoveConstructor | CopyAssignment | MoveAssignment | Destructor;
constexpr std::uint8_t Assignments = CopyAssignment | MoveAssignment;
constexpr std::uint8_t AllSix = Handle | DefaultConstructor;

struct ExportedType {
    std::string_view name;
    std::uint8_t members;
};

constexpr std::string_view documentNamespace = "KX::API::Document::";

constexpr ExportedType exportedTypes[] = {
    {"KX::API::Application", Handle},
    {"AbsoluteFrame", Handle},
    {"Block", Handle},
    {"Cell", Handle},
    {"CellRange", CopyConstructor | CopyAssignment | Destructor},
    {"ColorTransforms", AllSix},
    {"Comments", Handle},
    {"Document", Handle},
    {"FiltersRange", Handle},
    {"Images", Handle},
    {"InlineFrame", Handle},
    {"MediaObject", Handle},
    {"MediaObjects", Handle},
    {"Paragraphs", Handle},
    {"PivotTable", Handle},
    {"PivotTableEditor", Handle},
    {"PivotTableFieldCategories", Handle},
    {"PivotTableFilter", Handle},
    {"PivotTableFilters", Handle},
    {"PivotTableItem", Handle},
    {"PivotTableItems", Handle},
    {"PivotTablesManager", Handle},
    {"Position", Handle},
    {"Range", Handle},
    {"StyledTableRange", Handle},
    {"Table", Handle},

    {"KX::API::ColorRGBA", Assignments},
    {"CellPosition", Assignments},
    {"TextOrientation", DefaultConstructor | Assignments},
    {"CellRangePosition", Assignments},
    {"Insets", DefaultConstructor | Assignments},
    {"FrozenRangePosition", Assignments},
    {"PivotTableLayoutSettings", Assignments},
    {"Color", Handle},
    {"PageProperties", CopyConstructor | CopyAssignment | Destructor},
    {"TextAnchoredPosition", DefaultConstructor | CopyConstructor | CopyAssignment | Destructor},
    {"KX::API::UserInfo", AllSix},
    {"Hyperlink", AllSix},
    {"PivotTableCaptions", Handle},
    {"PivotTableFieldProperties", AllSix},
    {"PivotTablePageField", AllSix},
    {"PivotTableField", AllSix},
    {"PivotTableCategoryField", AllSix},
    {"PivotTableValueField", AllSix},
};

constexpr std::string_view factoryBase = "std::enable_shared_from_this<KX::Tovrin::EditorCoreFactory>";

} // namespace

std::set<std::string> expectedExportedMembers() {
    std::set<std::string> names;
    for (const auto& type : exportedTypes) {
        const std::string qualified = type.name.starts_with("KX::")
                                          ? std::string(type.name)
                                          : std::string(documentNamespace) + std::string(type.name);
        const std::string shortName = qualified.substr(qualified.rfind(':') + 1);
        const std::string prefix = qualified + "::";
        if (type.members & DefaultConstructor) {
            names.insert(prefix + shortName + "()");
        }
        if (type.members & CopyConstructor) {
            names.insert(prefix + shortName + "(" + qualified + " const&)");
        }
        if (type.members & MoveConstructor) {
            names.insert(prefix + shortName + "(" + qualified + "&&)");
        }
        if (type.members & CopyAssignment) {
            names.insert(prefix + "operator=(" + qualified + " const&)");
        }
        if (type.members & MoveAssignment) {
            names.insert(prefix + "operator=(" + qualified + "&&)");
        }
        if (type.members & Destructor) {
            names.insert(prefix + "~" + shortName + "()");
        }
    }
    const std::string base(factoryBase);
    for (const char* member :
         {"::enable_shared_from_this()", "::~enable_shared_from_this()", "::shared_from_this()",
          "::shared_from_this() const", "::weak_from_this()", "::weak_from_this() const"}) {
        names.insert(base + member);
    }
    names.insert(base + "::enable_shared_from_this(" + base + " const&)");
    names.insert(base + "::operator=(" + base + " const&)");
    return names;
}

std::string frameworkCategoriesConstructor() {
    return std::string(documentNamespace) + "PivotTableFieldCategories::PivotTableFieldCategories()";
}

bool isApiMemberName(const std::string& demangled) {
    return demangled.starts_with("KX::API::") || demangled.find(" for KX::API::") != std::string::npos ||
           demangled.starts_with(std::string(factoryBase) + "::");
}
