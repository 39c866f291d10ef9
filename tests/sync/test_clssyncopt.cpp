// The options synchronisation run: the path chosen by storage, application
// type and version, the reopening between steps, the version check with its
// lines and box, and every way a run fails or is cancelled (each counted).

#include "optfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssyncopt.h"

#include <QFile>
#include <QtTest>

using namespace supplink;
using test::Opslag;
using test::OptLog;
using test::OptPaar;

namespace {

const QString OB = QStringLiteral("Openen bron onderhoud");
const QString OD = QStringLiteral("Openen doel onderhoud");
const QString kCombi = QStringLiteral("Overzetten Hang en Sluitwerk Combi's");
const QString kCombiArt = QStringLiteral("Overzetten Hang en Sluitwerk Combi's -> Artikelen");
const QString kTabel = QStringLiteral("Overzetten Hang en Sluitwerk Tabellen");
const QString kTabelDim = QStringLiteral("Overzetten Hang en Sluitwerk Tabellen -> Dimensies");
const QString kKeuze = QStringLiteral("Overzetten Hang en Sluitwerk Keuzes");
const QString kKeuzeRij = QStringLiteral("Overzetten Hang en Sluitwerk Keuzes -> Combi's");
const QString kSqliteCombi = QStringLiteral("Overzetten LocksHingesCombi");
const QString kNietOndersteund = QStringLiteral("Combinatie bestandversies Doel/Bron niet ondersteund!");

const QStringList kOudPad{OB, OD, kCombi, OB, OD, kCombiArt, OB, OD, kTabel, OB, OD, kTabelDim};
const QStringList kNieuwPad{OB, OD, kCombi, OB, OD, kCombiArt, OB, OD, kKeuze, OB, OD, kKeuzeRij};
const QStringList kSqlitePad{OB, OD, kSqliteCombi, OB, OD, kKeuze, OB, OD, kKeuzeRij};
const QStringList kGeenPad{OB, OD};

void sync(clsSyncOpt& engine, OptLog& log, const OptPaar& paar, bool versies = true)
{
    engine.SetOntvanger(&log);
    engine.Sync(paar.bron, paar.doel, versies);
}

QStringList controleRegels(const OptLog& log)
{
    return log.startingWith(QStringLiteral("Controle"));
}

} // namespace

class TestClsSyncOpt : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        test::zetOptOpties(true, true);
        test::kies({}, {}, {});
    }

    void pathChoice_data();
    void pathChoice();
    void importOptionFlags_data();
    void importOptionFlags();
    void versionPairs_data();
    void versionPairs();
    void storageFormsMixed_data();
    void storageFormsMixed();
    void versionRecordFaults_data();
    void versionRecordFaults();
    void openFailures_data();
    void openFailures();
    void reopenFailureStopsPath();
    void stepErrors_data();
    void stepErrors();
    void copierErrorReachesRunCount();
    void cancelAfterStep_data();
    void cancelAfterStep();
    void selectionHelpers();
};

