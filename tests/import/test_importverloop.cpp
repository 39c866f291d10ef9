// The course of an article import run: the product table it names in the
// log (an SQL Server one without its password), the plan a transfer reads
// (set, or changed in place, between runs and during one), a product table
// that will not begin a transaction, a cancel through a shared run context in
// each of the run's loops, and the run marked live while it lasts.
#include "leestestsupport.h"

#include "database/backendopeners.h"
#include "database/clspt.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "fixtures/sqlserverstandin.h"
#include "platform/runcontext.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "support/recordinguiservices.h"

#include <QScopeGuard>
#include <QTest>
#include <chrono>
#include <functional>

using namespace supplink;
using namespace supplink::test;

namespace {

// Code and description; the description is written on an existing article only in the second form.
const QString kBeschrijvingNiet =
    QStringLiteral("VELD ( Ja ; Description ; AlfaNumeriek ; Ja ; Nee ; Nee ; Nee ; Nee )");
const QString kBeschrijvingWel =
    QStringLiteral("VELD ( Ja ; Description ; AlfaNumeriek ; Ja ; Nee ; Ja ; Nee ; Nee )");
const QStringList kPlan = {
    "TABEL ( Article )",
    "VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
    kBeschrijvingNiet,
};

// An SQLite product table that refuses to begin a transaction, as a locked database does.
class WeigertTransactie : public SqliteBackend
{
public:
    static std::shared_ptr<WeigertTransactie> open(const QString& pad)
    {
        return std::shared_ptr<WeigertTransactie>(new WeigertTransactie(openHandle(pad, {}), pad));
    }
    void beginTrans() override
    {
        throw AppError(DbErrorNumber::Unspecified, QStringLiteral("De database is vergrendeld."));
    }

private:
    WeigertTransactie(sqlite3* db, const QString& pad) : SqliteBackend(db, pad) {}
};

// Runs a step once, on the first existing article of a run.
class BijBestaand : public Opnemer
{
public:
    std::function<void()> stap;
    void BestaandOnderdeel(qint32&) override
    {
        if (const auto eenmaal = std::exchange(stap, {}))
            eenmaal();
    }
};

// Whether the engine's run is live, at every progress line.
class LevendOpnemer : public Opnemer
{
public:
    const RunContext* run = nullptr;
    QList<bool> levend;
    void Voortgang(const QString& actie, const QString& omschrijving) override
    {
        Opnemer::Voortgang(actie, omschrijving);
        levend << (run->live() && RunContext::anyLive());
    }
};

QString beschrijving(const QString& pad, const char* code)
{
    fixtures::FixtureDb db(pad);
    return db.scalar("SELECT Description FROM Article WHERE Code = ?", {code}).toString();
}

} // namespace

class TestImportVerloop : public QObject
{
    Q_OBJECT

private slots:
    // The log names an SQL Server product table by server, database and user, on opening and when it
    // fails to open; its password shows nowhere.
    void serverTargetShownWithoutPassword_data()
    {
        QTest::addColumn<QString>("wachtwoord");
        QTest::addColumn<QString>("meer"); // fields after the password (a description that is not five)
        QTest::addColumn<bool>("opent");
        QTest::addColumn<QString>("getoond");
        const QString volledig = "* server=srv  database=Velmora  gebruiker=sa";
        QTest::newRow("opens") << "geheim" << "" << true << volledig;
        QTest::newRow("refused login") << "Fout!Wachtwoord42" << "" << false << volledig;
        QTest::newRow("description of six fields") << "geheim" << "\bextra" << false << "* server=srv";
    }

