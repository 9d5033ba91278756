#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// A table of a document. A handle: copies share the object, a move hands it over and leaves the source empty.
class Table {
public:
    Table() noexcept = default;
    explicit Table(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Table(const Table& other);
    KX_API_EXPORT Table(Table&& other) noexcept;
    KX_API_EXPORT Table& operator=(const Table& other);
    KX_API_EXPORT Table& operator=(Table&& other) noexcept;
    KX_API_EXPORT ~Table();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
