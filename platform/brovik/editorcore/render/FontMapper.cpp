#include "platform/brovik/editorcore/render/FontMapper.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QSet>

namespace KX::Tovrin {

namespace {
bool contains(const QString& lower, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (lower.contains(QLatin1String(w)))
            return true;
    return false;
}

// fontconfig's own answer for a family it has a rule for (metric-compatible aliases such as Arial
// to Nimbus Sans or Liberation Sans, Palatino to P052); empty when all it has is its last resort
// for names it does not know, where our own classification does better.
QString fontconfigSubstitute(const QString& family) {
    auto resolved = [](const QString& name) {
        const QString answer = QFontInfo(QFont(name)).family();
        const int foundry = answer.indexOf(QLatin1String(" ["));
        return foundry > 0 ? answer.left(foundry) : answer;
    };
    static const QString lastResort = resolved(QStringLiteral("KX No Such Family"));
    const QString answer = resolved(family);
    if (answer.compare(lastResort, Qt::CaseInsensitive) == 0)
        return QString();
    // Some aliases match the widths but declare ascents from their bounding boxes, which would
    // make every line a fifth taller than the original's; those are passed over.
    QFont font(answer);
    font.setPixelSize(100);
    const QFontMetricsF metrics(font);
    return metrics.ascent() + metrics.descent() <= 125 ? answer : QString();
}

QString classify(const QString& family, const QSet<QString>& installed) {
    const QString lower = family.toLower();
    auto pick = [&](std::initializer_list<const char*> candidates) {
        for (const char* c : candidates)
            if (installed.contains(QString::fromLatin1(c).toLower()))
                return QString::fromLatin1(c);
        return QString();
    };
    QString choice;
    // Metric-compatible free families, when installed, keep line breaks exactly where the author had them.
    if (lower.startsWith(QLatin1String("calibri")))
        choice = pick({"Carlito"});
    else if (lower.startsWith(QLatin1String("cambria")))
        choice = pick({"Caladea"});
    if (!choice.isEmpty())
        return choice;
    choice = fontconfigSubstitute(family);
    if (!choice.isEmpty())
        return choice;
    if (contains(lower, {"mono", "courier", "consolas", "console", "typewriter", "menlo", "source code",
                         "fira code"}))
        choice = pick({"DejaVu Sans Mono", "Liberation Mono"});
    else if (contains(lower, {"times", "georgia", "cambria", "garamond", "serif", "roman", "book", "palatino",
                              "minion", "baskerville", "constantia", "didot", "bodoni", "century", "caslon",
                              "charter", "pt serif", "tinos"}) &&
             !lower.contains(QLatin1String("sans")) && !lower.contains(QLatin1String("gothic")))
        choice = pick({"Liberation Serif", "DejaVu Serif Condensed", "DejaVu Serif"});
    else if (contains(lower, {"narrow", "condensed", "calibri", "candara", "corbel", "segoe", "tahoma",
                              "trebuchet", "franklin", "gill", "helvetica neue", "open sans", "roboto",
                              "source sans", "lato", "myriad", "avenir", "century gothic"}))
        choice = pick({"DejaVu Sans Condensed", "Liberation Sans Narrow", "Liberation Sans", "DejaVu Sans"});
    else
        // DejaVu Sans runs about a tenth wider than Arial and Helvetica; its condensed cut is closer.
        choice = pick({"Liberation Sans", "DejaVu Sans Condensed", "DejaVu Sans"});
    return choice.isEmpty() ? QStringLiteral("DejaVu Sans") : choice;
}
} // namespace

QString mapFontFamily(const QString& family) {
    static QMutex mutex;
    static QHash<QString, QString> answers;
    static QSet<QString> installed;
    QMutexLocker lock(&mutex);
    if (installed.isEmpty()) {
        const QStringList families = QFontDatabase().families();
        for (const QString& f : families)
            installed.insert(f.toLower());
        installed.insert(QStringLiteral("\x01")); // not empty even with no fonts
    }
    auto it = answers.constFind(family);
    if (it != answers.constEnd())
        return *it;
    const QString mapped = installed.contains(family.toLower()) ? family : classify(family, installed);
    answers.insert(family, mapped);
    return mapped;
}

} // namespace KX::Tovrin
