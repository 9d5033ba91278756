#pragma once

#include "viewer/api/ApiExport.h"
#include "viewer/api/ColorRGBA.h"
#include "viewer/api/document/ColorTransforms.h"

#include <boost/optional.hpp>
#include <cstdint>
#include <utility>

namespace KX::API::Document {

// A colour as a document states it: an explicit value or an entry of the document's theme, with the
// transformations applied on top.
class Color {
public:
    // An entry of the theme's colour scheme: which slot (dark 1, accent 3, ...) and its tint step.
    struct ThemeEntry {
        std::uint8_t slot = 0;
        std::uint8_t step = 0;
    };

    Color() = default;
    explicit Color(ColorRGBA value) : _value(value) {}
    explicit Color(ThemeEntry themeEntry) : _themeEntry(themeEntry) {}

    KX_API_EXPORT Color(const Color& other);
    // The source keeps its optionals; a transforms handle it held is handed over.
    KX_API_EXPORT Color(Color&& other) noexcept;
    KX_API_EXPORT Color& operator=(const Color& other);
    KX_API_EXPORT Color& operator=(Color&& other) noexcept;
    KX_API_EXPORT ~Color();

    const boost::optional<ColorRGBA>& value() const noexcept { return _value; }
    ThemeEntry themeEntry() const noexcept { return _themeEntry; }
    const boost::optional<ColorTransforms>& transforms() const noexcept { return _transforms; }
    void setTransforms(boost::optional<ColorTransforms> transforms) { _transforms = std::move(transforms); }

private:
    boost::optional<ColorRGBA> _value;
    ThemeEntry _themeEntry;
    boost::optional<ColorTransforms> _transforms;
};

} // namespace KX::API::Document
