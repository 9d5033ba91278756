#pragma once

#include "core/Errors.h"

#include <boost/numeric/conversion/cast.hpp>

namespace KX {

// Converts between integer types, throwing BadNumCastError (with Boost's message) instead of
// silently wrapping.
template <typename To, typename From>
To numericCast(From value) {
    try {
        return boost::numeric_cast<To>(value);
    } catch (const boost::numeric::bad_numeric_cast& e) {
        throw BadNumCastError(std::string(e.what()));
    }
}

} // namespace KX
