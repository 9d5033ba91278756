#include "viewer/api/UserInfo.h"

#include <utility>

namespace KX::API {

// Defined here rather than inline so that the executable carries them for the modules it loads.
// Move assignment is spelled out: a text moved onto itself would come out empty.
UserInfo::UserInfo() = default;
UserInfo::UserInfo(const UserInfo& other) = default;
UserInfo::UserInfo(UserInfo&& other) noexcept = default;
UserInfo& UserInfo::operator=(const UserInfo& other) = default;
UserInfo& UserInfo::operator=(UserInfo&& other) noexcept {
    if (this != &other) {
        id = std::move(other.id);
        displayName = std::move(other.displayName);
    }
    return *this;
}
UserInfo::~UserInfo() = default;

} // namespace KX::API
