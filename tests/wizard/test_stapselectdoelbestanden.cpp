// Step 3, the target files, without a window: which targets the chosen
// sources need (with the library question), the remembered targets per
// supplier (a vanished file dropped, an SQL Server target tested and shown
// without its password), choosing a file or an SQL Server connection, the
// buttons and double-click per row, the import history of the selected
// target with Delete, and what Finish hands on and remembers.

#include "database/backendopeners.h"
#include "database/doelbestand.h"
#include "database/history.h"
#include "fixtures/designdatabases.h"
#include "fixtures/sqlserverstandin.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapselectdoelbestanden.h"

#include <QDirIterator>
#include <QSignalSpy>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;
using fixtures::Kind;

namespace {

const QChar k8(8);

// A chosen source of a kind; "opties" is an options database, "1" a supplier's hardware file.
std::shared_ptr<clsBron2> bron(const QString& naam)
{
    auto b = std::make_shared<clsBron2>();
    if (naam == QLatin1String("opties")) {
        b->Soort = BronSoort::TabellenCombies;
        b->IsSQLite = true;
        b->DBType = QStringLiteral("OPTIONS");
    } else {
        b->Soort = naam.toInt();
        b->IsCSV = true;
    }
    return b;
}

class NepVensters : public DoelVensters
{
public:
    std::optional<QString> ToonSqlServerDialoog(const QString& sqlAuthenticatie) override
    {
        getoond << sqlAuthenticatie;
        return antwoord;
    }
    QStringList getoond;
    std::optional<QString> antwoord;
};

QStringList kolom(const StapSelectDoelBestanden& stap, int k)
{
    QStringList uit;
    for (const StapSelectDoelBestanden::Rij& rij : stap.rijen())
        uit << (k == 0 ? rij.soort : rij.bestand);
    return uit;
}

bool laatste(const QSignalSpy& spy)
{
    return !spy.isEmpty() && spy.last().at(0).toBool();
}

QString inhoud(const QString& pad)
{
    QFile bestand(pad);
    return bestand.open(QIODevice::ReadOnly) ? QString::fromUtf8(bestand.readAll()) : QString();
}

bool gemeld(const RecordingUiServices& ui, const QString& tekst)
{
    for (const auto& melding : ui.messages)
        if (melding.text == tekst)
            return true;
    return false;
}

QString sectie()
{
    return StapSelectDoelBestanden::DoelenSectie(QStringLiteral("LEV1"));
}

} // namespace

class StapSelectDoelBestandenTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void soorten_data();
    void soorten();
    void onthoudenDoelen();
    void sqlServerDoel();
    void bestandKiezen();
    void verbinden();
    void knoppenEnDubbelklik();
    void historie();
    void finish();
    void opnieuwBinnen();

private:
    void kiesBronnen(const QStringList& namen)
    {
        globals().gBronnenGeselecteerd.clear();
        for (const QString& naam : namen)
            globals().gBronnenGeselecteerd << bron(naam);
    }
    QString doelBestand(const QString& naam, Kind kind = Kind::ProductTable)
    {
        const QString pad = m_env->path(naam);
        QDir().mkpath(QFileInfo(pad).absolutePath());
        if (!fixtures::makeDatabase(pad, kind, {3, 40}))
            qFatal("fixture database not made");
        return pad;
    }
    // A history run written as the transfer writes one, with its own description.
    void run(const QString& pad, const QString& omschrijving, const QString& info)
    {
        QVERIFY(CreateImportHistoryTables(pad));
        fixtures::FixtureDb db(pad);
        db.insert(QStringLiteral("ImportHistory"), {{"Description", omschrijving}, {"Info", info}});
    }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<RecordingUiServices> m_ui;
    NepVensters m_vensters;
};

void StapSelectDoelBestandenTest::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_ui = std::make_unique<RecordingUiServices>();
    m_vensters = NepVensters();
    ProgramState& g = globals();
    g.gBronnenGeselecteerd.clear();
    g.gDoelBestanden.clear();
    g.gBibliotheekModus = false;
    g.gLeverancier = std::make_shared<clsLeverancier>();
    g.gLeverancier->Code = QStringLiteral("LEV1");
}

