// Fuzz target of the expression evaluator: any text is stored and, when it parses, evaluated in
// every way a client can, with the options taken from the first byte.

#include "mathparser/mathparser.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 4096)
        return 0;
    const std::uint8_t flags = data[0];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    supplink::clsMathParser parser;
    parser.OpUnitConv(flags & 1);
    parser.OpDMSConv(flags & 2);
    parser.OpAssignExplicit(flags & 4);
    parser.AngleUnit((flags & 8) ? QStringLiteral("deg") : QStringLiteral("rad"));

    const bool stored = parser.StoreExpression(text);
    QVector<QVector<QVariant>> table;
    parser.ET_Dump(table);
    if (!stored) {
        parser.Eval();
        return 0;
    }
    for (int i = 1; i <= parser.VarTop(); ++i)
        parser.VarValue(i, i * 0.75 - 1);
    parser.Eval();
    if (flags & 16)
        parser.AngleUnit(QStringLiteral("grad"));
    parser.Eval();
    parser.Eval1(-2.5);
    parser.EvalMulti({0, 1, -1, 1e6});
    parser.ET_Dump(table);
    supplink::clsMathParser copy = parser;
    copy.Eval();
    return 0;
}
