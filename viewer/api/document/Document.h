#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// An open document. A handle: copies share the object, a move hands it over and leaves the source empty.
class Document {
public:
    Document() noexcept = default;
    explicit Document(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Document(const Document& other);
    KX_API_EXPORT Document(Document&& other) noexcept;
    KX_API_EXPORT Document& operator=(const Document& other);
    KX_API_EXPORT Document& operator=(Document&& other) noexcept;
    KX_API_EXPORT ~Document();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
