// The table steps of the options synchronisation on each storage form: the
// older Jet format (combinations, articles, hardware tables, dimensions), the
// newer Jet format (combinations with their limits, articles, choices) and
// SQLite files (combinations with their Data merged, choices), with child
// rows replaced, foreign keys carried over by code, codes with quotes, and a
// source written by hand.

#include "optfixture.h"
#include "support/recordinguiservices.h"
#include "sync/clssyncopt.h"
#include "transfer/jsonmerge.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace supplink;
using test::Opslag;
using test::OptLog;
using test::OptPaar;

namespace {

const QString kCombi = QStringLiteral("LocksHingesCombi");
const QString kKeuze = QStringLiteral("CustomLHCombi");

// The Data of an options combination: its articles (each an object held in a text, in a list held in a
// text) and one reference usage.
QString optData(const QStringList& artikelen, const QString& ref)
{
    QJsonArray lijst;
    for (const QString& a : artikelen)
        lijst.append(
            QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("fkArticle"), a},
                                                        {QStringLiteral("Position"), QStringLiteral("1")}})
                                  .toJson(QJsonDocument::Compact)));
    const auto tekst = [](const QJsonArray& a) {
        return QString::fromUtf8(QJsonDocument(a).toJson(QJsonDocument::Compact));
    };
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("RefUsages"), tekst(QJsonArray{ref})},
                                                       {QStringLiteral("ArtUsages"), QStringLiteral("[]")},
                                                       {QStringLiteral("ActUsages"), QStringLiteral("[]")},
                                                       {QStringLiteral("LHArticles"), tekst(lijst)}})
                                 .toJson(QJsonDocument::Compact));
}

QVariantMap grenzen(const QString& polygon, double basis)
{
    return {{QStringLiteral("Polygon"), polygon},     {QStringLiteral("Lim_min_W"), basis},
            {QStringLiteral("Lim_min_H"), basis + 1}, {QStringLiteral("Lim_min_A"), basis + 2},
            {QStringLiteral("Lim_max_W"), basis + 3}, {QStringLiteral("Lim_max_H"), basis + 4},
            {QStringLiteral("Lim_max_A"), basis + 5}};
}

void run(OptPaar& paar, OptLog& log, clsSyncOpt* engine = nullptr)
{
    clsSyncOpt eigen;
    clsSyncOpt& e = engine ? *engine : eigen;
    e.SetOntvanger(&log);
    e.Sync(paar.bron, paar.doel, true);
}

QString fouten(const OptLog& log)
{
    return log.startingWith(QStringLiteral("Error")).join(QLatin1Char('\n'));
}

} // namespace

class TestClsSyncOptStappen : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        test::zetOptOpties(true, true);
        test::kies({}, {}, {});
    }

    void olderFormat();
    void newerFormatCombinations();
    void choicesReplaced_data();
    void choicesReplaced();
    void sqliteCombinationData();
    void chosenCodeMissing_data();
    void chosenCodeMissing();
    void codesWithQuotes_data();
    void codesWithQuotes();
    void handWrittenSqliteSource();
    void progressAndTotals_data();
    void progressAndTotals();
};

