#include "platform/brovik/editorcore/odp/OdpText.h"

#include "platform/brovik/editorcore/odp/OdfNames.h"
#include "platform/brovik/editorcore/package/XmlPart.h"
#include "platform/brovik/editorcore/text/ListNumbering.h"

#include <algorithm>
#include <optional>

namespace KX::Tovrin {

namespace {
using namespace Odf;
constexpr int MaxListDepth = 10;
constexpr double DefaultTabDistance = 1.25 * 72 / 2.54;
constexpr QRgb LinkColor = 0xff000080; // navy, what presentation programs show links in

struct Reader {
    const OdpStyles& styles;
    const OdfStyleChain& shapeStyle;
    const OdfStyleChain& shapeText; // the shape's draw:text-style-name, for its text only
    const OdfFields& fields;
    TextBody body;
    ListNumbering numbering;
    std::optional<TextRun> emptySpanFormat; // the last span without content in the paragraph

    // Resolves the font size along a chain whose entries may be percentages of what they inherit.
    static double fontSize(const OdfStyleChain& chain) {
        double factor = 1;
        for (const QDomElement& s : chain.styles()) {
            const QDomElement props = firstChild(s, QStringLiteral("text-properties"));
            const QString v = attr(props, Fo, "font-size");
            if (v.isEmpty())
                continue;
            const double pct = percent(v, -1);
            if (pct > 0) {
                factor *= pct;
                continue;
            }
            const double pt = length(v, -1);
            if (pt > 0)
                return std::clamp(pt * factor, 1.0, 4000.0);
        }
        return 18 * factor;
    }

    TextRun runFormat(const OdfStyleChain& chain) const {
        TextRun run;
        run.size = fontSize(chain);
        const QString weight = chain.property("text-properties", Fo, "font-weight");
        run.bold = weight == QLatin1String("bold") || weight.toInt() >= 600;
        const QString style = chain.property("text-properties", Fo, "font-style");
        run.italic = style == QLatin1String("italic") || style == QLatin1String("oblique");
        const QString underline = chain.property("text-properties", Style, "text-underline-style");
        run.underline = !underline.isEmpty() && underline != QLatin1String("none");
        const QString strike = chain.property("text-properties", Style, "text-line-through-style");
        run.strikeOut = !strike.isEmpty() && strike != QLatin1String("none");
        const QColor color(chain.property("text-properties", Fo, "color"));
        run.color = color.isValid() ? color : QColor(Qt::black);
        const QString transparency = chain.property("text-properties", LoExt, "opacity");
        // Some writers put "0%" into the default style meaning "not set"; text nobody can see is
        // never what an author meant, so only partial opacity is taken.
        const double opacity =
            transparency.isEmpty() ? 1.0 : std::clamp(percent(transparency, 1.0), 0.0, 1.0);
        if (opacity > 0)
            run.color.setAlphaF(opacity);
        QString family;
        const QString fontName = chain.property("text-properties", Style, "font-name");
        family = fontName.isEmpty() ? chain.property("text-properties", Fo, "font-family")
                                    : styles.fontFamily(fontName);
        family.remove(QLatin1Char('\'')).remove(QLatin1Char('"'));
        run.family = family.isEmpty() ? QStringLiteral("Liberation Sans") : family.trimmed();
        // A character background ("transparent" or none is no highlight).
        const QColor highlight(chain.property("text-properties", Fo, "background-color"));
        if (highlight.isValid() && highlight.alpha() > 0)
            run.highlight = highlight;
        const QString position = chain.property("text-properties", Style, "text-position");
        if (position.startsWith(QLatin1String("super")))
            run.baselineShift = 0.33;
        else if (position.startsWith(QLatin1String("sub")))
            run.baselineShift = -0.33;
        else if (!position.isEmpty())
            run.baselineShift = std::clamp(percent(position.section(QLatin1Char(' '), 0, 0), 0), -1.0, 1.0);
        return run;
    }

    // fo:text-transform and small capitals change the letters shown, not the text stored.
    enum class Case { Keep, Upper, Lower, Capitalize };
    static Case caseOf(const OdfStyleChain& chain) {
        const QString transform = chain.property("text-properties", Fo, "text-transform");
        if (transform == QLatin1String("uppercase"))
            return Case::Upper;
        if (transform == QLatin1String("lowercase"))
            return Case::Lower;
        if (transform == QLatin1String("capitalize"))
            return Case::Capitalize;
        if (transform.isEmpty() &&
            chain.property("text-properties", Fo, "font-variant") == QLatin1String("small-caps"))
            return Case::Upper;
        return Case::Keep;
    }