void StapSelectDoelBestandenTest::cleanup()
{
    resetBackendOpeners();
    globals().gLeverancier.reset();
    globals().gDoelBestanden.clear();
    globals().gBronnenGeselecteerd.clear();
    globals().gBibliotheekModus = false;
    m_ui.reset();
    m_env.reset();
}

void StapSelectDoelBestandenTest::soorten_data()
{
    QTest::addColumn<QStringList>("bronnen");
    QTest::addColumn<int>("antwoord"); // the answer to the library question
    QTest::addColumn<QStringList>("rijen");
    QTest::addColumn<bool>("gevraagd");
    QTest::addColumn<bool>("bibliotheekModus");

    QTest::newRow("0 1 3, nee") << QStringList{"0", "1", "3"} << int(MsgBox::No)
                                << QStringList{"Productentabel", "Onderhoudsbestand", "Werkvoorbereidingbestand"}
                                << true << false;
    QTest::newRow("0 1 3, ja") << QStringList{"0", "1", "3"} << int(MsgBox::Yes)
                               << QStringList{"Productentabel", "Bibliotheekbestand", "Werkvoorbereidingbestand"}
                               << true << true;
    QTest::newRow("0 1 3 2, ja") << QStringList{"2", "0", "1", "3"} << int(MsgBox::Yes)
                                 << QStringList{"Productentabel", "Bibliotheekbestand", "Werkvoorbereidingbestand"}
                                 << true << true;
    QTest::newRow("1 2, nee") << QStringList{"1", "2"} << int(MsgBox::No)
                              << QStringList{"Onderhoudsbestand", "Bibliotheekbestand"} << true << false;
    QTest::newRow("optiesdatabase") << QStringList{"1", "opties"} << int(MsgBox::Yes)
                                    << QStringList{"Onderhoudsbestand"} << false << false;
    QTest::newRow("bibliotheek") << QStringList{"2"} << int(MsgBox::Yes) << QStringList{"Bibliotheekbestand"} << false
                                 << false;
    QTest::newRow("geen") << QStringList{} << int(MsgBox::Yes) << QStringList{} << false << false;
}

void StapSelectDoelBestandenTest::soorten()
{
    QFETCH(QStringList, bronnen);
    QFETCH(int, antwoord);
    QFETCH(bool, gevraagd);
    kiesBronnen(bronnen);
    m_ui->messageAnswers << antwoord;
    StapSelectDoelBestanden stap;
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QTEST(kolom(stap, 0), "rijen");
    QTEST(globals().gBibliotheekModus, "bibliotheekModus");
    QCOMPARE(m_ui->messages.size(), gevraagd ? 1 : 0);
    if (gevraagd) {
        QCOMPARE(m_ui->messages.at(0).text,
                 QStringLiteral("Importeren naar Brevanto Hout 3.5 of Brevanto Kunststof 3.0 (Bibliotheek)?"));
        QCOMPARE(m_ui->messages.at(0).title, QStringLiteral("Brevanto Vededuzuduzu Davudi"));
        QCOMPARE(MsgBox::buttons(m_ui->messages.at(0).style), int(MsgBox::YesNo));
    }
    const auto& doelen = globals().gDoelBestanden;
    QCOMPARE(doelen.size(), stap.rijen().size());
    static const QStringList codes{"pt", "opt", "lib", "wkv"};
    for (qsizetype i = 0; i < doelen.size(); ++i) {
        QCOMPARE(doelen.at(i)->Omschrijving, stap.rijen().at(i).soort);
        QCOMPARE(doelen.at(i)->DoelCode, codes.at(doelen.at(i)->Soort));
    }
    // Nothing is remembered yet: Next waits for every target (and goes on when none is needed).
    QCOMPARE(laatste(kanVerder), doelen.isEmpty());
}