// Combinations keep their own fields and get exactly the source's articles; hardware tables get exactly
// the source's dimensions, each pointing to the target's combination of the same code; a dimension whose
// combination the target lacks is left out without failing the run.
void TestClsSyncOptStappen::olderFormat()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::Jet, {3, 0}, {3, 0});
    // The target's own rows first, so that its IDs differ from the source's.
    paar.combi(*paar.dst, QStringLiteral("EIGEN"));
    const qint64 doelC1 = paar.combi(*paar.dst, QStringLiteral("C1"),
                                     {{QStringLiteral("Description"), QStringLiteral("Eigen")},
                                      {QStringLiteral("Polygon"), QStringLiteral("P-doel")}});
    for (const QString& a : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Z")})
        paar.artikel(*paar.dst, doelC1, a);
    const qint64 doelT1 = paar.tabel(*paar.dst, QStringLiteral("T1"));
    paar.dimensie(*paar.dst, doelT1, doelC1, 1);
    paar.dimensie(*paar.dst, doelT1, doelC1, 2);

    const qint64 c1 = paar.combi(*paar.src, QStringLiteral("C1"),
                                 {{QStringLiteral("Description"), QStringLiteral("Leverancier")},
                                  {QStringLiteral("Polygon"), QStringLiteral("P-bron")}});
    const qint64 c2 = paar.combi(*paar.src, QStringLiteral("C2"));
    const qint64 c9 = paar.combi(*paar.src, QStringLiteral("C9")); // not chosen, not in the target
    paar.artikel(*paar.src, c1, QStringLiteral("A"),
                 {{QStringLiteral("Side"), 2}, {QStringLiteral("CR_X"), QStringLiteral("x")}});
    paar.artikel(*paar.src, c1, QStringLiteral("X"));
    paar.artikel(*paar.src, c2, QStringLiteral("Y"));
    paar.artikel(*paar.src, c9, QStringLiteral("NIET"));
    const qint64 t1 = paar.tabel(*paar.src, QStringLiteral("T1"));
    const qint64 t2 = paar.tabel(*paar.src, QStringLiteral("T2"));
    paar.dimensie(*paar.src, t1, c1, 10);
    paar.dimensie(*paar.src, t1, c9, 90);
    paar.dimensie(*paar.src, t2, c2, 20);
    test::kies({QStringLiteral("C1"), QStringLiteral("C2")}, {},
               {QStringLiteral("T1"), QStringLiteral("T2")});

    OptLog log;
    run(paar, log);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));

    QCOMPARE(paar.doelArtikelen(QStringLiteral("C1")),
             (QStringList{QStringLiteral("A"), QStringLiteral("X")}));
    QCOMPARE(paar.doelArtikelen(QStringLiteral("C2")), QStringList{QStringLiteral("Y")});
    QCOMPARE(
        paar.dst
            ->scalar(QStringLiteral("SELECT Description || Polygon FROM LocksHingesCombi WHERE Code = 'C1'"))
            .toString(),
        QStringLiteral("EigenP-doel"));
    QCOMPARE(
        paar.dst->scalar(QStringLiteral("SELECT Side || CR_X FROM LocksHingesArticle WHERE fkArticle = 'A'"))
            .toString(),
        QStringLiteral("2x"));
    QCOMPARE(paar.dst->count(kCombi), 3);

    const QString dimensies = QStringLiteral(
        "SELECT LocksHingesTable.Code || ':' || LocksHingesCombi.Code || ':' || CAST(MaxHeight AS INTEGER) "
        "FROM "
        "LocksHingesType INNER JOIN LocksHingesTable ON LocksHingesTable.ID = "
        "LocksHingesType.fkLocksHingesTable "
        "INNER JOIN LocksHingesCombi ON LocksHingesCombi.ID = LocksHingesType.fkLocksHingesCombi ORDER BY 1");
    QCOMPARE(test::eersteKolom(*paar.dst, dimensies),
             (QStringList{QStringLiteral("T1:C1:10"), QStringLiteral("T2:C2:20")}));
    QCOMPARE(paar.dst->count(QStringLiteral("LocksHingesType")), 2);
    QVERIFY2(log.lines.contains(QStringLiteral("Veld overgeslagen, waarde niet aanwezig in doel: "
                                               "ID=fkLocksHingesCombi->Code=C9")),
             qPrintable(log.lines.join(QLatin1Char('\n'))));
    // The child rows are deleted through the Jet statement form.
    QVERIFY(log.lines.contains(
        QStringLiteral("Verwijderen: DELETE * FROM LocksHingesArticle WHERE fkLocksHingesCombi=") +
        QString::number(doelC1)));
}