    static QString applyCase(QChar c, Case letterCase, bool wordStart) {
        switch (letterCase) {
        case Case::Upper:
            return QString(c).toUpper();
        case Case::Lower:
            return QString(c).toLower();
        case Case::Capitalize:
            return wordStart ? QString(c).toUpper() : QString(c);
        case Case::Keep:
            break;
        }
        return QString(c);
    }

    void appendText(Paragraph& p, const QString& text, const TextRun& format, bool& lastWasSpace,
                    Case letterCase = Case::Keep) {
        QString collapsed;
        for (QChar c : text) {
            if (c.isSpace() && c != QChar(0x2028) && c != QLatin1Char('\t')) {
                if (!lastWasSpace)
                    collapsed += QLatin1Char(' ');
                lastWasSpace = true;
            } else {
                collapsed += applyCase(c, letterCase, lastWasSpace);
                lastWasSpace = false;
            }
        }
        if (collapsed.isEmpty())
            return;
        TextRun run = format;
        run.text = collapsed;
        p.runs.push_back(std::move(run));
    }

    // True when a character style (not a paragraph or shape style) sets the text colour, the
    // automatic colour included.
    static bool hasCharacterColor(const OdfStyleChain& chain) {
        for (const QDomElement& s : chain.styles()) {
            if (attr(s, Style, "family") != QLatin1String("text"))
                return false;
            const QDomElement props = firstChild(s, QStringLiteral("text-properties"));
            if (props.hasAttributeNS(QString::fromLatin1(Fo), QStringLiteral("color")) ||
                attr(props, Style, "use-window-font-color") == QLatin1String("true"))
                return true;
        }
        return false;
    }

    void readInline(const QDomElement& parent, Paragraph& p, const OdfStyleChain& chain, bool& lastWasSpace,
                    int depth, bool inLink = false) {
        TextRun format = runFormat(chain);
        // Links show in the link colour unless their characters have a colour of their own.
        if (inLink && !hasCharacterColor(chain))
            format.color = QColor::fromRgba(LinkColor);
        const Case letterCase = caseOf(chain);
        for (QDomNode n = parent.firstChild(); !n.isNull(); n = n.nextSibling()) {
            if (n.isText() || n.isCDATASection()) {
                appendText(p, n.nodeValue(), format, lastWasSpace, letterCase);
                continue;
            }
            const QDomElement e = n.toElement();
            if (e.isNull())
                continue;
            const QString name = e.localName();
            if (name == QLatin1String("span") || name == QLatin1String("a")) {
                if (depth > 16)
                    continue;
                // Empty spans do not change a line of text, only a paragraph that has none.
                OdfStyleChain inner =
                    styles.chain(QStringLiteral("text"), attr(e, Text, "style-name"), OdpStyles::OwnOnly);
                inner.append(chain);
                if (!e.hasChildNodes())
                    emptySpanFormat = runFormat(inner);
                readInline(e, p, inner, lastWasSpace, depth + 1, inLink || name == QLatin1String("a"));
            } else if (name == QLatin1String("s")) {
                const int count = std::clamp(attr(e, Text, "c").toInt(), 1, 1000);
                TextRun run = format;
                run.text = QString(count, QLatin1Char(' '));
                p.runs.push_back(run);
                lastWasSpace = true;
            } else if (name == QLatin1String("tab")) {
                TextRun run = format;
                run.text = QStringLiteral("\t");
                p.runs.push_back(run);
                lastWasSpace = true;
            } else if (name == QLatin1String("line-break")) {
                // A break is as high as the text it ends, not as its own span says.
                TextRun run =
                    p.runs.empty() || p.runs.back().text.endsWith(QChar(0x2028)) ? format : p.runs.back();
                run.text = QString(QChar(0x2028));
                p.runs.push_back(run);
                lastWasSpace = false; // a space after a break is kept: it indents the new line
            } else if (name == QLatin1String("page-number")) {
                TextRun run = format;
                run.text = QString::number(fields.slideNumber);
                p.runs.push_back(run);
                lastWasSpace = false;
            } else if (name == QLatin1String("footer") || name == QLatin1String("date-time")) {
                TextRun run = format;
                run.text = name == QLatin1String("footer") ? fields.footer : fields.dateTime;
                if (!run.text.isEmpty())
                    p.runs.push_back(run);
                lastWasSpace = false;
            } else if (name == QLatin1String("note") || name == QLatin1String("annotation") ||
                       name == QLatin1String("bookmark") || name == QLatin1String("soft-page-break")) {
                continue;
            } else {
                // Other fields show their current text.
                appendText(p, e.text(), format, lastWasSpace, letterCase);
            }
        }
    }

