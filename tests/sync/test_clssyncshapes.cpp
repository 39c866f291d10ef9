// The work-preparation synchronisation run on every pair of storages: the
// version rules, the groove-shape copies by type, the child rows (geometry,
// nodes, names) with their matching by code and variant, the selected-codes
// table of Jet sources, cancellation, and the failures the driver must see.

#include "fixtures/copierfixtures.h"
#include "shapesfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssyncshapes.h"

#include <QFile>
#include <QtTest>

using namespace supplink;
using test::Opslag;
using test::WkvPaar;

namespace {

using Aantallen = QList<qint64>;

void run(WkvPaar& paar, fixtures::EventLog& log, const QString& types, clsSyncSHAPES* engine = nullptr)
{
    clsSyncSHAPES eigen;
    clsSyncSHAPES& e = engine ? *engine : eigen;
    e.SetOntvanger(&log);
    e.Sync(paar.bron, paar.doel, types);
}

QString fouten(const fixtures::EventLog& log, const test::RecordingUiServices& ui)
{
    QStringList regels = log.startingWith(QStringLiteral("Error"));
    for (const ErrorWindowContent& e : ui.errors)
        regels << e.message + QStringLiteral(" | ") + e.details;
    return regels.join(QLatin1Char('\n'));
}

// The order numbers of the nodes of the target's geometry row of a shape code and variant, in the order
// they were added (by number: for the set-based Jet forms, which add in no particular order).
QVariantList orderNrs(fixtures::FixtureDb& db, const QString& code, bool contra, bool opNummer = false)
{
    QVariantList nrs;
    const std::optional<ResultData> rows = db.connection()->run(
        QStringLiteral(
            "SELECT n.OrderNr FROM GrooveShapeNodes n JOIN GrooveShapeGeom g ON g.ID = n.fkGrooveShapeGeom "
            "JOIN GrooveShape s ON s.ID = g.fkGrooveShape WHERE s.Code = ? AND (g.bContra <> 0) = ? "
            "ORDER BY ") +
            (opNummer ? QStringLiteral("n.OrderNr") : QStringLiteral("n.ID")),
        {code, contra ? 1 : 0});
    for (qsizetype i = 0; rows && i < rows->rowCount(); ++i)
        nrs << rows->rows.row(i)[0].toInt();
    return nrs;
}

const QVariantList kDrieNodes{10, 20, 30};

// The data columns of a pair of storages whose files share one version, and a row of them: Jet files of
// 3.10, SQLite files of 3.40 unless said otherwise.
void paarKolommen()
{
    QTest::addColumn<int>("bronOpslag");
    QTest::addColumn<int>("doelOpslag");
    QTest::addColumn<int>("minor");
}

QTestData& paarRij(const char* naam, Opslag bron, Opslag doel, int minor = 0)
{
    return QTest::newRow(naam) << int(bron) << int(doel) << (minor ? minor : doel == Opslag::Jet ? 10 : 40);
}

// The three pairs that copy child rows.
void drieParen()
{
    paarKolommen();
    paarRij("jet to jet", Opslag::Jet, Opslag::Jet);
    paarRij("jet to sqlite", Opslag::Jet, Opslag::SQLite);
    paarRij("sqlite to sqlite", Opslag::SQLite, Opslag::SQLite);
}

// The three pairs, each with the counts of the target expected after the run.
void drieParen(const Aantallen& jetJet, const Aantallen& jetSqlite, const Aantallen& sqliteSqlite)
{
    paarKolommen();
    QTest::addColumn<Aantallen>("verwacht");
    paarRij("jet to jet", Opslag::Jet, Opslag::Jet) << jetJet;
    paarRij("jet to sqlite", Opslag::Jet, Opslag::SQLite) << jetSqlite;
    paarRij("sqlite to sqlite", Opslag::SQLite, Opslag::SQLite) << sqliteSqlite;
}

Opslag bronVanRij()
{
    QFETCH(int, bronOpslag);
    return Opslag(bronOpslag);
}

Opslag doelVanRij()
{
    QFETCH(int, doelOpslag);
    return Opslag(doelOpslag);
}

// The pair of the current data row, with the test's own folders and recorded user interface.
struct PaarVanRij
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    std::unique_ptr<WkvPaar> paar;

    PaarVanRij()
    {
        QFETCH(int, bronOpslag);
        QFETCH(int, doelOpslag);
        QFETCH(int, minor);
        paar = std::make_unique<WkvPaar>(env, Opslag(bronOpslag), fixtures::Version{3, minor},
                                         Opslag(doelOpslag), fixtures::Version{3, minor});
    }
};

} // namespace

class TestClsSyncShapes : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::selecteer({}); }

    void emptyTypesDoesNothing();
    void versionTable_data();
    void versionTable();
    void refusedVersionRecords_data();
    void refusedVersionRecords();
    void jetTargetOfThisSystemRefused();
    void openFailureIsCounted();
    void copiesEveryPair_data();
    void copiesEveryPair();
    void captionsAndTotal_data();
    void captionsAndTotal();
    void typeWithoutRows();
    void typesInOrder();
    void existingShapeLeftAsItIs_data();
    void existingShapeLeftAsItIs();
    void existingShape35KeepsItsData();
    void unselectedShapeGetsNoChildren_data();
    void unselectedShapeGetsNoChildren();
    void emptySelection_data();
    void emptySelection();
    void interleavedNodeGroups_data();
    void interleavedNodeGroups();
    void geometryWithNodesGetsNoMore();
    void contraMinusOneMeetsOne_data();
    void contraMinusOneMeetsOne();
    void codeWithQuote_data();
    void codeWithQuote();
    void tmpSelectedOnlyForJetSources();
    void handWrittenSource();
    void failingChildStatementIsCounted_data();
    void failingChildStatementIsCounted();
    void invalidTypeCopiesNothing();
    void cancelDuringFirstType();
};

