// The generic selection step (steps 5, 6, 12, 13, 14) without a window: which
// sources it reads, the history marks, Next, batches, Finish, revisits and
// the five uses with their own settings; with a scripted reader and history,
// and with the program's own on fixture library databases and a database
// written by hand.

#include "selection/stapselectalgemeen.h"

#include "database/backendopeners.h"
#include "database/doelbestand.h"
#include "database/history.h"
#include "fixtures/designdatabases.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>
#include <sqlite3.h>
#include <xlsxwriter.h>

using namespace supplink;

namespace {

const QString kLaagreliefQuery = QStringLiteral("SELECT DISTINCT ID, Code, Description FROM TreshHoldCombi");

struct Rij
{
    qint32 id;
    QString code;
    QString omschrijving;
};

// Answers every source from a script and remembers what it was asked.
class ScriptLezer final : public BibliotheekLezer
{
public:
    struct Vraag
    {
        bool jet;
        QString pad;
        QString query;
    };

    bool LeesJet(const QString& pad, const QString& query, ItemCollection& alle) override
    {
        return lees(true, pad, query, alle);
    }
    bool LeesSQLite(const QString& pad, const QString& query, ItemCollection& alle) override
    {
        return lees(false, pad, query, alle);
    }

    QList<Vraag> vragen;
    QHash<QString, QList<Rij>> rijen; // per path
    QStringList onleesbaar;           // paths that do not open

private:
    bool lees(bool jet, const QString& pad, const QString& query, ItemCollection& alle)
    {
        vragen.append({jet, pad, query});
        if (onleesbaar.contains(pad))
            return false;
        for (const Rij& rij : rijen.value(pad)) {
            auto item = std::make_shared<clsItem>();
            item->ID = rij.id;
            item->Code = rij.code;
            item->Description = rij.omschrijving;
            alle.append(item);
        }
        return true;
    }
};

std::shared_ptr<clsBron2> bron(const QString& naam, qint32 soort, bool jet, bool sqlite, const QString& pad = {})
{
    auto result = std::make_shared<clsBron2>();
    result->BestandsNaam = naam;
    result->BronPad = pad.isEmpty() ? QStringLiteral("/bronnen/") + naam : pad;
    result->Soort = soort;
    result->IsJetDatabase = jet;
    result->IsSQLite = sqlite;
    result->IsExcel = !jet && !sqlite;
    return result;
}

QStringList codes(StapSelectAlgemeen& stap)
{
    QStringList result;
    const SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    for (int rij = 0; rij < lijst.RijAantal(); ++rij)
        result << lijst.Rij(rij).Code;
    return result;
}

QStringList codes(const ItemCollection& items)
{
    QStringList result;
    for (const auto& item : items)
        result << item->Code;
    return result;
}

int rijVan(StapSelectAlgemeen& stap, const QString& code)
{
    const SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    for (int rij = 0; rij < lijst.RijAantal(); ++rij) {
        if (lijst.Rij(rij).Code == code)
            return rij;
    }
    return -1;
}

struct Gebruik
{
    QString naam;
    QString tabel;
    qint32 history;
};

const QList<Gebruik> kVijfStappen = {
    {QStringLiteral("Laagrelief"), QStringLiteral("TreshHoldCombi"), 8},
    {QStringLiteral("Neuten"), QStringLiteral("TreshHoldCombiExt"), 9},
    {QStringLiteral("Vaksponningen"), QStringLiteral("PaneGrooveTable"), 5},
    {QStringLiteral("Randsponningen"), QStringLiteral("EdgeGroove"), 6},
    {QStringLiteral("Elementsponningen"), QStringLiteral("OuterGrooveTable"), 7},
};

} // namespace

class TestStapSelectAlgemeen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noLibrarySourceGivesAnEmptyListAndNoNext();
    void readsTheLibraryDatabasesOfTheKind();
    void unreadableSourceLeavesTheOthers();
    void historyMarksAreApplied();
    void tickAndUntick();
    void batchEvaluatesNextOnce();
    void finishKeepsTheCollectionsOrder();
    void revisitingReadsNothing();
    void fiveUsesKeepFiveSplitterValues();
    void sameCodeFromTwoSources();
    void groupChangeKeepsTicks();
    void eachListShowsItsOwnDocumentation();
    void clearEmptiesEverything();
    void programReaderAndHistoryOnLibraryDatabases();