    // The shape's styles for a paragraph at listLevel. Deeper levels of an outline placeholder
    // take their own presentation styles ("…-outline2" and on) in place of level one's, below
    // the shape's own automatic style, which speaks for every level.
    OdfStyleChain levelShapeStyle(int listLevel) const {
        OdfStyleChain result;
        for (const QDomElement& s : shapeStyle.styles()) {
            const QString name = attr(s, Style, "name");
            if (listLevel > 0 && attr(s, Style, "family") == QLatin1String("presentation") &&
                name.endsWith(QLatin1String("outline1"))) {
                const OdfStyleChain deeper = styles.chain(QStringLiteral("presentation"),
                                                          name.chopped(1) + QString::number(listLevel + 1));
                for (const QDomElement& d : deeper.styles()) {
                    if (d.localName() != QLatin1String("style") || attr(d, Style, "name") == name)
                        break;
                    result.append(d);
                }
            }
            result.append(s);
        }
        return result;
    }

    // A paragraph (text:p or text:h); listLevel < 0 outside lists.
    void readParagraph(const QDomElement& e, int listLevel, const QDomElement& listStyle, bool showLabel) {
        // The paragraph's style, the shape's presentation styles, the shape's text style, its
        // graphic styles, then the defaults: a presentation object's text follows its presentation
        // style, a drawing's text style is stronger than the graphic style it is drawn with.
        OdfStyleChain chain =
            styles.chain(QStringLiteral("paragraph"), attr(e, Text, "style-name"), OdpStyles::OwnOnly);
        bool textStyleAdded = false;
        const OdfStyleChain shapeLevel = levelShapeStyle(listLevel);
        for (const QDomElement& s : shapeLevel.styles()) {
            if (!textStyleAdded && (s.localName() == QLatin1String("default-style") ||
                                    attr(s, Style, "family") == QLatin1String("graphic"))) {
                chain.append(shapeText);
                textStyleAdded = true;
            }
            chain.append(s);
        }
        if (!textStyleAdded)
            chain.append(shapeText);
        chain.append(styles.chain(QStringLiteral("paragraph"), {}));
        chain.append(styles.chain(QStringLiteral("text"), {}));
        Paragraph p;
        const QString align = chain.property("paragraph-properties", Fo, "text-align");
        p.align = align == QLatin1String("center") ? Paragraph::Align::Center
                  : (align == QLatin1String("end") || align == QLatin1String("right"))
                      ? Paragraph::Align::Right
                  : align == QLatin1String("justify") ? Paragraph::Align::Justify
                                                      : Paragraph::Align::Left;
        const QString marginLeft = chain.property("paragraph-properties", Fo, "margin-left");
        const QString indent = chain.property("paragraph-properties", Fo, "text-indent");
        p.marginLeft = std::max(0.0, length(marginLeft, 0));
        p.indent = length(indent, 0);
        p.marginRight = std::max(0.0, length(chain.property("paragraph-properties", Fo, "margin-right"), 0));
        p.spaceBefore = std::max(0.0, length(chain.property("paragraph-properties", Fo, "margin-top"), 0));
        p.spaceAfter = std::max(0.0, length(chain.property("paragraph-properties", Fo, "margin-bottom"), 0));
        const QString lineHeight = chain.property("paragraph-properties", Fo, "line-height");
        const double pct = percent(lineHeight, -1);
        if (pct > 0)
            p.lineSpacing = std::clamp(pct, 0.1, 10.0);
        else if (length(lineHeight, 0) > 0)
            p.exactLineHeight = length(lineHeight, 0);
        readTabStops(p, chain);
        bool lastWasSpace = true;
        emptySpanFormat.reset();
        readInline(e, p, chain, lastWasSpace, 0);
        while (!p.runs.empty() && p.runs.back().text == QLatin1String(" "))
            p.runs.pop_back();
        // A paragraph without text is as high as the empty span it holds, if any.
        p.endFormat = p.runs.empty() && emptySpanFormat ? *emptySpanFormat : runFormat(chain);
        const TextRun& first = p.runs.empty() ? p.endFormat : p.runs.front();

        if (listLevel >= 0)
            applyListLevel(p, listLevel, listStyle, showLabel, first, !marginLeft.isEmpty());
        body.paragraphs.push_back(std::move(p));
    }

