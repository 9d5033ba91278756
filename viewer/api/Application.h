#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/Object.h"

#include <memory>
#include <utility>

namespace KX::API {

// The running application as the API sees it. A handle: copies share the object, a move hands it over and
// leaves the source empty.
class Application {
public:
    Application() noexcept = default;
    explicit Application(std::shared_ptr<Object> object) noexcept : _object(std::move(object)) {}

    KX_API_EXPORT Application(const Application& other);
    KX_API_EXPORT Application(Application&& other) noexcept;
    KX_API_EXPORT Application& operator=(const Application& other);
    KX_API_EXPORT Application& operator=(Application&& other) noexcept;
    KX_API_EXPORT ~Application();

    // The object this handle refers to; null when the handle is empty.
    const std::shared_ptr<Object>& object() const noexcept { return _object; }
    explicit operator bool() const noexcept { return _object != nullptr; }

private:
    std::shared_ptr<Object> _object;
};

} // namespace KX::API
