#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// The range of a sheet that carries filters. A handle: copies share the object, a move hands it over and
// leaves the source empty.
class FiltersRange {
public:
    FiltersRange() noexcept = default;
    explicit FiltersRange(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT FiltersRange(const FiltersRange& other);
    KX_API_EXPORT FiltersRange(FiltersRange&& other) noexcept;
    KX_API_EXPORT FiltersRange& operator=(const FiltersRange& other);
    KX_API_EXPORT FiltersRange& operator=(FiltersRange&& other) noexcept;
    KX_API_EXPORT ~FiltersRange();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
