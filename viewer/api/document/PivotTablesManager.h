#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API::Document {

// Creates, finds and removes a spreadsheet's pivot tables. A handle: copies share the object, a move hands it
// over and leaves the source empty.
class PivotTablesManager {
public:
    PivotTablesManager() noexcept = default;
    explicit PivotTablesManager(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT PivotTablesManager(const PivotTablesManager& other);
    KX_API_EXPORT PivotTablesManager(PivotTablesManager&& other) noexcept;
    KX_API_EXPORT PivotTablesManager& operator=(const PivotTablesManager& other);
    KX_API_EXPORT PivotTablesManager& operator=(PivotTablesManager&& other) noexcept;
    KX_API_EXPORT ~PivotTablesManager();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API::Document
