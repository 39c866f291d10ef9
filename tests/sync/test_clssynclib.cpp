// The library synchronisation run on its three paths: Jet libraries (SQLite
// files of the Jet layout opened as Jet), SQLite libraries of the 3.40 layout
// and of the 3.50 layout; the version checks, the family codes, the child rows
// of new and existing main rows, empty selections, cancel, and the failures
// that must reach the transfer driver as errors.

#include "libfixture.h"
#include "ptfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssynclib.h"
#include "transfer/jsonmerge.h"

#include <QFile>
#include <QtTest>

using namespace supplink;
using test::LibPaar;
using test::PtLog;

namespace {

void run(LibPaar& paar, PtLog& log, const QString& families, bool versies = true,
         clsSyncLIB* engine = nullptr)
{
    clsSyncLIB eigen;
    clsSyncLIB& e = engine ? *engine : eigen;
    e.SetOntvanger(&log);
    e.Sync(paar.bron.pad, paar.doel.pad, versies, families);
}

QString fouten(const PtLog& log)
{
    return log.startingWith(QStringLiteral("Error")).join(QLatin1Char('\n'));
}

bool heeftTabel(fixtures::FixtureDb& db, const QString& tabel)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = ?"), {tabel}).toInt() >
           0;
}

const QString kJet = QStringLiteral("jet");
const QString kSqlite = QStringLiteral("sqlite");

test::LibSoort soortVan(const QString& pad)
{
    return pad == kJet ? test::jetLib() : test::sqliteLib();
}

} // namespace

class TestClsSyncLIB : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::libBeginToestand(); }

    void emptyFamilyCodesDoesNothing();
    void familiesWithTheirChildren_data();
    void familiesWithTheirChildren();
    void captionsAndProgress_data();
    void captionsAndProgress();
    void edgeGroovesAlone_data();
    void edgeGroovesAlone();
    void hardwareFamiliesOnlyBetween350Libraries_data();
    void hardwareFamiliesOnlyBetween350Libraries();
    void versionPairs_data();
    void versionPairs();
    void jetVersionRecordMissing_data();
    void jetVersionRecordMissing();
    void existingMainRows_data();
    void existingMainRows();
    void codesThatDifferOnlyInCase_data();
    void codesThatDifferOnlyInCase();
    void categoryNeverCopied_data();
    void categoryNeverCopied();
    void hardwareCombinationsAndChoices();
    void hardwareOptionsOff();
    void emptySelection_data();
    void emptySelection();
    void marksOfAnEarlierSourceLinkNoChildren();
    void codesWithQuotesAndLetters();
    void cancelDuringTheSecondFamily_data();
    void cancelDuringTheSecondFamily();
    void cancelBeforeTheRun();
    void nonNumericFamilyCode();
    void openFailuresAreCounted_data();
    void openFailuresAreCounted();
    void failingChildStepIsCounted_data();
    void failingChildStepIsCounted();
    void handWrittenLibrary();
};

void TestClsSyncLIB::emptyFamilyCodesDoesNothing()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    PtLog log;
    clsSyncLIB engine;
    engine.SetOntvanger(&log);
    // Files that do not exist: nothing may even try to open them.
    engine.Sync(env.path(QStringLiteral("geen.db")), env.path(QStringLiteral("niets.db")), true, QString());
    QVERIFY(log.volgorde.isEmpty());
    QVERIFY(log.totaal.isEmpty());
    QVERIFY(ui.messages.isEmpty() && ui.errors.isEmpty());
    QVERIFY(!QFile::exists(env.path(QStringLiteral("geen.db"))));
}

void TestClsSyncLIB::familiesWithTheirChildren_data()
{
    QTest::addColumn<test::LibSoort>("bron");
    QTest::addColumn<test::LibSoort>("doel");
    QTest::addColumn<bool>("versies");
    QTest::newRow("jet") << test::jetLib() << test::jetLib() << true;
    QTest::newRow("sqlite 3.40") << test::sqliteLib() << test::sqliteLib() << true;
    // Without the check a Jet source reaches an SQLite target by the Jet path: the source is attached to the
    // target for the child statement.
    QTest::newRow("jet into sqlite, no check") << test::jetLib() << test::sqliteLib() << false;
}

void TestClsSyncLIB::familiesWithTheirChildren()
{
    QFETCH(test::LibSoort, bron);
    QFETCH(test::LibSoort, doel);
    QFETCH(bool, versies);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, bron, doel);
    for (int f = 1; f <= 5; ++f) {
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("A"), 2);
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("B"), 3);
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("N"), 1); // not selected
        test::selecteer(f, {QStringLiteral("A"), QStringLiteral("B")});
    }
    // The target's own rows push its IDs away from the source's.
    for (int f = 1; f <= 5; ++f)
        LibPaar::rij(*paar.doel.db, f, QStringLiteral("EIGEN"), 1);

    PtLog log;
    run(paar, log, QStringLiteral("1;2;3;4;5"), versies);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    for (int f = 1; f <= 5; ++f) {
        QCOMPARE(LibPaar::codes(*paar.doel.db, f),
                 (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("EIGEN")}));
        if (f == 2)
            continue;
        QCOMPARE(LibPaar::kinderen(*paar.doel.db, f, QStringLiteral("A")),
                 test::merken(QStringLiteral("A"), 2));
        QCOMPARE(LibPaar::kinderen(*paar.doel.db, f, QStringLiteral("B")),
                 test::merken(QStringLiteral("B"), 3));
        QCOMPARE(LibPaar::kinderen(*paar.doel.db, f, QStringLiteral("EIGEN")),
                 test::merken(QStringLiteral("EIGEN"), 1));
    }
    // The child values themselves come along.
    QCOMPARE(
        paar.doel.db->scalar(QStringLiteral("SELECT Count FROM TreshHoldArticleUsage WHERE fkArtAct = 'B/3'"))
            .toInt(),
        3);
    QCOMPARE(paar.doel.db->scalar(QStringLiteral("SELECT PaneSide FROM PaneGroove WHERE GrooveShape = 'A/2'"))
                 .toInt(),
             2);
    QCOMPARE(paar.doel.db->scalar(QStringLiteral("SELECT Description FROM EdgeGroove WHERE Code = 'B'")),
             QVariant(QStringLiteral("Omschrijving B")));
}

