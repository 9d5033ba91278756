#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"

#include <QDomElement>
#include <QSizeF>
#include <QString>
#include <QXmlStreamReader>
#include <map>
#include <memory>
#include <vector>

namespace KX::Tovrin {

// A DrawingML geometry (a preset or a custom one) compiled from its XML: guide formulas and path
// commands, evaluated for a concrete size by evaluate().
class GeometryDefinition {
public:
    // Compiles the children avLst, gdLst, rect and pathLst of element. Malformed parts are dropped.
    static GeometryDefinition fromXml(const QDomElement& element);
    // The same from a stream positioned on the start of the geometry's element; reads up to
    // and including its end. Much faster than a DOM for the large preset library.
    static GeometryDefinition fromStream(QXmlStreamReader& reader);

    // Outline and text rectangle for a shape of the given size in points. adjust overrides
    // the default adjust values by name (avLst of the shape).
    struct Result {
        std::vector<GeometryPath> paths;
        QRectF textRect;
    };
    Result evaluate(QSizeF size, const std::map<QString, QString>& adjust) const;

    struct Guide {
        QString name;
        QString formula;
    };
    struct Command {
        enum class Kind { Move, Line, Arc, Quad, Cubic, Close };
        Kind kind = Kind::Move;
        std::vector<QString> args; // point coordinates or arc parameters, as guide references
    };
    struct Path {
        double width = 0; // own coordinate space; 0 means the shape's
        double height = 0;
        QString fill; // "none", "norm", "lighten", "darken", ...
        bool stroke = true;
        std::vector<Command> commands;
    };

private:
    std::vector<Guide> _adjustDefaults;
    std::vector<Guide> _guides;
    QString _rect[4];
    std::vector<Path> _paths;
};

// The ECMA-376 preset shapes, when their definitions were compiled in; nullptr for an unknown
// name or when the definitions are not available.
const GeometryDefinition* presetDefinition(const QString& name);

// Outline of a preset shape: from the compiled-in definitions when present, otherwise the common
// shapes drawn by hand; any other preset falls back to its bounding rectangle.
GeometryDefinition::Result presetGeometry(const QString& name, QSizeF size,
                                          const std::map<QString, QString>& adjust);

// The hand-drawn common presets; false when name is not one of them.
bool basicPresetGeometry(const QString& name, QSizeF size, const std::map<QString, QString>& adjust,
                         GeometryDefinition::Result& result);

} // namespace KX::Tovrin
