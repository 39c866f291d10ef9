#pragma once
// How the synchronisation engines compare codes (of combinations, choices,
// tables, articles...): without regard to case, for every letter, as Jet
// compares text ("ÄÖ" equals "äö"). One place for it, so that every match of
// the engines follows the same rule.
//
//     if (CodesGelijk(item->Code, code)) ...

#include <QString>

namespace supplink {

inline bool CodesGelijk(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace supplink
