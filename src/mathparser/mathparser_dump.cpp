// Table dump of the expression evaluator: ET_Dump copies the expression table, with its column
// titles, into a two-dimensional array for display or inspection.

#include "mathparser/mathparser.h"

namespace supplink {

void clsMathParser::ET_Dump(QVector<QVector<QVariant>>& table) const
{
    const int n = int(m_rows.size());
    // Slots that receive a row's result show that row's value once the table was evaluated.
    std::vector<int> feeder(std::size_t(n) * kSlots, -1);
    for (int r = 0; r < n; ++r) {
        const Row& row = m_rows[std::size_t(r)];
        if (row.argOf > 0 && row.argOf <= n && row.argIdx >= 1 && row.argIdx <= kSlots)
            feeder[std::size_t(row.argOf - 1) * kSlots + std::size_t(row.argIdx - 1)] = r;
    }
    const auto cellValue = [&](std::size_t index) { return index < m_values.size() ? m_values[index] : 0.0; };
    const auto slotValue = [&](int r, int s) -> double {
        const Slot& slot = m_rows[std::size_t(r)].arg[s];
        const int source = feeder[std::size_t(r) * kSlots + std::size_t(s)];
        if (source >= 0 && m_hasRun)
            return cellValue(std::size_t(source) * kStride + kValueCell);
        if (slot.idx > 0 && std::size_t(slot.idx) <= m_varValues.size() && m_hasRun)
            return slot.sign * (m_evalOneX ? m_evalOneValue : m_varValues[std::size_t(slot.idx - 1)]);
        return cellValue(std::size_t(r) * kStride + std::size_t(s));
    };

    table.clear();
    table.resize(qsizetype(n) + 1);
    for (auto& line : table)
        line.resize(16);
    const char* const titles[] = {"Fun",    "ArgTop",    "A1 Idx",     "Arg1 Name", "Arg1 Value",
                                  "A2 Idx", "Arg2 Name", "Arg2 Value", "ArgOf",     "ArgIdx",
                                  "Value",  "PriLvl",    "PosInExpr",  "PriIdx",    "Cond"};
    for (int c = 0; c < 15; ++c)
        table[0][c + 1] = QString::fromLatin1(titles[c]);
    for (int r = 0; r < n; ++r) {
        const Row& row = m_rows[std::size_t(r)];
        QVector<QVariant>& line = table[qsizetype(r) + 1];
        line[1] = row.fun;
        line[2] = row.argTop;
        line[3] = row.arg[0].idx;
        line[4] = row.arg[0].name;
        line[5] = slotValue(r, 0);
        line[6] = row.arg[1].idx;
        line[7] = row.arg[1].name;
        line[8] = slotValue(r, 1);
        line[9] = row.argOf;
        line[10] = row.argIdx;
        line[11] = cellValue(std::size_t(r) * kStride + kValueCell);
        line[12] = row.priLvl;
        line[13] = row.posInExpr;
        line[14] = row.priIdx;
        line[15] = row.cond;
    }
}

} // namespace supplink
