#pragma once
// A supplier's options database and a user's options database for the tests
// of the options synchronisation, as SQLite files or as Jet files (SQLite
// files of a Jet layout behind the Jet stand-in), with builders for
// combinations, their articles, hardware tables, dimensions and choices, and
// the program-wide selections and import options a run reads.
//
//     test::OptPaar paar(env, test::Opslag::Jet, {3, 20}, {3, 20});
//     const qint64 c = paar.combi(*paar.src, "C1");
//     paar.artikel(*paar.src, c, "ART1");
//     test::kies({"C1"}, {}, {});
//     clsSyncOpt engine; engine.Sync(paar.bron, paar.doel, true);

#include "fixtures/designdatabases.h"
#include "fixtures/jetstandin.h"
#include "ptfixture.h"
#include "start/globals.h"
#include "support/testenvironment.h"

#include <QHash>
#include <memory>

namespace supplink::test {

// The listener: every event, and their order.
using OptLog = PtLog;

enum class Opslag
{
    SQLite,
    Jet
};

// A version from its text ("3.20").
inline fixtures::Version versie(const QString& tekst)
{
    return {tekst.section(QLatin1Char('.'), 0, 0).toInt(), tekst.section(QLatin1Char('.'), 1, 1).toInt()};
}

// The two import-option flags of the options run.
inline void zetOptOpties(bool tabellen, bool keuzes)
{
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenTabellen = tabellen;
    opties->ImporterenHSKeuzes = keuzes;
    globals().gImportOpties = opties;
}

inline ItemCollection gekozenItems(const QStringList& codes)
{
    return fixtures::items(codes);
}

// The selections of the hardware steps: combinations, choices and tables.
inline void kies(const QStringList& combies, const QStringList& keuzes, const QStringList& tabellen)
{
    globals().gColHSCombiesGeselecteerd = gekozenItems(combies);
    globals().gColHSKeuzesGeselecteerd = gekozenItems(keuzes);
    globals().gColHSTabellenGeselecteerd = gekozenItems(tabellen);
}

// The first column of every row of a query, as texts.
inline QStringList eersteKolom(fixtures::FixtureDb& db, const QString& sql, const QVariantList& params = {})
{
    QStringList waarden;
    const std::optional<ResultData> rijen = db.connection()->run(sql, params);
    for (qsizetype i = 0; rijen && i < rijen->rows.size(); ++i)
        waarden << rijen->rows.row(i)[0].toString();
    return waarden;
}

struct OptPaar
{
    Opslag opslag;
    fixtures::Version bronVersie;
    fixtures::Version doelVersie;
    // The paths the engine is given.
    QString bron;
    QString doel;
    // The SQLite files holding the tables.
    QString bronTabellen;
    QString doelTabellen;
    std::unique_ptr<fixtures::FixtureDb> src;
    std::unique_ptr<fixtures::FixtureDb> dst;
    std::unique_ptr<fixtures::JetStandInOpeners> jet;
    // The layout of each side, as a version code: other applications' files have the 3.30 layout.
    int bronLayout = 340;
    int doelLayout = 340;

    OptPaar(const TestEnvironment& env, Opslag soort, fixtures::Version bronV = {3, 40},
            fixtures::Version doelV = {3, 40}, const QString& bronApp = QStringLiteral("VELMORA"),
            const QString& doelApp = QStringLiteral("VELMORA"))
        : opslag(soort), bronVersie(bronV), doelVersie(doelV)
    {
        bronTabellen = env.path(QStringLiteral("bron.db"));
        doelTabellen = env.path(QStringLiteral("doel.db"));
        if (soort == Opslag::SQLite) {
            fixtures::makeDatabase(bronTabellen, fixtures::Kind::Options, bronV, bronApp);
            fixtures::makeDatabase(doelTabellen, fixtures::Kind::Options, doelV, doelApp);
            bron = bronTabellen;
            doel = doelTabellen;
        } else {
            fixtures::makeJetDatabase(bronTabellen, fixtures::Kind::Options, bronV, bronApp);
            fixtures::makeJetDatabase(doelTabellen, fixtures::Kind::Options, doelV, doelApp);
            bron = fixtures::makeJetStandInFile(env.path(QStringLiteral("bron.mdb")));
            doel = fixtures::makeJetStandInFile(env.path(QStringLiteral("doel.mdb")));
            jet = std::make_unique<fixtures::JetStandInOpeners>(
                QHash<QString, QString>{{bron, bronTabellen}, {doel, doelTabellen}});
        }
        src = std::make_unique<fixtures::FixtureDb>(bronTabellen);
        dst = std::make_unique<fixtures::FixtureDb>(doelTabellen);
        const auto layout = [](fixtures::Version v, const QString& app) {
            return app.compare(QLatin1String("VELMORA"), Qt::CaseInsensitive) == 0 ? v.code() : 330;
        };
        bronLayout = layout(bronV, bronApp);
        doelLayout = layout(doelV, doelApp);
    }

