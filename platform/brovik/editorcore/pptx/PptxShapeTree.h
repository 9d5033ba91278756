#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"
#include "platform/brovik/editorcore/pptx/DrawingContext.h"

#include <optional>
#include <vector>

namespace KX::Tovrin {

// The layers a slide's shapes inherit from: its layout and master, their placeholders, the
// master's text styles and the presentation's default text style.
struct SlideLayers {
    DrawingContext slide;
    DrawingContext layout;
    DrawingContext master;
    QDomElement layoutTree; // p:spTree of the layout (null when the slide has none)
    QDomElement masterTree;
    QDomElement masterTextStyles; // p:txStyles
    QDomElement defaultTextStyle; // p:defaultTextStyle of the presentation
    QDomElement tableStyles;      // a:tblStyleLst, possibly null
};

// Turns a shape tree (p:spTree) of a slide, layout or master into model elements. Placeholders of
// layouts and masters are never drawn themselves; slide placeholders inherit from them.
class PptxShapeTree {
public:
    enum class Level { Slide, Layout, Master };

    PptxShapeTree(const SlideLayers& layers, Level level);

    void read(const QDomElement& tree, std::vector<SlideElement>& out) const;

    // One shape with the elements it inherits from, most specific first, each with its context.
    struct Source {
        QDomElement element;
        const DrawingContext* ctx;
    };

private:
    void readChildren(const QDomElement& parent, std::vector<SlideElement>& out, int depth) const;
    void readElement(const QDomElement& e, std::vector<SlideElement>& out, int depth) const;
    std::vector<Source> inheritance(const QDomElement& shape) const;
    bool readShape(const QDomElement& sp, SlideElement& out) const;
    bool readPicture(const QDomElement& pic, const QDomElement& xfrmOverride, SlideElement& out) const;
    bool readGroup(const QDomElement& grp, SlideElement& out, int depth) const;
    bool readGraphicFrame(const QDomElement& frame, std::vector<SlideElement>& out, int depth) const;
    // The preview picture a legacy object or control keeps in the part's VML drawing; placed at
    // frame when given, else where the VML shape says.
    bool readVmlPreview(const QString& shapeId, const std::optional<ElementFrame>& frame,
                        std::vector<SlideElement>& out) const;
    bool readDiagram(const QDomElement& relIds, const ElementFrame& position,
                     std::vector<SlideElement>& out) const;

    const SlideLayers& _layers;
    Level _level;
    const DrawingContext& _ctx;
};

// Reads an a:xfrm into a frame, points; false when it lacks a position or size.
bool readTransform(const QDomElement& xfrm, ElementFrame& frame);

} // namespace KX::Tovrin
