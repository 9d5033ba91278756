#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// One filter of a pivot table. A handle: copies share the object, a move hands it over and leaves the source
// empty.
class PivotTableFilter {
public:
    PivotTableFilter() noexcept = default;
    explicit PivotTableFilter(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT PivotTableFilter(const PivotTableFilter& other);
    KX_API_EXPORT PivotTableFilter(PivotTableFilter&& other) noexcept;
    KX_API_EXPORT PivotTableFilter& operator=(const PivotTableFilter& other);
    KX_API_EXPORT PivotTableFilter& operator=(PivotTableFilter&& other) noexcept;
    KX_API_EXPORT ~PivotTableFilter();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
