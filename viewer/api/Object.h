#pragma once

namespace KX::API {

// Base of the implementation objects that the API's handle classes refer to. The implementation
// (the framework, or whoever hands out handles) derives from it; a handle only shares ownership.
class Object {
public:
    virtual ~Object() = default;

protected:
    Object() = default;
    Object(const Object&) = default;
    Object& operator=(const Object&) = default;
};

} // namespace KX::API
