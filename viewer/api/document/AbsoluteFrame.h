#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A frame placed at a fixed position on a page or slide. A handle: copies share the object, a move hands it
// over and leaves the source empty.
class AbsoluteFrame {
public:
    AbsoluteFrame() noexcept = default;
    explicit AbsoluteFrame(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT AbsoluteFrame(const AbsoluteFrame& other);
    KX_API_EXPORT AbsoluteFrame(AbsoluteFrame&& other) noexcept;
    KX_API_EXPORT AbsoluteFrame& operator=(const AbsoluteFrame& other);
    KX_API_EXPORT AbsoluteFrame& operator=(AbsoluteFrame&& other) noexcept;
    KX_API_EXPORT ~AbsoluteFrame();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
