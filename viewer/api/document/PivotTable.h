#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A pivot table of a spreadsheet. A handle: copies share the object, a move hands it over and leaves the
// source empty.
class PivotTable {
public:
    PivotTable() noexcept = default;
    explicit PivotTable(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT PivotTable(const PivotTable& other);
    KX_API_EXPORT PivotTable(PivotTable&& other) noexcept;
    KX_API_EXPORT PivotTable& operator=(const PivotTable& other);
    KX_API_EXPORT PivotTable& operator=(PivotTable&& other) noexcept;
    KX_API_EXPORT ~PivotTable();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