void TestClsSyncShapes::emptyTypesDoesNothing()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::SQLite, {3, 40}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QString());
    QVERIFY(log.lines.isEmpty());
    QVERIFY(log.hoofdActies.isEmpty());
    QVERIFY(log.totaal.isEmpty());
    QCOMPARE(paar.doelAantallen(), (Aantallen{0, 0, 0, 0}));
}

// The version rules of the pairs. Accepted pairs copy one selected shape with its children; the angle
// fields reach the target where the rule (or, into SQLite, the source's columns) lets them.
void TestClsSyncShapes::versionTable_data()
{
    QTest::addColumn<int>("bronOpslag");
    QTest::addColumn<int>("bronMinor");
    QTest::addColumn<int>("bronMajor");
    QTest::addColumn<int>("doelOpslag");
    QTest::addColumn<int>("doelMajor");
    QTest::addColumn<int>("doelMinor");
    QTest::addColumn<bool>("doelHoeken"); // the target gets the angle columns (a 3.0 file changed by hand)
    QTest::addColumn<bool>("geaccepteerd");
    QTest::addColumn<bool>("hoeken");     // nodes arrive with their angle values
    QTest::addColumn<QString>("regel");   // a Voortgang line of the refusal
    QTest::addColumn<QString>("melding"); // the message box, empty for none

    const int jet = int(Opslag::Jet);
    const int sqlite = int(Opslag::SQLite);
    const QString versies = QStringLiteral("Werkvoorbereiding bron/doel zijn van verschillende versies!");
    QTest::newRow("jet 3.0 to 3.10 refused")
        << jet << 0 << 3 << jet << 3 << 10 << false << false << false
        << QStringLiteral("Controle doelbestand: ") + versies
        << QStringLiteral(
               "Combinatie bestandversies Doel/Bron niet ondersteund!\r\n\r\nDoel: 3.10\r\nBron: 3.0");
    QTest::newRow("jet 3.0 to 3.0") << jet << 0 << 3 << jet << 3 << 0 << false << true << false << QString()
                                    << QString();
    QTest::newRow("jet 3.0 to 2.40") << jet << 0 << 3 << jet << 2 << 40 << false << true << false << QString()
                                     << QString();
    QTest::newRow("jet 3.10 to 3.0 with angle columns")
        << jet << 10 << 3 << jet << 3 << 0 << true << true << true << QString() << QString();
    QTest::newRow("jet 3.10 to 3.0 without angle columns")
        << jet << 10 << 3 << jet << 3 << 0 << false << true << false << QString() << QString();
    QTest::newRow("jet 2.40 to 3.10")
        << jet << 40 << 2 << jet << 3 << 10 << false << true << false << QString() << QString();
    QTest::newRow("jet 3.10 to 3.10")
        << jet << 10 << 3 << jet << 3 << 10 << false << true << true << QString() << QString();
    QTest::newRow("jet 3.10 to sqlite 3.40")
        << jet << 10 << 3 << sqlite << 3 << 40 << false << true << true << QString() << QString();
    QTest::newRow("jet 3.0 to sqlite 3.40")
        << jet << 0 << 3 << sqlite << 3 << 40 << false << true << false << QString() << QString();
    QTest::newRow("jet to sqlite 3.50 refused")
        << jet << 10 << 3 << sqlite << 3 << 50 << false << false << false
        << QStringLiteral("Controle bestanden: Combinatie bestandversies Doel/Bron niet ondersteund!")
        << QStringLiteral(
               "Bronbestand is van een te lage versie, converteer het bronbestand eerst naar versie 3.5 "
               "of hoger!");
    QTest::newRow("sqlite to jet refused")
        << sqlite << 40 << 3 << jet << 3 << 40 << false << false << false
        << QStringLiteral("Controle bestanden: Combinatie bestandversies Doel/Bron niet ondersteund!")
        << QStringLiteral(
               "Doelbestand heeft een lagere versie als het bronbestand, deze combinatie wordt niet "
               "ondersteund!\r\n\r\nDoel: \r\nBron: ");
    QTest::newRow("sqlite 3.40 to 3.50 refused")
        << sqlite << 40 << 3 << sqlite << 3 << 50 << false << false << false
        << QStringLiteral(
               "Controle bron/doelbestand: Werkvoorbereiding bron/doel aangeboden versies zijn niet "
               "compatibel!")
        << QString();
    QTest::newRow("sqlite 3.40 to 3.40")
        << sqlite << 40 << 3 << sqlite << 3 << 40 << false << true << true << QString() << QString();
}

