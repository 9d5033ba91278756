#include "platform/brovik/editorcore/geometry/Scene3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace KX::Tovrin {

namespace {
constexpr std::size_t MaxFaces = 20000;

struct Face {
    std::vector<QVector3D> points;
    QColor colour;
};

using Faces = std::vector<Face>;

void addFace(Faces& faces, std::vector<QVector3D> points, const QColor& colour) {
    if (faces.size() < MaxFaces && points.size() >= 3)
        faces.push_back({std::move(points), colour});
}

void latheFaces(const Scene3dObject& o, Faces& faces) {
    const int steps = std::clamp(o.segments, 3, 128);
    const double sweep = std::clamp(o.endAngle, 1.0, 360.0) * std::numbers::pi / 180;
    auto at = [&](QPointF p, int step) {
        const double a = sweep * step / steps;
        return QVector3D(float(p.x() * std::cos(a)), float(p.y()), float(-p.x() * std::sin(a)));
    };
    for (const QPolygonF& outline : o.outlines)
        for (int i = 0; i + 1 < outline.size(); ++i)
            for (int s = 0; s < steps; ++s)
                addFace(faces,
                        {at(outline[i], s), at(outline[i + 1], s), at(outline[i + 1], s + 1),
                         at(outline[i], s + 1)},
                        o.colour);
}

void extrudeFaces(const Scene3dObject& o, Faces& faces) {
    const float back = 0, front = float(o.depth);
    for (const QPolygonF& outline : o.outlines) {
        std::vector<QVector3D> near, far;
        for (const QPointF& p : outline) {
            near.emplace_back(float(p.x()), float(p.y()), front);
            far.emplace_back(float(p.x()), float(p.y()), back);
        }
        for (int i = 0; i < outline.size(); ++i) {
            const int j = (i + 1) % outline.size();
            addFace(faces, {near[i], near[j], far[j], far[i]}, o.colour);
        }
        addFace(faces, far, o.colour);
        addFace(faces, near, o.colour);
    }
}

void cubeFaces(const Scene3dObject& o, Faces& faces) {
    const QVector3D a = o.minimum, b = o.maximum;
    auto v = [&](bool x, bool y, bool z) {
        return QVector3D(x ? b.x() : a.x(), y ? b.y() : a.y(), z ? b.z() : a.z());
    };
    const int sides[6][4][3] = {
        {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
        {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}}, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}},
        {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}}};
    for (const auto& side : sides) {
        std::vector<QVector3D> points;
        for (const auto& c : side)
            points.push_back(v(c[0], c[1], c[2]));
        addFace(faces, std::move(points), o.colour);
    }
}

void sphereFaces(const Scene3dObject& o, Faces& faces) {
    const int around = std::clamp(o.segments, 6, 64), up = std::max(3, around / 2);
    auto at = [&](int i, int j) {
        const double lat = std::numbers::pi * (double(j) / up - 0.5), lon = 2 * std::numbers::pi * i / around;
        return o.center + QVector3D(float(std::cos(lat) * std::cos(lon) * o.size.x() / 2),
                                    float(std::sin(lat) * o.size.y() / 2),
                                    float(std::cos(lat) * std::sin(lon) * o.size.z() / 2));
    };
    for (int j = 0; j < up; ++j)
        for (int i = 0; i < around; ++i)
            addFace(faces, {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)}, o.colour);
}

QVector3D normalOf(const std::vector<QVector3D>& p) {
    QVector3D n; // Newell's method: robust for any planar or nearly planar polygon
    for (std::size_t i = 0; i < p.size(); ++i) {
        const QVector3D& a = p[i];
        const QVector3D& b = p[(i + 1) % p.size()];
        n += QVector3D((a.y() - b.y()) * (a.z() + b.z()), (a.z() - b.z()) * (a.x() + b.x()),
                       (a.x() - b.x()) * (a.y() + b.y()));
    }
    return n.normalized();
}

QColor shade(const QColor& colour, const QVector3D& normal, const Scene3d& scene) {
    double light = scene.ambient;
    for (const Scene3dLight& l : scene.lights)
        light += l.diffuse * std::max(0.0f, QVector3D::dotProduct(normal, l.direction.normalized()));
    light = std::clamp(light, 0.0, 1.0);
    return QColor::fromRgbF(colour.redF() * light, colour.greenF() * light, colour.blueF() * light,
                            colour.alphaF());
}

