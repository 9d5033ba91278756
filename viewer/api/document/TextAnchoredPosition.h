#pragma once

#include "viewer/api/ApiExport.h"

#include <boost/optional.hpp>
#include <cstdint>

namespace KX::API::Document {

// Where an object anchored in text sits, along each axis. An empty axis keeps the object's current
// placement. It has no move operations of its own: moving copies, and the source keeps its values.
struct TextAnchoredPosition {
    // What an offset along one axis is measured from.
    enum class Reference : std::int32_t { Page, Margin, Paragraph, Character, Line };
    enum class Alignment : std::int32_t { None, Start, Center, End };

    // The placement along one axis: the reference, an alignment to it, or an offset from it in points
    // or as a percentage of the reference's extent.
    struct Placement {
        Reference reference = Reference::Paragraph;
        Alignment alignment = Alignment::None;
        float offset = 0;
        float relativeOffset = 0;
    };

    // Both axes empty.
    KX_API_EXPORT TextAnchoredPosition();
    KX_API_EXPORT TextAnchoredPosition(const TextAnchoredPosition& other);
    KX_API_EXPORT TextAnchoredPosition& operator=(const TextAnchoredPosition& other);
    KX_API_EXPORT ~TextAnchoredPosition();

    boost::optional<Placement> horizontal;
    boost::optional<Placement> vertical;
};

} // namespace KX::API::Document
