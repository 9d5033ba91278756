#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A sequence of paragraphs. A handle: copies share the object, a move hands it over and leaves the source
// empty.
class Paragraphs {
public:
    Paragraphs() noexcept = default;
    explicit Paragraphs(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Paragraphs(const Paragraphs& other);
    KX_API_EXPORT Paragraphs(Paragraphs&& other) noexcept;
    KX_API_EXPORT Paragraphs& operator=(const Paragraphs& other);
    KX_API_EXPORT Paragraphs& operator=(Paragraphs&& other) noexcept;
    KX_API_EXPORT ~Paragraphs();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