QPointF projectPoint(const QVector3D& v, const Scene3d& scene) {
    const double depth = std::max(1.0, double(scene.viewReference.z() - v.z()));
    const double s = scene.perspective ? scene.focalLength / depth : 1.0;
    return QPointF(v.x() * s, -v.y() * s);
}

// The corners of the box around an object's own points, taken into the scene: the authoring
// program fits this box's picture, not the solid's outline, into the scene's frame.
void addBoxCorners(const Faces& faces, std::size_t first, const QMatrix4x4& toScene, const Scene3d& scene,
                   QRectF& extent) {
    if (first >= faces.size())
        return;
    QVector3D low = faces[first].points.front(), high = low;
    for (std::size_t i = first; i < faces.size(); ++i)
        for (const QVector3D& p : faces[i].points) {
            low = QVector3D(std::min(low.x(), p.x()), std::min(low.y(), p.y()), std::min(low.z(), p.z()));
            high = QVector3D(std::max(high.x(), p.x()), std::max(high.y(), p.y()), std::max(high.z(), p.z()));
        }
    QPolygonF corners;
    for (int c = 0; c < 8; ++c)
        corners << projectPoint(toScene.map(QVector3D(c & 1 ? high.x() : low.x(), c & 2 ? high.y() : low.y(),
                                                      c & 4 ? high.z() : low.z())),
                                scene);
    extent = extent.united(corners.boundingRect());
}

struct Projected {
    QPolygonF polygon;
    double distance;
    QColor colour;
};

std::vector<Projected> project(const Faces& faces, const Scene3d& scene) {
    std::vector<Projected> out;
    const QVector3D eye = scene.viewReference;
    for (const Face& f : faces) {
        QVector3D centre;
        for (const QVector3D& p : f.points)
            centre += p;
        centre /= float(f.points.size());
        QVector3D normal = normalOf(f.points);
        if (normal.isNull())
            continue;
        // Faces turned away are lit as their other side: outlines come in either direction.
        if (QVector3D::dotProduct(normal, eye - centre) < 0)
            normal = -normal;
        Projected p{{}, double((eye - centre).length()), shade(f.colour, normal, scene)};
        for (const QVector3D& v : f.points)
            p.polygon << projectPoint(v, scene);
        out.push_back(std::move(p));
    }
    std::sort(out.begin(), out.end(),
              [](const Projected& a, const Projected& b) { return a.distance > b.distance; });
    return out;
}
} // namespace

GroupElement projectScene(const Scene3d& scene, const ElementFrame& frame) {
    Faces faces;
    QRectF extent;
    for (const Scene3dObject& o : scene.objects) {
        const std::size_t first = faces.size();
        switch (o.kind) {
        case Scene3dObject::Kind::Lathe:
            latheFaces(o, faces);
            break;
        case Scene3dObject::Kind::Extrude:
            extrudeFaces(o, faces);
            break;
        case Scene3dObject::Kind::Cube:
            cubeFaces(o, faces);
            break;
        case Scene3dObject::Kind::Sphere:
            sphereFaces(o, faces);
            break;
        }
        const QMatrix4x4 toScene = scene.transform * o.transform;
        addBoxCorners(faces, first, toScene, scene, extent);
        for (std::size_t i = first; i < faces.size(); ++i)
            for (QVector3D& p : faces[i].points)
                p = toScene.map(p);
    }
    GroupElement group;
    group.frame = frame;
    group.childSpace = QRectF(QPointF(0, 0), frame.bounds.size());
    const std::vector<Projected> projected = project(faces, scene);
    if (projected.empty() || extent.width() <= 0 || extent.height() <= 0 || frame.bounds.isEmpty())
        return group;
    // The scene's frame is the bounding box of its picture: fit the projection into it.
    QTransform fit;
    fit.scale(frame.bounds.width() / extent.width(), frame.bounds.height() / extent.height());
    fit.translate(-extent.left(), -extent.top());
    for (const Projected& p : projected) {
        ShapeElement face;
        face.frame.bounds = group.childSpace;
        QPainterPath path;
        path.addPolygon(fit.map(p.polygon));
        path.closeSubpath();
        face.geometry.push_back({path, true, true, true, 1});
        face.fill = Fill::solid(p.colour);
        // A hairline of the face's own colour closes the seams antialiasing leaves between faces.
        face.stroke.visible = true;
        face.stroke.color = p.colour;
        face.stroke.width = 0;
        group.children.push_back(std::move(face));
    }
    return group;
}

} // namespace KX::Tovrin
