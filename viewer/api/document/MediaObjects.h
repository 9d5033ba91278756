#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// The audio and video objects of a document. A handle: copies share the object, a move hands it over and
// leaves the source empty.
class MediaObjects {
public:
    MediaObjects() noexcept = default;
    explicit MediaObjects(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT MediaObjects(const MediaObjects& other);
    KX_API_EXPORT MediaObjects(MediaObjects&& other) noexcept;
    KX_API_EXPORT MediaObjects& operator=(const MediaObjects& other);
    KX_API_EXPORT MediaObjects& operator=(MediaObjects&& other) noexcept;
    KX_API_EXPORT ~MediaObjects();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
