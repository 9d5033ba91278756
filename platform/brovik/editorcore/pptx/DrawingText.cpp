#include "platform/brovik/editorcore/pptx/DrawingText.h"

#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/pptx/DrawingColor.h"
#include "platform/brovik/editorcore/pptx/DrawingFill.h"
#include "platform/brovik/editorcore/pptx/OoxmlNames.h"
#include "platform/brovik/editorcore/text/ListNumbering.h"

#include <QDateTime>
#include <QLocale>
#include <array>

namespace KX::Tovrin {

namespace {
// A date field shows the moment the deck is opened, in the field type's (US English) form.
QString dateField(const QString& type, const QDateTime& now) {
    static const char* const formats[] = {
        "M/d/yyyy",  "dddd, MMMM d, yyyy", "d MMMM yyyy",         "MMMM d, yyyy", "d-MMM-yy", "MMMM yy",
        "MMM-yy",    "M/d/yyyy h:mm AP",   "M/d/yyyy h:mm:ss AP", "H:mm",         "H:mm:ss",  "h:mm AP",
        "h:mm:ss AP"};
    bool ok = false;
    const int n = type.mid(8).toInt(&ok);
    const char* format = formats[ok && n >= 1 && n <= 13 ? n - 1 : 0];
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(now, QString::fromLatin1(format));
}

constexpr double EmuPerPoint = 12700.0;

// A property looked up along a chain of elements, most specific first.
struct Chain {
    std::vector<QDomElement> elements;

