#pragma once

#include <QColor>
#include <QImage>

namespace KX::Tovrin {

// A colour change the deck asks for on a picture: shown in shades of grey, or in a duotone
// that runs from one colour in the shadows to another in the highlights.
struct PictureRecolor {
    enum class Kind { None, Grayscale, Duotone };
    Kind kind = Kind::None;
    QColor dark;  // Duotone: the colour of black
    QColor light; // Duotone: the colour of white

    bool isNone() const { return kind == Kind::None; }
    // The recoloured image, alpha kept. Recent results are kept, since every repaint of a slide
    // asks again for the same background.
    QImage apply(const QImage& image) const;
};

} // namespace KX::Tovrin