void TestClsSyncShapes::versionTable()
{
    QFETCH(int, bronOpslag);
    QFETCH(int, bronMinor);
    QFETCH(int, bronMajor);
    QFETCH(int, doelOpslag);
    QFETCH(int, doelMajor);
    QFETCH(int, doelMinor);
    QFETCH(bool, doelHoeken);
    QFETCH(bool, geaccepteerd);
    QFETCH(bool, hoeken);
    QFETCH(QString, regel);
    QFETCH(QString, melding);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag(bronOpslag), {bronMajor, bronMinor}, Opslag(doelOpslag), {doelMajor, doelMinor});
    if (doelHoeken)
        paar.dst->exec(
            QStringLiteral("ALTER TABLE GrooveShapeNodes ADD COLUMN Angle REAL; ALTER TABLE "
                           "GrooveShapeNodes ADD COLUMN AngleRule INTEGER; ALTER TABLE GrooveShapeNodes "
                           "ADD COLUMN Reference INTEGER"));
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));

    if (!geaccepteerd) {
        QVERIFY2(log.lines.contains(regel), qPrintable(log.lines.join(QLatin1Char('\n'))));
        QCOMPARE(log.fouten, QList<qint32>{1});
        QCOMPARE(paar.dst->count(QStringLiteral("GrooveShape")), 0);
        QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Sponningfiguren")));
        QCOMPARE(ui.messages.size(), melding.isEmpty() ? 0 : 1);
        if (!melding.isEmpty()) {
            QCOMPARE(ui.messages.at(0).text, melding);
            QCOMPARE(ui.messages.at(0).title, QStringLiteral("Werkvoorbereiding bestand"));
            QCOMPARE(MsgBox::icon(ui.messages.at(0).style), int(MsgBox::Critical));
        }
        return;
    }
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(paar.doelAantallen(), (Aantallen{1, 2, 6, 2}));
    const bool opNummer = Opslag(doelOpslag) == Opslag::Jet;
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("S1"), true, opNummer), kDrieNodes);
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("S1"), false, opNummer), kDrieNodes);
    if (test::heeftKolom(*paar.dst, QStringLiteral("GrooveShapeNodes"), QStringLiteral("Angle")))
        QCOMPARE(paar.dst
                     ->scalar(QStringLiteral("SELECT count(*) FROM GrooveShapeNodes WHERE Angle = 12.5 AND "
                                             "AngleRule = 2 AND Reference = 1"))
                     .toInt(),
                 hoeken ? 6 : 0);
    QCOMPARE(paar.dst->scalar(QStringLiteral("SELECT Priority FROM GrooveShape WHERE Code = 'S1'")).toInt(),
             7);
    QVERIFY(
        paar.dst->scalar(QStringLiteral("SELECT fkCategory FROM GrooveShape WHERE Code = 'S1'")).isNull());
}

void TestClsSyncShapes::refusedVersionRecords_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("bronApp");
    QTest::addColumn<QString>("bronWijziging"); // a statement run on the source first
    QTest::addColumn<QString>("doelWijziging");
    QTest::addColumn<QStringList>("regels");
    QTest::addColumn<int>("foutVensters");
    const int jet = int(Opslag::Jet);
    const int sqlite = int(Opslag::SQLite);
    const QString doel = QStringLiteral("Controle doelbestand: ");
    const QString beide = QStringLiteral("Controle bron/doelbestand: ");
    QTest::newRow("jet applications differ")
        << jet << QStringLiteral("QUENTARO") << QString() << QString()
        << QStringList{doel + QStringLiteral("Werkvoorbereiding bron/doel voor verschillende applicaties!"),
                       doel + QStringLiteral("Doel: VELMORA"), doel + QStringLiteral("Bron: QUENTARO")}
        << 0;
    QTest::newRow("sqlite applications differ")
        << sqlite << QStringLiteral("QUENTARO") << QString() << QString()
        << QStringList{beide + QStringLiteral("Werkvoorbereiding bron/doel voor verschillende applicaties!"),
                       beide + QStringLiteral("Bron: QUENTARO"), beide + QStringLiteral("Doel: VELMORA")}
        << 0;
    QTest::newRow("jet source without its version row")
        << jet << QStringLiteral("VELMORA") << QStringLiteral("UPDATE SysDBInfo SET DBTYPE = 'LIBRARY'")
        << QString()
        << QStringList{QStringLiteral(
               "Controle bronbestand: Bronbestand bevat geen juiste gegevens in SYSDBINFO.")}
        << 0;
    QTest::newRow("jet target without a version table")
        << jet << QStringLiteral("VELMORA") << QString() << QStringLiteral("DROP TABLE SysDBInfo")
        << QStringList{QStringLiteral("Controle doelbestand: Doelbestand kan niet worden geopend.")} << 0;
    QTest::newRow("sqlite source without a version row")
        << sqlite << QStringLiteral("VELMORA") << QStringLiteral("DELETE FROM SysDBInfo") << QString()
        << QStringList{} << 1;
}

// Refusals by the version records, without a message box; every one counted once.
void TestClsSyncShapes::refusedVersionRecords()
{
    QFETCH(int, opslag);
    QFETCH(QString, bronApp);
    QFETCH(QString, bronWijziging);
    QFETCH(QString, doelWijziging);
    QFETCH(QStringList, regels);
    QFETCH(int, foutVensters);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const fixtures::Version versie{3, opslag == int(Opslag::Jet) ? 10 : 40};
    WkvPaar paar(env, Opslag(opslag), versie, Opslag(opslag), versie, bronApp);
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    if (!bronWijziging.isEmpty())
        paar.src->exec(bronWijziging);
    if (!doelWijziging.isEmpty())
        paar.dst->exec(doelWijziging);
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    for (const QString& regel : regels)
        QVERIFY2(log.lines.contains(regel), qPrintable(log.lines.join(QLatin1Char('\n'))));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QVERIFY(ui.messages.isEmpty());
    QCOMPARE(ui.errors.size(), foutVensters);
    QCOMPARE(paar.dst->count(QStringLiteral("GrooveShape")), 0);
}

