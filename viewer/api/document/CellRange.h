#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A rectangular range of cells. A handle: copies share the object. It has no move operations of its own, so a
// move shares the object too and the source keeps it.
class CellRange {
public:
    CellRange() noexcept = default;
    explicit CellRange(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT CellRange(const CellRange& other);
    KX_API_EXPORT CellRange& operator=(const CellRange& other);
    KX_API_EXPORT ~CellRange();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
