#pragma once

#include <set>
#include <string>

// The members that an executable providing the document API must export, as demangled names.
std::set<std::string> expectedExportedMembers();

// The framework's default constructor of PivotTableFieldCategories, which the executable imports.
std::string frameworkCategoriesConstructor();

// Whether a demangled name belongs to the API's classes or to the factory's shared-from-this base,
// the two groups whose exports must match the list exactly.
bool isApiMemberName(const std::string& demangled);