    // Whether the layout keeps the articles of a combination in LocksHingesArticle with fkCombi.
    static bool nieuwFormaat(int layout) { return layout >= 310; }

    qint64 combi(fixtures::FixtureDb& db, const QString& code, const QVariantMap& extra = {})
    {
        QVariantMap v = extra;
        v[QStringLiteral("Code")] = code;
        if (!v.contains(QStringLiteral("Description")))
            v[QStringLiteral("Description")] = QStringLiteral("Combi ") + code;
        return db.insert(QStringLiteral("LocksHingesCombi"), v);
    }
    qint64 artikel(fixtures::FixtureDb& db, qint64 combiId, const QString& artikelCode,
                   const QVariantMap& extra = {})
    {
        QVariantMap rij = extra;
        rij[nieuwFormaat(&db == src.get() ? bronLayout : doelLayout) ? QStringLiteral("fkCombi")
                                                                     : QStringLiteral("fkLocksHingesCombi")] =
            combiId;
        rij[QStringLiteral("fkArticle")] = artikelCode;
        return db.insert(QStringLiteral("LocksHingesArticle"), rij);
    }
    qint64 tabel(fixtures::FixtureDb& db, const QString& code)
    {
        return db.insert(QStringLiteral("LocksHingesTable"),
                         {{QStringLiteral("Code"), code},
                          {QStringLiteral("Description"), QStringLiteral("Tabel ") + code}});
    }
    qint64 dimensie(fixtures::FixtureDb& db, qint64 tabelId, qint64 combiId, double hoogte)
    {
        return db.insert(QStringLiteral("LocksHingesType"), {{QStringLiteral("fkLocksHingesTable"), tabelId},
                                                             {QStringLiteral("fkLocksHingesCombi"), combiId},
                                                             {QStringLiteral("MaxHeight"), hoogte},
                                                             {QStringLiteral("MaxWidth"), hoogte / 2}});
    }
    qint64 keuze(fixtures::FixtureDb& db, const QString& code)
    {
        return db.insert(QStringLiteral("CustomLHCombi"),
                         {{QStringLiteral("Code"), code},
                          {QStringLiteral("Description"), QStringLiteral("Keuze ") + code}});
    }
    qint64 keuzeRij(fixtures::FixtureDb& db, qint64 keuzeId, qint64 combiId)
    {
        return db.insert(QStringLiteral("CustomLH"), {{QStringLiteral("fkCustomLHCombi"), keuzeId},
                                                      {QStringLiteral("fkLockHingeCombi"), combiId}});
    }

    qint64 id(fixtures::FixtureDb& db, const QString& tabel, const QString& code)
    {
        return db.scalar(QStringLiteral("SELECT ID FROM %1 WHERE Code = ?").arg(tabel), {code}).toLongLong();
    }
    // The article codes of a combination in the target, sorted.
    QStringList doelArtikelen(const QString& combiCode)
    {
        const QString fk =
            nieuwFormaat(doelLayout) ? QStringLiteral("fkCombi") : QStringLiteral("fkLocksHingesCombi");
        const qint64 c = id(*dst, QStringLiteral("LocksHingesCombi"), combiCode);
        return eersteKolom(
            *dst,
            QStringLiteral("SELECT fkArticle FROM LocksHingesArticle WHERE %1 = ? ORDER BY fkArticle")
                .arg(fk),
            {c});
    }
    // The codes of the combinations a choice of the target holds, sorted.
    QStringList doelKeuzeCombies(const QString& keuzeCode)
    {
        return eersteKolom(
            *dst,
            QStringLiteral("SELECT LocksHingesCombi.Code FROM CustomLH INNER JOIN CustomLHCombi ON "
                           "CustomLHCombi.ID = CustomLH.fkCustomLHCombi INNER JOIN LocksHingesCombi ON "
                           "LocksHingesCombi.ID = CustomLH.fkLockHingeCombi WHERE CustomLHCombi.Code = ? "
                           "ORDER BY LocksHingesCombi.Code"),
            {keuzeCode});
    }
};

} // namespace supplink::test
