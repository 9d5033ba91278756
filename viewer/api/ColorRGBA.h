#pragma once

#include "viewer/api/ApiExport.h"

#include <cstdint>

namespace KX::API {

// One colour with its opacity, a byte per channel.
struct ColorRGBA {
    ColorRGBA() noexcept = default;
    constexpr ColorRGBA(std::uint8_t redValue, std::uint8_t greenValue, std::uint8_t blueValue,
                        std::uint8_t alphaValue = 255) noexcept
        : red(redValue), green(greenValue), blue(blueValue), alpha(alphaValue) {}
    ColorRGBA(const ColorRGBA&) noexcept = default;
    ColorRGBA(ColorRGBA&&) noexcept = default;

    KX_API_EXPORT ColorRGBA& operator=(const ColorRGBA& other) noexcept;
    KX_API_EXPORT ColorRGBA& operator=(ColorRGBA&& other) noexcept;

    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t alpha;
};

} // namespace KX::API
