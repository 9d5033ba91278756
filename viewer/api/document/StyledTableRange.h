#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A range of cells formatted with a table style. A handle: copies share the object, a move hands it over and
// leaves the source empty.
class StyledTableRange {
public:
    StyledTableRange() noexcept = default;
    explicit StyledTableRange(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT StyledTableRange(const StyledTableRange& other);
    KX_API_EXPORT StyledTableRange(StyledTableRange&& other) noexcept;
    KX_API_EXPORT StyledTableRange& operator=(const StyledTableRange& other);
    KX_API_EXPORT StyledTableRange& operator=(StyledTableRange&& other) noexcept;
    KX_API_EXPORT ~StyledTableRange();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
