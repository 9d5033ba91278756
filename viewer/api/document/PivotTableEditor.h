#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// Changes a pivot table's layout and fields. A handle: copies share the object, a move hands it over and
// leaves the source empty.
class PivotTableEditor {
public:
    PivotTableEditor() noexcept = default;
    explicit PivotTableEditor(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT PivotTableEditor(const PivotTableEditor& other);
    KX_API_EXPORT PivotTableEditor(PivotTableEditor&& other) noexcept;
    KX_API_EXPORT PivotTableEditor& operator=(const PivotTableEditor& other);
    KX_API_EXPORT PivotTableEditor& operator=(PivotTableEditor&& other) noexcept;
    KX_API_EXPORT ~PivotTableEditor();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
