#pragma once

#include "viewer/api/ApiExport.h"

#include <boost/optional.hpp>

namespace KX::API::Document {

// The distances between a box's edges and its content, in points. An empty side keeps the style's value.
struct Insets {
    // All four sides empty.
    KX_API_EXPORT Insets() noexcept;
    Insets(const Insets&) = default;
    Insets(Insets&&) = default;

    KX_API_EXPORT Insets& operator=(const Insets& other);
    KX_API_EXPORT Insets& operator=(Insets&& other) noexcept;

    boost::optional<float> left;
    boost::optional<float> top;
    boost::optional<float> right;
    boost::optional<float> bottom;
};

} // namespace KX::API::Document
