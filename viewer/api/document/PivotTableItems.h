#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// The items of a pivot-table field. A handle: copies share the object, a move hands it over and leaves the
// source empty.
class PivotTableItems {
public:
    PivotTableItems() noexcept = default;
    explicit PivotTableItems(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT PivotTableItems(const PivotTableItems& other);
    KX_API_EXPORT PivotTableItems(PivotTableItems&& other) noexcept;
    KX_API_EXPORT PivotTableItems& operator=(const PivotTableItems& other);
    KX_API_EXPORT PivotTableItems& operator=(PivotTableItems&& other) noexcept;
    KX_API_EXPORT ~PivotTableItems();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