// A Jet file that this system can only read is refused as target before anything is opened or written.
void TestClsSyncShapes::jetTargetOfThisSystemRefused()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::SQLite, {3, 40}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    test::selecteer({QStringLiteral("S1")});
    // A file that starts as a Jet database does.
    const QString mdb = env.path(QStringLiteral("doel.mdb"));
    QFile bestand(mdb);
    QVERIFY(bestand.open(QIODevice::WriteOnly));
    QByteArray kop(4, '\0');
    kop += "Standard Jet DB";
    kop += QByteArray(200, '\0');
    bestand.write(kop);
    bestand.close();
    // Empty where a driver writes Jet files: the file then fails to open (it is no database), which ends the
    // run the same way.
    const QString weigering = jetTargetRefusal(mdb);
    fixtures::EventLog log;
    clsSyncSHAPES engine;
    engine.SetOntvanger(&log);
    engine.Sync(paar.bron, mdb, QStringLiteral("1"));
    if (!weigering.isEmpty())
        QVERIFY(log.lines.contains(QStringLiteral("Controle doelbestand: ") + weigering));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Sponningfiguren")));
    QCOMPARE(QFileInfo(mdb).size(), qint64(kop.size()));
}

void TestClsSyncShapes::openFailureIsCounted()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::SQLite, {3, 40}, Opslag::SQLite, {3, 40});
    fixtures::EventLog log;
    clsSyncSHAPES engine;
    engine.SetOntvanger(&log);
    engine.Sync(env.path(QStringLiteral("bestaat-niet.db")), paar.doel, QStringLiteral("1"));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(log.hoofdActies, QStringList{QStringLiteral("Openen bron werkvoorbereidings beheer")});
    QVERIFY(!ui.messages.isEmpty() || !ui.errors.isEmpty());
}

void TestClsSyncShapes::copiesEveryPair_data()
{
    drieParen();
}

// Two selected shapes and one the user left out: the selected ones arrive whole, in the target's own IDs.
void TestClsSyncShapes::copiesEveryPair()
{
    PaarVanRij rij;
    WkvPaar& paar = *rij.paar;
    const test::RecordingUiServices& ui = rij.ui;
    // The target's own shape pushes its IDs away from the source's.
    WkvPaar::vorm(*paar.dst, QStringLiteral("EIGEN"));
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    WkvPaar::vorm(*paar.src, QStringLiteral("S2"), 1, 1);
    WkvPaar::vorm(*paar.src, QStringLiteral("NIET"));
    test::selecteer({QStringLiteral("S1"), QStringLiteral("S2")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));

    QCOMPARE(paar.doelAantallen(), (Aantallen{3, 6, 18, 6}));
    QVERIFY(log.lines.contains(QStringLiteral("Overgeslagen : NIET")));
    for (const QString& code : {QStringLiteral("S1"), QStringLiteral("S2")}) {
        const qint64 id =
            paar.dst->scalar(QStringLiteral("SELECT ID FROM GrooveShape WHERE Code = ?"), {code})
                .toLongLong();
        QCOMPARE(
            paar.dst
                ->scalar(QStringLiteral("SELECT count(*) FROM GrooveShapeGeom WHERE fkGrooveShape = ?"), {id})
                .toInt(),
            2);
        QCOMPARE(
            paar.dst
                ->scalar(QStringLiteral("SELECT count(*) FROM GrooveShapeNames WHERE fkGrooveShape = ? AND "
                                        "Name = ?"),
                         {id, code + QStringLiteral("-naam")})
                .toInt(),
            2);
        const bool opNummer = doelVanRij() == Opslag::Jet;
        QCOMPARE(orderNrs(*paar.dst, code, false, opNummer), kDrieNodes);
        QCOMPARE(orderNrs(*paar.dst, code, true, opNummer), kDrieNodes);
        QCOMPARE(
            paar.dst
                ->scalar(QStringLiteral("SELECT PreviewWidth FROM GrooveShapeGeom g JOIN GrooveShape s ON "
                                        "s.ID = g.fkGrooveShape WHERE s.Code = ? AND g.bContra <> 0"),
                         {code})
                .toDouble(),
            210.0);
    }
    QCOMPARE(paar.dst
                 ->scalar(QStringLiteral("SELECT DeltaZFormula FROM GrooveShapeNodes WHERE OrderNr = 30 AND "
                                         "fkGrooveShapeGeom = (SELECT max(ID) FROM GrooveShapeGeom)"))
                 .toString(),
             QStringLiteral("r/2"));
}

void TestClsSyncShapes::captionsAndTotal_data()
{
    paarKolommen();
    QTest::addColumn<QStringList>("kinderen");
    const QString g = QStringLiteral("Overzetten Geometry");
    const QString n = QStringLiteral("Overzetten Nodes");
    const QString m = QStringLiteral("Overzetten Namen");
    paarRij("jet to jet", Opslag::Jet, Opslag::Jet) << QStringList{g, n, m};
    paarRij("jet to sqlite", Opslag::Jet, Opslag::SQLite) << QStringList{g, n, n, m};
    paarRij("sqlite to sqlite", Opslag::SQLite, Opslag::SQLite) << QStringList{g, n, m};
    paarRij("sqlite 3.50", Opslag::SQLite, Opslag::SQLite, 50) << QStringList{};
}