void StapSelectDoelBestandenTest::onthoudenDoelen()
{
    const QString pt = doelBestand(QStringLiteral("doelen/artikelen.pt"));
    const QString wkv = doelBestand(QStringLiteral("doelen/wkv.wkv"), Kind::WorkPreparation);
    CurrentUser_BrengWeg(sectie(), QStringLiteral("Productentabel"), pt);
    CurrentUser_BrengWeg(sectie(), QStringLiteral("Werkvoorbereidingbestand"), wkv);
    // Another supplier's targets are not this one's.
    CurrentUser_BrengWeg(StapSelectDoelBestanden::DoelenSectie(QStringLiteral("LEV2")),
                         QStringLiteral("Onderhoudsbestand"), pt);
    kiesBronnen({"0", "3", "opties"});

    StapSelectDoelBestanden stap;
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QCOMPARE(kolom(stap, 1), (QStringList{pt, QString(), wkv}));
    QVERIFY(!laatste(kanVerder));

    // A remembered file that has gone is dropped: the row waits for a new choice.
    QVERIFY(QFile::remove(wkv));
    globals().gDoelBestanden.clear();
    StapSelectDoelBestanden tweede;
    tweede.Init();
    QCOMPARE(kolom(tweede, 1), (QStringList{pt, QString(), QString()}));
    QVERIFY(globals().gDoelBestanden.at(2)->Path().isEmpty());
    QVERIFY(m_ui->messages.isEmpty());

    // Without a supplier nothing is remembered.
    globals().gDoelBestanden.clear();
    globals().gLeverancier.reset();
    StapSelectDoelBestanden derde;
    derde.Init();
    QCOMPARE(kolom(derde, 1), (QStringList{QString(), QString(), QString()}));
}

void StapSelectDoelBestandenTest::sqlServerDoel()
{
    fixtures::makeServerDatabase(m_env->path(QStringLiteral("server-pt.db")), Kind::ProductTable, {3, 40});
    fixtures::StandInServer server(m_env->path(QStringLiteral("server-pt.db")), m_env->path(QStringLiteral("crm.db")));
    backendOpeners().sqlServer = server.opener();
    const QString beschrijving = QStringLiteral("srv") + k8 + QStringLiteral("Velmora") + k8 +
                                 QStringLiteral("eSQLSecurity") + k8 + QStringLiteral("sa") + k8 +
                                 QStringLiteral("geheim");
    CurrentUser_BrengWeg(sectie(), QStringLiteral("Productentabel"), QLatin1Char('*') + beschrijving);
    kiesBronnen({"0"});

    StapSelectDoelBestanden stap;
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QCOMPARE(kolom(stap, 1), QStringList{QStringLiteral("* server=srv  database=Velmora  gebruiker=sa")});
    QVERIFY(laatste(kanVerder));
    QVERIFY(!server.logins.isEmpty()); // the connection was tried
    QVERIFY(m_ui->messages.isEmpty());
    QVERIFY(globals().gDoelBestanden.at(0)->SQL());

    // A server that does not answer keeps the target; the test says why.
    server.password = QStringLiteral("anders");
    globals().gDoelBestanden.clear();
    stap.Init();
    QCOMPARE(kolom(stap, 1), QStringList{QStringLiteral("* server=srv  database=Velmora  gebruiker=sa")});
    QCOMPARE(globals().gDoelBestanden.at(0)->Path(), QLatin1Char('*') + beschrijving);
    QVERIFY(gemeld(*m_ui, QStringLiteral("Verbinden met sqlserver is mislukt!")));

    // A description without its five fields cannot be tried.
    m_ui->clear();
    CurrentUser_BrengWeg(sectie(), QStringLiteral("Productentabel"), QStringLiteral("*srv") + k8 + QStringLiteral("db"));
    globals().gDoelBestanden.clear();
    stap.Init();
    QVERIFY(gemeld(*m_ui, QStringLiteral("Verbinden sqlserver niet mogelijk, niet voldoende verbindingsgegevens.")));
}

