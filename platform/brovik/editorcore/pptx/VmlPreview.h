#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <optional>

namespace KX::Tovrin {

// The preview picture a legacy VML drawing keeps for an ActiveX control or OLE object.
struct VmlPreview {
    QString relationshipId; // of the picture, from the VML part
    QRectF bounds;          // points; empty when the shape's style gives no position
};

// Finds the VML shape for a shape id ("2053" or "_x0000_s2053") and the picture it shows.
// VML parts are often not well-formed XML (conditional comments), so they are scanned as text.
std::optional<VmlPreview> findVmlPreview(const QByteArray& vml, const QString& shapeId);

} // namespace KX::Tovrin
