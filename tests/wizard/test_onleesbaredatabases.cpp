// A database file where the user chooses it in step 2 (a source) or step 3
// (a target): held by another program for longer than the busy wait, damaged
// (cut off after a valid header), or sound. A held or damaged file is never
// taken: the user gets one message that names it and says why, no error
// window and nothing about Access; a sound one is taken as always. A source
// saved without its kind is read again when step 2 opens, and a remembered
// target is looked at when step 3 opens.
//
// The program that holds a file is a second sqlite3 connection in an
// exclusive transaction, as the transfer tests hold a target.

#include "database/doelbestand.h"
#include "fixtures/designdatabases.h"
#include "sources/bronsjablonen.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "start/veldcatalogus.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapselectbronbestanden.h"
#include "wizard/stapselectdoelbestanden.h"

#include <QDir>
#include <QSignalSpy>
#include <QtTest>
#include <sqlite3.h>

using namespace supplink;
using namespace supplink::test;
using fixtures::Kind;

enum class Staat
{
    Gezond,
    InGebruik,
    Beschadigd
};
Q_DECLARE_METATYPE(Staat)

namespace {

// The type dialog of a product table with one article type takes it without showing anything.
class StilleVensters : public BronVensters
{
public:
    bool ToonKolomWizard(clsBron2&) override { return true; }
    bool ToonTypeWizard(TypeSelectieSoort, clsBron2& bron, bool) override
    {
        getoond << bron.BestandsNaam;
        return true;
    }
    void ToonRapport(const QString&, const QStringList&) override {}
    QStringList getoond;
};

// Another program's connection: holds the file in an exclusive transaction while it lives.
class AnderProgramma
{
public:
    explicit AnderProgramma(const QString& pad)
    {
        if (sqlite3_open_v2(pad.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
            m_houdt = sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~AnderProgramma()
    {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
    bool houdt() const { return m_houdt; }

private:
    sqlite3* m_db = nullptr;
    bool m_houdt = false;
};

QString inGebruikMelding(const QString& pad)
{
    return QStringLiteral("Het bestand '%1' is in gebruik door een ander programma. Sluit dat programma en "
                          "probeer het opnieuw.")
        .arg(QDir::toNativeSeparators(pad));
}

QString beschadigdMelding(const QString& pad)
{
    return QStringLiteral("Het bestand '%1' is beschadigd en kan niet worden gelezen. Kies een onbeschadigd "
                          "exemplaar, bijvoorbeeld uit een backup.")
        .arg(QDir::toNativeSeparators(pad));
}

// Cuts the file to a share of its length, as a copy cut off on a full disk leaves it.
bool snijAf(const QString& pad, double deel)
{
    QFile bestand(pad);
    return bestand.open(QIODevice::ReadWrite) && bestand.resize(qint64(bestand.size() * deel));
}

// The column "staat" with a row for each state.
void drieStaten()
{
    QTest::addColumn<Staat>("staat");
    QTest::newRow("sound") << Staat::Gezond;
    QTest::newRow("held by another program") << Staat::InGebruik;
    QTest::newRow("damaged") << Staat::Beschadigd;
}

bool laatste(const QSignalSpy& spy)
{
    return !spy.isEmpty() && spy.last().at(0).toBool();
}

} // namespace

class OnleesbareDatabasesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void kiezen_data();
    void kiezen();
    void bewaardeBron_data();
    void bewaardeBron();
    void onthoudenDoel_data();
    void onthoudenDoel();

private:
    // A product table with articles of one type (its type dialog has no choice to offer).
    QString productentabel(const QString& naam)
    {
        const QString pad = m_env->path(naam);
        QDir().mkpath(QFileInfo(pad).absolutePath());
        if (!fixtures::makeDatabase(pad, Kind::ProductTable, {3, 40}))
            qFatal("fixture database not made");
        fixtures::FixtureDb db(pad);
        for (int i = 1; i <= 40; ++i)
            db.insert(QStringLiteral("Article"),
                      {{"Code", QStringLiteral("A%1").arg(i)}, {"Description", QStringLiteral("Artikel %1").arg(i)},
                       {"fkType", 4}});
        return pad;
    }
    // Puts the file in the state; for a held file the other program is returned and holds it while it lives.
    std::unique_ptr<AnderProgramma> maak(const QString& pad, Staat staat, double deel = 1.0 / 3)
    {
        if (staat == Staat::Beschadigd && !snijAf(pad, deel))
            qFatal("file not cut");
        if (staat != Staat::InGebruik)
            return nullptr;
        auto ander = std::make_unique<AnderProgramma>(pad);
        if (!ander->houdt())
            qFatal("the other program could not hold the file");
        return ander;
    }
    QString verwacht(const QString& pad, Staat staat) const
    {
        return staat == Staat::InGebruik    ? inGebruikMelding(pad)
               : staat == Staat::Beschadigd ? beschadigdMelding(pad)
                                            : QString();
    }
    // The step's sources: one article file, which needs a product table as target.
    static void kiesArtikelBestand()
    {
        auto bron = std::make_shared<clsBron2>();
        bron->Soort = BronSoort::Artikelen;
        bron->IsCSV = true;
        globals().gBronnenGeselecteerd << bron;
    }
    // A sound file is the target of the step's only row; a held or damaged one is not, and the user was told
    // why, in one message.
    void controleerDoel(const StapSelectDoelBestanden& stap, const QSignalSpy& kanVerder, const QString& pad,
                        Staat staat) const
    {
        if (staat == Staat::Gezond) {
            QCOMPARE(getoond(), QStringList());
            QCOMPARE(stap.rijen().first().bestand, pad);
            QVERIFY(laatste(kanVerder));
        } else {
            QCOMPARE(getoond(), QStringList{verwacht(pad, staat)});
            QCOMPARE(stap.rijen().first().bestand, QString());
            QVERIFY(globals().gDoelBestanden.first()->Path().isEmpty());
            QVERIFY(!laatste(kanVerder));
        }
    }
    // What the user was shown: every message box text, and one line per error window.
    QStringList getoond() const
    {
        QStringList teksten;
        for (const auto& melding : m_ui->messages)
            teksten << melding.text;
        for (const auto& fout : m_ui->errors)
            teksten << QStringLiteral("foutvenster: ") + fout.details;
        return teksten;
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<RecordingUiServices> m_ui;
};

void OnleesbareDatabasesTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_ui = std::make_unique<RecordingUiServices>();
    ProgramState& g = globals();
    g.gBronnen.clear();
    g.gBronnenGeselecteerd.clear();
    g.gDoelBestanden.clear();
    g.gBibliotheekModus = false;
    g.gLeverancier = std::make_shared<clsLeverancier>();
    g.gLeverancier->Code = QStringLiteral("LEV1");
    VulVeldCatalogus();
}

void OnleesbareDatabasesTest::cleanup()
{
    globals() = ProgramState();
    m_ui.reset();
    m_env.reset();
}

// Chosen through the open dialog: "&Toevoegen" in step 2, "&Bladeren" in step 3.
void OnleesbareDatabasesTest::kiezen_data()
{
    QTest::addColumn<bool>("doel");
    QTest::addColumn<Staat>("staat");
    QTest::addColumn<double>("deel"); // of a damaged file, the share left
    for (const bool doel : {false, true}) {
        const char* stap = doel ? "target" : "source";
        QTest::addRow("%s, sound", stap) << doel << Staat::Gezond << 1.0;
        QTest::addRow("%s, held by another program", stap) << doel << Staat::InGebruik << 1.0;
        QTest::addRow("%s, first third left", stap) << doel << Staat::Beschadigd << 1.0 / 3;
        QTest::addRow("%s, first half left", stap) << doel << Staat::Beschadigd << 0.5;
    }
}

void OnleesbareDatabasesTest::kiezen()
{
    QFETCH(bool, doel);
    QFETCH(Staat, staat);
    QFETCH(double, deel);
    const QString pad = productentabel(doel ? QStringLiteral("doelen/producten.pt") : QStringLiteral("bronnen/producten.pt"));
    const auto ander = maak(pad, staat, deel);

    if (!doel) {
        StilleVensters vensters;
        StapSelectBronBestanden stap;
        stap.setVensters(&vensters);
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.Init();
        m_ui->fileAnswers << QStringList{pad};
        stap.cmdBlader_Click();
        if (staat == Staat::Gezond) {
            QCOMPARE(getoond(), QStringList());
            QCOMPARE(stap.rijen().size(), 1);
            QCOMPARE(stap.rijen().first().type, QStringLiteral("Bvq"));
            QCOMPARE(globals().gBronnen.first()->Soort, BronSoort::Artikelen);
            QCOMPARE(globals().gBronnen.first()->DBType, QStringLiteral("PT"));
            QVERIFY(laatste(kanVerder));
        } else {
            QCOMPARE(getoond(), QStringList{verwacht(pad, staat)});
            QCOMPARE(MsgBox::icon(m_ui->messages.first().style), int(MsgBox::Critical));
            QVERIFY(stap.rijen().isEmpty());
            QVERIFY(globals().gBronnen.isEmpty());
            QVERIFY(vensters.getoond.isEmpty());
            QVERIFY(!laatste(kanVerder));
        }
        return;
    }

    kiesArtikelBestand();
    StapSelectDoelBestanden stap;
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QCOMPARE(stap.huidigeRij(), 0);
    m_ui->fileAnswers << QStringList{pad};
    stap.cmdBlader_Click();
    controleerDoel(stap, kanVerder, pad, staat);
}

// A database saved as a source without its kind (it could not be read when it was added): step 2 reads it
// again when it opens. Sound now, it gets its kind; still held or damaged, it stays listed unchecked with
// the message, and its definition is kept.
void OnleesbareDatabasesTest::bewaardeBron_data()
{
    drieStaten();
}

void OnleesbareDatabasesTest::bewaardeBron()
{
    QFETCH(Staat, staat);
    const QString pad = productentabel(QStringLiteral("bronnen/producten.pt"));
    {
        auto zonderSoort = std::make_shared<clsBron2>();
        zonderSoort->BronPad = pad;
        QVERIFY(zonderSoort->FileExists());
        zonderSoort->IsSQLite = true;
        zonderSoort->Geselecteerd = true;
        QVERIFY(OpslaanBronDefinities(QStringLiteral("LEV1"), {zonderSoort}));
    }
    const auto ander = maak(pad, staat);

    StilleVensters vensters;
    StapSelectBronBestanden stap;
    stap.setVensters(&vensters);
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QCOMPARE(stap.rijen().size(), 1);
    const std::shared_ptr<clsBron2> bron = stap.BronVanRij(0);
    if (staat == Staat::Gezond) {
        QCOMPARE(getoond(), QStringList());
        QCOMPARE(bron->Soort, BronSoort::Artikelen);
        QCOMPARE(bron->DBType, QStringLiteral("PT"));
        QVERIFY(stap.rijen().first().aangevinkt);
        QVERIFY(laatste(kanVerder));
    } else {
        QCOMPARE(getoond(), QStringList{verwacht(pad, staat)});
        QCOMPARE(bron->Soort, BronSoort::NietBepaald);
        QVERIFY(!stap.rijen().first().aangevinkt);
        QVERIFY(!laatste(kanVerder));
    }
    // Adding the file again (after deleting its row) does not take the saved description blindly either.
    m_ui->clear();
    stap.ZetSelectie({0}, 0);
    stap.ToetsInLijst(Qt::Key_Delete, Qt::NoModifier);
    m_ui->fileAnswers << QStringList{pad};
    stap.cmdBlader_Click();
    if (staat == Staat::Gezond) {
        QCOMPARE(getoond(), QStringList());
        QCOMPARE(stap.rijen().size(), 1);
    } else {
        QCOMPARE(getoond(), QStringList{verwacht(pad, staat)});
        QVERIFY(stap.rijen().isEmpty());
    }
}

// A remembered target that is held or damaged when step 3 opens is not filled in: the user is told, and
// the row waits for a choice.
void OnleesbareDatabasesTest::onthoudenDoel_data()
{
    drieStaten();
}

void OnleesbareDatabasesTest::onthoudenDoel()
{
    QFETCH(Staat, staat);
    const QString pad = productentabel(QStringLiteral("doelen/producten.pt"));
    CurrentUser_BrengWeg(StapSelectDoelBestanden::DoelenSectie(QStringLiteral("LEV1")),
                         QStringLiteral("Productentabel"), pad);
    const auto ander = maak(pad, staat);
    kiesArtikelBestand();
    StapSelectDoelBestanden stap;
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    controleerDoel(stap, kanVerder, pad, staat);
}

QTEST_GUILESS_MAIN(OnleesbareDatabasesTest)
#include "test_onleesbaredatabases.moc"