    void serverTargetShownWithoutPassword()
    {
        QFETCH(QString, wachtwoord);
        QFETCH(QString, meer);
        QFETCH(bool, opent);
        QFETCH(QString, getoond);
        ImportOmgeving o({1, 2});
        QVERIFY(fixtures::makeServerDatabase(o.env.path("server-pt.db"), fixtures::Kind::ProductTable, {3, 40}));
        fixtures::StandInServer server(o.env.path("server-pt.db"), o.env.path("crm.db"));
        const auto vorige = backendOpeners().sqlServer;
        backendOpeners().sqlServer = server.opener();
        const auto terug = qScopeGuard([&vorige] { backendOpeners().sqlServer = vorige; });

        o.bron.BronPad = o.env.path("artikelen.csv");
        schrijf(o.bron.BronPad, "A;Artikel a\n");
        o.bron.IsCSV = true;
        o.bron.EersteRijImporteren = true;
        const QChar scheiding(8);
        const QString doel = QStringLiteral("*srv") + scheiding + "Velmora" + scheiding + "eSQLSecurity" +
                             scheiding + "sa" + scheiding + wachtwoord + QString(meer).replace("\\b", scheiding);
        clsImportBestand engine;
        Opnemer opnemer;
        engine.SetOntvanger(&opnemer);
        engine.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        QCOMPARE(engine.OverzettenBestand(o.bron, doel), opent);

        QVERIFY(opnemer.regels.contains(qMakePair(QStringLiteral("Doel bestand"), getoond)));
        QCOMPARE(opnemer.heeftActie("Openen productentabel mislukt! '" + getoond + "'"), !opent);
        QCOMPARE(opnemer.fouten.size(), opent ? 0 : 1);
        if (opent) {
            QCOMPARE(engine.AantalNieuw(), 1);
            QCOMPARE(server.logins.last().password, wachtwoord);
        }
        // Nowhere in the log, the messages or the error windows.
        QStringList getoondeTeksten = opnemer.hoofdActies;
        for (const auto& [actie, omschrijving] : opnemer.regels)
            getoondeTeksten << actie << omschrijving;
        for (const auto& melding : o.ui.messages)
            getoondeTeksten << melding.text;
        for (const auto& fout : o.ui.errors)
            getoondeTeksten << fout.message << fout.details;
        for (const QString& tekst : getoondeTeksten)
            QVERIFY2(!tekst.contains(wachtwoord), qPrintable(tekst));
    }

    void planChangedBetweenRuns_data()
    {
        QTest::addColumn<bool>("opZijnPlaats");
        QTest::newRow("a line changed in place") << true;
        QTest::newRow("the plan replaced") << false;
    }