// The newer format: an existing combination takes the source's Polygon and limits and keeps its other
// fields; its articles are exactly the source's, each pointing to the target's ID.
void TestClsSyncOptStappen::newerFormatCombinations()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::Jet, {3, 20}, {3, 30});
    paar.combi(*paar.dst, QStringLiteral("EIGEN"));
    QVariantMap oud = grenzen(QStringLiteral("P-doel"), 100);
    oud[QStringLiteral("Description")] = QStringLiteral("Eigen");
    const qint64 doelC1 = paar.combi(*paar.dst, QStringLiteral("C1"), oud);
    for (const QString& a : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Z")})
        paar.artikel(*paar.dst, doelC1, a);

    QVariantMap nieuw = grenzen(QStringLiteral("P-bron"), 1);
    nieuw[QStringLiteral("Description")] = QStringLiteral("Leverancier");
    const qint64 c1 = paar.combi(*paar.src, QStringLiteral("C1"), nieuw);
    paar.artikel(*paar.src, c1, QStringLiteral("A"),
                 {{QStringLiteral("Type"), 3},
                  {QStringLiteral("Draw"), -1},
                  {QStringLiteral("Position"), QStringLiteral("L")},
                  {QStringLiteral("hTo"), QVariant()}});
    paar.artikel(*paar.src, c1, QStringLiteral("X"));
    test::kies({QStringLiteral("C1")}, {}, {});

    OptLog log;
    run(paar, log);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));

    QCOMPARE(paar.doelArtikelen(QStringLiteral("C1")),
             (QStringList{QStringLiteral("A"), QStringLiteral("X")}));
    const QString c1Velden = QStringLiteral(
        "SELECT Description || '|' || Polygon || '|' || Lim_min_W || '|' || Lim_min_H || '|' || Lim_min_A || "
        "'|' || "
        "Lim_max_W || '|' || Lim_max_H || '|' || Lim_max_A FROM LocksHingesCombi WHERE Code = 'C1'");
    QCOMPARE(paar.dst->scalar(c1Velden).toString(), QStringLiteral("Eigen|P-bron|1.0|2.0|3.0|4.0|5.0|6.0"));
    QCOMPARE(paar.dst
                 ->scalar(QStringLiteral("SELECT Type || Draw || Position || ifnull(hTo, 'null') FROM "
                                         "LocksHingesArticle WHERE fkArticle = 'A'"))
                 .toString(),
             QStringLiteral("3-1Lnull"));
    QVERIFY(log.lines.contains(QStringLiteral("Update: Polygon(P-doel->P-bron)")));
    QCOMPARE(log.bestaand, QList<qint32>{1});
    QCOMPARE(log.nieuw, (QList<qint32>{1, 2})); // the two articles
}

void TestClsSyncOptStappen::choicesReplaced_data()
{
    QTest::addColumn<int>("opslag");
    QTest::newRow("newer jet format") << int(Opslag::Jet);
    QTest::newRow("sqlite") << int(Opslag::SQLite);
}

// An existing choice loses its rows and gets the chosen source choice's rows, each pointing to the target's
// combination of the same code; a new choice comes with its rows.
void TestClsSyncOptStappen::choicesReplaced()
{
    QFETCH(int, opslag);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    const fixtures::Version v =
        opslag == int(Opslag::Jet) ? fixtures::Version{3, 20} : fixtures::Version{3, 40};
    OptPaar paar(env, Opslag(opslag), v, v);
    test::zetOptOpties(false, true); // the combinations are in the target already
    paar.combi(*paar.dst, QStringLiteral("EIGEN"));
    const qint64 d3 = paar.combi(*paar.dst, QStringLiteral("C3"));
    const qint64 d2 = paar.combi(*paar.dst, QStringLiteral("C2"));
    const qint64 d1 = paar.combi(*paar.dst, QStringLiteral("C1"));
    const qint64 dk1 = paar.keuze(*paar.dst, QStringLiteral("K1"));
    paar.keuzeRij(*paar.dst, dk1, d1);
    paar.keuzeRij(*paar.dst, dk1, d3);
    const qint64 dk9 = paar.keuze(*paar.dst, QStringLiteral("K9")); // not chosen: left alone
    paar.keuzeRij(*paar.dst, dk9, d2);

    const qint64 c1 = paar.combi(*paar.src, QStringLiteral("C1"));
    const qint64 c2 = paar.combi(*paar.src, QStringLiteral("C2"));
    const qint64 c4 = paar.combi(*paar.src, QStringLiteral("C4")); // the target lacks it
    const qint64 k1 = paar.keuze(*paar.src, QStringLiteral("K1"));
    paar.keuzeRij(*paar.src, k1, c1);
    paar.keuzeRij(*paar.src, k1, c2);
    const qint64 k2 = paar.keuze(*paar.src, QStringLiteral("K2"));
    paar.keuzeRij(*paar.src, k2, c2);
    paar.keuzeRij(*paar.src, k2, c4);
    const qint64 k3 = paar.keuze(*paar.src, QStringLiteral("K3")); // not chosen
    paar.keuzeRij(*paar.src, k3, c1);
    test::kies({}, {QStringLiteral("K1"), QStringLiteral("K2")}, {});

    OptLog log;
    run(paar, log);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));

    QCOMPARE(paar.doelKeuzeCombies(QStringLiteral("K1")),
             (QStringList{QStringLiteral("C1"), QStringLiteral("C2")}));
    QCOMPARE(paar.doelKeuzeCombies(QStringLiteral("K2")), QStringList{QStringLiteral("C2")});
    QCOMPARE(paar.doelKeuzeCombies(QStringLiteral("K9")), QStringList{QStringLiteral("C2")});
    QCOMPARE(paar.dst->count(kKeuze), 3);
    QCOMPARE(paar.dst->count(QStringLiteral("CustomLH")), 4);
    QCOMPARE(paar.dst->count(kCombi), 4);
    // The row pointing to a combination the target lacks is left out and logged, not counted.
    QVERIFY(!log.startingWith(QStringLiteral("Veld overgeslagen, waarde niet aanwezig in doel: ")).isEmpty());
}