void TestClsSyncShapes::captionsAndTotal()
{
    QFETCH(int, minor);
    QFETCH(QStringList, kinderen);
    PaarVanRij rij;
    WkvPaar& paar = *rij.paar;
    const test::RecordingUiServices& ui = rij.ui;
    for (int type : {1, 2, 4, 5}) {
        const QString code = QStringLiteral("T%1").arg(type);
        if (minor == 50)
            WkvPaar::vorm35(*paar.src, code, type);
        else
            WkvPaar::vorm(*paar.src, code, type);
    }
    test::selecteer({QStringLiteral("T1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QCOMPARE(log.hoofdActies, QStringList({QStringLiteral("Openen bron werkvoorbereidings beheer"),
                                           QStringLiteral("Openen doel werkvoorbereidings beheer"),
                                           QStringLiteral("Overzetten Sponningfiguren")}) +
                                  kinderen);
    QCOMPARE(log.hoofdActiesDone, 0);
    QVERIFY(log.lines.contains(QStringLiteral("Bron bestand: ") + paar.bron));
    QVERIFY(log.lines.contains(QStringLiteral("Doel bestand: ") + paar.doel));
    // Every shape of types 1 to 4, whatever was chosen.
    QCOMPARE(log.totaal, QList<qint32>{3});
    QCOMPARE(log.huidig, (QList<qint32>{1}));
    QCOMPARE(log.nieuw, QList<qint32>{1});
    QCOMPARE(paar.dst->count(QStringLiteral("GrooveShape")), 1);
}

void TestClsSyncShapes::typeWithoutRows()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::SQLite, {3, 40}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("2"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QVERIFY(log.lines.contains(QStringLiteral("Geen records in source!")));
    QCOMPARE(paar.doelAantallen(), (Aantallen{0, 0, 0, 0}));
}

// "1;3": type 1, then type 3, then the child rows once; a selected shape of type 2 is not copied.
void TestClsSyncShapes::typesInOrder()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::Jet, {3, 10}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("D3"), 3);
    WkvPaar::vorm(*paar.src, QStringLiteral("T2"), 2);
    WkvPaar::vorm(*paar.src, QStringLiteral("E1"), 1);
    test::selecteer({QStringLiteral("D3"), QStringLiteral("T2"), QStringLiteral("E1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1;3"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QCOMPARE(log.hoofdActies.count(QStringLiteral("Overzetten Sponningfiguren")), 2);
    QCOMPARE(log.hoofdActies.count(QStringLiteral("Overzetten Geometry")), 1);
    QCOMPARE(log.hoofdActies.count(QStringLiteral("Overzetten Namen")), 1);
    QVERIFY(log.hoofdActies.lastIndexOf(QStringLiteral("Overzetten Sponningfiguren")) <
            log.hoofdActies.indexOf(QStringLiteral("Overzetten Geometry")));
    QVERIFY(log.lines.indexOf(QStringLiteral("Nieuw onderdeel : E1")) <
            log.lines.indexOf(QStringLiteral("Nieuw onderdeel : D3")));
    QCOMPARE(paar.dst
                 ->scalar(QStringLiteral(
                     "SELECT group_concat(Code) FROM (SELECT Code FROM GrooveShape ORDER BY ID)"))
                 .toString(),
             QStringLiteral("E1,D3"));
    QCOMPARE(paar.doelAantallen(), (Aantallen{2, 4, 12, 4}));
    QCOMPARE(log.nieuw, (QList<qint32>{1, 1}));
}

void TestClsSyncShapes::existingShapeLeftAsItIs_data()
{
    // The target's S1: one geometry (variant No) with one node, no names. Jet targets get children for
    // new shapes only; SQLite targets get the children it lacks: the variant Yes geometry with its
    // nodes, and the names (its own geometry keeps its one node).
    drieParen({1, 1, 1, 0}, {1, 1, 1, 2}, {1, 2, 4, 2});
}

void TestClsSyncShapes::existingShapeLeftAsItIs()
{
    QFETCH(Aantallen, verwacht);
    PaarVanRij rij;
    WkvPaar& paar = *rij.paar;
    const test::RecordingUiServices& ui = rij.ui;
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    fixtures::addGrooveShape(*paar.dst, QStringLiteral("S1"), 1, 1, {fixtures::fixedNode(0, 0)});
    paar.dst->exec(QStringLiteral("UPDATE GrooveShape SET Description = 'Eigen', Priority = 1"));
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QVERIFY(log.lines.contains(QStringLiteral("Overgeslagen bestaand onderdeel : S1")));
    QCOMPARE(log.bestaand, QList<qint32>{1});
    QVERIFY(log.nieuw.isEmpty());
    QCOMPARE(paar.dst->scalar(QStringLiteral("SELECT Description || Priority FROM GrooveShape")).toString(),
             QStringLiteral("Eigen1"));
    // The existing rows are never replaced.
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("S1"), false), QVariantList{10});
    QCOMPARE(paar.doelAantallen(), verwacht);
}