void StapSelectDoelBestandenTest::bestandKiezen()
{
    const QString pt = doelBestand(QStringLiteral("artikelen.pt"));
    kiesBronnen({"0", "1"});
    m_ui->messageAnswers << MsgBox::No;
    StapSelectDoelBestanden stap;
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    QCOMPARE(stap.huidigeRij(), 0);

    m_ui->fileAnswers << QStringList{pt};
    stap.cmdBlader_Click();
    QCOMPARE(m_ui->fileDialogs.size(), 1);
    QCOMPARE(m_ui->fileDialogs.at(0).title, QStringLiteral("Selecteer doelbestand"));
    QCOMPARE(m_ui->fileDialogs.at(0).filter, QStringLiteral("Productentabel (*.pt)|*.pt|Alle bestanden, (*.*)|*.*"));
    QVERIFY(!m_ui->fileDialogs.at(0).multiSelect);
    QCOMPARE(kolom(stap, 1), (QStringList{pt, QString()}));
    QVERIFY(!laatste(kanVerder));

    // A cancelled dialog keeps what there was.
    stap.KlikRij(1);
    stap.cmdBlader_Click();
    QCOMPARE(m_ui->fileDialogs.at(1).filter,
             QStringLiteral("Onderhoudsbestand (*.opt)|*.opt|Alle bestanden, (*.*)|*.*"));
    QCOMPARE(kolom(stap, 1), (QStringList{pt, QString()}));
    const QString opt = doelBestand(QStringLiteral("opties.opt"), Kind::Options);
    m_ui->fileAnswers << QStringList{opt};
    stap.cmdBlader_Click();
    QCOMPARE(kolom(stap, 1), (QStringList{pt, opt}));
    QVERIFY(laatste(kanVerder));
    QCOMPARE(globals().gDoelBestanden.at(1)->BestandsNaam, QStringLiteral("opties.opt"));
}

void StapSelectDoelBestandenTest::verbinden()
{
    kiesBronnen({"0"});
    StapSelectDoelBestanden stap;
    stap.setVensters(&m_vensters);
    QSignalSpy kanVerder(&stap, &Stap::KanVerder);
    stap.Init();
    const QString beschrijving = QStringLiteral("srv\\inst") + k8 + QStringLiteral("Velmora") + k8 +
                                 QStringLiteral("eSQLSecurity") + k8 + QStringLiteral("sa") + k8 +
                                 QStringLiteral("geheim");
    // Cancelled: nothing changes.
    stap.cmdVerbind_Click();
    QCOMPARE(m_vensters.getoond, QStringList{QString()});
    QCOMPARE(kolom(stap, 1), QStringList{QString()});

    m_vensters.antwoord = beschrijving;
    stap.cmdVerbind_Click();
    QCOMPARE(kolom(stap, 1), QStringList{QStringLiteral("* server=srv\\inst  database=Velmora  gebruiker=sa")});
    QVERIFY(!kolom(stap, 1).join(QString()).contains(QLatin1String("geheim")));
    QVERIFY(laatste(kanVerder));
    const auto& doel = globals().gDoelBestanden.at(0);
    QVERIFY(doel->SQL());
    QCOMPARE(doel->Path(), QLatin1Char('*') + beschrijving);

    // The dialog opens with the description it has.
    stap.cmdVerbind_Click();
    QCOMPARE(m_vensters.getoond.last(), beschrijving);
}