void TestClsSyncOpt::pathChoice_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("bronVersie");
    QTest::addColumn<QString>("doelVersie");
    QTest::addColumn<QString>("bronApp");
    QTest::addColumn<QString>("doelApp");
    QTest::addColumn<bool>("versies");
    QTest::addColumn<QStringList>("kopjes");
    QTest::addColumn<QString>("melding");

    const int sqlite = int(Opslag::SQLite);
    const int jet = int(Opslag::Jet);
    const QString v = QStringLiteral("VELMORA");
    QTest::newRow("sqlite pair") << sqlite << "3.40"
                                 << "3.40" << v << v << true << kSqlitePad << QString();
    QTest::newRow("sqlite pair of other applications") << sqlite << "3.40"
                                                       << "3.50"
                                                       << "ANDERS"
                                                       << "QUENTARO" << true << kSqlitePad << QString();
    QTest::newRow("sqlite pair without application") << sqlite << "3.40"
                                                     << "3.40"
                                                     << ""
                                                     << "" << false << kSqlitePad << QString();
    QTest::newRow("velmora 2.30") << jet << "2.30"
                                  << "2.30" << v << v << true << kOudPad << QString();
    QTest::newRow("velmora 2.40") << jet << "2.40"
                                  << "2.40" << v << v << true << kOudPad << QString();
    QTest::newRow("velmora 3.0") << jet << "3.0"
                                 << "3.0" << v << v << true << kOudPad << QString();
    QTest::newRow("velmora 3.0 in lower case") << jet << "3.0"
                                               << "3.0"
                                               << "velmora"
                                               << "velmora" << true << kOudPad << QString();
    QTest::newRow("velmora 3.10") << jet << "3.10"
                                  << "3.20" << v << v << true << kNieuwPad << QString();
    QTest::newRow("velmora 3.30") << jet << "3.30"
                                  << "3.30" << v << v << true << kNieuwPad << QString();
    QTest::newRow("quentaro") << jet << "2.0"
                              << "2.10"
                              << "QUENTARO"
                              << "QUENTARO" << true << kNieuwPad << QString();
    QTest::newRow("velmora unchecked: newer path") << jet << "3.20"
                                                   << "3.20" << v << v << false << kNieuwPad << QString();
    const QString onbekend = QStringLiteral("Controle bronbestand: Bronbestand is geen onderhoudsbestand van "
                                            "een ondersteunde applicatie (AppType "
                                            "'%1'), er is niets overgezet.");
    QTest::newRow("third application unchecked")
        << jet << "3.30"
        << "3.30"
        << "RUVEZEVORER"
        << "RUVEZEVORER" << false << kGeenPad << onbekend.arg(QStringLiteral("RUVEZEVORER"));
    QTest::newRow("unknown application unchecked") << jet << "3.30"
                                                   << "3.30"
                                                   << "Anders"
                                                   << "Anders" << false << kGeenPad << onbekend.arg("ANDERS");
    QTest::newRow("no application unchecked") << jet << "3.30"
                                              << "3.30"
                                              << ""
                                              << "" << false << kGeenPad << onbekend.arg(QString());
}

// Each path with its steps and their reopening; a source of no known application copies nothing and says so.
void TestClsSyncOpt::pathChoice()
{
    QFETCH(int, opslag);
    QFETCH(QString, bronVersie);
    QFETCH(QString, doelVersie);
    QFETCH(QString, bronApp);
    QFETCH(QString, doelApp);
    QFETCH(bool, versies);
    QFETCH(QStringList, kopjes);
    QFETCH(QString, melding);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag(opslag), test::versie(bronVersie), test::versie(doelVersie), bronApp, doelApp);
    clsSyncOpt engine;
    OptLog log;
    sync(engine, log, paar, versies);

    QCOMPARE(log.hoofdActies, kopjes);
    QVERIFY2(ui.errors.isEmpty(), qPrintable(ui.errors.value(0).details));
    QVERIFY(ui.messages.isEmpty());
    if (melding.isEmpty()) {
        QCOMPARE(engine.Fouten(), 0);
        QVERIFY(log.fouten.isEmpty());
        QCOMPARE(log.hoofdActiesDone, kopjes.size() / 3);
        QCOMPARE(log.totaal.size(), 1);
        QCOMPARE(engine.BronVersie(), versies && opslag == int(Opslag::Jet) ? bronVersie : QString());
        QCOMPARE(engine.DoelVersie(), versies && opslag == int(Opslag::Jet) ? doelVersie : QString());
    } else {
        QCOMPARE(controleRegels(log), QStringList{melding});
        QCOMPARE(log.fouten, QList<qint32>{1});
        QCOMPARE(engine.Fouten(), 1);
        QVERIFY(log.totaal.isEmpty());
    }
    // Before each step but the first, both files are opened again.
    QCOMPARE(log.startingWith(QStringLiteral("Bron bestand: ")).size(), kopjes.count(OB));
    QCOMPARE(log.startingWith(QStringLiteral("Doel bestand: ")).size(), kopjes.count(OD));
    QCOMPARE(log.lines.value(0), QStringLiteral("Bron bestand: ") + paar.bron);
}

