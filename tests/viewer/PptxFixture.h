#pragma once

#include <QColor>
#include <QString>
#include <string>
#include <vector>

namespace KX::Testing {

// Writes a minimal PowerPoint file: one slide per colour, each slide filled with its colour, with
// the slide size given in points (default 4:3, 720 x 540). `slideTails` are elements placed after
// each slide's p:cSld (its p:transition, say).
void writePptx(const QString& path, const std::vector<QColor>& slideColours, double widthPt = 720,
               double heightPt = 540, const std::vector<std::string>& slideTails = {});

} // namespace KX::Testing
