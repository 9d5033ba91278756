#include "viewer/api/document/Table.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
Table::Table(const Table& other) = default;
Table::Table(Table&& other) noexcept = default;
Table& Table::operator=(const Table& other) = default;
Table& Table::operator=(Table&& other) noexcept = default;
Table::~Table() = default;

} // namespace KX::API::Document