private:
    // Enters the step as the main window does for step 5 with the program-wide pair.
    void betreed(StapSelectAlgemeen& stap, const Gebruik& gebruik = kVijfStappen.first());

    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
    std::shared_ptr<ScriptLezer> m_lezer;
    QList<std::pair<qint32, QStringList>> m_gemarkeerd; // what the scripted history was asked
};

void TestStapSelectAlgemeen::init()
{
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
    globals() = ProgramState();
    m_lezer = std::make_shared<ScriptLezer>();
    m_gemarkeerd.clear();
}

void TestStapSelectAlgemeen::cleanup()
{
    globals() = ProgramState();
    resetBackendOpeners();
    m_ui.reset();
    m_env.reset();
}

void TestStapSelectAlgemeen::betreed(StapSelectAlgemeen& stap, const Gebruik& gebruik)
{
    stap.setLezer(m_lezer);
    stap.sjabloon().setHistorieMarkering([this](qint32 type, const ItemCollection& items) {
        m_gemarkeerd.append({type, codes(items)});
    });
    stap.Init(globals().gColLaagrelief, globals().gColLaagreliefGeselecteerd, gebruik.history,
              QStringLiteral("SELECT DISTINCT ID, Code, Description FROM ") + gebruik.tabel, BronSoort::Bibliotheek,
              gebruik.naam);
}

void TestStapSelectAlgemeen::noLibrarySourceGivesAnEmptyListAndNoNext()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("artikelen.mdb"), BronSoort::Artikelen, true, false),
                                      bron(QStringLiteral("bibliotheek.xls"), BronSoort::Bibliotheek, false, false)};
    StapSelectAlgemeen stap;
    QSignalSpy verder(&stap, &Stap::KanVerder);
    QSignalSpy status(&stap, &Stap::StatusTekst);
    betreed(stap);
    QVERIFY(m_lezer->vragen.isEmpty());
    QCOMPARE(stap.sjabloon().lijst().lijst().RijAantal(), 0);
    QVERIFY(!verder.isEmpty());
    QCOMPARE(verder.last().at(0).toBool(), false);
    QStringList teksten;
    for (const QList<QVariant>& melding : status)
        teksten << melding.at(0).toString();
    QCOMPARE(teksten, (QStringList{QStringLiteral("Inlezen bestand artikelen.mdb"), QString(),
                                   QStringLiteral("Inlezen bestand bibliotheek.xls"), QString(),
                                   QStringLiteral("Controle historische gegevens"), QString()}));
    QCOMPARE(stap.sjabloon().lijst().InfoTekst(), QStringLiteral("Alle (0) - "));
}

