#pragma once

#include <QString>
#include <array>

namespace KX::Tovrin {

// Counts automatically numbered paragraphs per outline level. A paragraph at a shallower level
// restarts the deeper levels; a numbered paragraph after an unnumbered one at its level restarts too.
class ListNumbering {
public:
    // The number of a numbered paragraph at level with the given scheme. Empty paragraphs
    // (counts == false) take no number.
    int next(int level, const QString& scheme, int startAt, bool counts);
    // An unnumbered paragraph at level.
    void interrupt(int level, bool counts);

private:
    struct Counter {
        QString scheme;
        int value = 0;
        bool active = false;
    };
    std::array<Counter, 10> _levels{};
};

// Formats a number in one of the DrawingML numbering schemes (arabicPeriod, romanUcPeriod,
// alphaLcParenR, ...). Unknown schemes count in arabic numerals followed by a period.
QString formatListNumber(const QString& scheme, int number);

} // namespace KX::Tovrin
