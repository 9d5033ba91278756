#pragma once

#include "viewer/api/ApiExport.h"

#include <string>

namespace KX::API::Document {

// A link from a document to an address, or to a place inside a document.
struct Hyperlink {
    KX_API_EXPORT Hyperlink();
    KX_API_EXPORT Hyperlink(const Hyperlink& other);
    // Leaves the source's texts empty.
    KX_API_EXPORT Hyperlink(Hyperlink&& other) noexcept;
    KX_API_EXPORT Hyperlink& operator=(const Hyperlink& other);
    KX_API_EXPORT Hyperlink& operator=(Hyperlink&& other) noexcept;
    KX_API_EXPORT ~Hyperlink();

    // The target file or URL; empty for a link inside the document.
    std::string address;
    // The place inside the target: a bookmark, a slide or a cell reference.
    std::string location;
    // Shown when the pointer rests on the link.
    std::string tooltip;
};

} // namespace KX::API::Document
