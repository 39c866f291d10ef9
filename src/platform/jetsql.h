#pragma once
// Turns a statement in the Jet dialect into one SQLite runs with the same
// meaning, for connections whose data lives in SQLite (Jet mirrors and
// SQLite product tables):
//
//   DELETE * FROM t / DELETE t.* FROM t   DELETE FROM t
//   SELECT [DISTINCT] TOP n ...           SELECT [DISTINCT] ... LIMIT n (at the end of that SELECT)
//   x = True, x <> False                  x <> 0   (a Yes/No value is "not 0")
//   x = False, x <> True                  x = 0
//   True, False elsewhere                 -1, 0    (the values Jet stores)
//   a & b & c                             (ifnull(a,'') || ifnull(b,'') || ifnull(c,''))
//   #12/31/2020 14:05#, #2020-12-31#      '2020-12-31 14:05:00', '2020-12-31 00:00:00'
//   "text"                                'text'
//   [C:\data\bron.mdb].Article            extdb1.Article, with the file in the attachments
//   Article IN 'C:\data\bron.mdb'         extdb1.Article, likewise
//
// IIf, [bracketed names], Is Null, Count() and the other forms SQLite knows
// stay as they are. Text inside string literals and brackets is never
// changed. A statement the translator does not understand passes unchanged,
// so that SQLite reports it.

#include <QList>
#include <QString>

namespace supplink {

struct JetAttachment
{
    QString alias; // the schema name the statement now uses, "extdb1", "extdb2", ...
    QString path;  // the database file as the statement named it
    bool operator==(const JetAttachment&) const = default;
};

struct JetTranslation
{
    QString sql;
    // Files the statement names by path, in order of first appearance: run
    // the statement with each attached under its alias.
    QList<JetAttachment> attachments;
};

JetTranslation translateJetStatement(const QString& jetSql);

// The translated statement alone (for statements that name no other file).
QString translateJetSql(const QString& jetSql);

} // namespace supplink