void TestClsSyncOpt::importOptionFlags_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<bool>("tabellen");
    QTest::addColumn<bool>("keuzes");
    QTest::addColumn<QStringList>("kopjes");

    const int sqlite = int(Opslag::SQLite);
    const int jet = int(Opslag::Jet);
    QTest::newRow("jet, neither") << jet << false << false << kGeenPad;
    QTest::newRow("jet, combinations only") << jet << true << false << kNieuwPad.mid(0, 6);
    // The choices steps open the files again although they are the first to run.
    QTest::newRow("jet, choices only") << jet << false << true << kGeenPad + kNieuwPad.mid(6);
    QTest::newRow("sqlite, neither") << sqlite << false << false << kGeenPad;
    QTest::newRow("sqlite, combinations only") << sqlite << true << false << kSqlitePad.mid(0, 3);
    QTest::newRow("sqlite, choices only") << sqlite << false << true << kGeenPad + kSqlitePad.mid(3);
}

void TestClsSyncOpt::importOptionFlags()
{
    QFETCH(int, opslag);
    QFETCH(bool, tabellen);
    QFETCH(bool, keuzes);
    QFETCH(QStringList, kopjes);

    test::zetOptOpties(tabellen, keuzes);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const fixtures::Version v =
        opslag == int(Opslag::Jet) ? fixtures::Version{3, 20} : fixtures::Version{3, 40};
    OptPaar paar(env, Opslag(opslag), v, v);
    paar.combi(*paar.src, QStringLiteral("C1"));
    paar.keuze(*paar.src, QStringLiteral("K1"));
    test::kies({QStringLiteral("C1")}, {QStringLiteral("K1")}, {});
    clsSyncOpt engine;
    OptLog log;
    sync(engine, log, paar);

    QCOMPARE(log.hoofdActies, kopjes);
    QCOMPARE(log.totaal.size(), 1); // raised also when no step runs
    QCOMPARE(engine.Fouten(), 0);
    QCOMPARE(paar.dst->count(QStringLiteral("LocksHingesCombi")), tabellen ? 1 : 0);
    QCOMPARE(paar.dst->count(QStringLiteral("CustomLHCombi")), keuzes ? 1 : 0);
    // The older format has no choices: the hardware tables are never copied by the other paths.
    QCOMPARE(paar.dst->count(QStringLiteral("LocksHingesTable")), 0);
}