void TestClsSyncLIB::captionsAndProgress_data()
{
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QStringList>("kopjes");
    QTest::newRow("jet") << kJet
                         << QStringList{"Openen bron bibliotheek",   "Openen doel bibliotheek",
                                        "Overzetten Vak Sponningen", "OverzettenPaneGrooveTable",
                                        "OverzettenPaneGroove",      "Overzetten Laagreliëf Combi's",
                                        "OverzettenTreshHoldCombi",  "OverzettenTreshHoldArticleUsage"};
    QTest::newRow("sqlite") << kSqlite
                            << QStringList{"Openen bron bibliotheek",       "Openen doel bibliotheek",
                                           "Overzetten Vak Sponningen",     "OverzettenPaneGrooveTable",
                                           "Overzetten Laagreliëf Combi's", "OverzettenTreshHoldCombi"};
}

void TestClsSyncLIB::captionsAndProgress()
{
    QFETCH(QString, pad);
    QFETCH(QStringList, kopjes);
    test::TestEnvironment env;
    LibPaar paar(env, soortVan(pad), soortVan(pad));
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("A"));
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("B"));
    LibPaar::rij(*paar.bron.db, 4, QStringLiteral("C"));
    test::selecteer(1, {QStringLiteral("A"), QStringLiteral("B")});
    test::selecteer(4, {QStringLiteral("C")});
    PtLog log;
    bool levend = false;
    log.bijNieuw = [&] { levend = RunContext::anyLive(); };
    run(paar, log, QStringLiteral("1;4"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QVERIFY(levend); // the run is live while it copies
    QVERIFY(!RunContext::anyLive());
    QCOMPARE(log.hoofdActies, kopjes);
    QCOMPARE(log.hoofdActiesDone, 0);
    QVERIFY(log.lines.contains(QStringLiteral("Bron bestand: ") + paar.bron.pad));
    QVERIFY(log.lines.contains(QStringLiteral("Doel bestand: ") + paar.doel.pad));
    QCOMPARE(log.totaal, QList<qint32>{1});
    // Each copier counts its own rows; the progress runs on over all of them.
    QCOMPARE(log.nieuw, (QList<qint32>{1, 2, 1}));
    QCOMPARE(log.huidig, (QList<qint32>{1, 2, 3}));
    // The Jet path lists the codes it hands to the child statement.
    const bool jet = pad == kJet;
    QCOMPARE(log.lines.contains(QStringLiteral("A: geselecteerd")), jet);
    QCOMPARE(log.lines.contains(QStringLiteral("C: geselecteerd")), jet);
}

void TestClsSyncLIB::edgeGroovesAlone_data()
{
    QTest::addColumn<QString>("pad");
    QTest::newRow("jet") << kJet;
    QTest::newRow("sqlite") << kSqlite;
}

void TestClsSyncLIB::edgeGroovesAlone()
{
    QFETCH(QString, pad);
    test::TestEnvironment env;
    LibPaar paar(env, soortVan(pad), soortVan(pad));
    for (int f = 1; f <= 5; ++f) {
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("A"));
        test::selecteer(f, {QStringLiteral("A")});
    }
    PtLog log;
    run(paar, log, QStringLiteral("2"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(LibPaar::codes(*paar.doel.db, 2), QStringList{QStringLiteral("A")});
    for (int f : {1, 3, 4, 5})
        QVERIFY(LibPaar::codes(*paar.doel.db, f).isEmpty());
    QVERIFY(!heeftTabel(*paar.bron.db, QStringLiteral("tmpSelected")));
    QCOMPARE(log.hoofdActies.mid(2), (QStringList{"Overzetten Rand Sponningen", "OverzettenEdgeGroove"}));
}

void TestClsSyncLIB::hardwareFamiliesOnlyBetween350Libraries_data()
{
    QTest::addColumn<test::LibSoort>("soort");
    QTest::newRow("jet") << test::jetLib();
    QTest::newRow("sqlite 3.40") << test::sqliteLib(40);
}

void TestClsSyncLIB::hardwareFamiliesOnlyBetween350Libraries()
{
    QFETCH(test::LibSoort, soort);
    test::TestEnvironment env;
    LibPaar paar(env, soort, soort);
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("A"));
    test::selecteer(1, {QStringLiteral("A")});
    test::selecteer(6, {QStringLiteral("C1")});
    test::selecteer(7, {QStringLiteral("K1")});
    PtLog log;
    run(paar, log, QStringLiteral("6;7;1;0;8"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(log.hoofdActies.mid(2, 2),
             (QStringList{"Overzetten Vak Sponningen", "OverzettenPaneGrooveTable"}));
    QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Hang en Sluitwerk Combi's")));
    QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Hang en Sluitwerk Keuzes")));
    QCOMPARE(log.totaal, QList<qint32>{1});
    QCOMPARE(LibPaar::codes(*paar.doel.db, 1), QStringList{QStringLiteral("A")});
}

void TestClsSyncLIB::versionPairs_data()
{
    QTest::addColumn<test::LibSoort>("bron");
    QTest::addColumn<test::LibSoort>("doel");
    QTest::addColumn<bool>("versies");
    // "geweigerd", or the path taken: "jet" (child statement), "sqlite" (child copy), "3.50" (hardware)
    QTest::addColumn<QString>("uitkomst");
    QTest::addColumn<QStringList>("regels");
    QTest::addColumn<QString>("box");

    const QString nietOndersteund =
        QStringLiteral("Controle bestanden: Combinatie bestandversies Doel/Bron niet ondersteund!");
    QTest::newRow("jet, same application, other versions")
        << test::jetLib(3, 30) << test::jetLib(3, 0) << true << "jet" << QStringList{} << QString();
    QTest::newRow("jet, other application")
        << test::jetLib(3, 30) << test::jetLib(3, 30, QStringLiteral("QUENTARO")) << true << "geweigerd"
        << QStringList{"Controle doelbestand: Bibliotheek bron/doel voor verschillende applicaties!",
                       "Controle doelbestand: Doel: QUENTARO", "Controle doelbestand: Bron: VELMORA"}
        << QString();
    QTest::newRow("sqlite 3.40 and 3.50") << test::sqliteLib(40) << test::sqliteLib(50) << true << "geweigerd"
                                          << QStringList{"Controle bron/doelbestand: Bibliotheek bron/doel "
                                                         "aangeboden versies zijn niet compatibel!",
                                                         "Controle bron/doelbestand: Bron: VELMORA 3.40",
                                                         "Controle bron/doelbestand: Doel: VELMORA 3.50"}
                                          << QString();
    QTest::newRow("sqlite, other application")
        << test::sqliteLib(40) << test::sqliteLib(40, QStringLiteral("QUENTARO")) << true << "geweigerd"
        << QStringList{"Controle bron/doelbestand: Bibliotheek bron/doel voor verschillende applicaties!",
                       "Controle bron/doelbestand: Bron: VELMORA",
                       "Controle bron/doelbestand: Doel: QUENTARO"}
        << QString();
    QTest::newRow("sqlite 3.40 pair")
        << test::sqliteLib(40) << test::sqliteLib(40) << true << "sqlite" << QStringList{} << QString();
    QTest::newRow("sqlite 3.50 pair")
        << test::sqliteLib(50) << test::sqliteLib(50) << true << "3.50" << QStringList{} << QString();
    QTest::newRow("jet into sqlite")
        << test::jetLib() << test::sqliteLib() << true << "geweigerd"
        << QStringList{nietOndersteund, "Controle doelbestand: Doel: ", "Controle doelbestand: Bron: "}
        << QStringLiteral(
               "Bronbestand is van een te lage versie, converteer het bronbestand eerst naar versie 3.4 "
               "of hoger!\r\n\r\nDoel: \r\nBron: ");
    QTest::newRow("sqlite into jet")
        << test::sqliteLib() << test::jetLib() << true << "geweigerd"
        << QStringList{nietOndersteund, "Controle doelbestand: Doelformaat is ouder als bronformaat."}
        << QStringLiteral(
               "Doelbestand heeft een lagere versie als het bronbestand, deze combinatie wordt niet "
               "ondersteund!\r\n\r\nDoel: \r\nBron: ");
    QTest::newRow("no check, sqlite into jet")
        << test::sqliteLib() << test::jetLib() << false << "jet" << QStringList{} << QString();
    // Without the check two 3.50 libraries take the SQLite path, whose child copy finds no child tables
    // there: an error of the run, never a half-written library.
    QTest::newRow("no check, 3.50 pair") << test::sqliteLib(50) << test::sqliteLib(50) << false
                                         << "sqlite, fout" << QStringList{} << QString();
}

void TestClsSyncLIB::versionPairs()
{
    QFETCH(test::LibSoort, bron);
    QFETCH(test::LibSoort, doel);
    QFETCH(bool, versies);
    QFETCH(QString, uitkomst);
    QFETCH(QStringList, regels);
    QFETCH(QString, box);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, bron, doel);
    const bool kinderen = bron.versie.code() < 350;
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("A"), kinderen ? 2 : 0);
    test::selecteer(1, {QStringLiteral("A")});
    PtLog log;
    clsSyncLIB engine;
    run(paar, log, QStringLiteral("1;6"), versies, &engine);

    for (const QString& regel : std::as_const(regels))
        QVERIFY2(log.lines.contains(regel),
                 qPrintable(regel + QStringLiteral(" in\n") + log.lines.join('\n')));
    if (box.isEmpty()) {
        QVERIFY(ui.messages.isEmpty());
    } else {
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.at(0).text, box);
        QCOMPARE(ui.messages.at(0).title, QStringLiteral("Bibliotheek bestand"));
        QVERIFY(ui.messages.at(0).style & MsgBox::Critical);
    }
    if (uitkomst == QLatin1String("geweigerd")) {
        QCOMPARE(log.fouten, QList<qint32>{1});
        QVERIFY(log.totaal.isEmpty());
        QVERIFY(LibPaar::codes(*paar.doel.db, 1).isEmpty());
        return;
    }
    if (uitkomst == QLatin1String("sqlite, fout")) {
        QVERIFY(!log.fouten.isEmpty());
        uitkomst = QStringLiteral("sqlite");
    } else {
        QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    }
    QCOMPARE(LibPaar::codes(*paar.doel.db, 1), QStringList{QStringLiteral("A")});
    QCOMPARE(log.hoofdActies.contains(QStringLiteral("OverzettenPaneGroove")),
             uitkomst == QLatin1String("jet"));
    QCOMPARE(log.hoofdActies.contains(QStringLiteral("Overzetten Hang en Sluitwerk Combi's")),
             uitkomst == QLatin1String("3.50"));
    QCOMPARE(engine.Formaat35(), uitkomst == QLatin1String("3.50"));
    if (kinderen)
        QCOMPARE(LibPaar::kinderen(*paar.doel.db, 1, QStringLiteral("A")), test::merken(QStringLiteral("A")));
    if (versies && bron.jet && doel.jet) {
        QCOMPARE(engine.BronVersie(), QStringLiteral("%1.%2").arg(bron.versie.major).arg(bron.versie.minor));
        QCOMPARE(engine.DoelVersie(), QStringLiteral("%1.%2").arg(doel.versie.major).arg(doel.versie.minor));
    }
}