// SQLite: an existing combination's Data is merged with the source's when they differ and left as it is when
// they are equal; Polygon and the limits are taken, the other fields kept; a new combination comes whole.
void TestClsSyncOptStappen::sqliteCombinationData()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::SQLite);
    const QString oudC1 = optData({QStringLiteral("OUD")}, QStringLiteral("R-doel"));
    const QString nieuwC1 = optData({QStringLiteral("A1"), QStringLiteral("A2")}, QStringLiteral("R-bron"));
    const QString gelijk = optData({QStringLiteral("G")}, QStringLiteral("R"));
    QVariantMap doelC1 = grenzen(QStringLiteral("P-doel"), 100);
    doelC1[QStringLiteral("Data")] = oudC1;
    doelC1[QStringLiteral("Description")] = QStringLiteral("Eigen");
    paar.combi(*paar.dst, QStringLiteral("C1"), doelC1);
    paar.combi(*paar.dst, QStringLiteral("C2"), {{QStringLiteral("Data"), gelijk}});

    QVariantMap bronC1 = grenzen(QStringLiteral("P-bron"), 1);
    bronC1[QStringLiteral("Data")] = nieuwC1;
    paar.combi(*paar.src, QStringLiteral("C1"), bronC1);
    paar.combi(*paar.src, QStringLiteral("C2"), {{QStringLiteral("Data"), gelijk}});
    paar.combi(*paar.src, QStringLiteral("C3"), {{QStringLiteral("Data"), nieuwC1}});
    test::kies({QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")}, {}, {});

    OptLog log;
    run(paar, log);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));

    QString foutTekst;
    const QString samen = MergeJSONFieldLibrary(oudC1, nieuwC1, foutTekst);
    QVERIFY(foutTekst.isEmpty());
    QVERIFY(samen.contains(QStringLiteral("R-doel")) && samen.contains(QStringLiteral("A2")));
    const QString data = QStringLiteral("SELECT Data FROM LocksHingesCombi WHERE Code = ?");
    QCOMPARE(paar.dst->scalar(data, {QStringLiteral("C1")}).toString(), samen);
    QCOMPARE(paar.dst->scalar(data, {QStringLiteral("C2")}).toString(), gelijk);
    QCOMPARE(paar.dst->scalar(data, {QStringLiteral("C3")}).toString(), nieuwC1);
    QCOMPARE(log.startingWith(QStringLiteral("JSON Merge")).size(), 1);
    QCOMPARE(paar.dst
                 ->scalar(QStringLiteral("SELECT Description || '|' || Polygon || '|' || Lim_max_A FROM "
                                         "LocksHingesCombi WHERE Code = 'C1'"))
                 .toString(),
             QStringLiteral("Eigen|P-bron|6.0"));
    // Rows of the SQLite copier move the progress bar.
    QCOMPARE(log.huidig, (QList<qint32>{1, 2, 3}));
}

void TestClsSyncOptStappen::chosenCodeMissing_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("versieTekst");
    QTest::newRow("older jet format") << int(Opslag::Jet) << "3.0";
    QTest::newRow("newer jet format") << int(Opslag::Jet) << "3.20";
    QTest::newRow("sqlite") << int(Opslag::SQLite) << "3.40";
}

// A chosen combination or choice the source does not hold: nothing happens for it.
void TestClsSyncOptStappen::chosenCodeMissing()
{
    QFETCH(int, opslag);
    QFETCH(QString, versieTekst);
    const fixtures::Version v = test::versie(versieTekst);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag(opslag), v, v);
    const qint64 d = paar.combi(*paar.dst, QStringLiteral("GEEN"));
    if (v.code() < 340)
        paar.artikel(*paar.dst, d, QStringLiteral("BLIJFT"));
    paar.combi(*paar.src, QStringLiteral("ANDER"));
    test::kies({QStringLiteral("GEEN")}, {QStringLiteral("GEEN")}, {QStringLiteral("GEEN")});

    OptLog log;
    run(paar, log);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(test::eersteKolom(*paar.dst, QStringLiteral("SELECT Code FROM LocksHingesCombi")),
             QStringList{"GEEN"});
    if (v.code() < 340)
        QCOMPARE(paar.doelArtikelen(QStringLiteral("GEEN")), QStringList{QStringLiteral("BLIJFT")});
    QVERIFY(log.nieuw.isEmpty());
    QVERIFY(log.bestaand.isEmpty());
}