void TestClsSyncOpt::versionPairs_data()
{
    QTest::addColumn<QString>("bronApp");
    QTest::addColumn<QString>("bronVersie");
    QTest::addColumn<QString>("doelApp");
    QTest::addColumn<QString>("doelVersie");
    QTest::addColumn<QStringList>("regels"); // the lines under "Controle ..."; none: the pair passes
    QTest::addColumn<bool>("box");

    const QString v = QStringLiteral("VELMORA");
    const QString q = QStringLiteral("QUENTARO");
    const auto geweigerd = [](const QString& bron, const QString& doel) {
        return QStringList{
            QStringLiteral("Controle bestanden: Combinatie bestandversies Doel/Bron niet ondersteund!"),
            QStringLiteral("Controle doelbestand: Doel: ") + doel,
            QStringLiteral("Controle doelbestand: Bron: ") + bron};
    };
    for (const char* paar : {"2.30-2.30", "2.40-2.40", "3.0-3.0", "3.10-3.10", "3.10-3.20", "3.20-3.20",
                             "3.20-3.30", "3.30-3.30"}) {
        const QStringList delen = QString::fromLatin1(paar).split(QLatin1Char('-'));
        QTest::addRow("velmora %s", paar) << v << delen[0] << v << delen[1] << QStringList() << false;
    }
    for (const char* paar : {"1.80-1.80", "1.90-1.90", "2.0-2.0", "2.0-2.10", "2.10-2.10"}) {
        const QStringList delen = QString::fromLatin1(paar).split(QLatin1Char('-'));
        QTest::addRow("quentaro %s", paar) << q << delen[0] << q << delen[1] << QStringList() << false;
    }
    QTest::newRow("velmora target older") << v << "3.20" << v << "3.10" << geweigerd("3.20", "3.10") << true;
    QTest::newRow("velmora two releases") << v << "3.10" << v << "3.30" << geweigerd("3.10", "3.30") << true;
    QTest::newRow("velmora older to newer format")
        << v << "3.0" << v << "3.10" << geweigerd("3.0", "3.10") << true;
    QTest::newRow("velmora 2.30 to 2.40") << v << "2.30" << v << "2.40" << geweigerd("2.30", "2.40") << true;
    QTest::newRow("quentaro 1.90 to 2.0") << q << "1.90" << q << "2.0" << geweigerd("1.90", "2.0") << true;
    QTest::newRow("third application") << "RUVEZEVORER"
                                       << "3.30"
                                       << "RUVEZEVORER"
                                       << "3.30" << geweigerd("3.30", "3.30") << true;
    const auto verschillend = [](const QString& bron, const QString& doel) {
        return QStringList{
            QStringLiteral("Controle doelbestand: Onderhoud bron/doel voor verschillende applicaties!"),
            QStringLiteral("Controle doelbestand: Doel: ") + doel,
            QStringLiteral("Controle doelbestand: Bron: ") + bron};
    };
    QTest::newRow("two applications") << v << "3.30" << q << "3.30" << verschillend(v, q) << false;
    // The types are compared exactly, then recognised in upper case.
    QTest::newRow("application type in two cases")
        << v << "3.30"
        << "Velmora"
        << "3.30" << verschillend(v, QStringLiteral("Velmora")) << false;
    QTest::newRow("lower-case application type") << "velmora"
                                                 << "3.10"
                                                 << "velmora"
                                                 << "3.20" << QStringList() << false;
    QTest::newRow("unknown application")
        << "ANDERS"
        << "3.30"
        << "ANDERS"
        << "3.30"
        << QStringList{QStringLiteral(
               "Controle bronbestand: Onderhoud bron/doel van een onbekende applicatie "
               "(AppType 'ANDERS'), deze combinatie wordt niet ondersteund!")}
        << false;
}

void TestClsSyncOpt::versionPairs()
{
    QFETCH(QString, bronApp);
    QFETCH(QString, bronVersie);
    QFETCH(QString, doelApp);
    QFETCH(QString, doelVersie);
    QFETCH(QStringList, regels);
    QFETCH(bool, box);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::Jet, test::versie(bronVersie), test::versie(doelVersie), bronApp, doelApp);
    clsSyncOpt engine;
    OptLog log;
    sync(engine, log, paar);

    QCOMPARE(controleRegels(log), regels);
    QVERIFY(ui.errors.isEmpty());
    if (regels.isEmpty()) {
        QCOMPARE(engine.Fouten(), 0);
        QCOMPARE(engine.BronVersie(), bronVersie);
        QCOMPARE(engine.DoelVersie(), doelVersie);
        QVERIFY(log.hoofdActies.size() > 2);
        QVERIFY(ui.messages.isEmpty());
        return;
    }
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(engine.Fouten(), 1);
    QCOMPARE(log.hoofdActies, kGeenPad);
    QVERIFY(log.totaal.isEmpty());
    if (!box) {
        QVERIFY(ui.messages.isEmpty());
        return;
    }
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].title, QStringLiteral("Onderhoud bestand"));
    QCOMPARE(ui.messages[0].style, int(MsgBox::OkOnly | MsgBox::Critical));
    QCOMPARE(ui.messages[0].text, kNietOndersteund + QStringLiteral("\r\n\r\nDoel: ") + doelVersie +
                                      QStringLiteral("\r\nBron: ") + bronVersie);
    // The FoutOpgetreden comes after the three lines, before the box.
    QCOMPARE(log.volgorde.indexOf(QStringLiteral("F:1")), log.volgorde.size() - 1);
}