    // Tab stops count from the paragraph's margin; the authoring program's default distance
    // between them is 1.25 cm.
    static void readTabStops(Paragraph& p, const OdfStyleChain& chain) {
        const double distance = length(chain.property("paragraph-properties", Style, "tab-stop-distance"), 0);
        p.tabDistance = distance > 0 ? std::min(distance, 2000.0) : DefaultTabDistance;
        const QDomElement stops = chain.propertyChild("paragraph-properties", "tab-stops");
        forEachChild(stops, [&](const QDomElement& stop) {
            const double position = length(attr(stop, Style, "position"), -1);
            if (stop.localName() == QLatin1String("tab-stop") && position >= 0 && position < 2000 &&
                p.tabStops.size() < 64)
                p.tabStops.push_back(position);
        });
        std::sort(p.tabStops.begin(), p.tabStops.end());
    }

    void applyListLevel(Paragraph& p, int level, const QDomElement& listStyle, bool showLabel,
                        const TextRun& first, bool paragraphHasMargins) {
        QDomElement levelStyle;
        forEachChild(listStyle, [&](const QDomElement& l) {
            if (attr(l, Text, "level").toInt() == level + 1)
                levelStyle = l;
        });
        const bool hasText = !p.runs.empty();
        if (levelStyle.isNull()) {
            numbering.interrupt(level, hasText);
            return;
        }
        const QDomElement props = firstChild(levelStyle, QStringLiteral("list-level-properties"));
        const QDomElement alignment = firstChild(props, QStringLiteral("list-level-label-alignment"));
        // Explicit paragraph indents win; zero ones are what the programs write by default.
        const bool ownIndents = paragraphHasMargins && (p.marginLeft > 0 || p.indent != 0);
        if (!alignment.isNull()) {
            if (!ownIndents) {
                p.marginLeft = std::max(0.0, length(attr(alignment, Fo, "margin-left"), p.marginLeft));
                p.indent = length(attr(alignment, Fo, "text-indent"), p.indent);
            }
        } else {
            // The paragraph's own indents count from the level's: the label sits at its margin
            // plus indent plus the space before, its text at least the minimum label width
            // further on, and further lines at margin, space before and label width.
            const double before = length(attr(props, Text, "space-before"), 0);
            const double label = std::max(0.0, length(attr(props, Text, "min-label-width"), 0));
            const double margin = ownIndents ? p.marginLeft : 0;
            const double indent = ownIndents ? p.indent : 0;
            p.marginLeft = std::max(0.0, margin + before + label);
            p.indent = indent - label;
            p.bullet.minWidth = label;
        }
        // Paragraphs without a label of their own (further paragraphs of an item, list headers)
        // line up with the item's text, not with where its label hangs.
        if (!showLabel && !ownIndents)
            p.indent = std::max(0.0, p.indent);
        const QString kind = levelStyle.localName();
        const QDomElement text = firstChild(levelStyle, QStringLiteral("text-properties"));
        if (kind == QLatin1String("list-level-style-number")) {
            const QString format = attr(levelStyle, Style, "num-format");
            if (format.isEmpty()) {
                numbering.interrupt(level, hasText);
                return;
            }
            const QString scheme = format == QLatin1String("a")   ? QStringLiteral("alphaLcPlain")
                                   : format == QLatin1String("A") ? QStringLiteral("alphaUcPlain")
                                   : format == QLatin1String("i") ? QStringLiteral("romanLcPlain")
                                   : format == QLatin1String("I") ? QStringLiteral("romanUcPlain")
                                                                  : QStringLiteral("arabicPlain");
            const int start = std::clamp(attr(levelStyle, Text, "start-value").toInt(), 0, 32767);
            const int number = numbering.next(level, scheme, start > 0 ? start : 1, hasText && showLabel);
            if (hasText && showLabel)
                p.bullet.text = attr(levelStyle, Style, "num-prefix") + formatListNumber(scheme, number) +
                                attr(levelStyle, Style, "num-suffix");
        } else {
            numbering.interrupt(level, hasText);
            if (!hasText || !showLabel)
                return;
            if (kind == QLatin1String("list-level-style-bullet"))
                p.bullet.text = attr(levelStyle, Text, "bullet-char").left(2);
            else if (kind == QLatin1String("list-level-style-image"))
                p.bullet.text = QStringLiteral("\u2022");
            if (!p.bullet.text.isEmpty() && p.bullet.text.at(0).unicode() >= 0xE000 &&
                p.bullet.text.at(0).unicode() < 0xF900)
                p.bullet.text = QStringLiteral("\u2022"); // private-use symbols of fonts we do not have
        }
        if (p.bullet.text.isEmpty())
            return;
        applyLabelFormat(p.bullet, levelStyle, text);
        (void)first;
    }

