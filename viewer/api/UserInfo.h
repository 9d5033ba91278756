#pragma once

#include "viewer/api/ApiExport.h"

#include <string>

namespace KX::API {

// The user the application runs for, as shown next to comments and changes.
struct UserInfo {
    KX_API_EXPORT UserInfo();
    KX_API_EXPORT UserInfo(const UserInfo& other);
    // Leaves the source's texts empty.
    KX_API_EXPORT UserInfo(UserInfo&& other) noexcept;
    KX_API_EXPORT UserInfo& operator=(const UserInfo& other);
    KX_API_EXPORT UserInfo& operator=(UserInfo&& other) noexcept;
    KX_API_EXPORT ~UserInfo();

    std::string id;
    std::string displayName;
};

} // namespace KX::API
