#include "platform/brovik/editorcore/render/ElementPainters.h"
#include "platform/brovik/editorcore/render/TextPainter.h"

#include <numeric>

namespace KX::Tovrin {

// Rows grow to fit their text, as in the authoring programs; columns keep their widths.
void paintTable(QPainter& painter, const TableElement& table) {
    const std::size_t cols = table.columnWidths.size();
    const std::size_t rows = table.rows.size();
    if (cols == 0 || rows == 0)
        return;
    std::vector<double> x(cols + 1, 0);
    for (std::size_t c = 0; c < cols; ++c)
        x[c + 1] = x[c] + table.columnWidths[c];
    std::vector<double> heights(rows, 0);
    for (std::size_t r = 0; r < rows; ++r) {
        heights[r] = r < table.rowHeights.size() ? table.rowHeights[r] : 0;
        for (std::size_t c = 0; c < cols && c < table.rows[r].size(); ++c) {
            const TableCell& cell = table.rows[r][c];
            if (cell.covered || cell.rowSpan != 1)
                continue;
            const double w = x[std::min(cols, c + cell.colSpan)] - x[c];
            heights[r] = std::max(heights[r], measureTextHeight(cell.text, w));
        }
    }
    std::vector<double> y(rows + 1, 0);
    for (std::size_t r = 0; r < rows; ++r)
        y[r + 1] = y[r] + heights[r];

    painter.save();
    ElementFrame frame = table.frame;
    enterFrame(painter, frame);
    for (int pass = 0; pass < 3; ++pass) {
        for (std::size_t r = 0; r < rows; ++r) {
            for (std::size_t c = 0; c < cols && c < table.rows[r].size(); ++c) {
                const TableCell& cell = table.rows[r][c];
                if (cell.covered)
                    continue;
                const QRectF box(QPointF(x[c], y[r]), QPointF(x[std::min(cols, c + cell.colSpan)],
                                                              y[std::min(rows, r + cell.rowSpan)]));
                if (pass == 0) {
                    QPainterPath path;
                    path.addRect(box);
                    paintFill(painter, path, cell.fill, box);
                } else if (pass == 1) {
                    paintText(painter, cell.text, box);
                } else {
                    auto edge = [&](const Stroke& s, QPointF a, QPointF b) {
                        QPainterPath p(a);
                        p.lineTo(b);
                        paintStroke(painter, p, s, false);
                    };
                    edge(cell.left, box.topLeft(), box.bottomLeft());
                    edge(cell.right, box.topRight(), box.bottomRight());
                    edge(cell.top, box.topLeft(), box.topRight());
                    edge(cell.bottom, box.bottomLeft(), box.bottomRight());
                }
            }
        }
    }
    painter.restore();
}

} // namespace KX::Tovrin
