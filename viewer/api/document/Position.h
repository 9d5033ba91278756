#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A position in a document's text. A handle: copies share the object, a move hands it over and leaves the
// source empty.
class Position {
public:
    Position() noexcept = default;
    explicit Position(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Position(const Position& other);
    KX_API_EXPORT Position(Position&& other) noexcept;
    KX_API_EXPORT Position& operator=(const Position& other);
    KX_API_EXPORT Position& operator=(Position&& other) noexcept;
    KX_API_EXPORT ~Position();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
