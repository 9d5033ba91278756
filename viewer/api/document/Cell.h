#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// One cell of a table or a sheet. A handle: copies share the object, a move hands it over and leaves the
// source empty.
class Cell {
public:
    Cell() noexcept = default;
    explicit Cell(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Cell(const Cell& other);
    KX_API_EXPORT Cell(Cell&& other) noexcept;
    KX_API_EXPORT Cell& operator=(const Cell& other);
    KX_API_EXPORT Cell& operator=(Cell&& other) noexcept;
    KX_API_EXPORT ~Cell();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