void StapSelectDoelBestandenTest::knoppenEnDubbelklik()
{
    kiesBronnen({"0", "1"});
    m_ui->messageAnswers << MsgBox::No;
    StapSelectDoelBestanden stap;
    stap.setVensters(&m_vensters);
    stap.Init();
    QVERIFY(stap.BladerAan());
    QVERIFY(stap.VerbindAan()); // Productentabel
    stap.KlikRij(1);
    QVERIFY(stap.BladerAan());
    QVERIFY(!stap.VerbindAan()); // Onderhoudsbestand cannot go to SQL Server
    stap.KlikRij(-1);
    QVERIFY(!stap.BladerAan());
    QVERIFY(!stap.VerbindAan());

    // A double-click beside the rows does nothing.
    stap.DubbelKlikRij(-1);
    QVERIFY(m_vensters.getoond.isEmpty());
    QVERIFY(m_ui->fileDialogs.isEmpty());
    // On the options row: the file dialog; on the product table: the SQL Server dialog.
    stap.DubbelKlikRij(1);
    QCOMPARE(m_ui->fileDialogs.size(), 1);
    QVERIFY(m_vensters.getoond.isEmpty());
    stap.DubbelKlikRij(0);
    QCOMPARE(m_vensters.getoond.size(), 1);
    QCOMPARE(m_ui->fileDialogs.size(), 1);
    QCOMPARE(stap.huidigeRij(), 0);
}

void StapSelectDoelBestandenTest::historie()
{
    const QString pt = doelBestand(QStringLiteral("artikelen.pt"));
    const QString wkv = doelBestand(QStringLiteral("werk.wkv"), Kind::WorkPreparation);
    run(pt, QStringLiteral("Leverancier A op 1 maart 2024 om 10:00."), QStringLiteral("Bronbestanden:\r\n\ta.csv"));
    run(pt, QStringLiteral("Leverancier A op 2 maart 2024 om 11:00."), QStringLiteral("Bronbestanden:\r\n\tb.csv"));
    run(pt, QStringLiteral("Leverancier A op 3 maart 2024 om 12:00."), QStringLiteral("Bronbestanden:\r\n\tc.csv"));
    CurrentUser_BrengWeg(sectie(), QStringLiteral("Productentabel"), pt);
    CurrentUser_BrengWeg(sectie(), QStringLiteral("Werkvoorbereidingbestand"), wkv);
    kiesBronnen({"0", "3"});

    StapSelectDoelBestanden stap;
    stap.Init();
    const auto teksten = [&stap] {
        QStringList uit;
        for (const auto& rij : stap.historie())
            uit << rij.tekst;
        return uit;
    };
    // Newest first; the first run is selected and its text shown.
    QCOMPARE(teksten(), (QStringList{"Leverancier A op 3 maart 2024 om 12:00.", "Leverancier A op 2 maart 2024 om 11:00.",
                                     "Leverancier A op 1 maart 2024 om 10:00."}));
    QCOMPARE(stap.huidigeHistorie(), 0);
    QCOMPARE(stap.Omschrijving(), QStringLiteral("Bronbestanden:\r\n\tc.csv"));
    QCOMPARE(globals().gDoelBestanden.at(0)->History.size(), 3);
    stap.KlikHistorie(1);
    QCOMPARE(stap.Omschrijving(), QStringLiteral("Bronbestanden:\r\n\tb.csv"));

    // Delete with Ctrl does nothing; without, the run goes from the target and the list.
    stap.ToetsInHistorie(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(teksten().size(), 3);
    stap.ToetsInHistorie(Qt::Key_Delete, Qt::NoModifier);
    QCOMPARE(teksten(), (QStringList{"Leverancier A op 3 maart 2024 om 12:00.", "Leverancier A op 1 maart 2024 om 10:00."}));
    QCOMPARE(stap.huidigeHistorie(), -1);
    QVERIFY(stap.Omschrijving().isEmpty());
    QCOMPARE(OpvragenHistory(pt).size(), 2);
    QVERIFY(!OpvragenHistory(pt).join(QString()).contains(QLatin1String("2 maart")));
    // With no run selected Delete removes nothing.
    stap.ToetsInHistorie(Qt::Key_Delete, Qt::NoModifier);
    QCOMPARE(OpvragenHistory(pt).size(), 2);

    // A target without history tables has an empty history.
    stap.KlikRij(1);
    QVERIFY(stap.historie().isEmpty());
    QVERIFY(stap.Omschrijving().isEmpty());
    QVERIFY(m_ui->errors.isEmpty());
}

void StapSelectDoelBestandenTest::finish()
{
    const QString pt = doelBestand(QStringLiteral("artikelen.pt"));
    const QString opt = doelBestand(QStringLiteral("opties.opt"), Kind::Options);
    kiesBronnen({"0", "1"});
    m_ui->messageAnswers << MsgBox::No;
    StapSelectDoelBestanden stap;
    stap.setVensters(&m_vensters);
    stap.ZetLijstBreedte(4060);
    stap.Init();
    QCOMPARE(stap.kolomBreedtes(), (QList<int>{1000, 3000}));
    QCOMPARE(stap.SplitterPositie(1), 35);
    QCOMPARE(stap.SplitterPositie(2), 25);
    const QString beschrijving = QStringLiteral("srv") + k8 + QStringLiteral("Velmora") + k8 +
                                 QStringLiteral("eSQLSecurity") + k8 + QStringLiteral("sa") + k8 +
                                 QStringLiteral("geheim");
    m_vensters.antwoord = beschrijving;
    stap.cmdVerbind_Click();
    stap.KlikRij(1);
    m_ui->fileAnswers << QStringList{opt};
    stap.cmdBlader_Click();
    stap.ZetSplitterPositie(1, 50);
    stap.ZetKolomBreedte(0, 1500);
    stap.Finish();

    // Every filled target reaches the transfer.
    for (const auto& doel : globals().gDoelBestanden)
        QVERIFY(doel->Geselecteerd);
    QCOMPARE(CurrentUser_HaalOp(sectie(), QStringLiteral("Productentabel"), {}), QLatin1Char('*') + beschrijving);
    QCOMPARE(CurrentUser_HaalOp(sectie(), QStringLiteral("Onderhoudsbestand"), {}), opt);
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Splitter"), QStringLiteral("doelbestandensplitter1pos"), {}),
             QStringLiteral("50"));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Splitter"), QStringLiteral("doelbestandensplitter2pos"), {}),
             QStringLiteral("25"));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("doelbestanden1width"), {}),
             QStringLiteral("1500"));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("doelbestanden2width"), {}),
             QStringLiteral("3000"));