    QString attr(const QString& name) const {
        for (const QDomElement& e : elements)
            if (e.hasAttribute(name))
                return e.attribute(name);
        return {};
    }
    QDomElement child(const QString& name) const {
        for (const QDomElement& e : elements) {
            QDomElement c = firstChild(e, name);
            if (!c.isNull())
                return c;
        }
        return {};
    }
    // The first element that has any of the named children, and which child it was.
    QDomElement childOfAny(std::initializer_list<const char*> names) const {
        for (const QDomElement& e : elements)
            for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
                for (const char* n : names)
                    if (c.localName() == QLatin1String(n))
                        return c;
        return {};
    }
};

double percentOrPoints(const QDomElement& spacing, double fontSize, double fallback) {
    const QDomElement pct = firstChild(spacing, QStringLiteral("spcPct"));
    if (!pct.isNull())
        return std::clamp(attrDouble(pct, QStringLiteral("val"), 0) / 100000.0, 0.0, 100.0) * fontSize;
    const QDomElement pts = firstChild(spacing, QStringLiteral("spcPts"));
    if (!pts.isNull())
        return std::clamp(attrDouble(pts, QStringLiteral("val"), 0) / 100.0, 0.0, 5000.0);
    return fallback;
}

// Linked text is drawn in the theme's hyperlink colour and underlined, whatever colour the run
// has, unless the link asks for the text colour; actions that go nowhere keep the run's look.
void styleHyperlink(TextRun& run, const QDomElement& ownRunProperties, const DrawingContext& ctx) {
    const QDomElement link = firstChild(ownRunProperties, QStringLiteral("hlinkClick"));
    if (link.isNull() ||
        link.attribute(QStringLiteral("action")).startsWith(QLatin1String("ppaction://noaction")))
        return;
    if (!link.hasAttributeNS(QString::fromLatin1(Ooxml::Relationships), QStringLiteral("id")) &&
        !link.hasAttribute(QStringLiteral("action")))
        return;
    bool textColour = false;
    forEachChild(
        firstChild(link, QStringLiteral("extLst")), QStringLiteral("ext"), [&](const QDomElement& ext) {
            textColour |= firstChild(ext, QStringLiteral("hlinkClr")).attribute(QStringLiteral("val")) ==
                          QLatin1String("tx");
        });
    if (!textColour)
        run.color = schemeColor(QStringLiteral("hlink"), ctx);
    run.underline = true;
}

TextRun readRunFormat(const Chain& rPr, const TextStyleSources& sources, const DrawingContext& ctx) {
    TextRun run;
    const QString sz = rPr.attr(QStringLiteral("sz"));
    bool ok = false;
    const double size = sz.toDouble(&ok) / 100.0;
    run.size = ok && size > 0 ? std::min(size, 4000.0) : 18.0;
    auto flag = [&](const QString& name) {
        const QString v = rPr.attr(name);
        return v == QLatin1String("1") || v == QLatin1String("true");
    };
    run.bold = flag(QStringLiteral("b"));
    run.italic = flag(QStringLiteral("i"));
    const QString u = rPr.attr(QStringLiteral("u"));
    run.underline = !u.isEmpty() && u != QLatin1String("none");
    const QString strike = rPr.attr(QStringLiteral("strike"));
    run.strikeOut = !strike.isEmpty() && strike != QLatin1String("noStrike");
    const QString baseline = rPr.attr(QStringLiteral("baseline"));
    if (!baseline.isEmpty())
        run.baselineShift = std::clamp(baseline.toDouble() / 100000.0, -1.0, 1.0);
    QString typeface = rPr.child(QStringLiteral("latin")).attribute(QStringLiteral("typeface"));
    if (typeface.isEmpty())
        typeface = sources.fontRefFamily;
    run.family = resolveTypeface(typeface.isEmpty() ? QStringLiteral("+mn-lt") : typeface, ctx);
    // A shape style's font colour outranks the presentation and master defaults; only the run,
    // its paragraph and the shape's own list style override it. The chain starts with exactly those.
    Chain colorChain = rPr;
    if (sources.fontRefColor && colorChain.elements.size() > 3)
        colorChain.elements.resize(3);
    const QDomElement fillHolder = colorChain.childOfAny({"solidFill", "gradFill", "noFill", "pattFill"});
    std::optional<QColor> color;
    if (!fillHolder.isNull()) {
        if (auto fill = readFillElement(fillHolder, ctx)) {
            if (fill->kind == Fill::Kind::Solid)
                color = fill->color;
            else if (!fill->stops.empty())
                color = fill->stops.front().color;
            else if (fill->kind == Fill::Kind::None)
                color = QColor(Qt::transparent);
        }
    }
    run.color = color                  ? *color
                : sources.fontRefColor ? *sources.fontRefColor
                                       : schemeColor(QStringLiteral("tx1"), ctx);
    styleHyperlink(run, rPr.elements.empty() ? QDomElement() : rPr.elements.front(), ctx);
    const QDomElement ln = rPr.child(QStringLiteral("ln"));
    if (!ln.isNull()) {
        const Stroke outline = readStroke(ln, ctx);
        if (outline.visible && outline.color.alpha() > 0) {
            run.outlineColor = outline.color;
            run.outlineWidth = outline.width;
        }
    }
    return run;
}

// Maps characters of the old symbol fonts to their Unicode equivalents, since those fonts are
// rarely installed and their letters would show instead of the intended bullet.
QString mapSymbolBullet(const QString& text, const QString& family) {
    if (text.isEmpty())
        return text;
    char16_t c = text.at(0).unicode();
    if (c >= 0xF000 && c <= 0xF0FF)
        c -= 0xF000;
    const QString f = family.toLower();
    if (f.startsWith(QLatin1String("wingdings"))) {
        switch (c) {
        case 0x6C:
            return QStringLiteral("\u25CF");
        case 0x6E:
            return QStringLiteral("\u25A0");
        case 0x71:
            return QStringLiteral("\u2751");
        case 0x75:
            return QStringLiteral("\u25C6");
        case 0x76:
            return QStringLiteral("\u2756");
        case 0xA7:
            return QStringLiteral("\u25AA");
        case 0xA8:
            return QStringLiteral("\u25FB");
        case 0xD8:
            return QStringLiteral("\u27A2");
        case 0xE0:
            return QStringLiteral("\u2192");
        case 0xE8:
            return QStringLiteral("\u2794");
        case 0xF0:
            return QStringLiteral("\u21E8");
        case 0xFC:
            return QStringLiteral("\u2714");
        case 0xFB:
            return QStringLiteral("\u2716");
        default:
            return QStringLiteral("\u25CF");
        }
    }
    if (f == QLatin1String("symbol")) {
        if (c == 0xB7)
            return QStringLiteral("\u2022");
        if (c == 0x2D)
            return QStringLiteral("\u2013");
        return QString(QChar(c));
    }
    if (c != text.at(0).unicode())
        return QString(QChar(c));
    return text;
}

bool isSymbolFont(const QString& family) {
    const QString f = family.toLower();
    return f.startsWith(QLatin1String("wingdings")) || f == QLatin1String("symbol") ||
           f.startsWith(QLatin1String("webdings"));
}

} // namespace

QString resolveTypeface(const QString& typeface, const DrawingContext& ctx) {
    if (typeface.startsWith(QLatin1String("+mj")))
        return ctx.theme ? ctx.theme->majorFont : QStringLiteral("Calibri Light");
    if (typeface.startsWith(QLatin1String("+mn")))
        return ctx.theme ? ctx.theme->minorFont : QStringLiteral("Calibri");
    return typeface;
}

void applyBodyProperties(TextBody& body, const std::vector<QDomElement>& bodyProperties) {
    const Chain chain{bodyProperties};
    auto inset = [&](const char* name, double fallback) {
        const QString v = chain.attr(QString::fromLatin1(name));
        bool ok = false;
        const double emu = v.toDouble(&ok);
        return ok ? std::clamp(emu / EmuPerPoint, 0.0, 2000.0) : fallback;
    };
    body.insets = QMarginsF(inset("lIns", 7.2), inset("tIns", 3.6), inset("rIns", 7.2), inset("bIns", 3.6));
    const QString anchor = chain.attr(QStringLiteral("anchor"));
    body.anchor = anchor == QLatin1String("ctr") ? TextBody::Anchor::Middle
                  : anchor == QLatin1String("b") ? TextBody::Anchor::Bottom
                                                 : TextBody::Anchor::Top;
    body.anchorCenter = chain.attr(QStringLiteral("anchorCtr")) == QLatin1String("1");
    body.wrap = chain.attr(QStringLiteral("wrap")) != QLatin1String("none");
    const QString vert = chain.attr(QStringLiteral("vert"));
    if (vert == QLatin1String("vert") || vert == QLatin1String("eaVert"))
        body.rotation = 90;
    else if (vert == QLatin1String("vert270"))
        body.rotation = 270;
    body.rotation += chain.attr(QStringLiteral("rot")).toDouble() / 60000.0;
    const QDomElement fit = chain.childOfAny({"normAutofit", "spAutoFit", "noAutofit"});
    if (fit.localName() == QLatin1String("normAutofit")) {
        body.fontScale =
            std::clamp(attrDouble(fit, QStringLiteral("fontScale"), 100000) / 100000.0, 0.05, 1.0);
        body.spacingReduction =
            std::clamp(attrDouble(fit, QStringLiteral("lnSpcReduction"), 0) / 100000.0, 0.0, 0.9);
        // The authoring program shows the text at the scale it stored (100 % when it stores none)
        // until the text is edited; it does not fit it again when the file opens.
        body.shrinkToFit = true;
        body.fittedByAuthor = true;
    }
}

TextBody readTextBody(const QDomElement& txBody, const TextStyleSources& sources, const DrawingContext& ctx) {
    TextBody body;
    body.sizeBasedLines = true;
    std::vector<QDomElement> bodyProps{firstChild(txBody, QStringLiteral("bodyPr"))};
    bodyProps.insert(bodyProps.end(), sources.bodyProperties.begin(), sources.bodyProperties.end());
    applyBodyProperties(body, bodyProps);

    std::vector<QDomElement> listStyles{firstChild(txBody, QStringLiteral("lstStyle"))};
    listStyles.insert(listStyles.end(), sources.listStyles.begin(), sources.listStyles.end());

    ListNumbering numbering;
    forEachChild(txBody, QStringLiteral("p"), [&](const QDomElement& p) {
        const QDomElement pPr = firstChild(p, QStringLiteral("pPr"));
        const int level = int(std::clamp<qint64>(attrInt(pPr, QStringLiteral("lvl"), 0), 0, 8));
        Chain para;
        para.elements.push_back(pPr);
        const QString levelName = QStringLiteral("lvl%1pPr").arg(level + 1);
        for (const QDomElement& ls : listStyles)
            para.elements.push_back(firstChild(ls, levelName));
        for (const QDomElement& ls : listStyles)
            para.elements.push_back(firstChild(ls, QStringLiteral("defPPr")));
        Chain defaultRun;
        for (const QDomElement& e : para.elements)
            defaultRun.elements.push_back(firstChild(e, QStringLiteral("defRPr")));

        Paragraph out;
        const QString algn = para.attr(QStringLiteral("algn"));
        out.align = algn == QLatin1String("ctr") ? Paragraph::Align::Center
                    : algn == QLatin1String("r") ? Paragraph::Align::Right
                    : (algn == QLatin1String("just") || algn == QLatin1String("dist"))
                        ? Paragraph::Align::Justify
                        : Paragraph::Align::Left;
        out.marginLeft = std::clamp(para.attr(QStringLiteral("marL")).toDouble() / EmuPerPoint, 0.0, 5000.0);
        out.indent =
            std::clamp(para.attr(QStringLiteral("indent")).toDouble() / EmuPerPoint, -5000.0, 5000.0);
        out.marginRight = std::clamp(para.attr(QStringLiteral("marR")).toDouble() / EmuPerPoint, 0.0, 5000.0);

        forEachChild(p, [&](const QDomElement& r) {
            const QString n = r.localName();
            if (n != QLatin1String("r") && n != QLatin1String("br") && n != QLatin1String("fld"))
                return;
            Chain runChain;
            runChain.elements.push_back(firstChild(r, QStringLiteral("rPr")));
            runChain.elements.insert(runChain.elements.end(), defaultRun.elements.begin(),
                                     defaultRun.elements.end());
            TextRun run = readRunFormat(runChain, sources, ctx);
            if (n == QLatin1String("br")) {
                run.text = QString(QChar(0x2028));
            } else {
                run.text = firstChild(r, QStringLiteral("t")).text();
                const QString field =
                    n == QLatin1String("fld") ? r.attribute(QStringLiteral("type")) : QString();
                if (field.startsWith(QLatin1String("slidenum")))
                    run.text = QString::number(ctx.slideNumber);
                else if (field.startsWith(QLatin1String("datetime")))
                    run.text = dateField(field, QDateTime::currentDateTime());
                run.text.replace(QLatin1Char('\n'), QChar(0x2028));
                run.text.replace(QLatin1Char('\r'), QString());
                run.text.replace(QChar(0x0B), QChar(0x2028));
                if (runChain.attr(QStringLiteral("cap")) == QLatin1String("all"))
                    run.text = run.text.toUpper();
            }
            if (!run.text.isEmpty())
                out.runs.push_back(std::move(run));
        });
        Chain endChain;
        endChain.elements.push_back(firstChild(p, QStringLiteral("endParaRPr")));
        endChain.elements.insert(endChain.elements.end(), defaultRun.elements.begin(),
                                 defaultRun.elements.end());
        out.endFormat = readRunFormat(endChain, sources, ctx);
        const TextRun& first = out.runs.empty() ? out.endFormat : out.runs.front();

        const QDomElement lnSpc = para.child(QStringLiteral("lnSpc"));
        if (!firstChild(lnSpc, QStringLiteral("spcPts")).isNull())
            out.exactLineHeight = percentOrPoints(lnSpc, first.size, 0);
        else if (!lnSpc.isNull())
            out.lineSpacing = std::clamp(percentOrPoints(lnSpc, 1.0, 1.0), 0.1, 10.0);
        out.spaceBefore = percentOrPoints(para.child(QStringLiteral("spcBef")), first.size, 0);
        out.spaceAfter = percentOrPoints(para.child(QStringLiteral("spcAft")), first.size, 0);

        // Bullets: only paragraphs with text get one.
        const QDomElement bullet = para.childOfAny({"buNone", "buChar", "buAutoNum", "buBlip"});
        const QString kind = bullet.localName();
        const bool hasText = !out.runs.empty();
        if (kind == QLatin1String("buAutoNum")) {
            const int start =
                int(std::clamp<qint64>(attrInt(bullet, QStringLiteral("startAt"), 1), 1, 32767));
            const int number =
                numbering.next(level, bullet.attribute(QStringLiteral("type")), start, hasText);
            if (hasText)
                out.bullet.text = formatListNumber(bullet.attribute(QStringLiteral("type")), number);
        } else {
            numbering.interrupt(level, hasText);
            if (kind == QLatin1String("buChar") && hasText)
                out.bullet.text = bullet.attribute(QStringLiteral("char")).left(2);
            else if (kind == QLatin1String("buBlip") && hasText)
                out.bullet.text = QStringLiteral("\u2022");
        }
        if (!out.bullet.text.isEmpty()) {
            const QDomElement buFont = para.childOfAny({"buFont", "buFontTx"});
            QString family = buFont.localName() == QLatin1String("buFont")
                                 ? resolveTypeface(buFont.attribute(QStringLiteral("typeface")), ctx)
                                 : first.family;
            if (isSymbolFont(family) || (kind == QLatin1String("buChar") && !out.bullet.text.isEmpty() &&
                                         out.bullet.text.at(0).unicode() >= 0xF000)) {
                out.bullet.text = mapSymbolBullet(out.bullet.text, family);
                family = QStringLiteral("DejaVu Sans");
            }
            out.bullet.family = family.isEmpty() ? first.family : family;
            const QDomElement size = para.childOfAny({"buSzPct", "buSzPts", "buSzTx"});
            if (size.localName() == QLatin1String("buSzPct"))
                out.bullet.sizeFactor =
                    std::clamp(attrDouble(size, QStringLiteral("val"), 100000) / 100000.0, 0.25, 4.0);
            else if (size.localName() == QLatin1String("buSzPts") && first.size > 0)
                out.bullet.sizeFactor =
                    std::clamp(attrDouble(size, QStringLiteral("val"), 1800) / 100.0 / first.size, 0.25, 4.0);
            const QDomElement color = para.childOfAny({"buClr", "buClrTx"});
            if (color.localName() == QLatin1String("buClr"))
                out.bullet.color = readColor(color, ctx).value_or(QColor());
        }
        body.paragraphs.push_back(std::move(out));
    });
    return body;
}

} // namespace KX::Tovrin
