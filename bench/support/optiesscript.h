#pragma once
// The options synchronisation as a plain SQL script, the peer of the
// benchmarks that time the options engine (alone, or inside a whole
// transfer): on a target with the source attached as "src" it updates the
// combinations the target has (fields, and of Data the article list only
// when both hold one), adds the ones it lacks, and replaces every choice's
// rows by the source's, adding the choices the target lacks. The target has
// no index on the codes: "NOT IN (subquery)" lets SQLite build one for the
// statement, where a correlated "NOT EXISTS" would read the table per row.
//
//     db->execute("ATTACH DATABASE ? AS src", {bron});
//     bench::OptiesScript(*db);

#include "database/databasebackend.h"

#include <QString>

namespace bench {

inline void OptiesScript(supplink::DatabaseBackend& db)
{
    db.execute(QStringLiteral(
        "UPDATE LocksHingesCombi SET Polygon = s.Polygon, Lim_min_W = s.Lim_min_W, Lim_min_H = s.Lim_min_H, "
        "Lim_min_A = s.Lim_min_A, Lim_max_W = s.Lim_max_W, Lim_max_H = s.Lim_max_H, Lim_max_A = s.Lim_max_A, "
        "Data = CASE WHEN LocksHingesCombi.Data IS s.Data THEN LocksHingesCombi.Data "
        "WHEN ifnull(LocksHingesCombi.Data, '') = '' THEN s.Data "
        "ELSE json_set(LocksHingesCombi.Data, '$.LHArticles', json_extract(s.Data, '$.LHArticles')) END "
        "FROM src.LocksHingesCombi s WHERE s.Code = LocksHingesCombi.Code"));
    db.execute(QStringLiteral("INSERT INTO LocksHingesCombi (Code, Description, Polygon, Lim_min_W, "
                              "Lim_min_H, Lim_min_A, Lim_max_W, "
                              "Lim_max_H, Lim_max_A, Data) SELECT s.Code, s.Description, s.Polygon, "
                              "s.Lim_min_W, s.Lim_min_H, s.Lim_min_A, "
                              "s.Lim_max_W, s.Lim_max_H, s.Lim_max_A, s.Data FROM src.LocksHingesCombi s "
                              "WHERE s.Code NOT IN (SELECT Code "
                              "FROM LocksHingesCombi WHERE Code IS NOT NULL) ORDER BY s.ID"));
    db.execute(
        QStringLiteral("DELETE FROM CustomLH WHERE fkCustomLHCombi IN (SELECT t.ID FROM CustomLHCombi t "
                       "INNER JOIN src.CustomLHCombi s ON s.Code = t.Code)"));
    db.execute(QStringLiteral(
        "INSERT INTO CustomLHCombi (Code, Description) SELECT s.Code, s.Description FROM "
        "src.CustomLHCombi s WHERE s.Code NOT IN (SELECT Code FROM CustomLHCombi WHERE Code IS "
        "NOT NULL) ORDER BY s.ID"));
    db.execute(QStringLiteral(
        "INSERT INTO CustomLH (fkCustomLHCombi, fkLockHingeCombi) SELECT tk.ID, tc.ID FROM src.CustomLH r "
        "INNER JOIN src.CustomLHCombi sk ON sk.ID = r.fkCustomLHCombi INNER JOIN CustomLHCombi tk ON tk.Code "
        "= "
        "sk.Code INNER JOIN src.LocksHingesCombi sc ON sc.ID = r.fkLockHingeCombi INNER JOIN "
        "LocksHingesCombi tc "
        "ON tc.Code = sc.Code ORDER BY r.ID"));
}

} // namespace bench
