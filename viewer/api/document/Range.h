#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A range of a document's text between two positions. A handle: copies share the object, a move hands it over
// and leaves the source empty.
class Range {
public:
    Range() noexcept = default;
    explicit Range(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Range(const Range& other);
    KX_API_EXPORT Range(Range&& other) noexcept;
    KX_API_EXPORT Range& operator=(const Range& other);
    KX_API_EXPORT Range& operator=(Range&& other) noexcept;
    KX_API_EXPORT ~Range();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