void TestClsSyncOptStappen::codesWithQuotes_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("versieTekst");
    QTest::newRow("older jet format") << int(Opslag::Jet) << "3.0";
    QTest::newRow("newer jet format") << int(Opslag::Jet) << "3.20";
    QTest::newRow("sqlite") << int(Opslag::SQLite) << "3.40";
}

// Codes with quotes, semicolons and letters beyond ASCII are found, matched and carried over as they are,
// on new and on existing rows.
void TestClsSyncOptStappen::codesWithQuotes()
{
    QFETCH(int, opslag);
    QFETCH(QString, versieTekst);
    const fixtures::Version v = test::versie(versieTekst);
    const QString bestaand = QStringLiteral("C'1; DROP TABLE LocksHingesCombi;--");
    const QString nieuw = QStringLiteral("Ä\"'ö");
    const QString keuze = QStringLiteral("K'é");
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag(opslag), v, v);
    const bool artikelTabel = v.code() < 340;
    const qint64 d =
        paar.combi(*paar.dst, bestaand, {{QStringLiteral("Description"), QStringLiteral("Eigen")}});
    if (artikelTabel)
        paar.artikel(*paar.dst, d, QStringLiteral("OUD"));

    const qint64 c1 = paar.combi(*paar.src, bestaand);
    const qint64 c2 = paar.combi(*paar.src, nieuw);
    if (artikelTabel) {
        paar.artikel(*paar.src, c1, QStringLiteral("A'1"));
        paar.artikel(*paar.src, c2, QStringLiteral("B'2"));
    }
    const bool keuzes = v.code() >= 310;
    if (keuzes) {
        const qint64 k = paar.keuze(*paar.src, keuze);
        paar.keuzeRij(*paar.src, k, c1);
        paar.keuzeRij(*paar.src, k, c2);
    }
    test::kies({bestaand, nieuw}, {keuze}, {});

    OptLog log;
    run(paar, log);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(paar.dst->count(kCombi), 2);
    QCOMPARE(
        paar.dst
            ->scalar(QStringLiteral("SELECT Description FROM LocksHingesCombi WHERE Code = ?"), {bestaand})
            .toString(),
        QStringLiteral("Eigen"));
    if (artikelTabel) {
        QCOMPARE(paar.doelArtikelen(bestaand), QStringList{QStringLiteral("A'1")});
        QCOMPARE(paar.doelArtikelen(nieuw), QStringList{QStringLiteral("B'2")});
    }
    if (keuzes) {
        QStringList verwacht{bestaand, nieuw};
        verwacht.sort();
        QStringList gevonden = paar.doelKeuzeCombies(keuze);
        gevonden.sort();
        QCOMPARE(gevonden, verwacht);
    }
}