void TestClsSyncOpt::storageFormsMixed_data()
{
    QTest::addColumn<bool>("bronSQLite");
    QTest::addColumn<QString>("melding");
    QTest::newRow("sqlite into jet")
        << true
        << "Doelbestand heeft een lagere versie als het bronbestand, deze combinatie "
           "wordt niet ondersteund!";
    QTest::newRow("jet into sqlite")
        << false
        << "Bronbestand is van een te lage versie, converteer het bronbestand eerst "
           "naar versie 3.4 of hoger!";
}

// Refused before any version record is read: on a fresh engine the lines and the box show empty versions.
void TestClsSyncOpt::storageFormsMixed()
{
    QFETCH(bool, bronSQLite);
    QFETCH(QString, melding);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar sqlite(env, Opslag::SQLite);
    test::TestEnvironment env2;
    OptPaar jet(env2, Opslag::Jet, {3, 30}, {3, 30});
    clsSyncOpt engine;
    OptLog log;
    engine.SetOntvanger(&log);
    engine.Sync(bronSQLite ? sqlite.bron : jet.bron, bronSQLite ? jet.doel : sqlite.doel, true);

    QCOMPARE(controleRegels(log), (QStringList{QStringLiteral("Controle bestanden: ") + kNietOndersteund,
                                               QStringLiteral("Controle doelbestand: Doel: "),
                                               QStringLiteral("Controle doelbestand: Bron: ")}));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages[0].text, melding + QStringLiteral("\r\n\r\nDoel: \r\nBron: "));
    QCOMPARE(ui.messages[0].title, QStringLiteral("Onderhoud bestand"));
    QCOMPARE(log.hoofdActies, kGeenPad);
}

void TestClsSyncOpt::versionRecordFaults_data()
{
    QTest::addColumn<QString>("bronSql");
    QTest::addColumn<QString>("doelSql");
    QTest::addColumn<bool>("versies");
    QTest::addColumn<QStringList>("regels");
    QTest::addColumn<int>("foutvensters");

    const QString leeg = QStringLiteral("DELETE FROM SysDBInfo");
    const QString weg = QStringLiteral("DROP TABLE SysDBInfo");
    const QString bronLeeg =
        QStringLiteral("Controle bronbestand: Bronbestand bevat geen juiste gegevens in SYSDBINFO.");
    const QString doelLeeg =
        QStringLiteral("Controle doelbestand: Doelbestand bevat geen juiste gegevens in SYSDBINFO.");
    // The check stops at the source: the target's (empty as well) is never read.
    QTest::newRow("source record empty") << leeg << leeg << true << QStringList{bronLeeg} << 0;
    QTest::newRow("source only of another kind") << QStringLiteral("UPDATE SysDBInfo SET DBTYPE = 'PT'")
                                                 << QString() << true << QStringList{bronLeeg} << 0;
    QTest::newRow("target record empty") << QString() << leeg << true << QStringList{doelLeeg} << 0;
    QTest::newRow("source table missing") << weg << QString() << true << QStringList() << 1;
    QTest::newRow("target table missing") << QString() << weg << true << QStringList() << 1;
    // Unchecked, the application type still decides the path.
    QTest::newRow("unchecked, source record empty")
        << leeg << QString() << false << QStringList{bronLeeg} << 0;
    QTest::newRow("unchecked, source table missing") << weg << QString() << false << QStringList() << 1;
}