void TestClsSyncLIB::jetVersionRecordMissing_data()
{
    QTest::addColumn<bool>("inBron");
    QTest::addColumn<bool>("tabelWeg");
    QTest::addColumn<QString>("regel");
    QTest::newRow("source row")
        << true << false << "Controle bronbestand: Bronbestand bevat geen juiste gegevens in SYSDBINFO.";
    QTest::newRow("source table") << true << true
                                  << "Controle bronbestand: Bronbestand kan niet worden geopend.";
    QTest::newRow("target row")
        << false << false << "Controle doelbestand: Doelbestand bevat geen juiste gegevens in SYSDBINFO.";
    QTest::newRow("target table") << false << true
                                  << "Controle doelbestand: Doelbestand kan niet worden geopend.";
}

void TestClsSyncLIB::jetVersionRecordMissing()
{
    QFETCH(bool, inBron);
    QFETCH(bool, tabelWeg);
    QFETCH(QString, regel);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, test::jetLib(), test::jetLib());
    fixtures::FixtureDb& db = inBron ? *paar.bron.db : *paar.doel.db;
    // A record of another kind of database does not count.
    db.exec(tabelWeg ? QStringLiteral("DROP TABLE SysDBInfo")
                     : QStringLiteral("UPDATE SysDBInfo SET DBTYPE = 'OPTIONS'"));
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("A"));
    test::selecteer(1, {QStringLiteral("A")});
    PtLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.lines.contains(regel), qPrintable(log.lines.join('\n')));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QVERIFY(LibPaar::codes(*paar.doel.db, 1).isEmpty());
    QVERIFY(ui.messages.isEmpty() && ui.errors.isEmpty());
}

