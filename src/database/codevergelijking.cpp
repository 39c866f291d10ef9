#include "database/codevergelijking.h"

#include "platform/codecompare.h"

#include <QStringList>

namespace supplink {

QString CodesGelijk(const QString& links, const QString& rechts)
{
    return links + QStringLiteral(" = ") + rechts + QStringLiteral(" COLLATE ") + QLatin1String(kCodeCollation);
}

QString CodesGelijkOp(const DatabaseBackend& db, const QString& links, const QString& rechts)
{
    return links + QStringLiteral(" = ") + rechts + db.codeCollate();
}

QString CodeInLijstOp(const DatabaseBackend& db, const QString& kolom, const QString& lijst)
{
    return kolom + db.codeCollate() + QStringLiteral(" In (") + lijst + QLatin1Char(')');
}

QString CodeInLijst(const QString& kolom, qsizetype aantal, const DatabaseBackend& db)
{
    QStringList tekens;
    for (qsizetype i = 0; i < qMax<qsizetype>(aantal, 1); ++i)
        tekens << QStringLiteral("?");
    return CodeInLijstOp(db, kolom, tekens.join(QStringLiteral(", ")));
}

bool ZelfdeCode(const QString& a, const QString& b)
{
    return codesEqual(a, b);
}

QString CodeSleutel(const QString& code)
{
    return foldCode(code);
}

} // namespace supplink
