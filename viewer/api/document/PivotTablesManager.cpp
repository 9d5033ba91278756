#include "viewer/api/document/PivotTablesManager.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
PivotTablesManager::PivotTablesManager(const PivotTablesManager& other) = default;
PivotTablesManager::PivotTablesManager(PivotTablesManager&& other) noexcept = default;
PivotTablesManager& PivotTablesManager::operator=(const PivotTablesManager& other) = default;
PivotTablesManager& PivotTablesManager::operator=(PivotTablesManager&& other) noexcept = default;
PivotTablesManager::~PivotTablesManager() = default;

} // namespace KX::API::Document