void TestClsSyncLIB::existingMainRows_data()
{
    QTest::addColumn<QString>("pad");
    QTest::newRow("jet") << kJet;
    QTest::newRow("sqlite") << kSqlite;
}

void TestClsSyncLIB::existingMainRows()
{
    // Existing main rows are counted and left as they are; only on SQLite libraries does one without children
    // receive the source's.
    QFETCH(QString, pad);
    const bool jet = pad == kJet;
    test::TestEnvironment env;
    LibPaar paar(env, soortVan(pad), soortVan(pad));
    for (int f : {1, 3, 4, 5}) {
        for (const char* code : {"MET", "ZONDER", "NIEUW"})
            LibPaar::rij(*paar.bron.db, f, QLatin1String(code), 2);
        LibPaar::rij(*paar.doel.db, f, QStringLiteral("MET"), 1,
                     {{QStringLiteral("Description"), QStringLiteral("Eigen omschrijving")}});
        LibPaar::rij(*paar.doel.db, f, QStringLiteral("ZONDER"), 0);
        test::selecteer(f, {QStringLiteral("MET"), QStringLiteral("ZONDER"), QStringLiteral("NIEUW")});
    }
    PtLog log;
    run(paar, log, QStringLiteral("1;3;4;5"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    for (int f : {1, 3, 4, 5}) {
        fixtures::FixtureDb& doel = *paar.doel.db;
        QCOMPARE(LibPaar::codes(doel, f), (QStringList{"MET", "NIEUW", "ZONDER"}));
        QCOMPARE(LibPaar::kinderen(doel, f, QStringLiteral("MET")), test::merken(QStringLiteral("MET"), 1));
        QCOMPARE(LibPaar::kinderen(doel, f, QStringLiteral("NIEUW")), test::merken(QStringLiteral("NIEUW")));
        QCOMPARE(LibPaar::kinderen(doel, f, QStringLiteral("ZONDER")),
                 jet ? QStringList() : test::merken(QStringLiteral("ZONDER")));
        QCOMPARE(doel.scalar(QStringLiteral("SELECT Description FROM %1 WHERE Code = 'MET'")
                                 .arg(test::libFamilie(f).tabel)),
                 QVariant(QStringLiteral("Eigen omschrijving")));
    }
    QCOMPARE(log.bestaand, (QList<qint32>{1, 2, 1, 2, 1, 2, 1, 2}));
    QVERIFY(log.lines.contains(QStringLiteral("Overgeslagen bestaand onderdeel : MET")));
    // Only the new row goes into tmpSelected.
    QCOMPARE(log.lines.contains(QStringLiteral("NIEUW: geselecteerd")), jet);
    QVERIFY(!log.lines.contains(QStringLiteral("MET: geselecteerd")));
}

void TestClsSyncLIB::codesThatDifferOnlyInCase_data()
{
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QString>("doelCode");
    QTest::addColumn<QString>("bronCode");
    QTest::newRow("jet, ascii") << kJet << "ab-1"
                                << "AB-1";
    QTest::newRow("jet, every letter") << kJet << QStringLiteral("äöé") << QStringLiteral("ÄÖÉ");
    QTest::newRow("sqlite, ascii") << kSqlite << "ab-1"
                                   << "AB-1";
    QTest::newRow("sqlite, every letter") << kSqlite << QStringLiteral("äöé") << QStringLiteral("ÄÖÉ");
}

void TestClsSyncLIB::codesThatDifferOnlyInCase()
{
    // One code, whatever the case of its letters: the target's row is the source's row.
    QFETCH(QString, pad);
    QFETCH(QString, doelCode);
    QFETCH(QString, bronCode);
    test::TestEnvironment env;
    LibPaar paar(env, soortVan(pad), soortVan(pad));
    LibPaar::rij(*paar.bron.db, 1, bronCode, 2);
    LibPaar::rij(*paar.doel.db, 1, doelCode, 0);
    test::selecteer(1, {bronCode});
    PtLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(LibPaar::codes(*paar.doel.db, 1), QStringList{doelCode});
    QCOMPARE(log.bestaand, QList<qint32>{1});
    // An existing row keeps its children on Jet; on SQLite a row without children gets the source's.
    QCOMPARE(LibPaar::kinderen(*paar.doel.db, 1, doelCode),
             pad == kJet ? QStringList() : test::merken(bronCode));
}

void TestClsSyncLIB::categoryNeverCopied_data()
{
    QTest::addColumn<test::LibSoort>("soort");
    QTest::newRow("jet") << test::jetLib();
    QTest::newRow("sqlite 3.40") << test::sqliteLib(40);
    QTest::newRow("sqlite 3.50") << test::sqliteLib(50);
}

void TestClsSyncLIB::categoryNeverCopied()
{
    QFETCH(test::LibSoort, soort);
    test::TestEnvironment env;
    LibPaar paar(env, soort, soort);
    const int kinderen = soort.versie.code() < 350 ? 1 : 0;
    for (int f = 1; f <= 5; ++f) {
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("NIEUW"), kinderen,
                     {{QStringLiteral("fkCategory"), 7}});
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("OUD"), kinderen, {{QStringLiteral("fkCategory"), 9}});
        LibPaar::rij(*paar.doel.db, f, QStringLiteral("OUD"), kinderen, {{QStringLiteral("fkCategory"), 3}});
        test::selecteer(f, {QStringLiteral("NIEUW"), QStringLiteral("OUD")});
    }
    PtLog log;
    run(paar, log, QStringLiteral("1;2;3;4;5"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    for (int f = 1; f <= 5; ++f) {
        const QString sql =
            QStringLiteral("SELECT fkCategory FROM %1 WHERE Code = ?").arg(test::libFamilie(f).tabel);
        const QString leeg =
            QStringLiteral("SELECT count(*) FROM %1 WHERE Code = 'NIEUW' AND fkCategory IS NULL")
                .arg(test::libFamilie(f).tabel);
        QVERIFY2(paar.doel.db->scalar(leeg).toInt() == 1, qPrintable(test::libFamilie(f).tabel));
        QCOMPARE(paar.doel.db->scalar(sql, {QStringLiteral("OUD")}).toInt(), 3);
    }
}

void TestClsSyncLIB::hardwareCombinationsAndChoices()
{
    test::TestEnvironment env;
    LibPaar paar(env, test::sqliteLib(50), test::sqliteLib(50));
    const QString oud = QStringLiteral(
        R"({"Polygon":1,"Lim_min_W":100,"Lim_min_H":200,"Lim_min_A":0,"Lim_max_W":900,"Lim_max_H":2400,)"
        R"("Lim_max_A":0,"ArtUsages":[{"a":1}],"ActUsages":[],"RefUsages":[],"LHArticles":[{"fkArticle":"ART1"}]})");
    const QString nieuw = QStringLiteral(
        R"({"Polygon":2,"Lim_min_W":100,"Lim_min_H":250,"Lim_min_A":0,"Lim_max_W":900,"Lim_max_H":2400,)"
        R"("Lim_max_A":0,"ArtUsages":[],"ActUsages":[],"RefUsages":[],"LHArticles":[{"fkArticle":"ART2"}]})");
    fixtures::FixtureDb& bron = *paar.bron.db;
    fixtures::FixtureDb& doel = *paar.doel.db;
    bron.insert(QStringLiteral("LocksHingesCombi"),
                {{"Code", "C1"}, {"Description", "Nieuw"}, {"Data", nieuw}});
    bron.insert(QStringLiteral("LocksHingesCombi"),
                {{"Code", "C2"}, {"Description", "Twee"}, {"Data", nieuw}});
    bron.insert(QStringLiteral("LocksHingesCombi"),
                {{"Code", "C3"}, {"Description", "Niet"}, {"Data", nieuw}});
    doel.insert(QStringLiteral("LocksHingesCombi"), {{"Code", "C1"}, {"Description", "Oud"}, {"Data", oud}});
    bron.insert(QStringLiteral("CustomLHCombi"), {{"Code", "K1"}, {"Description", "Nieuw"}});
    bron.insert(QStringLiteral("CustomLHCombi"), {{"Code", "K2"}, {"Description", "Twee"}});
    doel.insert(QStringLiteral("CustomLHCombi"), {{"Code", "K1"}, {"Description", "Oud"}});
    test::selecteer(6, {QStringLiteral("C1"), QStringLiteral("C2")});
    test::selecteer(7, {QStringLiteral("K1"), QStringLiteral("K2")});

    PtLog log;
    run(paar, log, QStringLiteral("6;7"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(log.hoofdActies.mid(2),
             (QStringList{"Overzetten Hang en Sluitwerk Combi's", "Overzetten LocksHingesCombi",
                          "Overzetten Hang en Sluitwerk Keuzes", "Overzetten CustomLHCombi"}));
    QCOMPARE(log.hoofdActiesDone, 2);
    // Each hardware family sets its own total: the rows of its table in the source.
    QCOMPARE(log.totaal, (QList<qint32>{1, 3, 2}));

    QString foutTekst;
    const QString samen = MergeJSONFieldLibrary(oud, nieuw, foutTekst);
    QVERIFY(foutTekst.isEmpty());
    QVERIFY(samen != oud && samen != nieuw);
    const QString data = QStringLiteral("SELECT Data FROM LocksHingesCombi WHERE Code = ?");
    QCOMPARE(doel.scalar(data, {QStringLiteral("C1")}).toString(), samen);
    QCOMPARE(doel.scalar(data, {QStringLiteral("C2")}).toString(), nieuw);
    QCOMPARE(
        doel.scalar(QStringLiteral("SELECT Description FROM LocksHingesCombi WHERE Code = 'C1'")).toString(),
        QStringLiteral("Oud"));
    QCOMPARE(doel.count(QStringLiteral("LocksHingesCombi")), 2);
    QVERIFY(log.lines.contains(QStringLiteral("JSON Merge: Data([Data]->[Data])")));
    const QString keuze = QStringLiteral("SELECT Description FROM CustomLHCombi WHERE Code = ?");
    QCOMPARE(doel.scalar(keuze, {QStringLiteral("K1")}).toString(), QStringLiteral("Oud"));
    QCOMPARE(doel.scalar(keuze, {QStringLiteral("K2")}).toString(), QStringLiteral("Twee"));
}

void TestClsSyncLIB::hardwareOptionsOff()
{
    test::libBeginToestand(false, false);
    test::TestEnvironment env;
    LibPaar paar(env, test::sqliteLib(50), test::sqliteLib(50));
    paar.bron.db->insert(QStringLiteral("LocksHingesCombi"), {{"Code", "C1"}, {"Data", "{}"}});
    paar.bron.db->insert(QStringLiteral("CustomLHCombi"), {{"Code", "K1"}});
    test::selecteer(6, {QStringLiteral("C1")});
    test::selecteer(7, {QStringLiteral("K1")});
    PtLog log;
    run(paar, log, QStringLiteral("6;7"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(log.hoofdActies.mid(2),
             (QStringList{"Overzetten Hang en Sluitwerk Combi's", "Overzetten Hang en Sluitwerk Keuzes"}));
    QCOMPARE(log.totaal, (QList<qint32>{1, 1, 1}));
    QCOMPARE(log.hoofdActiesDone, 0);
    QCOMPARE(paar.doel.db->count(QStringLiteral("LocksHingesCombi")), 0);
    QCOMPARE(paar.doel.db->count(QStringLiteral("CustomLHCombi")), 0);
}

void TestClsSyncLIB::emptySelection_data()
{
    QTest::addColumn<QString>("pad");
    QTest::newRow("jet") << kJet;
    QTest::newRow("sqlite") << kSqlite;
}

void TestClsSyncLIB::emptySelection()
{
    // On Jet an empty selection copies every main row, and every row added keeps its children. The SQLite
    // copier wants no row of an empty selection: then nothing is copied at all.
    QFETCH(QString, pad);
    const bool jet = pad == kJet;
    test::TestEnvironment env;
    LibPaar paar(env, soortVan(pad), soortVan(pad));
    for (int f : {1, 3, 4, 5}) {
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("A"), 2);
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("B"), 1);
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("B"), 3); // a second row of the same code
        LibPaar::rij(*paar.doel.db, f, QStringLiteral("OUD"), 1);
        LibPaar::rij(*paar.bron.db, f, QStringLiteral("OUD"), 2);
    }
    PtLog log;
    run(paar, log, QStringLiteral("1;3;4;5"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    for (int f : {1, 3, 4, 5}) {
        fixtures::FixtureDb& doel = *paar.doel.db;
        QCOMPARE(LibPaar::codes(doel, f), jet ? (QStringList{"A", "B", "OUD"}) : QStringList{"OUD"});
        QCOMPARE(LibPaar::kinderen(doel, f, QStringLiteral("OUD")), test::merken(QStringLiteral("OUD"), 1));
        if (!jet)
            continue;
        QCOMPARE(LibPaar::kinderen(doel, f, QStringLiteral("A")), test::merken(QStringLiteral("A")));
        // The children of both source rows of a code go to its one new row, as the child statement joins by
        // code.
        QCOMPARE(LibPaar::kinderen(doel, f, QStringLiteral("B")), (QStringList{"B/1", "B/1", "B/2", "B/3"}));
    }
    // The program-wide (empty) selections are not filled by the run.
    for (int f = 1; f <= 5; ++f)
        QVERIFY(test::libSelectie(f).isEmpty());
}

void TestClsSyncLIB::marksOfAnEarlierSourceLinkNoChildren()
{
    // Two library sources in one transfer share the program-wide selection: what the first source added must
    // not make the second one add its children under the row the first one wrote.
    test::TestEnvironment env;
    LibPaar paar(env, test::jetLib(), test::jetLib());
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("P"), 2);
    test::selecteer(1, {QStringLiteral("P")});
    PtLog log;
    run(paar, log, QStringLiteral("1"));
    QCOMPARE(LibPaar::kinderen(*paar.doel.db, 1, QStringLiteral("P")), test::merken(QStringLiteral("P")));

    test::TestEnvironment env2;
    LibPaar tweede(env2, test::jetLib(), test::jetLib());
    QFile::remove(tweede.doel.bestand);
    QVERIFY(QFile::copy(paar.doel.bestand, tweede.doel.bestand));
    tweede.doel.db = std::make_unique<fixtures::FixtureDb>(tweede.doel.bestand);
    const qint64 id = tweede.bron.db->insert(QStringLiteral("PaneGrooveTable"), {{"Code", "P"}});
    tweede.bron.db->insert(QStringLiteral("PaneGroove"),
                           {{"fkPaneGrooveTable", id}, {"GrooveShape", "ander"}});
    PtLog log2;
    run(tweede, log2, QStringLiteral("1"));
    QVERIFY2(log2.fouten.isEmpty(), qPrintable(fouten(log2)));
    QCOMPARE(LibPaar::kinderen(*tweede.doel.db, 1, QStringLiteral("P")), test::merken(QStringLiteral("P")));
}

void TestClsSyncLIB::codesWithQuotesAndLetters()
{
    test::TestEnvironment env;
    LibPaar paar(env, test::jetLib(), test::jetLib());
    const QStringList codes{QStringLiteral("O'Neil;1"), QStringLiteral("Één \"x\""), QStringLiteral("a]b[c")};
    for (const QString& code : codes)
        LibPaar::rij(*paar.bron.db, 4, code, 2);
    test::selecteer(4, codes);
    PtLog log;
    run(paar, log, QStringLiteral("4"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    for (const QString& code : codes)
        QCOMPARE(LibPaar::kinderen(*paar.doel.db, 4, code), test::merken(code));
}

void TestClsSyncLIB::cancelDuringTheSecondFamily_data()
{
    QTest::addColumn<QString>("pad");
    QTest::newRow("jet") << kJet;
    QTest::newRow("sqlite") << kSqlite;
}

void TestClsSyncLIB::cancelDuringTheSecondFamily()
{
    QFETCH(QString, pad);
    test::TestEnvironment env;
    LibPaar paar(env, soortVan(pad), soortVan(pad));
    QStringList codes;
    for (int i = 1; i <= 4; ++i)
        codes << QStringLiteral("R%1").arg(i);
    for (int f : {1, 3, 4}) {
        for (const QString& code : std::as_const(codes))
            LibPaar::rij(*paar.bron.db, f, code, 2);
        test::selecteer(f, codes);
    }
    PtLog log;
    clsSyncLIB engine;
    log.bijNieuw = [&] {
        if (log.hoofdActies.contains(QStringLiteral("Overzetten Element Sponningen")))
            engine.Cancel();
    };
    run(paar, log, QStringLiteral("1;3;4"), true, &engine);
    QVERIFY(engine.Geannuleerd());
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(LibPaar::codes(*paar.doel.db, 1), codes);
    // Family 3 stopped after the row in hand; what it added has its children.
    QCOMPARE(LibPaar::codes(*paar.doel.db, 3), QStringList{QStringLiteral("R1")});
    QCOMPARE(LibPaar::kinderen(*paar.doel.db, 3, QStringLiteral("R1")), test::merken(QStringLiteral("R1")));
    QVERIFY(LibPaar::codes(*paar.doel.db, 4).isEmpty());
    QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Laagreliëf Combi's")));
}

void TestClsSyncLIB::cancelBeforeTheRun()
{
    // The driver's run context, cancelled before the engine starts: the files are opened and checked, nothing
    // is copied.
    test::TestEnvironment env;
    LibPaar paar(env, test::sqliteLib(), test::sqliteLib());
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("A"));
    test::selecteer(1, {QStringLiteral("A")});
    const RunContextPtr transfer = std::make_shared<RunContext>();
    transfer->cancel();
    clsSyncLIB engine;
    engine.SetRunContext(transfer);
    PtLog log;
    run(paar, log, QStringLiteral("1"), true, &engine);
    QVERIFY(engine.Geannuleerd());
    QCOMPARE(log.hoofdActies, (QStringList{"Openen bron bibliotheek", "Openen doel bibliotheek"}));
    QCOMPARE(log.totaal, QList<qint32>{1});
    QVERIFY(log.fouten.isEmpty());
    QVERIFY(LibPaar::codes(*paar.doel.db, 1).isEmpty());
}

void TestClsSyncLIB::nonNumericFamilyCode()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, test::sqliteLib(), test::sqliteLib());
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("A"));
    test::selecteer(1, {QStringLiteral("A")});
    PtLog log;
    run(paar, log, QStringLiteral("1;x;3"));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(ui.errors.at(0).details.contains(QStringLiteral("clsSyncLIB.Sync")));
    QVERIFY(ui.errors.at(0).details.contains(QStringLiteral("'x'")));
    // Every code is read before anything is copied.
    QVERIFY(LibPaar::codes(*paar.doel.db, 1).isEmpty());
}

void TestClsSyncLIB::openFailuresAreCounted_data()
{
    QTest::addColumn<QString>("wat");
    QTest::newRow("missing source") << "bron";
    QTest::newRow("missing target") << "doel";
    QTest::newRow("jet target that cannot be written") << "jet";
}

void TestClsSyncLIB::openFailuresAreCounted()
{
    QFETCH(QString, wat);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, test::sqliteLib(), test::sqliteLib());
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("A"));
    test::selecteer(1, {QStringLiteral("A")});
    QString bron = paar.bron.pad;
    QString doel = paar.doel.pad;
    QByteArray jetInhoud;
    if (wat == QLatin1String("bron")) {
        bron = env.path(QStringLiteral("weg.db"));
    } else if (wat == QLatin1String("doel")) {
        doel = env.path(QStringLiteral("weg.db"));
    } else {
        doel = env.path(QStringLiteral("doel.mdb"));
        jetInhoud = QByteArray(4, '\0') + QByteArray("Standard Jet DB") + QByteArray(64, '\0');
        QFile bestand(doel);
        QVERIFY(bestand.open(QIODevice::WriteOnly));
        bestand.write(jetInhoud);
    }
    PtLog log;
    clsSyncLIB engine;
    engine.SetOntvanger(&log);
    engine.Sync(bron, doel, true, QStringLiteral("1"));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QVERIFY(log.totaal.isEmpty());
    QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Vak Sponningen")));
    QVERIFY(LibPaar::codes(*paar.doel.db, 1).isEmpty());
    QVERIFY(!QFile::exists(env.path(QStringLiteral("weg.db"))));
    if (wat == QLatin1String("jet")) {
        QVERIFY(!log.startingWith(QStringLiteral("Controle doelbestand: ")).isEmpty());
        QFile bestand(doel);
        QVERIFY(bestand.open(QIODevice::ReadOnly));
        QCOMPARE(bestand.readAll(), jetInhoud);
    } else {
        // The connection object says why the file did not open.
        QVERIFY(!ui.messages.isEmpty() || !ui.errors.isEmpty());
    }
}