// Each fault is reported once, counted once, and nothing is copied.
void TestClsSyncOpt::versionRecordFaults()
{
    QFETCH(QString, bronSql);
    QFETCH(QString, doelSql);
    QFETCH(bool, versies);
    QFETCH(QStringList, regels);
    QFETCH(int, foutvensters);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::Jet, {3, 20}, {3, 20});
    paar.combi(*paar.src, QStringLiteral("C1"));
    test::kies({QStringLiteral("C1")}, {}, {});
    if (!bronSql.isEmpty())
        paar.src->exec(bronSql);
    if (!doelSql.isEmpty())
        paar.dst->exec(doelSql);
    clsSyncOpt engine;
    OptLog log;
    sync(engine, log, paar, versies);

    QCOMPARE(controleRegels(log), regels);
    QCOMPARE(ui.errors.size(), foutvensters);
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(engine.Fouten(), 1);
    QCOMPARE(log.hoofdActies, kGeenPad);
    QCOMPARE(paar.dst->count(QStringLiteral("LocksHingesCombi")), 0);
    QVERIFY(ui.messages.isEmpty());
}

void TestClsSyncOpt::openFailures_data()
{
    QTest::addColumn<QString>("welke");
    QTest::addColumn<QStringList>("kopjes");
    QTest::addColumn<QString>("regel");
    QTest::newRow("source missing") << "bron" << QStringList{OB}
                                    << "Controle bronbestand: Bronbestand kan niet worden geopend.";
    QTest::newRow("target missing") << "doel" << kGeenPad
                                    << "Controle doelbestand: Doelbestand kan niet worden geopend.";
    QTest::newRow("target a real jet file")
        << "jet" << kGeenPad << "Controle doelbestand: Doelbestand kan niet worden geopend.";
}

void TestClsSyncOpt::openFailures()
{
    QFETCH(QString, welke);
    QFETCH(QStringList, kopjes);
    QFETCH(QString, regel);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::SQLite);
    paar.combi(*paar.src, QStringLiteral("C1"));
    test::kies({QStringLiteral("C1")}, {}, {});
    QString bron = paar.bron;
    QString doel = paar.doel;
    if (welke == QLatin1String("bron"))
        bron = env.path(QStringLiteral("weg.db"));
    else if (welke == QLatin1String("doel"))
        doel = env.path(QStringLiteral("weg.db"));
    else {
        // A file with the signature of a Jet database: it can only be read here.
        doel = env.path(QStringLiteral("doel.mdb"));
        QFile file(doel);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(2048, '\0'));
    }
    clsSyncOpt engine;
    OptLog log;
    engine.SetOntvanger(&log);
    engine.Sync(bron, doel, true);

    QCOMPARE(log.hoofdActies, kopjes);
    QVERIFY2(log.lines.contains(regel), qPrintable(log.lines.join(QLatin1Char('\n'))));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(engine.Fouten(), 1);
    if (welke == QLatin1String("jet")) {
        // Refused before it is opened, with the reason; the file is left as it was.
        const QStringList regels = controleRegels(log);
        QCOMPARE(regels.size(), 2);
        QVERIFY2(regels[0].contains(QStringLiteral("SQLite")), qPrintable(regels[0]));
        QVERIFY(ui.messages.isEmpty());
        QVERIFY(ui.errors.isEmpty());
        QCOMPARE(QFileInfo(doel).size(), qint64(2068));
    }
}