    // A transfer reads the plan as it is when it starts: a plan changed between two runs is the second
    // run's plan.
    void planChangedBetweenRuns()
    {
        QFETCH(bool, opZijnPlaats);
        ImportOmgeving o({1, 2});
        o.opties(true, false);
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("Article", {{"Code", "A"}, {"Description", "Oud"}});
        }
        ImportProef imp;
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"A", "Nieuw"}}, kPlan);
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(beschrijving(o.pad, "A"), QString("Oud"));

        if (opZijnPlaats) {
            imp.ImportPlan()->at(2)->SetScriptRegel(kBeschrijvingWel);
        } else {
            ScriptBlok ander = *imp.ImportPlan();
            ander[2] = maakPlan({kBeschrijvingWel}).first();
            imp.SetImportPlan(ander);
        }
        QVERIFY(imp.overzetten());
        QCOMPARE(beschrijving(o.pad, "A"), QString("Nieuw"));
        QCOMPARE(imp.AantalFouten(), 0);
    }

    // A plan changed in place while a transfer runs (from inside an event) is the next run's plan: the
    // running one goes on by the plan it started with, every line and every kind of plan line alike.
    void planChangedDuringRun()
    {
        ImportOmgeving o({1, 2});
        {
            fixtures::FixtureDb db(o.pad);
            db.insert("Article", {{"Code", "A"}, {"Description", "Oud"}});
        }
        ImportProef imp;
        BijBestaand opnemer;
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"A", "Nieuw"}, {"N1", "een"}, {"N2", "twee"}},
                {"TABEL ( Article )", "VELD ( Ja ; Code ; AlfaNumeriek ; Ja ; Ja ; Nee ; Nee ; Nee )",
                 kBeschrijvingWel, "ID ( Remark ; eerste )"});
        opnemer.stap = [&imp]() {
            imp.ImportPlan()->at(2)->SetScriptRegel(kBeschrijvingNiet);
            imp.ImportPlan()->at(3)->SetScriptRegel(QStringLiteral("ID ( Remark ; tweede )"));
        };
        QVERIFY(imp.openen(o.pad));
        QVERIFY(imp.overzetten());
        QCOMPARE(imp.AantalNieuw(), 2);
        QCOMPARE(beschrijving(o.pad, "A"), QString("Nieuw"));
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT group_concat(Remark, '|') FROM Article WHERE Code LIKE 'N%'").toString(),
                 QString("eerste|eerste"));
        QCOMPARE(imp.ImportPlan()->at(3)->Tekst, QString("ID ( Remark ; tweede )"));
    }

    void failedBeginIsReported()
    {
        ImportOmgeving o({1, 2});
        ImportProef imp;
        Opnemer opnemer;
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        imp.zet(o.bron, {{"A", "a"}, {"B", "b"}}, kPlan);
        QVERIFY(imp.openen(o.pad));
        imp.pt().cnPT->SluitenConnectie();
        imp.pt().cnPT->SQLiteConnectie = WeigertTransactie::open(o.pad);

        QVERIFY(!imp.overzetten());
        QCOMPARE(o.ui.errors.size(), 1);
        QVERIFY(o.ui.errors.first().details.contains("De database is vergrendeld."));
        QCOMPARE(imp.AantalFouten(), 1);
        QCOMPARE(opnemer.fouten, QList<qint32>{1});
        QCOMPARE(imp.AantalNieuw(), 0);
        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), 0);
    }

    void cancelInEachLoop_data()
    {
        QTest::addColumn<QString>("stap"); // the main step in which the first turn of the event loop cancels
        QTest::addColumn<int>("regels");   // lines read
        QTest::addColumn<int>("artikelen");
        QTest::addColumn<bool>("gekoppeld"); // the first pair linked
        QTest::newRow("reading") << "Inlezen bestand leverancier" << 1 << 0 << false;
        QTest::newRow("adding") << "Productentabel, nieuwe artikelen toevoegen en prijswijzigingen doorvoeren"
                                << 4 << 1 << false;
        QTest::newRow("linking") << "Links/Rechts verwijzingen aanmaken" << 4 << 4 << true;
    }

    // The driver's Cancel arrives through the run context it shares with the engine, inside a turn of the
    // event loop: each loop of the run stops after the line in hand.
    void cancelInEachLoop()
    {
        QFETCH(QString, stap);
        QFETCH(int, regels);
        QFETCH(int, artikelen);
        QFETCH(bool, gekoppeld);
        ImportOmgeving o({1, 2, 7});
        const QString csv = o.env.path("artikelen.csv");
        schrijf(csv, "Code;Omschrijving;Spiegel\nL1;links;R1\nR1;rechts;L1\nL2;links;R2\nR2;rechts;L2\n");
        o.bron.BronPad = csv;
        o.bron.IsCSV = true;

        auto run = std::make_shared<RunContext>();
        run->setYieldInterval(std::chrono::milliseconds(0));
        Opnemer opnemer;
        run->setYieldFunction([&] {
            if (opnemer.hoofdActies.last() == stap)
                run->cancel();
        });
        clsImportBestand imp;
        imp.SetRunContext(run);
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        QVERIFY(!imp.OverzettenBestand(o.bron, o.pad));
        QVERIFY(imp.Geannuleerd());
        QCOMPARE(imp.GelezenRegels().size(), regels);
        QCOMPARE(imp.AantalFouten(), 0);

        fixtures::FixtureDb db(o.pad);
        QCOMPARE(db.scalar("SELECT COUNT(*) FROM Article").toInt(), artikelen);
        if (artikelen < 4)
            return;
        QCOMPARE(db.scalar("SELECT fkMirroredArticle FROM Article WHERE Code = 'L1'").toString(),
                 gekoppeld ? QString("R1") : QString());
        QVERIFY(!db.scalar("SELECT fkMirroredArticle FROM Article WHERE Code = 'L2'").isValid());
    }

    void runIsLiveWhileItRuns_data()
    {
        QTest::addColumn<bool>("lijst");
        QTest::newRow("listing for a selection step") << true;
        QTest::newRow("transfer") << false;
    }

    void runIsLiveWhileItRuns()
    {
        QFETCH(bool, lijst);
        ImportOmgeving o({1, 2});
        const QString csv = o.env.path("artikelen.csv");
        schrijf(csv, "Code;Omschrijving\nA;a\nB;b\n");
        o.bron.BronPad = csv;
        o.bron.IsCSV = true;

        auto run = std::make_shared<RunContext>();
        LevendOpnemer opnemer;
        opnemer.run = run.get();
        clsImportBestand imp;
        imp.SetRunContext(run);
        imp.SetOntvanger(&opnemer);
        imp.ColItemsGeselecteerd = std::make_shared<ItemCollection>();
        QVERIFY(!run->live());
        QVERIFY(lijst ? imp.InlezenBestand(o.bron, true) : imp.OverzettenBestand(o.bron, o.pad));
        QVERIFY(!opnemer.levend.isEmpty());
        QVERIFY(!opnemer.levend.contains(false));
        QVERIFY(!run->live());
        QVERIFY(!RunContext::anyLive());
    }
};

QTEST_MAIN(TestImportVerloop)
#include "test_importverloop.moc"
