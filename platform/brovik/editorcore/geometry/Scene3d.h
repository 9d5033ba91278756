#pragma once

#include "platform/brovik/editorcore/model/SlideElement.h"

#include <QColor>
#include <QMatrix4x4>
#include <QPolygonF>
#include <QVector3D>
#include <vector>

namespace KX::Tovrin {

// A 3-D scene as presentation files describe one: solids made by turning or pushing a 2-D
// outline, or boxes and spheres, seen through a camera and lit by directional lights. Lengths
// are in the file's scene units; only proportions matter, since the projection is fitted into
// the scene's frame on the slide.
struct Scene3dObject {
    enum class Kind { Lathe, Extrude, Cube, Sphere };
    Kind kind = Kind::Cube;
    std::vector<QPolygonF> outlines; // Lathe, Extrude: x is the radius (Lathe), y points up
    double depth = 1000;             // Extrude
    int segments = 24;               // Lathe and Sphere: steps around the axis
    double endAngle = 360;           // Lathe: degrees turned
    QVector3D minimum{-2500, -2500, -2500}, maximum{2500, 2500, 2500}; // Cube
    QVector3D center, size{5000, 5000, 5000};                          // Sphere
    QMatrix4x4 transform;
    QColor colour{0x72, 0x9f, 0xcf};
};

struct Scene3dLight {
    QVector3D direction{0, 0, 1}; // towards the light, in view coordinates
    double diffuse = 0.8;         // grey level of the light's colour
};

struct Scene3d {
    QMatrix4x4 transform;
    QVector3D viewReference{0, 0, 16885}; // the camera, looking down the negative z axis
    bool perspective = true;
    double focalLength = 10000;
    double ambient = 0.4;
    std::vector<Scene3dLight> lights;
    std::vector<Scene3dObject> objects;
};

// The scene as flat-shaded faces, farthest first, fitted into frame as the authoring program
// fits it: by the picture of the box around each solid, not by the solids' outlines. Empty when
// nothing is visible; the number of faces is bounded whatever the file asks for.
GroupElement projectScene(const Scene3d& scene, const ElementFrame& frame);

} // namespace KX::Tovrin
