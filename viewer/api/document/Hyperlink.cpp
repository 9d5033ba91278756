#include "viewer/api/document/Hyperlink.h"

#include <utility>

namespace KX::API::Document {

// Defined here rather than inline so that the executable carries them for the modules it loads.
// Move assignment is spelled out: a text moved onto itself would come out empty.
Hyperlink::Hyperlink() = default;
Hyperlink::Hyperlink(const Hyperlink& other) = default;
Hyperlink::Hyperlink(Hyperlink&& other) noexcept = default;
Hyperlink& Hyperlink::operator=(const Hyperlink& other) = default;
Hyperlink& Hyperlink::operator=(Hyperlink&& other) noexcept {
    if (this != &other) {
        address = std::move(other.address);
        location = std::move(other.location);
        tooltip = std::move(other.tooltip);
    }
    return *this;
}
Hyperlink::~Hyperlink() = default;

} // namespace KX::API::Document