void TestStapSelectAlgemeen::readsTheLibraryDatabasesOfTheKind()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.mdb"), BronSoort::Bibliotheek, true, false),
                                      bron(QStringLiteral("b.sqlite"), BronSoort::Bibliotheek, false, true),
                                      bron(QStringLiteral("wkv.sqlite"), BronSoort::WKV, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.mdb")] = {{1, QStringLiteral("L2"), QStringLiteral("Tweede")},
                                                        {2, QStringLiteral("L1"), QStringLiteral("Eerste")}};
    m_lezer->rijen[QStringLiteral("/bronnen/b.sqlite")] = {{7, QStringLiteral("L3"), QStringLiteral("Derde")}};
    StapSelectAlgemeen stap;
    betreed(stap);
    QCOMPARE(m_lezer->vragen.size(), 2);
    QVERIFY(m_lezer->vragen.at(0).jet);
    QVERIFY(!m_lezer->vragen.at(1).jet);
    QCOMPARE(m_lezer->vragen.at(0).query, kLaagreliefQuery);
    // The collection in source order, the list sorted on the code; the window's pair follows at once.
    QCOMPARE(codes(stap.ColItems()), (QStringList{QStringLiteral("L2"), QStringLiteral("L1"), QStringLiteral("L3")}));
    QCOMPARE(codes(globals().gColLaagrelief), codes(stap.ColItems()));
    QCOMPARE(codes(stap), (QStringList{QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3")}));
    QCOMPARE(m_gemarkeerd.size(), 1);
    QCOMPARE(m_gemarkeerd.at(0).first, 8);
    QCOMPARE(m_gemarkeerd.at(0).second, codes(stap.ColItems()));
    QCOMPARE(stap.HistoryID(), 8);
    QCOMPARE(stap.Naam(), QStringLiteral("Laagrelief"));
    QCOMPARE(stap.sjabloon().lijst().lijst().LijstNaam(), QStringLiteral("Laagrelief"));
}

void TestStapSelectAlgemeen::unreadableSourceLeavesTheOthers()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("kapot.mdb"), BronSoort::Bibliotheek, true, false),
                                      bron(QStringLiteral("goed.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->onleesbaar << QStringLiteral("/bronnen/kapot.mdb");
    m_lezer->rijen[QStringLiteral("/bronnen/goed.sqlite")] = {{1, QStringLiteral("N1"), QStringLiteral("Neut")}};
    StapSelectAlgemeen stap;
    betreed(stap);
    QCOMPARE(codes(stap), QStringList{QStringLiteral("N1")});
}

void TestStapSelectAlgemeen::historyMarksAreApplied()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = {{1, QStringLiteral("L1"), QStringLiteral("Gekozen")},
                                                           {2, QStringLiteral("L2"), QStringLiteral("Bestaat")},
                                                           {3, QStringLiteral("L3"), QStringLiteral("Ongewenst")}};
    StapSelectAlgemeen stap;
    stap.setLezer(m_lezer);
    stap.sjabloon().setHistorieMarkering([](qint32 type, const ItemCollection& items) {
        QCOMPARE(type, 8);
        items.at(0)->Selected = true; // ticked in the last run
        items.at(1)->Existing = true;
        items.at(2)->setUnwanted(true);
    });
    QSignalSpy verder(&stap, &Stap::KanVerder);
    stap.Init(globals().gColLaagrelief, globals().gColLaagreliefGeselecteerd, 8, kLaagreliefQuery,
              BronSoort::Bibliotheek, QStringLiteral("Laagrelief"));
    const SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    QVERIFY(lijst.Rij(0).Aangevinkt);
    QCOMPARE(lijst.Rij(0).Kleur.rgba(), LijstKleur::Geselecteerd);
    QCOMPARE(lijst.Rij(1).Tekst(5), QStringLiteral("*")); // "Bestaand"
    QCOMPARE(lijst.Rij(2).Tekst(6), QStringLiteral("*")); // "Ongewenst"
    QCOMPARE(verder.last().at(0).toBool(), true);
}

void TestStapSelectAlgemeen::tickAndUntick()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = {{1, QStringLiteral("L2"), {}}, {2, QStringLiteral("L1"), {}}};
    StapSelectAlgemeen stap;
    betreed(stap);
    QSignalSpy verder(&stap, &Stap::KanVerder);
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    lijst.ZetVinkje(rijVan(stap, QStringLiteral("L1")), true);
    QCOMPARE(verder.last().at(0).toBool(), true);
    QVERIFY(stap.ColItems().at(1)->Selected); // L1 is the second item, the first row
    lijst.ZetVinkje(rijVan(stap, QStringLiteral("L1")), false);
    QCOMPARE(verder.last().at(0).toBool(), false);
    QVERIFY(!stap.ColItems().at(1)->Selected);
    // A click shows the row and evaluates Next.
    verder.clear();
    lijst.Klik(0);
    QCOMPARE(verder.size(), 1);
    QCOMPARE(stap.sjabloon().paneel().Omschrijving(), QString()); // no description, no workbook
}

void TestStapSelectAlgemeen::batchEvaluatesNextOnce()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true)};
    QList<Rij> rijen;
    for (int i = 0; i < 50; ++i)
        rijen.append({i, QStringLiteral("L%1").arg(i), {}});
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = rijen;
    StapSelectAlgemeen stap;
    betreed(stap);
    QSignalSpy verder(&stap, &Stap::KanVerder);
    stap.sjabloon().lijst().lijst().AllesSelecteren();
    QCOMPARE(verder.size(), 1);
    QCOMPARE(verder.at(0).at(0).toBool(), true);
    for (const auto& item : stap.ColItems())
        QVERIFY(item->Selected);
    verder.clear();
    stap.sjabloon().lijst().lijst().NietsSelecteren();
    QCOMPARE(verder.size(), 1);
    QCOMPARE(verder.at(0).at(0).toBool(), false);
}