#ifndef Q_OS_WIN
    // The settings hold a password: only their owner can read them.
    int bestanden = 0;
    QDirIterator it(m_env->path(QStringLiteral("registry")), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString pad = it.next();
        if (!inhoud(pad).contains(QLatin1String("geheim")))
            continue;
        ++bestanden;
        QCOMPARE(QFile::permissions(pad) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup |
                                            QFile::WriteOther),
                 QFile::Permissions());
    }
    QCOMPARE(bestanden, 1);
#endif

    // The next first entry (after Back past the step) starts from what was remembered, layout included.
    CurrentUser_BrengWeg(sectie(), QStringLiteral("Productentabel"), pt);
    globals().gDoelBestanden.clear();
    m_ui->messageAnswers << MsgBox::No;
    StapSelectDoelBestanden tweede;
    tweede.Init();
    QCOMPARE(kolom(tweede, 1).at(1), opt);
    QCOMPARE(tweede.SplitterPositie(1), 50);
    QCOMPARE(tweede.kolomBreedtes(), (QList<int>{1500, 3000}));
}

void StapSelectDoelBestandenTest::opnieuwBinnen()
{
    // Entering again keeps the targets and asks the library question no second time.
    kiesBronnen({"1"});
    m_ui->messageAnswers << MsgBox::Yes;
    StapSelectDoelBestanden stap;
    stap.Init();
    const QString lib = doelBestand(QStringLiteral("bieb.lib"), Kind::Library);
    m_ui->fileAnswers << QStringList{lib};
    stap.cmdBlader_Click();
    stap.Init();
    QCOMPARE(m_ui->messages.size(), 1);
    QCOMPARE(kolom(stap, 0), QStringList{QStringLiteral("Bibliotheekbestand")});
    QCOMPARE(kolom(stap, 1), QStringList{lib});
    QVERIFY(globals().gBibliotheekModus);
}

QTEST_GUILESS_MAIN(StapSelectDoelBestandenTest)
#include "test_stapselectdoelbestanden.moc"