void TestClsSyncShapes::existingShape35KeepsItsData()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::SQLite, {3, 50}, Opslag::SQLite, {3, 50});
    WkvPaar::vorm35(*paar.src, QStringLiteral("S1"), 1, QStringLiteral("{\"bron\":1}"));
    WkvPaar::vorm35(*paar.src, QStringLiteral("S2"), 1, QStringLiteral("{\"bron\":2}"));
    WkvPaar::vorm35(*paar.dst, QStringLiteral("S1"), 1, QStringLiteral("{\"eigen\":1}"));
    test::selecteer({QStringLiteral("S1"), QStringLiteral("S2")});
    fixtures::EventLog log;
    clsSyncSHAPES engine;
    run(paar, log, QStringLiteral("1"), &engine);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QVERIFY(engine.Formaat35());
    QCOMPARE(paar.dst->scalar(QStringLiteral("SELECT Data FROM GrooveShape WHERE Code = 'S1'")).toString(),
             QStringLiteral("{\"eigen\":1}"));
    QCOMPARE(
        paar.dst
            ->scalar(QStringLiteral("SELECT Data || Description || Type FROM GrooveShape WHERE Code = 'S2'"))
            .toString(),
        QStringLiteral("{\"bron\":2}S21"));
}

void TestClsSyncShapes::unselectedShapeGetsNoChildren_data()
{
    copiesEveryPair_data();
}

// A shape the user left out, which the target holds without children: the Jet forms and the SQLite names
// leave it alone; only the SQLite geometry form, which has no selection test, gives it its geometry rows,
// and those rows then get their nodes (a geometry is never left without the nodes its source gives it).
void TestClsSyncShapes::unselectedShapeGetsNoChildren()
{
    PaarVanRij rij;
    WkvPaar& paar = *rij.paar;
    const test::RecordingUiServices& ui = rij.ui;
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    WkvPaar::vorm(*paar.src, QStringLiteral("NIET"));
    paar.dst->insert(QStringLiteral("GrooveShape"),
                     {{QStringLiteral("Code"), QStringLiteral("NIET")}, {QStringLiteral("Type"), 1}});
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    const bool sqliteNaarSqlite = bronVanRij() == Opslag::SQLite;
    QCOMPARE(paar.doelAantallen(), (Aantallen{2, sqliteNaarSqlite ? 4 : 2, sqliteNaarSqlite ? 12 : 6, 2}));
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("NIET"), false).isEmpty(), !sqliteNaarSqlite);
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("NIET"), true).isEmpty(), !sqliteNaarSqlite);
}

void TestClsSyncShapes::emptySelection_data()
{
    // The copiers of a Jet source take every shape of the type when nothing is selected, and their child
    // rows follow them; the SQLite copier takes none.
    drieParen({2, 4, 12, 4}, {2, 4, 12, 4}, {0, 0, 0, 0});
}

void TestClsSyncShapes::emptySelection()
{
    QFETCH(Aantallen, verwacht);
    PaarVanRij rij;
    WkvPaar& paar = *rij.paar;
    const test::RecordingUiServices& ui = rij.ui;
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    WkvPaar::vorm(*paar.src, QStringLiteral("S2"));
    WkvPaar::vorm(*paar.src, QStringLiteral("ANDER"), 2);
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QCOMPARE(paar.doelAantallen(), verwacht);
    QVERIFY(globals().gColSponningfigurenGeselecteerd.isEmpty());
}

void TestClsSyncShapes::interleavedNodeGroups_data()
{
    QTest::addColumn<int>("bronOpslag");
    QTest::newRow("jet to sqlite") << int(Opslag::Jet);
    QTest::newRow("sqlite to sqlite") << int(Opslag::SQLite);
}

// The nodes of two geometries stored alternately: each geometry still gets all of its own nodes, in order.
void TestClsSyncShapes::interleavedNodeGroups()
{
    QFETCH(int, bronOpslag);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag(bronOpslag), {3, 40}, Opslag::SQLite, {3, 40});
    const qint64 a = fixtures::addGrooveShape(*paar.src, QStringLiteral("A"), 1, 1, {});
    const qint64 b = fixtures::addGrooveShape(*paar.src, QStringLiteral("B"), 1, 1, {});
    const qint64 a2 = fixtures::addGrooveShape(*paar.src, QStringLiteral("A"), 1, 1, {}, -1);
    for (int i = 4; i >= 1; --i) {
        for (qint64 geom : {a, b, a2})
            paar.src->insert(QStringLiteral("GrooveShapeNodes"), {{QStringLiteral("fkGrooveShapeGeom"), geom},
                                                                  {QStringLiteral("OrderNr"), i},
                                                                  {QStringLiteral("DeltaX"), i * 0.001}});
    }
    test::selecteer({QStringLiteral("A"), QStringLiteral("B")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    const QVariantList vier{1, 2, 3, 4};
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("A"), false), vier);
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("A"), true), vier);
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("B"), false), vier);
    QCOMPARE(paar.dst->count(QStringLiteral("GrooveShapeNodes")), 12);
}

// A target geometry that has nodes keeps them and gets none; a geometry of three nodes that had none gets
// all three; a selected shape whose geometry the target lacks gets no nodes and the copy goes on.
void TestClsSyncShapes::geometryWithNodesGetsNoMore()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::Jet, {3, 10}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("VOL"));
    WkvPaar::vorm(*paar.src, QStringLiteral("LEEG"));
    WkvPaar::vorm(*paar.src, QStringLiteral("ZONDER"));
    fixtures::addGrooveShape(*paar.dst, QStringLiteral("VOL"), 1, 1,
                             {fixtures::fixedNode(0, 0), fixtures::fixedNode(1, 1)});
    fixtures::addGrooveShape(*paar.dst, QStringLiteral("LEEG"), 1, 1, {});
    paar.dst->insert(QStringLiteral("GrooveShape"),
                     {{QStringLiteral("Code"), QStringLiteral("ZONDER")}, {QStringLiteral("Type"), 1}});
    test::selecteer({QStringLiteral("VOL"), QStringLiteral("LEEG"), QStringLiteral("ZONDER")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("VOL"), false, true), (QVariantList{10, 20}));
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("LEEG"), false), kDrieNodes);
    QVERIFY(orderNrs(*paar.dst, QStringLiteral("ZONDER"), false).isEmpty());
    QCOMPARE(paar.dst->count(QStringLiteral("GrooveShapeGeom")), 2);
    QCOMPARE(paar.dst->count(QStringLiteral("GrooveShapeNames")), 6);
}

