#include "viewer/api/document/FiltersRange.h"

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
FiltersRange::FiltersRange(const FiltersRange& other) = default;
FiltersRange::FiltersRange(FiltersRange&& other) noexcept = default;
FiltersRange& FiltersRange::operator=(const FiltersRange& other) = default;
FiltersRange& FiltersRange::operator=(FiltersRange&& other) noexcept = default;
FiltersRange::~FiltersRange() = default;

} // namespace KX::API::Document