void TestStapSelectAlgemeen::finishKeepsTheCollectionsOrder()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = {
        {1, QStringLiteral("B"), {}}, {2, QStringLiteral("C"), {}}, {3, QStringLiteral("A"), {}}};
    StapSelectAlgemeen stap;
    betreed(stap);
    SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    lijst.KolomKlik(0); // descending: C, B, A
    QCOMPARE(codes(stap), (QStringList{QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")}));
    lijst.ZetVinkje(0, true);
    lijst.ZetVinkje(2, true);
    lijst.ZetKolomBreedte(1, 5000);
    stap.sjabloon().ZetSplitterPositie(4200);
    stap.Finish();
    QCOMPARE(codes(stap.ColItemsGeselecteerd()), (QStringList{QStringLiteral("C"), QStringLiteral("A")}));
    QCOMPARE(codes(stap.ColItems()), (QStringList{QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A")}));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("Laagrelief2width"), {}),
             QStringLiteral("5000"));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Splitter"), QStringLiteral("Laagrelief"), {}),
             QStringLiteral("4200"));
}

void TestStapSelectAlgemeen::revisitingReadsNothing()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = {{1, QStringLiteral("L1"), {}}, {2, QStringLiteral("L2"), {}}};
    StapSelectAlgemeen stap;
    betreed(stap);
    stap.sjabloon().lijst().lijst().ZetVinkje(1, true);
    stap.Finish();
    // The window takes the pair over, goes on and comes back.
    globals().gColLaagrelief = stap.ColItems();
    globals().gColLaagreliefGeselecteerd = stap.ColItemsGeselecteerd();
    betreed(stap, kVijfStappen.at(1)); // another use in between
    QCOMPARE(m_lezer->vragen.size(), 1);
    QSignalSpy verder(&stap, &Stap::KanVerder);
    m_lezer->vragen.clear();
    m_gemarkeerd.clear();
    betreed(stap);
    QVERIFY(m_lezer->vragen.isEmpty());
    QVERIFY(m_gemarkeerd.isEmpty());
    QCOMPARE(codes(stap), (QStringList{QStringLiteral("L1"), QStringLiteral("L2")}));
    QVERIFY(stap.sjabloon().lijst().lijst().Rij(1).Aangevinkt);
    QVERIFY(!stap.sjabloon().lijst().lijst().SelectionDirty());
    QCOMPARE(verder.last().at(0).toBool(), true);
    QCOMPARE(codes(stap.ColItemsGeselecteerd()), QStringList{QStringLiteral("L2")});
}

void TestStapSelectAlgemeen::fiveUsesKeepFiveSplitterValues()
{
    StapSelectAlgemeen stap;
    for (int i = 0; i < kVijfStappen.size(); ++i) {
        stap.Clear();
        betreed(stap, kVijfStappen.at(i));
        stap.sjabloon().ZetSplitterPositie(1000 + 100 * i);
        stap.Finish();
    }
    for (int i = kVijfStappen.size() - 1; i >= 0; --i) {
        QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Splitter"), kVijfStappen.at(i).naam, {}),
                 QString::number(1000 + 100 * i));
        stap.Clear();
        betreed(stap, kVijfStappen.at(i));
        QCOMPARE(stap.sjabloon().SplitterPositie(), 1000 + 100 * i);
        QCOMPARE(stap.DistinctQRY(), QStringLiteral("SELECT DISTINCT ID, Code, Description FROM ") +
                                         kVijfStappen.at(i).tabel);
    }
}

void TestStapSelectAlgemeen::sameCodeFromTwoSources()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true),
                                      bron(QStringLiteral("b.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = {{1, QStringLiteral("L1"), QStringLiteral("Uit a")}};
    m_lezer->rijen[QStringLiteral("/bronnen/b.sqlite")] = {{5, QStringLiteral("L1"), QStringLiteral("Uit b")},
                                                           {6, QStringLiteral("L9"), {}}};
    StapSelectAlgemeen stap;
    stap.setLezer(m_lezer);
    // The history ticked the second source's copy only.
    stap.sjabloon().setHistorieMarkering([](qint32, const ItemCollection& items) { items.at(1)->Selected = true; });
    stap.Init(globals().gColLaagrelief, globals().gColLaagreliefGeselecteerd, 8, kLaagreliefQuery,
              BronSoort::Bibliotheek, QStringLiteral("Laagrelief"));
    QCOMPARE(stap.ColItems().size(), 3);
    QCOMPARE(codes(stap), (QStringList{QStringLiteral("L1"), QStringLiteral("L9")}));
    QVERIFY(m_ui->errors.isEmpty());
    // The row shows the first copy, unticked; the hidden copy follows it.
    QVERIFY(!stap.ColItems().at(1)->Selected);
    stap.sjabloon().lijst().lijst().ZetVinkje(0, true);
    QVERIFY(stap.ColItems().at(0)->Selected && stap.ColItems().at(1)->Selected);
    stap.sjabloon().lijst().lijst().ZetVinkje(0, false);
    stap.Finish();
    QVERIFY(stap.ColItemsGeselecteerd().isEmpty());
}

void TestStapSelectAlgemeen::groupChangeKeepsTicks()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = {
        {1, QStringLiteral("L1"), {}}, {2, QStringLiteral("L2"), {}}, {3, QStringLiteral("L3"), {}}};
    StapSelectAlgemeen stap;
    betreed(stap);
    GroepenLijst& lijst = stap.sjabloon().lijst();
    lijst.lijst().ZetVinkje(1, true);
    lijst.KiesGroep(6); // "(Los geselecteerd)"
    QCOMPARE(codes(stap), QStringList{QStringLiteral("L2")});
    QCOMPARE(lijst.InfoTekst(), QString());
    lijst.KiesGroep(0);
    QCOMPARE(codes(stap), (QStringList{QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3")}));
    QVERIFY(lijst.lijst().Rij(1).Aangevinkt);
    QCOMPARE(lijst.InfoTekst(), QStringLiteral("Alle (3) - "));
    QCOMPARE(m_lezer->vragen.size(), 1);
}

void TestStapSelectAlgemeen::eachListShowsItsOwnDocumentation()
{
    const QString map = m_env->path(QStringLiteral("leverancier"));
    QDir().mkpath(map);
    auto leverancier = std::make_shared<clsLeverancier>();
    leverancier->MainFolder = map;
    globals().gLeverancier = leverancier;
    lxw_workbook* boek = workbook_new(QFile::encodeName(QDir(map).filePath(QStringLiteral("Laagrelief.xls"))).constData());
    lxw_worksheet* blad = workbook_add_worksheet(boek, nullptr);
    worksheet_write_string(blad, 0, 0, "CODE", nullptr);
    worksheet_write_string(blad, 0, 1, "Omschrijving", nullptr);
    worksheet_write_string(blad, 1, 0, "X", nullptr);
    worksheet_write_string(blad, 1, 1, "Dorpel X uit de documentatie", nullptr);
    QCOMPARE(workbook_close(boek), LXW_NO_ERROR);

    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = {{1, QStringLiteral("X"), QStringLiteral("Eigen omschrijving")}};
    StapSelectAlgemeen stap;
    betreed(stap);
    stap.sjabloon().lijst().lijst().Klik(0);
    QCOMPARE(stap.sjabloon().paneel().Omschrijving(), QStringLiteral("Dorpel X uit de documentatie"));

    // The same instance as step 6: "Neuten" has no workbook, so the row's own description shows.
    stap.Finish();
    betreed(stap, kVijfStappen.at(1));
    stap.sjabloon().lijst().lijst().Klik(0);
    QCOMPARE(stap.sjabloon().paneel().Omschrijving(), QStringLiteral("Eigen omschrijving"));
}

void TestStapSelectAlgemeen::clearEmptiesEverything()
{
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("a.sqlite"), BronSoort::Bibliotheek, false, true)};
    m_lezer->rijen[QStringLiteral("/bronnen/a.sqlite")] = {{1, QStringLiteral("L1"), {}}};
    StapSelectAlgemeen stap;
    betreed(stap);
    stap.Clear();
    QVERIFY(stap.ColItems().isEmpty() && stap.ColItemsGeselecteerd().isEmpty());
    QCOMPARE(stap.HistoryID(), -1);
    QCOMPARE(stap.BronType(), -1);
    QVERIFY(stap.Naam().isEmpty() && stap.DistinctQRY().isEmpty());
}

void TestStapSelectAlgemeen::programReaderAndHistoryOnLibraryDatabases()
{
    // Source 1: a fixture library; source 2: a database written by hand with only the columns the query
    // names, taken for a Jet source (a Jet connection falls back to SQLite for such a file).
    const QString bron1 = m_env->path(QStringLiteral("bibliotheek.sqlite"));
    QVERIFY(fixtures::makeDatabase(bron1, fixtures::Kind::Library, {3, 40}));
    {
        fixtures::FixtureDb db(bron1);
        db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "L1"}, {"Description", "Dorpel een"}});
        db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "O'Neil"}, {"Description", "Met quote"}});
        db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "L2"}, {"Description", "Dorpel twee"}});
    }
    const QString bron2 = m_env->path(QStringLiteral("handgemaakt.db"));
    {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(bron2).constData(), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db,
                              "CREATE TABLE TreshHoldCombi (ID INTEGER PRIMARY KEY, Code TEXT, Description TEXT);"
                              "INSERT INTO TreshHoldCombi VALUES (40, 'l1', 'Dubbel, andere schrijfwijze');"
                              "INSERT INTO TreshHoldCombi VALUES (41, 'Ä3', NULL);",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
    }
    // The target library: L1 and L2 are there, L1 was ticked in the last run; O'Neil was imported
    // before and has left the target since.
    const QString doel = m_env->path(QStringLiteral("doel.sqlite"));
    QVERIFY(fixtures::makeDatabase(doel, fixtures::Kind::Library, {3, 40}));
    QVERIFY(CreateImportHistoryTables(doel));
    {
        fixtures::FixtureDb db(doel);
        db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "L1"}, {"Description", "Dorpel een"}});
        db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "L2"}, {"Description", "Dorpel twee"}});
        db.exec(QStringLiteral("INSERT INTO ImportHistoryDetails (Type, fkCode, Selected, Existing, InLatestRun, "
                               "Unwanted, PriceDataModified, Required) VALUES (8, 'L1', -1, -1, -1, 0, 0, 0)"));
        db.exec(QStringLiteral("INSERT INTO ImportHistoryDetails (Type, fkCode, Selected, Existing, InLatestRun, "
                               "Unwanted, PriceDataModified, Required) VALUES (8, 'O''Neil', -1, -1, -1, 0, 0, 0)"));
    }
    auto doelBestand = std::make_shared<clsDoelBestand>();
    doelBestand->Soort = 2;
    doelBestand->setPath(doel);
    doelBestand->Geselecteerd = true;
    globals().gDoelBestanden = {doelBestand};
    globals().gBronnenGeselecteerd = {bron(QStringLiteral("bibliotheek.sqlite"), BronSoort::Bibliotheek, false, true, bron1),
                                      bron(QStringLiteral("handgemaakt.db"), BronSoort::Bibliotheek, true, false, bron2)};

    StapSelectAlgemeen stap;
    QSignalSpy verder(&stap, &Stap::KanVerder);
    stap.Init(globals().gColLaagrelief, globals().gColLaagreliefGeselecteerd, 8, kLaagreliefQuery,
              BronSoort::Bibliotheek, QStringLiteral("Laagrelief"));
    QVERIFY2(m_ui->errors.isEmpty(), qPrintable(m_ui->errors.value(0).details));
    QCOMPARE(codes(stap.ColItems()), (QStringList{QStringLiteral("L1"), QStringLiteral("O'Neil"), QStringLiteral("L2"),
                                                   QStringLiteral("l1"), QString::fromUtf8("Ä3")}));
    QCOMPARE(stap.ColItems().at(3)->ID, 40);
    QCOMPARE(codes(stap), (QStringList{QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("O'Neil"),
                                       QString::fromUtf8("Ä3")}));
    const SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
    QVERIFY(lijst.Rij(0).Aangevinkt);                    // ticked in the last run
    QCOMPARE(lijst.Rij(0).Tekst(5), QStringLiteral("*")); // L1 exists in the target
    QVERIFY(!lijst.Rij(1).Aangevinkt);
    QCOMPARE(lijst.Rij(1).Tekst(5), QStringLiteral("*")); // L2 too
    QVERIFY(!lijst.Rij(2).Aangevinkt);
    QCOMPARE(lijst.Rij(2).Tekst(6), QStringLiteral("*")); // O'Neil is unwanted
    QCOMPARE(lijst.Rij(3).Tekst(4), QStringLiteral("*")); // Ä3 is new
    QCOMPARE(verder.last().at(0).toBool(), true);
    stap.Finish();
    // Both copies of L1 are selected; the target's history is not changed by looking.
    QCOMPARE(codes(stap.ColItemsGeselecteerd()), (QStringList{QStringLiteral("L1"), QStringLiteral("l1")}));
    QCOMPARE(fixtures::FixtureDb(doel).count(QStringLiteral("ImportHistoryDetails")), 2);
}

QTEST_GUILESS_MAIN(TestStapSelectAlgemeen)
#include "test_stapselectalgemeen.moc"
