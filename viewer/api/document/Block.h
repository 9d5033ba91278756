#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A block of a document's body: a paragraph, a table or a frame. A handle: copies share the object, a move
// hands it over and leaves the source empty.
class Block {
public:
    Block() noexcept = default;
    explicit Block(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Block(const Block& other);
    KX_API_EXPORT Block(Block&& other) noexcept;
    KX_API_EXPORT Block& operator=(const Block& other);
    KX_API_EXPORT Block& operator=(Block&& other) noexcept;
    KX_API_EXPORT ~Block();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
