#pragma once

#include "viewer/api/ApiExport.h"

#include <boost/optional.hpp>
#include <cstdint>

namespace KX::API::Document {

// The page set-up of a document section. It has no move operations of its own: moving copies, and
// the source keeps its values.
struct PageProperties {
    // Paper size and margins, in points.
    struct Geometry {
        float width = 0;
        float height = 0;
        float leftMargin = 0;
        float topMargin = 0;
        float rightMargin = 0;
        float bottomMargin = 0;
        float headerDistance = 0;
        float footerDistance = 0;
    };
    enum class Orientation : std::int32_t { Portrait, Landscape };

    PageProperties() = default;
    KX_API_EXPORT PageProperties(const PageProperties& other);
    KX_API_EXPORT PageProperties& operator=(const PageProperties& other);
    KX_API_EXPORT ~PageProperties();

    // Empty when the section uses the document's default page.
    boost::optional<Geometry> geometry;
    Orientation orientation = Orientation::Portrait;
    std::int32_t firstPageNumber = 1;
    std::int32_t columnCount = 1;
    // Space between text columns, in points.
    float columnSpacing = 0;
};

} // namespace KX::API::Document
