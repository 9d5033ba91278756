#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// The images of a document. A handle: copies share the object, a move hands it over and leaves the source
// empty.
class Images {
public:
    Images() noexcept = default;
    explicit Images(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Images(const Images& other);
    KX_API_EXPORT Images(Images&& other) noexcept;
    KX_API_EXPORT Images& operator=(const Images& other);
    KX_API_EXPORT Images& operator=(Images&& other) noexcept;
    KX_API_EXPORT ~Images();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
