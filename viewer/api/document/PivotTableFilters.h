#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// The filters of a pivot table. A handle: copies share the object, a move hands it over and leaves the source
// empty.
class PivotTableFilters {
public:
    PivotTableFilters() noexcept = default;
    explicit PivotTableFilters(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT PivotTableFilters(const PivotTableFilters& other);
    KX_API_EXPORT PivotTableFilters(PivotTableFilters&& other) noexcept;
    KX_API_EXPORT PivotTableFilters& operator=(const PivotTableFilters& other);
    KX_API_EXPORT PivotTableFilters& operator=(PivotTableFilters&& other) noexcept;
    KX_API_EXPORT ~PivotTableFilters();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
