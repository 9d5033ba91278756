#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A frame that flows with the text around it. A handle: copies share the object, a move hands it over and
// leaves the source empty.
class InlineFrame {
public:
    InlineFrame() noexcept = default;
    explicit InlineFrame(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT InlineFrame(const InlineFrame& other);
    KX_API_EXPORT InlineFrame(InlineFrame&& other) noexcept;
    KX_API_EXPORT InlineFrame& operator=(const InlineFrame& other);
    KX_API_EXPORT InlineFrame& operator=(InlineFrame&& other) noexcept;
    KX_API_EXPORT ~InlineFrame();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