    // Size, colour and font of a label from its level's style and text properties.
    void applyLabelFormat(Bullet& bullet, const QDomElement& levelStyle, const QDomElement& text) const {
        // Older writers give a bullet's size relative to the text on the level itself.
        const double relative = percent(attr(levelStyle, Text, "bullet-relative-size"), -1);
        bullet.sizeFactor =
            std::clamp(relative > 0 ? relative : percent(attr(text, Fo, "font-size"), 1.0), 0.2, 4.0);
        // The authoring program centres every label on its line, whatever its size.
        bullet.placement = Bullet::Placement::CentredBox;
        const QColor color(attr(text, Fo, "color"));
        if (color.isValid() && attr(text, Style, "use-window-font-color") != QLatin1String("true"))
            bullet.color = color;
        QString family = attr(text, Fo, "font-family");
        if (family.isEmpty() && !attr(text, Style, "font-name").isEmpty())
            family = styles.fontFamily(attr(text, Style, "font-name"));
        family.remove(QLatin1Char('\'')).remove(QLatin1Char('"'));
        // A label without a font of its own is set in the paragraph's font.
        if (family.trimmed().isEmpty()) {
            bullet.family.clear();
        } else if (family.contains(QLatin1String("Symbol"), Qt::CaseInsensitive)) {
            // OpenSymbol and StarSymbol are LibreOffice's own; their bullets exist in DejaVu too,
            // drawn larger, so they are scaled to the size the symbol font gives them.
            bullet.family = QStringLiteral("DejaVu Sans");
            bullet.sizeFactor *= symbolBulletScale(bullet.text);
            bullet.placement = Bullet::Placement::CentredGlyph; // the symbol fonts centre their glyphs
        } else {
            bullet.family = family.trimmed();
        }
    }

    // How much smaller DejaVu Sans must draw a symbol font's bullet for it to look as large.
    static double symbolBulletScale(const QString& bullet) {
        if (bullet.size() != 1)
            return 1;
        switch (bullet.at(0).unicode()) {
        case 0x25CF: // black circle
            return 0.72;
        case 0x25A0: // black square
        case 0x25AA:
            return 0.85;
        case 0x25C6: // black diamond
        case 0x2666:
            return 0.87;
        case 0x2714: // check mark
        case 0x2713:
            return 0.9;
        default:
            return 1;
        }
    }

    void readList(const QDomElement& list, int level, QDomElement listStyle, int depth) {
        if (depth > MaxListDepth)
            return;
        const QString styleName = attr(list, Text, "style-name");
        if (!styleName.isEmpty()) {
            const QDomElement named = styles.listStyle(styleName);
            if (!named.isNull())
                listStyle = named;
        }
        forEachChild(list, [&](const QDomElement& item) {
            const bool header = item.localName() == QLatin1String("list-header");
            if (item.localName() != QLatin1String("list-item") && !header)
                return;
            bool firstParagraph = true;
            forEachChild(item, [&](const QDomElement& c) {
                const QString n = c.localName();
                if (n == QLatin1String("p") || n == QLatin1String("h")) {
                    readParagraph(c, level, listStyle, firstParagraph && !header);
                    firstParagraph = false;
                } else if (n == QLatin1String("list")) {
                    readList(c, level + 1, listStyle, depth + 1);
                }
            });
        });
    }

