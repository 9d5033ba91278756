#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// One audio or video object of a document. A handle: copies share the object, a move hands it over and leaves
// the source empty.
class MediaObject {
public:
    MediaObject() noexcept = default;
    explicit MediaObject(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT MediaObject(const MediaObject& other);
    KX_API_EXPORT MediaObject(MediaObject&& other) noexcept;
    KX_API_EXPORT MediaObject& operator=(const MediaObject& other);
    KX_API_EXPORT MediaObject& operator=(MediaObject&& other) noexcept;
    KX_API_EXPORT ~MediaObject();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
