#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// The comments of a document. A handle: copies share the object, a move hands it over and leaves the source
// empty.
class Comments {
public:
    Comments() noexcept = default;
    explicit Comments(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Comments(const Comments& other);
    KX_API_EXPORT Comments(Comments&& other) noexcept;
    KX_API_EXPORT Comments& operator=(const Comments& other);
    KX_API_EXPORT Comments& operator=(Comments&& other) noexcept;
    KX_API_EXPORT ~Comments();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