// A pair that no longer opens before a later step ends the path, counted once.
void TestClsSyncOpt::reopenFailureStopsPath()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::SQLite);
    paar.combi(*paar.src, QStringLiteral("C1"));
    paar.keuze(*paar.src, QStringLiteral("K1"));
    test::kies({QStringLiteral("C1")}, {QStringLiteral("K1")}, {});
    class Verplaats : public OptLog
    {
    public:
        QString pad;
        void HuidigeHoofdActieDone() override
        {
            OptLog::HuidigeHoofdActieDone();
            if (hoofdActiesDone == 1)
                QFile::rename(pad, pad + QStringLiteral(".weg"));
        }
    } log;
    log.pad = paar.bron;
    clsSyncOpt engine;
    sync(engine, log, paar);

    QCOMPARE(log.hoofdActies, (QStringList{OB, OD, kSqliteCombi, OB}));
    QCOMPARE(log.startingWith(QStringLiteral("Controle")),
             QStringList{QStringLiteral("Controle bronbestand: Bronbestand kan niet worden geopend.")});
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(engine.Fouten(), 1);
    QCOMPARE(paar.dst->count(QStringLiteral("LocksHingesCombi")), 1);
    QCOMPARE(paar.dst->count(QStringLiteral("CustomLHCombi")), 0);
}

void TestClsSyncOpt::stepErrors_data()
{
    QTest::addColumn<QString>("versieTekst");
    QTest::addColumn<QString>("stap");
    QTest::addColumn<QStringList>("kopjes");
    QTest::addColumn<int>("klaar");

    // Newer format: the failing step ends itself, the path goes on.
    QTest::newRow("newer format") << "3.20"
                                  << "LocksHingesArticlePVC" << kNieuwPad << 4;
    // Older format: the failing step ends the whole run, without closing the step.
    QTest::newRow("older format") << "3.0"
                                  << "LocksHingesArticleOud" << kOudPad.mid(0, 6) << 1;
}

void TestClsSyncOpt::stepErrors()
{
    QFETCH(QString, versieTekst);
    QFETCH(QString, stap);
    QFETCH(QStringList, kopjes);
    QFETCH(int, klaar);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::Jet, test::versie(versieTekst), test::versie(versieTekst));
    paar.combi(*paar.src, QStringLiteral("C1"));
    test::kies({QStringLiteral("C1")}, {}, {});
    clsSyncOpt engine;
    // The source's articles go missing after the count, before their step.
    class Weg : public OptLog
    {
    public:
        fixtures::FixtureDb* db = nullptr;
        void HuidigeHoofdActieDone() override
        {
            OptLog::HuidigeHoofdActieDone();
            if (hoofdActiesDone == 1)
                db->exec(QStringLiteral("DROP TABLE LocksHingesArticle"));
        }
    } log;
    log.db = paar.src.get();
    sync(engine, log, paar);

    QCOMPARE(log.hoofdActies, kopjes);
    QCOMPARE(log.hoofdActiesDone, klaar);
    QCOMPARE(ui.errors.size(), 1);
    // A missing table is an input error, whose window names no routine; others name the step.
    QVERIFY2(
        ui.errors[0].details.isEmpty() ||
            ui.errors[0].details.startsWith(QStringLiteral("Procedure = ") + stap + QStringLiteral("\r\n")),
        qPrintable(ui.errors[0].details));
    QVERIFY2(ui.errors[0].message.contains(QStringLiteral("LocksHingesArticle")),
             qPrintable(ui.errors[0].message));
    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(engine.Fouten(), 1);
    QCOMPARE(paar.dst->count(QStringLiteral("LocksHingesCombi")), 1);
}

// A row the target refuses ends its copier's call (the rows before it stay) and is counted by the copier;
// the run's count has it as well, and the path goes on.
void TestClsSyncOpt::copierErrorReachesRunCount()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::SQLite);
    for (const QString& code : {QStringLiteral("C1"), QStringLiteral("SLECHT"), QStringLiteral("C3")})
        paar.combi(*paar.src, code);
    paar.dst->exec(
        QStringLiteral("CREATE TRIGGER weiger BEFORE INSERT ON LocksHingesCombi WHEN NEW.Code = 'SLECHT' "
                       "BEGIN SELECT RAISE(ABORT, 'geweigerd'); END"));
    test::kies({QStringLiteral("C1"), QStringLiteral("SLECHT"), QStringLiteral("C3")}, {}, {});
    clsSyncOpt engine;
    OptLog log;
    sync(engine, log, paar);

    QCOMPARE(log.fouten, QList<qint32>{1});
    QCOMPARE(engine.Fouten(), 1);
    QCOMPARE(test::eersteKolom(*paar.dst, QStringLiteral("SELECT Code FROM LocksHingesCombi ORDER BY Code")),
             QStringList{QStringLiteral("C1")});
    QCOMPARE(log.hoofdActies, kSqlitePad);
}

