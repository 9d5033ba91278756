#include "platform/brovik/editorcore/pptx/PptxTable.h"

#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/pptx/DrawingColor.h"
#include "platform/brovik/editorcore/pptx/DrawingFill.h"
#include "platform/brovik/editorcore/pptx/DrawingText.h"
#include "platform/brovik/editorcore/pptx/PptxShapeTree.h"

namespace KX::Tovrin {

namespace {
constexpr double EmuPerPoint = 12700.0;
constexpr int MaxCells = 10000;

// One part of a table style (wholeTbl, firstRow, band1H, ...).
struct StylePart {
    std::optional<Fill> fill;
    std::optional<Stroke> left, right, top, bottom, insideH, insideV;
    std::optional<QColor> textColor;
    bool bold = false;
};

std::optional<Stroke> borderOf(const QDomElement& tcBdr, const QString& side, const DrawingContext& ctx) {
    const QDomElement b = firstChild(tcBdr, side);
    if (b.isNull())
        return std::nullopt;
    const QDomElement ln = firstChild(b, QStringLiteral("ln"));
    if (!ln.isNull()) {
        Stroke s;
        s.visible = true;
        s.width = 0.75;
        return readStroke(ln, ctx, s);
    }
    const QDomElement ref = firstChild(b, QStringLiteral("lnRef"));
    if (!ref.isNull())
        return themeStroke(int(attrInt(ref, QStringLiteral("idx"), 0)),
                           readColor(ref, ctx).value_or(QColor(Qt::black)), ctx);
    return std::nullopt;
}

StylePart readStylePart(const QDomElement& part, const DrawingContext& ctx) {
    StylePart sp;
    if (part.isNull())
        return sp;
    const QDomElement tcStyle = firstChild(part, QStringLiteral("tcStyle"));
    const QDomElement fill = firstChild(tcStyle, QStringLiteral("fill"));
    if (!fill.isNull())
        sp.fill = readFill(fill, ctx);
    const QDomElement fillRef = firstChild(tcStyle, QStringLiteral("fillRef"));
    if (!fillRef.isNull())
        sp.fill = themeFill(int(attrInt(fillRef, QStringLiteral("idx"), 0)),
                            readColor(fillRef, ctx).value_or(QColor(Qt::white)), ctx);
    const QDomElement tcBdr = firstChild(tcStyle, QStringLiteral("tcBdr"));
    sp.left = borderOf(tcBdr, QStringLiteral("left"), ctx);
    sp.right = borderOf(tcBdr, QStringLiteral("right"), ctx);
    sp.top = borderOf(tcBdr, QStringLiteral("top"), ctx);
    sp.bottom = borderOf(tcBdr, QStringLiteral("bottom"), ctx);
    sp.insideH = borderOf(tcBdr, QStringLiteral("insideH"), ctx);
    sp.insideV = borderOf(tcBdr, QStringLiteral("insideV"), ctx);
    const QDomElement tx = firstChild(part, QStringLiteral("tcTxStyle"));
    sp.textColor = readColor(tx, ctx);
    if (!sp.textColor) {
        const QDomElement fontRef = firstChild(tx, QStringLiteral("fontRef"));
        sp.textColor = readColor(fontRef, ctx);
    }
    sp.bold = tx.attribute(QStringLiteral("b")) == QLatin1String("on");
    return sp;
}

template <typename T> void override(std::optional<T>& target, const std::optional<T>& value) {
    if (value)
        target = value;
}
} // namespace

TableElement readTable(const QDomElement& tbl, const SlideLayers& layers, const DrawingContext& ctx) {
    TableElement table;
    forEachChild(firstChild(tbl, QStringLiteral("tblGrid")), QStringLiteral("gridCol"),
                 [&](const QDomElement& c) {
                     if (table.columnWidths.size() < 1000)
                         table.columnWidths.push_back(
                             std::clamp(attrDouble(c, QStringLiteral("w"), 0) / EmuPerPoint, 0.0, 1e5));
                 });
    const QDomElement tblPr = firstChild(tbl, QStringLiteral("tblPr"));
    const QString styleId = firstChild(tblPr, QStringLiteral("tableStyleId")).text().trimmed();
    QDomElement style;
    forEachChild(layers.tableStyles, QStringLiteral("tblStyle"), [&](const QDomElement& s) {
        if (s.attribute(QStringLiteral("styleId")) == styleId)
            style = s;
    });
    const bool firstRow = attrBool(tblPr, QStringLiteral("firstRow"), false);
    const bool lastRow = attrBool(tblPr, QStringLiteral("lastRow"), false);
    const bool firstCol = attrBool(tblPr, QStringLiteral("firstCol"), false);
    const bool lastCol = attrBool(tblPr, QStringLiteral("lastCol"), false);
    const bool bandRow = attrBool(tblPr, QStringLiteral("bandRow"), false);
    const bool bandCol = attrBool(tblPr, QStringLiteral("bandCol"), false);
    const StylePart whole = readStylePart(firstChild(style, QStringLiteral("wholeTbl")), ctx);
    const StylePart band1H = readStylePart(firstChild(style, QStringLiteral("band1H")), ctx);
    const StylePart band1V = readStylePart(firstChild(style, QStringLiteral("band1V")), ctx);
    const StylePart first = readStylePart(firstChild(style, QStringLiteral("firstRow")), ctx);
    const StylePart last = readStylePart(firstChild(style, QStringLiteral("lastRow")), ctx);
    const StylePart firstC = readStylePart(firstChild(style, QStringLiteral("firstCol")), ctx);
    const StylePart lastC = readStylePart(firstChild(style, QStringLiteral("lastCol")), ctx);

    std::vector<QDomElement> rows;
    forEachChild(tbl, QStringLiteral("tr"), [&](const QDomElement& tr) { rows.push_back(tr); });
    const int rowCount = int(rows.size());
    const int colCount = int(table.columnWidths.size());
    if (colCount == 0 || qint64(rowCount) * colCount > MaxCells)
        return {};
    for (int r = 0; r < rowCount; ++r) {
        table.rowHeights.push_back(
            std::clamp(attrDouble(rows[r], QStringLiteral("h"), 0) / EmuPerPoint, 0.0, 1e5));
        std::vector<TableCell> cells;
        int c = 0;
        forEachChild(rows[r], QStringLiteral("tc"), [&](const QDomElement& tc) {
            if (c >= colCount)
                return;
            TableCell cell;
            cell.colSpan =
                int(std::clamp<qint64>(attrInt(tc, QStringLiteral("gridSpan"), 1), 1, colCount - c));
            cell.rowSpan =
                int(std::clamp<qint64>(attrInt(tc, QStringLiteral("rowSpan"), 1), 1, rowCount - r));
            cell.covered = attrBool(tc, QStringLiteral("hMerge"), false) ||
                           attrBool(tc, QStringLiteral("vMerge"), false);

            // Style parts in increasing precedence.
            StylePart eff = whole;
            auto apply = [&](const StylePart& p) {
                override(eff.fill, p.fill);
                override(eff.left, p.left);
                override(eff.right, p.right);
                override(eff.top, p.top);
                override(eff.bottom, p.bottom);
                override(eff.textColor, p.textColor);
                eff.bold = eff.bold || p.bold;
            };
            const int dataRow = firstRow ? r - 1 : r;
            if (bandCol && c % 2 == (firstCol ? 1 : 0))
                apply(band1V);
            if (bandRow && dataRow >= 0 && dataRow % 2 == 0 && !(firstRow && r == 0))
                apply(band1H);
            if (firstCol && c == 0)
                apply(firstC);
            if (lastCol && c + cell.colSpan == colCount)
                apply(lastC);
            if (lastRow && r == rowCount - 1)
                apply(last);
            if (firstRow && r == 0)
                apply(first);
            Stroke none;
            auto inner = [&](const std::optional<Stroke>& outer, const std::optional<Stroke>& inside,
                             bool isEdge) {
                return isEdge ? outer.value_or(none) : inside.value_or(outer.value_or(none));
            };
            cell.left = inner(eff.left, whole.insideV, c == 0);
            cell.right = inner(eff.right, whole.insideV, c + cell.colSpan == colCount);
            cell.top = inner(eff.top, whole.insideH, r == 0);
            cell.bottom = inner(eff.bottom, whole.insideH, r + cell.rowSpan == rowCount);
            if (eff.fill)
                cell.fill = *eff.fill;

            const QDomElement tcPr = firstChild(tc, QStringLiteral("tcPr"));
            if (auto fill = readFill(tcPr, ctx))
                cell.fill = *fill;
            auto border = [&](const char* name, Stroke& s) {
                const QDomElement ln = firstChild(tcPr, QString::fromLatin1(name));
                if (!ln.isNull())
                    s = readStroke(ln, ctx, s);
            };
            border("lnL", cell.left);
            border("lnR", cell.right);
            border("lnT", cell.top);
            border("lnB", cell.bottom);

            TextStyleSources sources;
            sources.fontRefColor = eff.textColor;
            sources.listStyles.push_back(layers.defaultTextStyle);
            const QDomElement txBody = firstChild(tc, QStringLiteral("txBody"));
            cell.text = readTextBody(txBody, sources, ctx);
            cell.text.insets = QMarginsF(attrDouble(tcPr, QStringLiteral("marL"), 91440) / EmuPerPoint,
                                         attrDouble(tcPr, QStringLiteral("marT"), 45720) / EmuPerPoint,
                                         attrDouble(tcPr, QStringLiteral("marR"), 91440) / EmuPerPoint,
                                         attrDouble(tcPr, QStringLiteral("marB"), 45720) / EmuPerPoint);
            const QString anchor = tcPr.attribute(QStringLiteral("anchor"));
            cell.text.anchor = anchor == QLatin1String("ctr") ? TextBody::Anchor::Middle
                               : anchor == QLatin1String("b") ? TextBody::Anchor::Bottom
                                                              : TextBody::Anchor::Top;
            cell.text.shrinkToFit = false;
            if (eff.bold)
                for (auto& p : cell.text.paragraphs)
                    for (auto& run : p.runs)
                        run.bold = true;
            cells.push_back(std::move(cell));
            ++c;
        });
        while (int(cells.size()) < colCount) {
            TableCell filler;
            filler.covered = true;
            cells.push_back(filler);
        }
        table.rows.push_back(std::move(cells));
    }
    return table;
}

} // namespace KX::Tovrin
