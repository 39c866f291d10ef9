#pragma once
// Work-preparation databases for the tests and the benchmark of the
// work-preparation synchronisation: a source and a target of any storage
// (SQLite files, or Jet files stood in for by SQLite files of the Jet layout
// that the connection object opens as Jet, with the Jet dialect), and groove
// shapes with two geometry rows, three nodes each and two names.
//
//     test::WkvPaar paar(env, test::Opslag::Jet, {3, 0}, test::Opslag::SQLite, {3, 40});
//     paar.vorm(*paar.src, "S1");                 // type 1, contra stored as -1
//     selecteer({"S1"});
//     engine.Sync(paar.bron, paar.doel, "1");

#include "database/historystandins.h"
#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "fixtures/profilefixtures.h"
#include "start/globals.h"
#include "support/testenvironment.h"

#include <QHash>
#include <QtTest>
#include <memory>

namespace supplink::test {

enum class Opslag
{
    SQLite,
    Jet
};

// The selected groove figures of the run.
inline void selecteer(const QStringList& codes)
{
    globals().gColSponningfigurenGeselecteerd = fixtures::items(codes);
}

inline bool heeftKolom(fixtures::FixtureDb& db, const QString& tabel, const QString& kolom)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM pragma_table_info(?) WHERE name = ?"),
                     {tabel, kolom})
               .toInt() > 0;
}

struct WkvPaar
{
    QString bron; // the paths Sync gets
    QString doel;
    QString bronDb; // the SQLite files that hold the tables
    QString doelDb;
    std::unique_ptr<fixtures::FixtureDb> src;
    std::unique_ptr<fixtures::FixtureDb> dst;
    OpenersGuard openers;

    WkvPaar(const TestEnvironment& env, Opslag bronOpslag, fixtures::Version bronVersie, Opslag doelOpslag,
            fixtures::Version doelVersie, const QString& bronApp = QStringLiteral("VELMORA"),
            const QString& doelApp = QStringLiteral("VELMORA"))
    {
        QHash<QString, QString> jet;
        auto maak = [&](const QString& naam, Opslag opslag, fixtures::Version versie, const QString& app,
                        QString& pad, QString& db) {
            db = env.path(naam + QStringLiteral(".db"));
            QVERIFY(fixtures::makeDatabase(db, fixtures::Kind::WorkPreparation, versie, app));
            pad = db;
            if (opslag == Opslag::Jet) {
                pad = makeDummyMdb(env.path(naam + QStringLiteral(".mdb")));
                jet.insert(pad, db);
            }
        };
        maak(QStringLiteral("bron"), bronOpslag, bronVersie, bronApp, bron, bronDb);
        maak(QStringLiteral("doel"), doelOpslag, doelVersie, doelApp, doel, doelDb);
        installJetFiles(jet);
        src = std::make_unique<fixtures::FixtureDb>(bronDb);
        dst = std::make_unique<fixtures::FixtureDb>(doelDb);
    }

    // A shape of the 3.40 or Jet layout: a geometry row for each variant (Yes stored as `contra`), three
    // nodes each (with angle values where the layout has the columns) and two names. Returns its ID.
    static qint64 vorm(fixtures::FixtureDb& db, const QString& code, int type = 1, int contra = -1)
    {
        using fixtures::fixedNode;
        db.exec(QStringLiteral("BEGIN")); // one disk flush for the whole shape
        const QList<fixtures::ShapeNode> nodes{fixedNode(0, 0.005), fixedNode(0.004, 0.002),
                                               fixtures::formulaNode(0.01, QStringLiteral("r/2"))};
        fixtures::addGrooveShape(db, code, 200, 150, nodes, 0, type);
        fixtures::addGrooveShape(db, code, 210, 160, nodes, contra, type);
        const qint64 id =
            db.scalar(QStringLiteral("SELECT ID FROM GrooveShape WHERE Code = ?"), {code}).toLongLong();
        db.exec(QStringLiteral("UPDATE GrooveShape SET Priority = 7, fkCategory = 99 WHERE ID = ?"), {id});
        if (heeftKolom(db, QStringLiteral("GrooveShapeNodes"), QStringLiteral("Angle")))
            db.exec(QStringLiteral(
                        "UPDATE GrooveShapeNodes SET Angle = 12.5, AngleRule = 2, Reference = 1 WHERE "
                        "fkGrooveShapeGeom IN (SELECT ID FROM GrooveShapeGeom WHERE fkGrooveShape = ?)"),
                    {id});
        for (int breedte : {40, 60})
            db.insert(QStringLiteral("GrooveShapeNames"),
                      {{QStringLiteral("fkGrooveShape"), id},
                       {QStringLiteral("Width"), breedte},
                       {QStringLiteral("Name"), code + QStringLiteral("-naam")}});
        db.exec(QStringLiteral("COMMIT"));
        return id;
    }

    // A shape of the 3.50 layout.
    static qint64 vorm35(fixtures::FixtureDb& db, const QString& code, int type = 1,
                         const QString& data = QStringLiteral("{\"nodes\":[]}"))
    {
        return db.insert(QStringLiteral("GrooveShape"), {{QStringLiteral("Code"), code},
                                                         {QStringLiteral("Description"), code},
                                                         {QStringLiteral("Type"), type},
                                                         {QStringLiteral("Data"), data}});
    }

    // Counts of the target: shapes, geometry rows, nodes, names.
    QList<qint64> doelAantallen()
    {
        QList<qint64> aantallen{dst->count(QStringLiteral("GrooveShape"))};
        for (const char* tabel : {"GrooveShapeGeom", "GrooveShapeNodes", "GrooveShapeNames"}) {
            const QString t = QString::fromLatin1(tabel);
            aantallen << (heeftKolom(*dst, t, QStringLiteral("ID")) ? dst->count(t) : 0);
        }
        return aantallen;
    }
};

} // namespace supplink::test
