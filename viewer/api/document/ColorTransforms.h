#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// The transformations (tint, shade, alpha, ...) applied to a colour. A handle: copies share the object, a
// move hands it over and leaves the source empty.
class ColorTransforms {
public:
    // An empty handle.
    KX_API_EXPORT ColorTransforms() noexcept;
    explicit ColorTransforms(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT ColorTransforms(const ColorTransforms& other);
    KX_API_EXPORT ColorTransforms(ColorTransforms&& other) noexcept;
    KX_API_EXPORT ColorTransforms& operator=(const ColorTransforms& other);
    KX_API_EXPORT ColorTransforms& operator=(ColorTransforms&& other) noexcept;
    KX_API_EXPORT ~ColorTransforms();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
