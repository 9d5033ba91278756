#include "platform/brovik/editorcore/render/FontMapper.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <utility>

namespace KX::Tovrin {

namespace {
bool contains(const QString& lower, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (lower.contains(QLatin1String(w)))
            return true;
    return false;
}

// Whether a family's regular and bold cuts declare line metrics of a text face. Some families
// are installed twice (URW's OpenType and Type 1 files); the Type 1 cuts take their ascents from
// bounding boxes, which would make every line a fifth taller than the original's.
bool saneMetrics(const QString& family) {
    for (const bool bold : {false, true}) {
        QFont font(family);
        font.setPixelSize(100);
        font.setBold(bold);
        const QFontMetricsF metrics(font);
        if (metrics.ascent() + metrics.descent() > 125)
            return false;
    }
    return true;
}

// The family pinned to one foundry with sane metrics ("P052 [UKWN]"), fontconfig's choice first;
// left alone when it has a single foundry; empty when no cut will do. Without the pin Qt may take
// the regular cut from one set of files and the bold from the other.
QString saneCut(const QString& family, const QString& preferred, const QStringList& families) {
    QStringList cuts;
    if (!preferred.isEmpty())
        cuts.push_back(preferred);
    const QString prefix = family + QStringLiteral(" [");
    for (const QString& f : families)
        if (f.startsWith(prefix, Qt::CaseInsensitive) && !cuts.contains(f))
            cuts.push_back(f);
    if (cuts.isEmpty())
        cuts.push_back(family);
    for (const QString& cut : cuts)
        if (saneMetrics(cut))
            return cut;
    return QString();
}

// fontconfig's own answer for a family it has a rule for (metric-compatible aliases such as Arial
// to Liberation Sans, Palatino to P052); empty when all it has is its last resort for names it
// does not know, where our own classification does better.
QString fontconfigSubstitute(const QString& family, const QStringList& families) {
    static const QString lastResort = QFontInfo(QFont(QStringLiteral("KX No Such Family"))).family();
    const QString answer = QFontInfo(QFont(family)).family();
    if (answer.compare(lastResort, Qt::CaseInsensitive) == 0)
        return QString();
    const int foundry = answer.indexOf(QLatin1String(" ["));
    return foundry > 0 ? saneCut(answer.left(foundry), answer, families)
                       : saneCut(answer, QString(), families);
}

struct FontChoice {
    QString family;
    bool keepsMetrics = false; // the author's own family or a metric-compatible one
};

FontChoice classify(const QString& family, const QSet<QString>& installed, const QStringList& families) {
    const QString lower = family.toLower();
    auto pick = [&](std::initializer_list<const char*> candidates) {
        for (const char* c : candidates)
            if (installed.contains(QString::fromLatin1(c).toLower()))
                return QString::fromLatin1(c);
        return QString();
    };
    QString choice;
    // Metric-compatible free families, when installed, keep line breaks exactly where the author had them.
    // Monotype drew Century Gothic and Book Antiqua to the widths of ITC Avant Garde Gothic and
    // Palatino, whose URW clones fontconfig does not offer for them.
    static const std::pair<const char*, const char*> compatible[] = {{"calibri", "Carlito"},
                                                                     {"cambria", "Caladea"},
                                                                     {"century gothic", "URW Gothic"},
                                                                     {"book antiqua", "P052"}};
    for (const auto& [prefix, clone] : compatible)
        if (lower.startsWith(QLatin1String(prefix)) &&
            installed.contains(QString::fromLatin1(clone).toLower())) {
            choice = saneCut(QString::fromLatin1(clone), QString(), families);
            break;
        }
    if (!choice.isEmpty())
        return {choice, true};
    choice = fontconfigSubstitute(family, families);
    if (!choice.isEmpty())
        return {choice, true};
    if (contains(lower, {"mono", "courier", "consolas", "console", "typewriter", "menlo", "source code",
                         "fira code"}))
        choice = pick({"DejaVu Sans Mono", "Liberation Mono"});
    else if (contains(lower, {"times", "georgia", "cambria", "garamond", "serif", "roman", "book", "palatino",
                              "minion", "baskerville", "constantia", "didot", "bodoni", "century", "caslon",
                              "charter", "pt serif", "tinos"}) &&
             !lower.contains(QLatin1String("sans")) && !lower.contains(QLatin1String("gothic")))
        choice = pick({"Liberation Serif", "DejaVu Serif Condensed", "DejaVu Serif"});
    else if (contains(lower, {"verdana", "lucida sans", "lucida grande"}))
        // Wide humanist faces: DejaVu Sans comes closest to their widths.
        choice = pick({"DejaVu Sans", "Liberation Sans"});
    else if (contains(lower, {"narrow", "condensed", "calibri", "candara", "corbel", "segoe", "tahoma",
                              "trebuchet", "franklin", "gill", "helvetica neue", "open sans", "roboto",
                              "source sans", "lato", "myriad", "avenir", "century gothic"}))
        choice = pick({"DejaVu Sans Condensed", "Liberation Sans Narrow", "Liberation Sans", "DejaVu Sans"});
    else
        // DejaVu Sans runs about a tenth wider than Arial and Helvetica; its condensed cut is closer.
        choice = pick({"Liberation Sans", "DejaVu Sans Condensed", "DejaVu Sans"});
    return {choice.isEmpty() ? QStringLiteral("DejaVu Sans") : choice, false};
}

FontChoice choose(const QString& family) {
    static QMutex mutex;
    static QHash<QString, FontChoice> answers;
    static QSet<QString> installed;
    static QStringList families;
    QMutexLocker lock(&mutex);
    if (installed.isEmpty()) {
        families = QFontDatabase().families();
        for (const QString& f : families) {
            installed.insert(f.toLower());
            const int foundry = f.indexOf(QLatin1String(" ["));
            if (foundry > 0)
                installed.insert(f.left(foundry).toLower());
        }
        installed.insert(QStringLiteral("\x01")); // not empty even with no fonts
    }
    auto it = answers.constFind(family);
    if (it != answers.constEnd())
        return *it;
    FontChoice choice;
    if (installed.contains(family.toLower())) {
        // The family the author named is kept even when its metrics are unusual (CJK faces).
        choice.family = saneCut(family, QString(), families);
        if (choice.family.isEmpty())
            choice.family = family;
        choice.keepsMetrics = true;
    } else {
        choice = classify(family, installed, families);
    }
    answers.insert(family, choice);
    return choice;
}

} // namespace

QString mapFontFamily(const QString& family) {
    return choose(family).family;
}

bool keepsAuthorMetrics(const QString& family) {
    return choose(family).keepsMetrics;
}

} // namespace KX::Tovrin
