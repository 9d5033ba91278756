#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// The category items of one pivot-table field. A handle: copies share the object, a move hands it over and
// leaves the source empty. Its default constructor belongs to the framework library.
class PivotTableFieldCategories {
public:
    KX_FRAMEWORK_API PivotTableFieldCategories();
    explicit PivotTableFieldCategories(std::shared_ptr<Object> object) noexcept
        : _object(std::move(object)) {}

    KX_API_EXPORT PivotTableFieldCategories(const PivotTableFieldCategories& other);
    KX_API_EXPORT PivotTableFieldCategories(PivotTableFieldCategories&& other) noexcept;
    KX_API_EXPORT PivotTableFieldCategories& operator=(const PivotTableFieldCategories& other);
    KX_API_EXPORT PivotTableFieldCategories& operator=(PivotTableFieldCategories&& other) noexcept;
    KX_API_EXPORT ~PivotTableFieldCategories();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