void TestClsSyncLIB::failingChildStepIsCounted_data()
{
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QString>("routine"); // what the error window shows of the failing step
    QTest::newRow("jet") << kJet << "INSERT INTO PaneGroove";
    QTest::newRow("sqlite") << kSqlite << "SQLITE:SyncLinkedTable";
}

void TestClsSyncLIB::failingChildStepIsCounted()
{
    // Parent rows without their children must never reach the user's file: the failure is an error of the
    // run, which the driver then discards.
    QFETCH(QString, pad);
    QFETCH(QString, routine);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    LibPaar paar(env, soortVan(pad), soortVan(pad));
    LibPaar::rij(*paar.bron.db, 1, QStringLiteral("A"), 2);
    LibPaar::rij(*paar.bron.db, 3, QStringLiteral("B"), 2);
    test::selecteer(1, {QStringLiteral("A")});
    test::selecteer(3, {QStringLiteral("B")});
    paar.doel.db->exec(QStringLiteral("DROP TABLE PaneGroove"));
    paar.doel.db->exec(QStringLiteral(
        "CREATE TABLE PaneGroove (ID INTEGER PRIMARY KEY AUTOINCREMENT, fkPaneGrooveTable INTEGER)"));
    PtLog log;
    run(paar, log, QStringLiteral("1;3"));
    QVERIFY(!log.fouten.isEmpty());
    QVERIFY(!ui.errors.isEmpty());
    const QString getoond = ui.errors.at(0).message + ui.errors.at(0).details;
    QVERIFY2(getoond.contains(routine), qPrintable(getoond));
    // The run goes on with the next family.
    QCOMPARE(LibPaar::kinderen(*paar.doel.db, 3, QStringLiteral("B")), test::merken(QStringLiteral("B")));
}