    void readBlocks(const QDomElement& container) {
        QDomElement outline = shapeStyle.propertyChild("graphic-properties", "list-style");
        forEachChild(container, [&](const QDomElement& c) {
            const QString n = c.localName();
            if (n == QLatin1String("p") || n == QLatin1String("h"))
                readParagraph(c, -1, {}, false);
            else if (n == QLatin1String("list"))
                readList(c, 0, outline, 0);
        });
    }
};
// The shape's text style lends its paragraph properties only: the authoring program sets the
// characters from the paragraph and span styles and the shape's own styles.
OdfStyleChain paragraphPropertiesOnly(const OdfStyleChain& chain) {
    OdfStyleChain result;
    for (const QDomElement& s : chain.styles()) {
        QDomElement copy = s.cloneNode(true).toElement();
        for (QDomElement c = firstChild(copy, QStringLiteral("text-properties")); !c.isNull();
             c = firstChild(copy, QStringLiteral("text-properties")))
            copy.removeChild(c);
        result.append(copy);
    }
    return result;
}

// Empty paragraphs as the authoring program lays them out: an empty first paragraph keeps its
// full single height whatever proportional spacing asks, and shrinking text to fit its shape
// leaves the empty paragraphs at the end out (under top-anchored text they show nothing).
void settleEmptyParagraphs(TextBody& body) {
    auto empty = [](const Paragraph& p) { return p.runs.empty(); };
    if (!body.paragraphs.empty() && empty(body.paragraphs.front()))
        body.paragraphs.front().lineSpacing = std::max(1.0, body.paragraphs.front().lineSpacing);
    if (body.shrinkToFit && body.anchor == TextBody::Anchor::Top)
        while (body.paragraphs.size() > 1 && empty(body.paragraphs.back()))
            body.paragraphs.pop_back();
}
} // namespace

void applyOdfBodyProperties(TextBody& body, const OdfStyleChain& shapeStyle) {
    auto padding = [&](const char* name, double fallback) {
        const QString v = shapeStyle.property("graphic-properties", Fo, name);
        return v.isEmpty() ? fallback : std::clamp(length(v, fallback), 0.0, 2000.0);
    };
    // Text touches the shape's edges unless a style asks for room (the standard style usually does).
    const double all = padding("padding", 0);
    body.insets = QMarginsF(padding("padding-left", all), padding("padding-top", all),
                            padding("padding-right", all), padding("padding-bottom", all));
    const QString anchor = shapeStyle.property("graphic-properties", Draw, "textarea-vertical-align");
    body.anchor = anchor == QLatin1String("middle")   ? TextBody::Anchor::Middle
                  : anchor == QLatin1String("bottom") ? TextBody::Anchor::Bottom
                                                      : TextBody::Anchor::Top;
    body.wrap = shapeStyle.property("graphic-properties", Fo, "wrap-option") != QLatin1String("no-wrap");
    const QString fit = shapeStyle.property("graphic-properties", Draw, "fit-to-size");
    body.shrinkToFit =
        fit == QLatin1String("shrink-to-fit") || fit == QLatin1String("true") ||
        fit == QLatin1String("all") ||
        shapeStyle.property("graphic-properties", Style, "shrink-to-fit") == QLatin1String("true");
}

TextBody readOdfText(const QDomElement& container, const OdfStyleChain& shapeStyle, const OdpStyles& styles,
                     const OdfFields& fields, const QString& textStyleName) {
    const OdfStyleChain shapeText =
        paragraphPropertiesOnly(textStyleName.isEmpty() ? OdfStyleChain()
                                                        : styles.chain(QStringLiteral("paragraph"),
                                                                       textStyleName, OdpStyles::OwnOnly));
    Reader reader{styles, shapeStyle, shapeText, fields, {}, {}, {}};
    applyOdfBodyProperties(reader.body, shapeStyle);
    // Font-independent line spacing belongs to the whole text object: the shape's text style,
    // else its graphic styles, decide; the paragraphs' own styles do not. Lines then step 1.2
    // times their largest font size with the baseline a fifth of it above the line's foot.
    QString independent = shapeText.property("paragraph-properties", Style, "font-independent-line-spacing");
    if (independent.isEmpty())
        independent = shapeStyle.property("paragraph-properties", Style, "font-independent-line-spacing");
    reader.body.sizeBasedLines = independent == QLatin1String("true");
    reader.readBlocks(container);
    settleEmptyParagraphs(reader.body);
    return std::move(reader.body);
}

} // namespace KX::Tovrin