void TestClsSyncShapes::contraMinusOneMeetsOne_data()
{
    interleavedNodeGroups_data();
}

// The source stores Yes as -1, the target as 1: the target's geometry of variant Yes is found, gets the
// nodes, and is not added a second time.
void TestClsSyncShapes::contraMinusOneMeetsOne()
{
    QFETCH(int, bronOpslag);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag(bronOpslag), {3, 40}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"), 1, -1);
    fixtures::addGrooveShape(*paar.dst, QStringLiteral("S1"), 1, 1, {}, 1);
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QCOMPARE(
        paar.dst->scalar(QStringLiteral("SELECT count(*) FROM GrooveShapeGeom WHERE bContra <> 0")).toInt(),
        1);
    QCOMPARE(orderNrs(*paar.dst, QStringLiteral("S1"), true), kDrieNodes);
}

void TestClsSyncShapes::codeWithQuote_data()
{
    copiesEveryPair_data();
}

void TestClsSyncShapes::codeWithQuote()
{
    PaarVanRij rij;
    WkvPaar& paar = *rij.paar;
    const test::RecordingUiServices& ui = rij.ui;
    const QString code = QStringLiteral("O'Brien; 'x'");
    WkvPaar::vorm(*paar.src, code);
    // The same code present without children: the SQLite forms must find it by its quoted code.
    test::selecteer({code});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    QCOMPARE(paar.doelAantallen(), (Aantallen{1, 2, 6, 2}));
    QCOMPARE(orderNrs(*paar.dst, code, true, doelVanRij() == Opslag::Jet), kDrieNodes);
}

void TestClsSyncShapes::tmpSelectedOnlyForJetSources()
{
    for (Opslag bronOpslag : {Opslag::Jet, Opslag::SQLite}) {
        test::TestEnvironment env;
        test::RecordingUiServices ui;
        WkvPaar paar(env, bronOpslag, {3, 40}, Opslag::SQLite, {3, 40});
        WkvPaar::vorm(*paar.src, QStringLiteral("NIEUW"));
        WkvPaar::vorm(*paar.src, QStringLiteral("OUD"));
        paar.dst->insert(QStringLiteral("GrooveShape"),
                         {{QStringLiteral("Code"), QStringLiteral("OUD")}, {QStringLiteral("Type"), 1}});
        test::selecteer({QStringLiteral("NIEUW"), QStringLiteral("OUD")});
        fixtures::EventLog log;
        run(paar, log, QStringLiteral("1"));
        QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
        const bool heeftTabel =
            test::heeftKolom(*paar.src, QStringLiteral("tmpSelected"), QStringLiteral("CodeSelected"));
        QCOMPARE(heeftTabel, bronOpslag == Opslag::Jet);
        if (heeftTabel)
            QCOMPARE(paar.src->scalar(QStringLiteral("SELECT group_concat(CodeSelected) FROM tmpSelected"))
                         .toString(),
                     QStringLiteral("NIEUW"));
        QVERIFY(globals().gColSponningfigurenGeselecteerd.at(0)->RunActie_Toegevoegd);
        QVERIFY(!globals().gColSponningfigurenGeselecteerd.at(1)->RunActie_Toegevoegd);
    }
}