// A source written by hand from the column lists of an SQLite options database: columns in another order,
// keys without AUTOINCREMENT, a choice without description, Data with spaces.
void TestClsSyncOptStappen::handWrittenSqliteSource()
{
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag::SQLite);
    {
        QFile::remove(paar.bronTabellen);
        SqliteOpenOptions opties;
        opties.create = true;
        const auto db = SqliteBackend::open(paar.bronTabellen, opties);
        for (const char* sql :
             {"CREATE TABLE SysDBInfo (DBTYPE TEXT, AppType TEXT, VerMinor INTEGER, VerMajor INTEGER)",
              "INSERT INTO SysDBInfo VALUES ('OPTIONS', 'QUENTARO', 50, 3)",
              "CREATE TABLE LocksHingesCombi (Data TEXT, Lim_max_A REAL, Lim_max_H REAL, Lim_max_W REAL, "
              "Lim_min_A REAL, Lim_min_H REAL, Lim_min_W REAL, Polygon TEXT, Description TEXT, Code TEXT, "
              "ID INTEGER PRIMARY KEY)",
              "INSERT INTO LocksHingesCombi VALUES ('{ \"RefUsages\" : \"[]\", \"ArtUsages\" : \"[]\", "
              "\"ActUsages\" : \"[]\", \"LHArticles\" : \"[]\" }', 6, 5, 4, 3, 2, 1, 'P', 'Hand', 'H1', 7)",
              "INSERT INTO LocksHingesCombi (Code, ID) VALUES ('H2', 9)",
              "CREATE TABLE CustomLHCombi (Description TEXT, Code TEXT, ID INTEGER PRIMARY KEY)",
              "INSERT INTO CustomLHCombi VALUES (NULL, 'KH', 3)",
              "CREATE TABLE CustomLH (fkLockHingeCombi INTEGER, fkCustomLHCombi INTEGER, ID INTEGER PRIMARY "
              "KEY)",
              "INSERT INTO CustomLH VALUES (9, 3, 1), (7, 3, 2)"})
            db->execute(QString::fromLatin1(sql));
        db->close();
    }
    paar.src.reset();
    test::kies({QStringLiteral("H1"), QStringLiteral("H2")}, {QStringLiteral("KH")}, {});

    OptLog log;
    run(paar, log);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(paar.dst
                 ->scalar(QStringLiteral("SELECT Description || Polygon || Lim_min_W || Lim_max_A FROM "
                                         "LocksHingesCombi WHERE Code = 'H1'"))
                 .toString(),
             QStringLiteral("HandP1.06.0"));
    QVERIFY(paar.dst->scalar(QStringLiteral("SELECT Data FROM LocksHingesCombi WHERE Code = 'H1'"))
                .toString()
                .contains(QStringLiteral("LHArticles")));
    QCOMPARE(paar.doelKeuzeCombies(QStringLiteral("KH")),
             (QStringList{QStringLiteral("H1"), QStringLiteral("H2")}));
    QVERIFY(paar.dst->scalar(QStringLiteral("SELECT Description FROM CustomLHCombi")).isNull());
}

void TestClsSyncOptStappen::progressAndTotals_data()
{
    QTest::addColumn<int>("opslag");
    QTest::addColumn<QString>("versieTekst");
    QTest::addColumn<int>("totaal");
    QTest::addColumn<bool>("rijenTellen");
    // Counted in the source: combinations 3, articles 2, tables 1, dimensions 1.
    QTest::newRow("older jet format") << int(Opslag::Jet) << "3.0" << 7 << false;
    QTest::newRow("newer jet format") << int(Opslag::Jet) << "3.20" << 5 << false;
    QTest::newRow("sqlite") << int(Opslag::SQLite) << "3.40" << 3 << true;
}

// Each path announces its total once; only the rows of the SQLite copier move the bar, on across its steps.
void TestClsSyncOptStappen::progressAndTotals()
{
    QFETCH(int, opslag);
    QFETCH(QString, versieTekst);
    QFETCH(int, totaal);
    QFETCH(bool, rijenTellen);
    const fixtures::Version v = test::versie(versieTekst);
    test::TestEnvironment env;
    test::RecordingUiServices ui;
    OptPaar paar(env, Opslag(opslag), v, v);
    QStringList codes;
    for (const QString& code : {QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")}) {
        const qint64 c = paar.combi(*paar.src, code);
        if (code == QLatin1String("C3"))
            break;
        if (v.code() < 340)
            paar.artikel(*paar.src, c, QStringLiteral("A-") + code);
    }
    const qint64 t = paar.tabel(*paar.src, QStringLiteral("T1"));
    paar.dimensie(*paar.src, t, 1, 5);
    if (v.code() >= 310) {
        const qint64 k = paar.keuze(*paar.src, QStringLiteral("K1"));
        paar.keuzeRij(*paar.src, k, 1);
    }
    test::kies({QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")}, {QStringLiteral("K1")},
               {QStringLiteral("T1")});

    OptLog log;
    clsSyncOpt engine;
    run(paar, log, &engine);
    QVERIFY2(log.fouten.isEmpty(), qPrintable(fouten(log)));
    QCOMPARE(log.totaal, QList<qint32>{totaal});
    if (!rijenTellen) {
        QVERIFY(log.huidig.isEmpty());
        QCOMPARE(engine.Voortgangsteller(), 0);
        return;
    }
    // Three combinations, one choice, one row of the choice.
    QCOMPARE(log.huidig, (QList<qint32>{1, 2, 3, 4, 5}));
    // The counts are each copier's own: the choice step starts again at 1.
    QCOMPARE(log.nieuw, (QList<qint32>{1, 2, 3, 1, 1}));
}

QTEST_GUILESS_MAIN(TestClsSyncOptStappen)
#include "test_clssyncopt_stappen.moc"
