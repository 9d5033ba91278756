#pragma once

#include "viewer/api/ApiExport.h"

namespace KX::API::Document {

// How text is turned inside its box. Unrotated text carries no angle.
class TextOrientation {
public:
    // Unrotated. Only the flag is set: the angle is never read while the flag is clear.
    KX_API_EXPORT TextOrientation() noexcept;
    explicit TextOrientation(double angleInDegrees) noexcept : _rotated(true), _angle(angleInDegrees) {}
    TextOrientation(const TextOrientation&) noexcept = default;
    TextOrientation(TextOrientation&&) noexcept = default;

    KX_API_EXPORT TextOrientation& operator=(const TextOrientation& other) noexcept;
    KX_API_EXPORT TextOrientation& operator=(TextOrientation&& other) noexcept;

    bool isRotated() const noexcept { return _rotated; }
    // Counter-clockwise, in degrees; 0 for unrotated text.
    double angle() const noexcept { return _rotated ? _angle : 0.0; }

private:
    bool _rotated;
    double _angle;
};

} // namespace KX::API::Document