void TestClsSyncOpt::cancelAfterStep_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("versieTekst");
    QTest::addColumn<QString>("stapKop");
    QTest::newRow("older format, Jet copier") << int(Opslag::Jet) << "3.0" << kCombi;
    QTest::newRow("sqlite copier") << int(Opslag::SQLite) << "3.40" << kSqliteCombi;
}

// A cancel in the first step stops its copier after the row in hand (the SQLite copier as well: the copiers
// share the engine's run); the step is closed and no further step runs.
void TestClsSyncOpt::cancelAfterStep()
{
    QFETCH(int, opslag);
    QFETCH(QString, versieTekst);
    QFETCH(QString, stapKop);

    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag(opslag), test::versie(versieTekst), test::versie(versieTekst));
    for (const QString& code : {QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")})
        paar.combi(*paar.src, code);
    test::kies({QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")}, {}, {});
    clsSyncOpt engine;
    OptLog log;
    log.bijNieuw = [&] { engine.Cancel(); };
    sync(engine, log, paar);

    QCOMPARE(log.hoofdActies, (QStringList{OB, OD, stapKop}));
    QCOMPARE(log.hoofdActiesDone, 1);
    QCOMPARE(log.nieuw, QList<qint32>{1});
    QCOMPARE(paar.dst->count(QStringLiteral("LocksHingesCombi")), 1);
    QVERIFY(log.fouten.isEmpty());
    QVERIFY(engine.Geannuleerd());
}

void TestClsSyncOpt::selectionHelpers()
{
    const ItemCollection items = test::gekozenItems({QStringLiteral("A'1"), QStringLiteral("Ärm")});
    const ItemCollection leeg;
    QVERIFY(!clsSyncOpt::OnderdeelGeselecteerd(QStringLiteral("A'1"), nullptr));
    QVERIFY(clsSyncOpt::OnderdeelGeselecteerd(QStringLiteral("X"), &leeg));
    QVERIFY(clsSyncOpt::OnderdeelGeselecteerd(QStringLiteral("A'1"), &items));
    // Codes compare without regard to case, for every letter.
    QVERIFY(clsSyncOpt::OnderdeelGeselecteerd(QStringLiteral("äRM"), &items));
    QVERIFY(!clsSyncOpt::OnderdeelGeselecteerd(QStringLiteral("A1"), &items));
    QVERIFY(!clsSyncOpt::OnderdeelGeselecteerd(QString(), &items));

    clsSyncOpt engine;
    QVERIFY(!engine.ColItemsDistinct());
    engine.ToevoegenUniekItem(QStringLiteral("Ärm"));
    QVERIFY(engine.ColItemsDistinct());
    auto eigen = std::make_shared<ItemCollection>(items);
    engine.SetColItemsDistinct(eigen);
    engine.ToevoegenUniekItem(QStringLiteral("ärm"));
    engine.ToevoegenUniekItem(QStringLiteral("B"));
    engine.ToevoegenUniekItem(QStringLiteral("B"));
    // The caller's own collection is filled, not a copy.
    QCOMPARE(eigen->size(), 3);
    QCOMPARE(eigen->last()->Code, QStringLiteral("B"));
    QCOMPARE(eigen->last()->ID, 0);
}

QTEST_GUILESS_MAIN(TestClsSyncOpt)
#include "test_clssyncopt.moc"