// A source written by hand from the column lists of the work-preparation tables (Yes stored as -1, no
// Priority or category, the nodes' angle columns in another order), into a fixture target.
void TestClsSyncShapes::handWrittenSource()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const QString bron = env.path(QStringLiteral("hand.db"));
    {
        SqliteOpenOptions opties;
        opties.create = true;
        const auto db = SqliteBackend::open(bron, opties);
        db->execute(QStringLiteral(
            "CREATE TABLE SysDBInfo (AppType TEXT, DBTYPE TEXT, VerMajor INTEGER, VerMinor INTEGER);"
            "INSERT INTO SysDBInfo VALUES ('VELMORA', 'SHAPES', 3, 40);"
            "CREATE TABLE GrooveShape (ID INTEGER PRIMARY KEY, Code TEXT, Description TEXT, Type INTEGER);"
            "CREATE TABLE GrooveShapeGeom (ID INTEGER PRIMARY KEY, fkGrooveShape INTEGER, bContra BOOLEAN, "
            "PreviewWidth DOUBLE, PreviewHeight DOUBLE);"
            "CREATE TABLE GrooveShapeNodes (ID INTEGER PRIMARY KEY, Reference INTEGER, Angle DOUBLE, "
            "AngleRule "
            "INTEGER, fkGrooveShapeGeom INTEGER, OrderNr INTEGER, DeltaX DOUBLE, DeltaZType INTEGER, "
            "DeltaZFormula "
            "TEXT, RoundingType INTEGER, RoundingValue DOUBLE, DeltaZ DOUBLE);"
            "CREATE TABLE GrooveShapeNames (ID INTEGER PRIMARY KEY, fkGrooveShape INTEGER, Width DOUBLE, "
            "Name TEXT);"
            "INSERT INTO GrooveShape VALUES (50, 'HAND', 'Met de hand', 1);"
            "INSERT INTO GrooveShapeGeom VALUES (70, 50, -1, 12.5, 7.25);"
            "INSERT INTO GrooveShapeNodes VALUES (90, 3, 45.0, 1, 70, 2, 0.5, 1, 'b*2', 0, 0, 0.1);"
            "INSERT INTO GrooveShapeNodes VALUES (91, 0, 0.0, 0, 70, 1, 0.25, 0, NULL, 1, 0.5, 0.2);"
            "INSERT INTO GrooveShapeNames VALUES (5, 50, 68, 'Hand 68');"));
        db->close();
    }
    const QString doel = env.path(QStringLiteral("doel.db"));
    QVERIFY(fixtures::makeDatabase(doel, fixtures::Kind::WorkPreparation, {3, 40}));
    test::selecteer({QStringLiteral("HAND")});
    fixtures::EventLog log;
    clsSyncSHAPES engine;
    engine.SetOntvanger(&log);
    engine.Sync(bron, doel, QStringLiteral("1"));
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log, ui)));
    fixtures::FixtureDb dst(doel);
    QCOMPARE(dst.scalar(QStringLiteral(
                            "SELECT count(*) FROM GrooveShape s JOIN GrooveShapeGeom g ON g.fkGrooveShape = "
                            "s.ID WHERE s.Code = 'HAND' AND g.bContra = -1 AND g.PreviewHeight = 7.25"))
                 .toInt(),
             1);
    QCOMPARE(
        dst.scalar(QStringLiteral(
                       "SELECT group_concat(OrderNr || ':' || DeltaX || ':' || ifnull(DeltaZFormula, '-') "
                       "|| ':' || Angle || ':' || Reference, ' ') FROM (SELECT * FROM GrooveShapeNodes "
                       "ORDER BY ID)"))
            .toString(),
        QStringLiteral("1:0.25:-:0.0:0 2:0.5:b*2:45.0:3"));
    QCOMPARE(dst.scalar(QStringLiteral("SELECT Name || Width FROM GrooveShapeNames")).toString(),
             QStringLiteral("Hand 6868.0"));
}

void TestClsSyncShapes::failingChildStatementIsCounted_data()
{
    drieParen();
}

// A geometry table of the target without a column the copy writes: the step's error is shown and
// counted, nothing of it is kept, and the run goes on with the names.
void TestClsSyncShapes::failingChildStatementIsCounted()
{
    PaarVanRij rij;
    WkvPaar& paar = *rij.paar;
    const test::RecordingUiServices& ui = rij.ui;
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    paar.dst->exec(QStringLiteral("ALTER TABLE GrooveShapeGeom DROP COLUMN PreviewHeight"));
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1"));
    QCOMPARE(ui.errors.size(), 1);
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(log.hoofdActies.last(), QStringLiteral("Overzetten Namen"));
    QCOMPARE(paar.doelAantallen(), (Aantallen{1, 0, 0, 2}));
}

void TestClsSyncShapes::invalidTypeCopiesNothing()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    WkvPaar paar(env, Opslag::SQLite, {3, 40}, Opslag::SQLite, {3, 40});
    WkvPaar::vorm(*paar.src, QStringLiteral("S1"));
    test::selecteer({QStringLiteral("S1")});
    fixtures::EventLog log;
    run(paar, log, QStringLiteral("1;x"));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Sponningfiguren")));
    QCOMPARE(paar.doelAantallen(), (Aantallen{0, 0, 0, 0}));
}

// Cancel while the copier of the first type works: the copier's row in hand is finished, the second type
// and the child rows are not copied.
void TestClsSyncShapes::cancelDuringFirstType()
{
    for (Opslag bronOpslag : {Opslag::Jet, Opslag::SQLite}) {
        test::TestEnvironment env;
        test::RecordingUiServices ui;
        WkvPaar paar(env, bronOpslag, {3, 40}, Opslag::SQLite, {3, 40});
        WkvPaar::vorm(*paar.src, QStringLiteral("A1"), 1);
        WkvPaar::vorm(*paar.src, QStringLiteral("B1"), 1);
        WkvPaar::vorm(*paar.src, QStringLiteral("C3"), 3);
        test::selecteer({QStringLiteral("A1"), QStringLiteral("B1"), QStringLiteral("C3")});
        // Cancels (twice) when the first shape has been added.
        struct Annuleerder : fixtures::EventLog
        {
            clsSyncSHAPES* engine = nullptr;
            void NieuwOnderdeel(qint32& n) override
            {
                EventLog::NieuwOnderdeel(n);
                engine->Cancel();
                engine->Cancel();
            }
        } log;
        clsSyncSHAPES engine;
        log.engine = &engine;
        run(paar, log, QStringLiteral("1;3"), &engine);
        QVERIFY(engine.Geannuleerd());
        QCOMPARE(log.hoofdActies.count(QStringLiteral("Overzetten Sponningfiguren")), 1);
        QVERIFY(!log.hoofdActies.contains(QStringLiteral("Overzetten Geometry")));
        QCOMPARE(paar.doelAantallen(), (Aantallen{1, 0, 0, 0}));
        QVERIFY(log.fouten.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestClsSyncShapes)
#include "test_clssyncshapes.moc"
