#pragma once
// A supplier's library and a user's library for the tests of the library
// synchronisation: SQLite files of the 3.40 or 3.50 layout, or SQLite files
// of the Jet layout that the program opens as Jet databases (jetstandin.h).
// Main rows are added per family with a number of child rows whose marker
// (GrooveShape of grooves, fkArtAct of article usages) names their parent and
// their number ("P1/2"), so that a test sees which parent a child came from.

#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "fixtures/jetstandin.h"
#include "start/globals.h"
#include "support/testenvironment.h"

#include <QtTest>
#include <algorithm>
#include <memory>

namespace supplink::test {

// One library file: SQLite of a version, or the Jet layout of a version opened as Jet.
struct LibSoort
{
    bool jet = false;
    fixtures::Version versie{3, 40};
    QString app = QStringLiteral("VELMORA");
};

} // namespace supplink::test

Q_DECLARE_METATYPE(supplink::test::LibSoort)

namespace supplink::test {

inline LibSoort sqliteLib(int minor = 40, const QString& app = QStringLiteral("VELMORA"))
{
    return {false, {3, minor}, app};
}

inline LibSoort jetLib(int major = 3, int minor = 30, const QString& app = QStringLiteral("VELMORA"))
{
    return {true, {major, minor}, app};
}

// The tables of a family (1 to 5): main table, child table, link field and the child's marker field.
struct LibFamilie
{
    QString tabel;
    QString kind;
    QString koppeling;
    QString merk;
};

inline const LibFamilie& libFamilie(int code)
{
    static const QList<LibFamilie> alle = {
        {QStringLiteral("PaneGrooveTable"), QStringLiteral("PaneGroove"), QStringLiteral("fkPaneGrooveTable"),
         QStringLiteral("GrooveShape")},
        {QStringLiteral("EdgeGroove"), QString(), QString(), QString()},
        {QStringLiteral("OuterGrooveTable"), QStringLiteral("OuterGroove"),
         QStringLiteral("fkOuterGrooveTable"), QStringLiteral("GrooveShape")},
        {QStringLiteral("TreshHoldCombi"), QStringLiteral("TreshHoldArticleUsage"), QStringLiteral("fkCombi"),
         QStringLiteral("fkArtAct")},
        {QStringLiteral("TreshHoldCombiExt"), QStringLiteral("TreshHoldExtArticleUsage"),
         QStringLiteral("fkCombi"), QStringLiteral("fkArtAct")},
        {QStringLiteral("LocksHingesCombi"), QString(), QString(), QString()},
        {QStringLiteral("CustomLHCombi"), QString(), QString(), QString()},
    };
    return alle.at(code - 1);
}

// The program-wide selection of a family.
inline ItemCollection& libSelectie(int code)
{
    ProgramState& g = globals();
    ItemCollection* const selecties[] = {&g.gColVaksponningenGeselecteerd,
                                         &g.gColRandsponningenGeselecteerd,
                                         &g.gColElementsponningenGeselecteerd,
                                         &g.gColLaagreliefGeselecteerd,
                                         &g.gColNeutenGeselecteerd,
                                         &g.gColHSCombiesGeselecteerd,
                                         &g.gColHSKeuzesGeselecteerd};
    return *selecties[code - 1];
}

inline void selecteer(int familie, const QStringList& codes)
{
    libSelectie(familie) = fixtures::items(codes);
}

// No selections, and the two library hardware options as given.
inline void libBeginToestand(bool combinaties = true, bool keuzes = true)
{
    for (int f = 1; f <= 7; ++f)
        libSelectie(f).clear();
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenLIBHSCombies = combinaties;
    opties->ImporterenLIBHSKeuzes = keuzes;
    globals().gImportOpties = opties;
}

struct LibBestand
{
    QString bestand; // the SQLite file
    QString pad;     // the path the engine is given (the stand-in's for a Jet library)
    std::unique_ptr<fixtures::FixtureDb> db;
};

struct LibPaar
{
    fixtures::JetStandIns jet;
    LibBestand bron;
    LibBestand doel;

    LibPaar(const TestEnvironment& env, LibSoort bronSoort, LibSoort doelSoort)
    {
        maak(bron, env.path(QStringLiteral("bron.db")), bronSoort);
        maak(doel, env.path(QStringLiteral("doel.db")), doelSoort);
    }

    void maak(LibBestand& b, const QString& bestand, const LibSoort& soort)
    {
        b.bestand = bestand;
        const bool ok =
            soort.jet ? fixtures::makeJetDatabase(bestand, fixtures::Kind::Library, soort.versie, soort.app)
                      : fixtures::makeDatabase(bestand, fixtures::Kind::Library, soort.versie, soort.app);
        QVERIFY(ok);
        b.pad = soort.jet ? jet.add(bestand) : bestand;
        b.db = std::make_unique<fixtures::FixtureDb>(bestand);
    }

    // Adds a main row of the family with its children (when the layout has the child table); returns its ID.
    static qint64 rij(fixtures::FixtureDb& db, int familie, const QString& code, int kinderen = 2,
                      const QVariantMap& extra = {})
    {
        const LibFamilie& f = libFamilie(familie);
        QVariantMap waarden = extra;
        waarden[QStringLiteral("Code")] = code;
        if (!waarden.contains(QStringLiteral("Description")))
            waarden[QStringLiteral("Description")] = QStringLiteral("Omschrijving ") + code;
        const qint64 id = db.insert(f.tabel, waarden);
        for (int k = 1; k <= kinderen && !f.kind.isEmpty(); ++k)
            db.insert(
                f.kind,
                {{f.koppeling, id},
                 {f.merk, code + QLatin1Char('/') + QString::number(k)},
                 {familie == 4 || familie == 5 ? QStringLiteral("Count") : QStringLiteral("PaneSide"), k}});
        return id;
    }

    // The markers of the children of the main rows with exactly this code, sorted.
    static QStringList kinderen(fixtures::FixtureDb& db, int familie, const QString& code)
    {
        const LibFamilie& f = libFamilie(familie);
        const RecordsetPtr rijen = db.connection()->openRecordset(
            QStringLiteral("SELECT c.%1 FROM %2 AS c INNER JOIN %3 AS p ON p.ID = c.%4 WHERE p.Code = ? "
                           "COLLATE BINARY")
                .arg(f.merk, f.kind, f.tabel, f.koppeling),
            {code});
        QStringList merken;
        for (; !rijen->eof(); rijen->moveNext())
            merken << rijen->value(0).toString();
        std::sort(merken.begin(), merken.end());
        return merken;
    }

    // The codes of the main table, sorted.
    static QStringList codes(fixtures::FixtureDb& db, int familie)
    {
        const RecordsetPtr rijen = db.connection()->openRecordset(
            QStringLiteral("SELECT Code FROM %1").arg(libFamilie(familie).tabel));
        QStringList lijst;
        for (; !rijen->eof(); rijen->moveNext())
            lijst << rijen->value(0).toString();
        std::sort(lijst.begin(), lijst.end());
        return lijst;
    }
};

// The markers "code/1" .. "code/n".
inline QStringList merken(const QString& code, int n = 2)
{
    QStringList lijst;
    for (int k = 1; k <= n; ++k)
        lijst << code + QLatin1Char('/') + QString::number(k);
    return lijst;
}

} // namespace supplink::test