void TestClsSyncLIB::handWrittenLibrary()
{
    // A library whose tables were written by hand from the column lists, in another column order, with
    // columns the program does not know and without the ones it never copies.
    test::TestEnvironment env;
    const QString bron = env.path(QStringLiteral("hand.db"));
    {
        SqliteOpenOptions maken;
        maken.create = true;
        const auto db = SqliteBackend::open(bron, maken);
        for (const char* sql : {
                 "CREATE TABLE SysDBInfo (VerMinor INTEGER, VerMajor INTEGER, DBTYPE VARCHAR(20), AppType "
                 "VARCHAR(20))",
                 "INSERT INTO SysDBInfo VALUES (40, 3, 'LIBRARY', 'VELMORA')",
                 "CREATE TABLE TreshHoldCombi (Code VARCHAR(30) NOT NULL, ID INTEGER PRIMARY KEY, "
                 "ArtCode VARCHAR(30), PaneGrooveShape VARCHAR(30), EdgeGrooveShape VARCHAR(30), fkCategory "
                 "INT)",
                 "CREATE TABLE TreshHoldArticleUsage (UsageDescription VARCHAR(100), ID INTEGER PRIMARY KEY, "
                 "OverlengthDim2 DOUBLE, CR_Length DOUBLE, OverlengthDim1 DOUBLE, Polygon TEXT, Count INT, "
                 "fkArtAct VARCHAR(30), fkCombi INT, Extra TEXT)",
                 "INSERT INTO TreshHoldCombi (ID, Code, ArtCode, fkCategory) VALUES (40, 'DORPEL 1', "
                 "'ART-9', 5)",
                 "INSERT INTO TreshHoldArticleUsage (fkCombi, fkArtAct, Count, OverlengthDim2, "
                 "UsageDescription) "
                 "VALUES (40, 'ART-1', 2, 12.5, 'Links'), (40, 'ART-2', 1, NULL, 'Rechts')",
             })
            db->execute(QString::fromUtf8(sql));
    }
    const QString doel = env.path(QStringLiteral("doel.db"));
    QVERIFY(fixtures::makeDatabase(doel, fixtures::Kind::Library, {3, 40}));
    test::selecteer(4, {QStringLiteral("DORPEL 1")});
    PtLog log;
    clsSyncLIB engine;
    engine.SetOntvanger(&log);
    engine.Sync(bron, doel, true, QStringLiteral("4"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    fixtures::FixtureDb db(doel);
    QCOMPARE(
        db.scalar(QStringLiteral("SELECT ArtCode FROM TreshHoldCombi WHERE Code = 'DORPEL 1'")).toString(),
        QStringLiteral("ART-9"));
    QCOMPARE(LibPaar::kinderen(db, 4, QStringLiteral("DORPEL 1")), (QStringList{"ART-1", "ART-2"}));
    QCOMPARE(
        db.scalar(QStringLiteral("SELECT UsageDescription FROM TreshHoldArticleUsage WHERE OverlengthDim2 = "
                                 "12.5"))
            .toString(),
        QStringLiteral("Links"));
}

QTEST_GUILESS_MAIN(TestClsSyncLIB)
#include "test_clssynclib.moc"
