// The transfer driver of step 17 without a window: which workers run in which
// order for which sources and options, what happens to the targets after a
// success, a cancel, a worker error, a failed staging or a failed
// replacement, the mended target checks, and the logs line by line. The
// engines are replaced by scripted workers (transferopstelling.h); the
// targets are real SQLite files.

#include "database/backendopeners.h"
#include "database/history.h"
#include "database/odbcbackend.h"
#include "fixtures/sqlserverstandin.h"
#include "sources/tekstbestand.h"
#include "start/errors.h"
#include "support/recordinguiservices.h"
#include "wizard/transferopstelling.h"

#include <QSignalSpy>
#include <QTest>
#include <sqlite3.h>

using namespace supplink;
using namespace supplink::test;

namespace {

const QString kFouten = QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!\r\n"
                                       "Er zijn fouten opgetreden tijdens het importeren!\r\n"
                                       "Er zijn geen wijzigingen aangebracht in uw bestanden!");
const QString kAfgebroken = QStringLiteral("Actie 'Importeren bestand' voortijdig afgebroken.\r\n"
                                           "Er zijn geen wijzigingen aangebracht in uw bestanden!");
const QString kBekijkLog = QStringLiteral("\r\n\r\nBekijk het log bestand voor meer informatie!");

QString leesLog(const QString& pad)
{
    return LeesTekstBestand(pad).value_or(QStringLiteral("<geen log>"));
}

// A source from its short form "name:kind:db:combiType" (db: t or f).
void voegBronnenToe(TransferOpstelling& o, const QStringList& bronnen)
{
    for (const QString& bron : bronnen) {
        const QStringList delen = bron.split(QLatin1Char(':'));
        o.bron(delen.at(0), delen.at(1).toInt(), delen.at(2) == QLatin1String("t"), delen.at(3).toInt());
    }
}

void zetOpties(clsImportOpties& opties, const QStringList& namen)
{
    opties.ImporterenTabellen = namen.contains(QStringLiteral("Tabellen"));
    opties.ImporterenHSKeuzes = namen.contains(QStringLiteral("HSKeuzes"));
    opties.ImporterenArtikelen = namen.contains(QStringLiteral("Artikelen"));
    opties.ImporterenShapes = namen.contains(QStringLiteral("Shapes"));
    opties.ImporterenVaksponningen = namen.contains(QStringLiteral("Vaksponningen"));
    opties.ImporterenLIBHSCombies = namen.contains(QStringLiteral("LIBHSCombies"));
    opties.ImporterenLIBHSKeuzes = namen.contains(QStringLiteral("LIBHSKeuzes"));
    opties.DoorvoerenPrijsWijzigingen = true;
}

// Every phase with one source each, into all four targets.
void alleFasen(TransferOpstelling& o)
{
    o.kies({DoelSoort::Opt, DoelSoort::PT, DoelSoort::Wkv, DoelSoort::Lib});
    zetOpties(o.opties(), {QStringLiteral("Tabellen"), QStringLiteral("Artikelen"), QStringLiteral("Vaksponningen"),
                           QStringLiteral("Shapes")});
    voegBronnenToe(o, {QStringLiteral("bron_opt.db:1:t:0"), QStringLiteral("art.csv:0:f:0"),
                       QStringLiteral("bron_lib.db:2:t:0"), QStringLiteral("bron_wkv.db:3:t:0")});
}

// File operations that fail for one kind.
class FalendeBewerkingen : public DoelBewerkingen
{
public:
    std::optional<DoelSoort> faseerFout;
    std::optional<DoelSoort> vervangFout;

    bool Faseer(TransferDoel& doel, QString& reden) override
    {
        if (faseerFout == doel.soort) {
            reden = QStringLiteral("faseren geweigerd");
            return false;
        }
        return DoelBewerkingen::Faseer(doel, reden);
    }
    bool Vervang(TransferDoel& doel, QString& reden) override
    {
        if (vervangFout == doel.soort) {
            reden = QStringLiteral("vervangen geweigerd");
            return false;
        }
        return DoelBewerkingen::Vervang(doel, reden);
    }
};

} // namespace

class TestStapTransfer : public QObject
{
    Q_OBJECT

private slots:
    // Sources x options -> the runner calls, in order; a target changes exactly when a worker wrote into it.
    void plan_data()
    {
        QTest::addColumn<QStringList>("bronnen");
        QTest::addColumn<QStringList>("opties");
        QTest::addColumn<bool>("bibliotheekModus");
        QTest::addColumn<QStringList>("verwacht");

        QTest::newRow("two hardware files, choices first in the list")
            << QStringList{"hs1.csv:1:f:1", "hs0.csv:1:f:0"} << QStringList{"Tabellen", "HSKeuzes"} << false
            << QStringList{"BestandHangSluit hs0.csv -> opt", "BestandHangSluit hs1.csv -> opt"};
        QTest::newRow("library-mode hardware file in A and C")
            << QStringList{"hs0.csv:1:f:0"} << QStringList{"Tabellen", "LIBHSCombies"} << true
            << QStringList{"BestandHangSluit hs0.csv -> lib", "BestandHangSluit hs0.csv -> lib"};
        QTest::newRow("library mode, library option only: phase C") << QStringList{"hs1.csv:1:f:1"}
                                                                    << QStringList{"LIBHSKeuzes"} << true
                                                                    << QStringList{"BestandHangSluit hs1.csv -> lib"};
        QTest::newRow("only an article CSV")
            << QStringList{"art.csv:0:f:0"} << QStringList{"Artikelen"} << false
            << QStringList{"Bestand art.csv -> pt"};
        QTest::newRow("every phase in order; file sources no phase takes are left")
            << QStringList{"bron_lib.db:2:t:0", "bron_wkv.db:3:t:0", "bron_pt.db:0:t:0", "art.csv:0:f:0",
                           "bron_opt.db:1:t:0", "hsx.csv:1:f:-1", "lib.csv:2:f:0", "wkv.csv:3:f:0"}
            << QStringList{"Tabellen", "Artikelen", "Shapes", "Vaksponningen"} << false
            << QStringList{"Opt bron_opt.db -> opt", "PT bron_pt.db -> pt", "Bestand art.csv -> pt",
                           "LIB bron_lib.db -> lib", "Shapes bron_wkv.db -> wkv"};
        QTest::newRow("sources of options not chosen are left")
            << QStringList{"bron_opt.db:1:t:0", "hs0.csv:1:f:0", "art.csv:0:f:0"} << QStringList{"Artikelen"}
            << false << QStringList{"Bestand art.csv -> pt"};
    }
    void plan()
    {
        QFETCH(QStringList, bronnen);
        QFETCH(QStringList, opties);
        QFETCH(bool, bibliotheekModus);
        QFETCH(QStringList, verwacht);
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::Opt, DoelSoort::PT, DoelSoort::Wkv, DoelSoort::Lib});
        globals().gBibliotheekModus = bibliotheekModus;
        zetOpties(o.opties(), opties);
        voegBronnenToe(o, bronnen);
        const QMap<QString, QByteArray> voor = o.inhoud();

        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.StartTransfer();

        QCOMPARE(o.werkers->teksten(), verwacht);
        QCOMPARE(stap.Eindmelding(), QString());
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(kanVerder.size(), 1);
        QCOMPARE(kanVerder.at(0).at(0).toBool(), true);
        const QMap<QString, QByteArray> na = o.inhoud();
        for (const DoelSoort soort : kDoelVolgorde) {
            const bool beschreven = verwacht.join(QLatin1Char(' ')).contains(QStringLiteral("-> ") + SoortCode(soort));
            QCOMPARE(na.value(SoortCode(soort)) != voor.value(SoortCode(soort)), beschreven);
        }
        QCOMPARE(o.andereBestanden(), QStringList());
    }

    // One article file: the work copy gets the worker's row and the history, the target is replaced by it
    // whole, the work copy goes and the target's schema stays its own.
    void alleenArtikelCsv()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        const QList<SchemaRegel> schemaVoor = LeesSchema(o.doel(DoelSoort::PT));
        QString werkPad;
        o.werkers->gedrag = [&](const NepAanroep& aanroep, VoortgangOntvanger&, int) {
            werkPad = aanroep.opdracht.doelPad;
            // The work copy lies beside the target, named after it.
            return QFileInfo(werkPad).absolutePath() == QFileInfo(o.doel(DoelSoort::PT)).absolutePath() &&
                   IsTransferRestant(QFileInfo(werkPad).fileName());
        };
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();

        QCOMPARE(stap.Eindmelding(), QString());
        QVERIFY(!stap.FoutGemeld());
        QCOMPARE(o.merken(DoelSoort::PT), (QStringList{"NEP-1", "OUD"}));
        QCOMPARE(OpvragenHistory(o.doel(DoelSoort::PT)).size(), 1);
        QVERIFY(!QFileInfo::exists(werkPad));
        QCOMPARE(o.andereBestanden(), QStringList());
        // Only the history tables are new; nothing of the work copy's own stays in the user's file.
        const QList<SchemaRegel> schemaNa = LeesSchema(o.doel(DoelSoort::PT));
        QCOMPARE(SchemaVerschillen(schemaVoor, schemaNa), QStringList());
        QVERIFY(std::any_of(schemaNa.cbegin(), schemaNa.cend(),
                            [](const SchemaRegel& r) { return r.name == QLatin1String("ImportHistory"); }));
        QVERIFY(std::none_of(schemaNa.cbegin(), schemaNa.cend(),
                             [](const SchemaRegel& r) { return r.name.startsWith(QStringLiteral("supplink_")); }));
        // The logs are closed and stay for the result step.
        QVERIFY(leesLog(globals().gLogOverzicht).contains(QStringLiteral("Doel bestand : ") + o.doel(DoelSoort::PT)));
        QVERIFY(leesLog(globals().gLogDetail).contains(QStringLiteral("Bron bestand: ") + o.bronPad("art.csv")));
    }

    // The work copy has the index the price deletes need; the target never gets it.
    void hulpIndexAlleenInWerkkopie()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        QStringList werkIndexen;
        o.werkers->gedrag = [&](const NepAanroep& aanroep, VoortgangOntvanger&, int) {
            for (const SchemaRegel& regel : LeesSchema(aanroep.opdracht.doelPad)) {
                if (regel.type == QLatin1String("index"))
                    werkIndexen << regel.name;
            }
            return true;
        };
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        QCOMPARE(stap.Eindmelding(), QString());
        QVERIFY2(werkIndexen.contains(QStringLiteral("supplink_hulp_PriceData1D_fkArticle")), qPrintable(werkIndexen.join(',')));
        QVERIFY(werkIndexen.contains(QStringLiteral("supplink_hulp_PriceData2D_fkArticle")));
        for (const SchemaRegel& regel : LeesSchema(o.doel(DoelSoort::PT)))
            QVERIFY2(!regel.name.startsWith(QStringLiteral("supplink_")), qPrintable(regel.name));
    }

    // A work copy whose schema a worker changed is not put over the target.
    void afwijkendSchemaGeweigerd()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        o.werkers->gedrag = [&](const NepAanroep& aanroep, VoortgangOntvanger&, int) {
            fixtures::FixtureDb(aanroep.opdracht.doelPad).exec(QStringLiteral("CREATE INDEX snel ON Article (Code)"));
            return true;
        };
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        QVERIFY(stap.Eindmelding().contains(QStringLiteral("Het compacten van de tijdelijke database naar '") +
                                            o.doel(DoelSoort::PT) + QStringLiteral("' is mislukt!")));
        QVERIFY(leesLog(globals().gLogOverzicht).contains(QStringLiteral("'snel' is toegevoegd")));
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
    }

    // The product table on SQL Server: no work copy, "(server)" in the "doel" row, the description as the
    // worker's target.
    void productentabelOpSqlServer()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        fixtures::makeServerDatabase(o.env.path(QStringLiteral("server_pt.db")), fixtures::Kind::ProductTable, {3, 40});
        fixtures::StandInServer server(o.env.path(QStringLiteral("server_pt.db")), o.env.path(QStringLiteral("crm.db")));
        backendOpeners().sqlServer = server.opener();
        const QString pad = QLatin1Char('*') + SqlServerVerbinding{QStringLiteral("srv"), QStringLiteral("Velmora"),
                                                                   QStringLiteral("eSQLSecurity"), QStringLiteral("sa"),
                                                                   QStringLiteral("geheim")}
                                                  .Tekst();
        o.voegDoelToe(DoelSoort::PT, pad);
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        StapTransfer stap;
        QString doelRij;
        o.werkers->gedrag = [&](const NepAanroep&, VoortgangOntvanger&, int) {
            doelRij = stap.Toestand().Waarde(QStringLiteral("doel"));
            return true;
        };
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        resetBackendOpeners();

        QCOMPARE(stap.Eindmelding(), QString());
        QCOMPARE(o.werkers->teksten(), QStringList{QStringLiteral("Bestand art.csv -> (server)")});
        QCOMPARE(o.werkers->aanroepen.at(0).opdracht.doelPad, pad);
        QCOMPARE(doelRij, QStringLiteral("(server)"));
        QCOMPARE(o.andereBestanden(), QStringList());
        QVERIFY(leesLog(globals().gLogOverzicht)
                    .contains(QStringLiteral("Doel bestand : * server=srv  database=Velmora  gebruiker=sa")));
        QVERIFY(!leesLog(globals().gLogDetail).contains(QStringLiteral("geheim")));
    }

    // A later failure does not undo a committed run on the server; the closing message says so.
    void serverBijgewerktNaLatereFout()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        fixtures::makeServerDatabase(o.env.path(QStringLiteral("server_pt.db")), fixtures::Kind::ProductTable, {3, 40});
        fixtures::StandInServer server(o.env.path(QStringLiteral("server_pt.db")), o.env.path(QStringLiteral("crm.db")));
        backendOpeners().sqlServer = server.opener();
        o.voegDoelToe(DoelSoort::PT, QLatin1Char('*') + SqlServerVerbinding{QStringLiteral("srv"), QStringLiteral("Velmora"),
                                                                            QStringLiteral("eSQLSecurity"), QStringLiteral("sa"),
                                                                            QStringLiteral("geheim")}
                                                           .Tekst());
        o.kies({DoelSoort::Lib});
        zetOpties(o.opties(), {QStringLiteral("Artikelen"), QStringLiteral("Vaksponningen")});
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        o.bron(QStringLiteral("bron_lib.db"), BronSoort::Bibliotheek, true);
        o.werkers->gedrag = [](const NepAanroep& aanroep, VoortgangOntvanger& ontvanger, int) {
            if (aanroep.soort == WerkerSoort::LIB) {
                qint32 fouten = 1;
                ontvanger.FoutOpgetreden(fouten);
            }
            return true;
        };
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        resetBackendOpeners();
        QCOMPARE(stap.Eindmelding(), kFouten + QStringLiteral("\r\nDe productentabel op de SQL Server is wel bijgewerkt!"));
        QCOMPARE(o.inhoud(), voor);
    }

    // A needed kind without a selected target stops the run before any worker, with a message in a box and
    // in both logs.
    void ontbrekendDoel_data()
    {
        QTest::addColumn<int>("soort");
        QTest::addColumn<QString>("omschrijving");
        QTest::newRow("options") << int(DoelSoort::Opt) << QStringLiteral("Onderhoudsbestand");
        QTest::newRow("product table") << int(DoelSoort::PT) << QStringLiteral("Productentabel");
        QTest::newRow("work preparation") << int(DoelSoort::Wkv) << QStringLiteral("Werkvoorbereidingbestand");
        QTest::newRow("library") << int(DoelSoort::Lib) << QStringLiteral("Bibliotheekbestand");
    }
    void ontbrekendDoel()
    {
        QFETCH(int, soort);
        QFETCH(QString, omschrijving);
        RecordingUiServices ui;
        TransferOpstelling o;
        alleFasen(o);
        // The kind's target is there but not selected.
        globals().gDoelBestanden.clear();
        for (const DoelSoort s : kDoelVolgorde)
            o.voegDoelToe(s, o.doel(s), s != DoelSoort(soort));
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.StartTransfer();

        const QString reden = QStringLiteral("Er is geen doelbestand gekozen voor '%1'!").arg(omschrijving);
        QVERIFY(o.werkers->aanroepen.isEmpty());
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.at(0).text,
                 QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!\r\n") + reden +
                     QStringLiteral("\r\nEr zijn geen wijzigingen aangebracht in uw bestanden!") + kBekijkLog);
        QCOMPARE(ui.messages.at(0).style, MsgBox::OkOnly | MsgBox::Critical);
        QVERIFY(leesLog(globals().gLogOverzicht).contains(reden));
        QVERIFY(leesLog(globals().gLogDetail).contains(reden));
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
        QCOMPARE(kanVerder.size(), 1);
    }

    // A read-only target: the exact text, no worker, nothing changed.
    void alleenLezenDoel()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        alleFasen(o);
        QFile::setPermissions(o.doel(DoelSoort::Wkv), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        QVERIFY(o.werkers->aanroepen.isEmpty());
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY(ui.messages.at(0).text.contains(QStringLiteral("Het doelbestand '") + o.doel(DoelSoort::Wkv) +
                                                QStringLiteral("' is 'Alleen lezen'!")));
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
        QFile::setPermissions(o.doel(DoelSoort::Wkv), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // A missing target file, a Jet file without a driver that writes Jet, one file for two kinds.
    void ongeschiktDoel_data()
    {
        QTest::addColumn<QString>("geval");
        QTest::newRow("missing") << QStringLiteral("ontbreekt");
        QTest::newRow("jet") << QStringLiteral("jet");
        QTest::newRow("one file for two kinds") << QStringLiteral("dubbel");
    }
    void ongeschiktDoel()
    {
        QFETCH(QString, geval);
        RecordingUiServices ui;
        TransferOpstelling o;
        alleFasen(o);
        globals().gDoelBestanden.clear();
        o.kies({DoelSoort::Opt, DoelSoort::PT, DoelSoort::Wkv});
        QString lib = o.doel(DoelSoort::Lib);
        QString verwacht;
        if (geval == QLatin1String("ontbreekt")) {
            lib = o.env.path(QStringLiteral("doelen/weg.db"));
            verwacht = QStringLiteral("Bestand '") + lib + QStringLiteral("' niet gevonden!");
        } else if (geval == QLatin1String("jet")) {
            QVERIFY2(jetWriterDriver().isEmpty(), "this test expects a system without a driver that writes Jet");
            lib = o.env.path(QStringLiteral("doelen/lib.mdb"));
            QFile jet(lib);
            QVERIFY(jet.open(QIODevice::WriteOnly));
            jet.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2048, '\0'));
            jet.close();
            verwacht = QStringLiteral("Kies een SQLite-database als doelbestand.");
        } else {
            lib = o.doel(DoelSoort::Wkv);
            verwacht = QStringLiteral("is voor meer dan één soort als doelbestand gekozen!");
        }
        o.voegDoelToe(DoelSoort::Lib, lib);
        const QMap<QString, QByteArray> voor = o.inhoud();
        const QStringList andereVoor = o.andereBestanden();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        QVERIFY(o.werkers->aanroepen.isEmpty());
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages.at(0).text.contains(verwacht), qPrintable(ui.messages.at(0).text));
        QVERIFY(ui.messages.at(0).text.contains(QStringLiteral("Er zijn geen wijzigingen aangebracht in uw bestanden!")));
        QVERIFY(leesLog(globals().gLogOverzicht).contains(verwacht));
        if (geval == QLatin1String("ontbreekt"))
            QVERIFY(leesLog(globals().gLogOverzicht).contains(QStringLiteral("Niet gevonden : ") + lib));
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), andereVoor);
    }

    // Cancel during phase B: the running worker stops, the pass starts no other, the targets stay as they
    // were, the work copies and the source copy go.
    void annulerenTijdensB()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        alleFasen(o);
        o.bron(QStringLiteral("bron_pt.db"), BronSoort::Artikelen, true);
        o.bron(QStringLiteral("art2.csv"), BronSoort::Artikelen);
        ui.messageAnswers.enqueue(MsgBox::Yes);
        StapTransfer stap;
        QString bronKopie;
        o.werkers->gedrag = [&](const NepAanroep& aanroep, VoortgangOntvanger&, int) {
            if (aanroep.soort == WerkerSoort::PT) {
                bronKopie = aanroep.opdracht.bronPad;
                stap.Annuleren(); // the button, from inside the worker's yield
                return false;     // a cancelled run may answer False: no error for that
            }
            return true;
        };
        const QMap<QString, QByteArray> voor = o.inhoud();
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();

        QCOMPARE(o.werkers->teksten(), (QStringList{QStringLiteral("Opt bron_opt.db -> opt"),
                                                    QStringLiteral("Bestand art.csv -> pt"),
                                                    QStringLiteral("PT bron_pt.db -> pt")}));
        QCOMPARE(o.werkers->cancels, 1);
        QVERIFY(stap.Geannuleerd());
        QVERIFY(!stap.FoutGemeld());
        QCOMPARE(stap.Eindmelding(), kAfgebroken);
        QCOMPARE(ui.messages.size(), 2);
        QCOMPARE(ui.messages.at(0).text, QStringLiteral("Wilt u het importeren annuleren?"));
        QCOMPARE(MsgBox::buttons(ui.messages.at(0).style), int(MsgBox::YesNo));
        QCOMPARE(ui.messages.at(1).text, kAfgebroken);
        QCOMPARE(ui.messages.at(1).style, MsgBox::OkOnly | MsgBox::Information);
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
        QVERIFY(!bronKopie.isEmpty());
        QVERIFY(!QFileInfo::exists(bronKopie));
        const QString detail = leesLog(globals().gLogDetail);
        QVERIFY(detail.contains(QStringLiteral("PT:Import geannulleerd door gebruiker.\r\n")));
        QVERIFY(leesLog(globals().gLogOverzicht).endsWith(kAfgebroken + QStringLiteral("\r\n")));
    }

    // The question answered No: the worker goes on, nothing is logged, the run completes.
    void annulerenNee()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        ui.messageAnswers.enqueue(MsgBox::No);
        StapTransfer stap;
        o.werkers->gedrag = [&](const NepAanroep&, VoortgangOntvanger&, int) {
            stap.Annuleren();
            return true;
        };
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        // Nothing to cancel once no worker runs.
        stap.Annuleren();
        QCOMPARE(o.werkers->cancels, 0);
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(stap.Eindmelding(), QString());
        QCOMPARE(o.merken(DoelSoort::PT), (QStringList{"NEP-1", "OUD"}));
        QVERIFY(!leesLog(globals().gLogDetail).contains(QStringLiteral("geannulleerd")));
    }

    // An error of the first of two workers of a pass, in each way a worker can fail, fails the run: the
    // flag is not cleared by the second worker.
    void foutInEersteWerker_data()
    {
        QTest::addColumn<QString>("wijze");
        QTest::newRow("FoutOpgetreden, then True") << QStringLiteral("event");
        QTest::newRow("False without an event") << QStringLiteral("false");
        QTest::newRow("an error window") << QStringLiteral("venster");
        QTest::newRow("an exception") << QStringLiteral("uitzondering");
        QTest::newRow("no source copy") << QStringLiteral("broncopie");
    }
    void foutInEersteWerker()
    {
        QFETCH(QString, wijze);
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        const auto eerste = o.bron(QStringLiteral("bron_pt.db"), BronSoort::Artikelen, true);
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        if (wijze == QLatin1String("broncopie"))
            QFile::remove(eerste->BronPad);
        o.werkers->gedrag = [&](const NepAanroep& aanroep, VoortgangOntvanger& ontvanger, int) -> bool {
            if (aanroep.soort != WerkerSoort::PT)
                return true;
            if (wijze == QLatin1String("event")) {
                qint32 fouten = 1;
                ontvanger.FoutOpgetreden(fouten);
                return true;
            }
            if (wijze == QLatin1String("venster")) {
                ShowError(QStringLiteral("Sync"), ErrorNumber::General, QStringLiteral("mis"));
                return true;
            }
            if (wijze == QLatin1String("uitzondering"))
                throw AppError(ErrorNumber::General, QStringLiteral("mis"));
            return false;
        };
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();

        // The pass goes on to its end, then the run stops.
        QCOMPARE(o.werkers->aanroepen.last().tekst, QStringLiteral("Bestand art.csv -> pt"));
        QCOMPARE(o.werkers->aanroepen.size(), wijze == QLatin1String("broncopie") ? 1 : 2);
        QVERIFY(stap.FoutGemeld());
        QCOMPARE(stap.Eindmelding(), kFouten);
        QCOMPARE(ui.messages.last().text, kFouten + kBekijkLog);
        QCOMPARE(ui.messages.last().style, MsgBox::OkOnly | MsgBox::Critical);
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
        // The failing worker's counts show in the logs.
        QVERIFY(leesLog(globals().gLogOverzicht).contains(QStringLiteral("-Fouten: 1")));
    }

    // A worker whose run throws: the error window names the runner of that worker, so that support can tell
    // which part of the transfer failed.
    void foutVensterNoemtRunner_data()
    {
        QTest::addColumn<QString>("bron");
        QTest::addColumn<QStringList>("opties");
        QTest::addColumn<bool>("bibliotheekModus");
        QTest::addColumn<QString>("routine");

        QTest::newRow("options database") << QStringLiteral("bron_opt.db:1:t:0") << QStringList{"Tabellen"}
                                          << false << QStringLiteral("StartTransferOPT");
        QTest::newRow("product table") << QStringLiteral("bron_pt.db:0:t:0") << QStringList{"Artikelen"}
                                       << false << QStringLiteral("StartTransferPT");
        QTest::newRow("work preparation") << QStringLiteral("bron_wkv.db:3:t:0") << QStringList{"Shapes"}
                                          << false << QStringLiteral("StartTransferSHAPES");
        QTest::newRow("library") << QStringLiteral("bron_lib.db:2:t:0") << QStringList{"Vaksponningen"}
                                 << false << QStringLiteral("StartTransferLIB");
        QTest::newRow("article file") << QStringLiteral("art.csv:0:f:0") << QStringList{"Artikelen"} << false
                                      << QStringLiteral("StartTransferBestand");
        QTest::newRow("hardware file") << QStringLiteral("hs0.csv:1:f:0") << QStringList{"Tabellen"} << false
                                       << QStringLiteral("StartTransferBestandHangSluit");
        QTest::newRow("hardware file, library mode")
            << QStringLiteral("hs1.csv:1:f:1") << QStringList{"LIBHSKeuzes"} << true
            << QStringLiteral("StartTransferBestandHangSluit");
    }
    void foutVensterNoemtRunner()
    {
        QFETCH(QString, bron);
        QFETCH(QStringList, opties);
        QFETCH(bool, bibliotheekModus);
        QFETCH(QString, routine);
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::Opt, DoelSoort::PT, DoelSoort::Wkv, DoelSoort::Lib});
        globals().gBibliotheekModus = bibliotheekModus;
        zetOpties(o.opties(), opties);
        voegBronnenToe(o, {bron});
        o.werkers->gedrag = [](const NepAanroep&, VoortgangOntvanger&, int) -> bool {
            throw AppError(ErrorNumber::General, QStringLiteral("mis"));
        };
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();

        QCOMPARE(o.werkers->aanroepen.size(), 1);
        QCOMPARE(ui.errors.size(), 1);
        QCOMPARE(ui.errors.first().details,
                 QStringLiteral("Procedure = ") + routine +
                     QStringLiteral("\r\nError = %1: mis").arg(ErrorNumber::General));
        QCOMPARE(stap.Eindmelding(), kFouten);
        QCOMPARE(o.inhoud(), voor);
    }

    // A staging failure on any kind leaves every target as it was.
    void faserenMislukt_data()
    {
        QTest::addColumn<int>("soort");
        for (const DoelSoort soort : kDoelVolgorde)
            QTest::newRow(qPrintable(SoortCode(soort))) << int(soort);
    }
    void faserenMislukt()
    {
        QFETCH(int, soort);
        RecordingUiServices ui;
        TransferOpstelling o;
        alleFasen(o);
        auto bewerkingen = std::make_shared<FalendeBewerkingen>();
        bewerkingen->faseerFout = DoelSoort(soort);
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.ZetBewerkingen(bewerkingen);
        stap.StartTransfer();
        QCOMPARE(o.werkers->aanroepen.size(), 4);
        QCOMPARE(stap.Eindmelding(), QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!\r\n"
                                                    "Het compacten van de tijdelijke database naar '") +
                                         o.doel(DoelSoort(soort)) +
                                         QStringLiteral("' is mislukt!\r\nEr zijn geen wijzigingen aangebracht in uw "
                                                        "bestanden!"));
        QVERIFY(leesLog(globals().gLogOverzicht).contains(QStringLiteral("faseren geweigerd")));
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
    }

    // A replacement failure on the second kind: the first is replaced, the rest are as they were, and the
    // closing message says exactly that.
    void vervangenMisluktBijTweede()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        alleFasen(o);
        auto bewerkingen = std::make_shared<FalendeBewerkingen>();
        bewerkingen->vervangFout = DoelSoort::PT;
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.ZetBewerkingen(bewerkingen);
        stap.StartTransfer();
        const QMap<QString, QByteArray> na = o.inhoud();
        QVERIFY(na.value(QStringLiteral("opt")) != voor.value(QStringLiteral("opt")));
        QCOMPARE(o.merken(DoelSoort::Opt), (QStringList{"NEP-1", "OUD"}));
        for (const char* code : {"pt", "wkv", "lib"})
            QCOMPARE(na.value(QString::fromLatin1(code)), voor.value(QString::fromLatin1(code)));
        QCOMPARE(stap.Eindmelding(),
                 QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!\r\nHet vervangen van '") +
                     o.doel(DoelSoort::PT) + QStringLiteral("' door de bijgewerkte versie is mislukt!\r\nBijgewerkt zijn: '") +
                     o.doel(DoelSoort::Opt) + QStringLiteral("'.\r\nNiet gewijzigd zijn: '") + o.doel(DoelSoort::PT) +
                     QStringLiteral("', '") + o.doel(DoelSoort::Wkv) + QStringLiteral("', '") + o.doel(DoelSoort::Lib) +
                     QStringLiteral("'."));
        QCOMPARE(o.andereBestanden(), QStringList());
    }

    // A history that cannot be written is an error of the run: nothing is replaced.
    void historieFoutVervangtNiets()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        // A history table of another layout: the run row cannot be written into it.
        fixtures::FixtureDb(o.doel(DoelSoort::PT)).exec(QStringLiteral("CREATE TABLE ImportHistory (ID INTEGER)"));
        fixtures::FixtureDb(o.doel(DoelSoort::PT))
            .exec(QStringLiteral("CREATE TABLE ImportHistoryDetails (ID INTEGER)"));
        const QMap<QString, QByteArray> voor = o.inhoud();
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        QVERIFY(!ui.errors.isEmpty());
        QCOMPARE(stap.Eindmelding(), kFouten);
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
    }

    // A second transfer into the folder of a live one (here: started while the first is at a moment of its
    // run) changes nothing, removes none of the first's files and says so; the first ends as it would alone,
    // and once it has ended the folder is free again.
    void tweedeOverdrachtGeweigerd_data()
    {
        QTest::addColumn<int>("moment");
        QTest::addColumn<int>("keer"); // the how-manieth time the moment comes
        QTest::newRow("first worker starting") << int(TransferMoment::WerkerGestart) << 1;
        QTest::newRow("between two workers") << int(TransferMoment::WerkerKlaar) << 2;
        QTest::newRow("history written") << int(TransferMoment::HistorieGeschreven) << 3;
        QTest::newRow("staged") << int(TransferMoment::Gefaseerd) << 2;
        QTest::newRow("before a replacement") << int(TransferMoment::VoorVervangen) << 2;
        QTest::newRow("after a replacement") << int(TransferMoment::Vervangen) << 1;
    }
    void tweedeOverdrachtGeweigerd()
    {
        QFETCH(int, moment);
        QFETCH(int, keer);
        RecordingUiServices ui;
        TransferOpstelling o;
        alleFasen(o);
        StapTransfer eerste;
        eerste.ZetWerkers(o.werkers);
        int gezien = 0;
        QString tweedeMelding;
        QStringList tweedeWerkers;
        bool ongewijzigd = false;
        eerste.BijMoment = [&](TransferMoment wat, const TransferDoel*) {
            if (int(wat) != moment || ++gezien != keer)
                return;
            const QMap<QString, QByteArray> inhoud = o.inhoud();
            const QStringList bestanden = o.andereBestanden();
            auto werkers = std::make_shared<NepWerkers>();
            StapTransfer tweede;
            tweede.ZetWerkers(werkers);
            tweede.StartTransfer();
            tweedeMelding = tweede.Eindmelding();
            tweedeWerkers = werkers->teksten();
            ongewijzigd = o.inhoud() == inhoud && o.andereBestanden() == bestanden;
        };
        eerste.StartTransfer();
        QCOMPARE(gezien >= keer, true);
        QCOMPARE(tweedeMelding,
                 QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!\r\nDe map '") +
                     QDir::toNativeSeparators(QDir(o.doelMap()).canonicalPath()) +
                     QStringLiteral("' wordt op dit moment bijgewerkt door een andere overdracht. "
                                    "Probeer het later opnieuw.\r\n"
                                    "Er zijn geen wijzigingen aangebracht in uw bestanden!"));
        QCOMPARE(tweedeWerkers, QStringList());
        QVERIFY(ongewijzigd);
        QCOMPARE(eerste.Eindmelding(), QString());
        QCOMPARE(o.merken(DoelSoort::Opt), (QStringList{"NEP-1", "OUD"}));
        QCOMPARE(o.merken(DoelSoort::PT), (QStringList{"NEP-2", "OUD"}));
        QCOMPARE(o.merken(DoelSoort::Lib), (QStringList{"NEP-3", "OUD"}));
        QCOMPARE(o.merken(DoelSoort::Wkv), (QStringList{"NEP-4", "OUD"}));
        QCOMPARE(o.andereBestanden(), QStringList());

        StapTransfer daarna;
        daarna.ZetWerkers(std::make_shared<NepWerkers>());
        daarna.StartTransfer();
        QCOMPARE(daarna.Eindmelding(), QString());
    }

    // A target that another program holds in a write transaction: the run changes no target, its closing
    // message names the file and what to do, and the failure is an error of the run ("Fouten:", the overview
    // log). Held from before the run it is found before any worker runs.
    void doelInGebruik_data()
    {
        QTest::addColumn<int>("vanaf"); // 0: before the run, else: from the worker with that number on
        QTest::addColumn<int>("soort");
        QTest::newRow("product table, held before the run") << 0 << int(DoelSoort::PT);
        QTest::newRow("options, held before the run") << 0 << int(DoelSoort::Opt);
        QTest::newRow("product table, held from the second worker on") << 2 << int(DoelSoort::PT);
        QTest::newRow("library, held from the last worker on") << 4 << int(DoelSoort::Lib);
    }
    void doelInGebruik()
    {
        QFETCH(int, vanaf);
        QFETCH(int, soort);
        RecordingUiServices ui;
        TransferOpstelling o;
        alleFasen(o);
        const QString pad = o.doel(DoelSoort(soort));
        const QMap<QString, QByteArray> voor = o.inhoud();
        sqlite3* ander = nullptr;
        QCOMPARE(sqlite3_open_v2(pad.toUtf8().constData(), &ander, SQLITE_OPEN_READWRITE, nullptr),
                 SQLITE_OK);
        const auto houd = [&] {
            return sqlite3_exec(ander, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        };
        bool gehouden = vanaf == 0 && houd();
        o.werkers->gedrag = [&](const NepAanroep&, VoortgangOntvanger&, int nummer) {
            if (nummer == vanaf)
                gehouden = houd();
            return true;
        };
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        const QStringList aanroepen = o.werkers->teksten();
        sqlite3_exec(ander, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(ander);
        QVERIFY(gehouden);

        const QString melding =
            QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!\r\nHet bestand '") + pad +
            QStringLiteral("' is in gebruik door een ander programma. Sluit dat programma en "
                           "start de overdracht opnieuw.\r\n"
                           "Er zijn geen wijzigingen aangebracht in uw bestanden!");
        QCOMPARE(stap.Eindmelding(), melding);
        QVERIFY(stap.FoutGemeld());
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().text, melding + kBekijkLog);
        QCOMPARE(aanroepen.isEmpty(), vanaf == 0);
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
        QCOMPARE(stap.Toestand().Waarde(QStringLiteral("fout")), QStringLiteral("1"));
        const QString overzicht = leesLog(globals().gLogOverzicht);
        QVERIFY2(overzicht.contains(QStringLiteral("\r\n-") + stap.Toestand().Tekst(QStringLiteral("fout")) +
                                    QStringLiteral(" 1\r\n") + melding),
                 qPrintable(overzicht));
    }

    // A target in WAL mode that another program has open, with a committed row in its log alone: the run
    // neither copies the file without that row nor renames a file over it; the row stays.
    void doelMetWalLog()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        const QString pad = o.doel(DoelSoort::PT);
        sqlite3* ander = nullptr;
        QCOMPARE(sqlite3_open_v2(pad.toUtf8().constData(), &ander, SQLITE_OPEN_READWRITE, nullptr),
                 SQLITE_OK);
        for (const char* sql : {"PRAGMA journal_mode=WAL", "PRAGMA wal_autocheckpoint=0",
                                "INSERT INTO ArtGroup (Code, Description) VALUES ('WAL', 'in het log')"})
            QCOMPARE(sqlite3_exec(ander, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        const QStringList aanroepen = o.werkers->teksten();
        sqlite3_close(ander);
        QCOMPARE(stap.Eindmelding(),
                 QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!\r\nHet bestand '") +
                     pad +
                     QStringLiteral("' is in gebruik door een ander programma. Sluit dat "
                                    "programma en start de overdracht opnieuw.\r\n"
                                    "Er zijn geen wijzigingen aangebracht in uw bestanden!"));
        QCOMPARE(aanroepen, QStringList());
        QCOMPARE(o.merken(DoelSoort::PT), (QStringList{"OUD", "WAL"}));
        QCOMPARE(stap.Toestand().Waarde(QStringLiteral("fout")), QStringLiteral("1"));
    }

    // A checked database source without a kind contributes to no phase. A sound one (no version record) is
    // left out as always; one that cannot be read now, held by another program or damaged, ends the run
    // before any worker: the closing message and the log name it, and it counts under "Fouten:".
    void bronNietLeesbaar_data()
    {
        QTest::addColumn<QString>("staat");
        QTest::newRow("sound, without a version record") << QStringLiteral("gezond");
        QTest::newRow("held by another program") << QStringLiteral("in gebruik");
        QTest::newRow("damaged") << QStringLiteral("beschadigd");
    }
    void bronNietLeesbaar()
    {
        QFETCH(QString, staat);
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        const std::shared_ptr<clsBron2> zonderSoort =
            o.bron(QStringLiteral("producten.pt"), BronSoort::NietBepaald, true);
        const QString pad = zonderSoort->BronPad;
        {
            fixtures::FixtureDb db(pad);
            db.exec(QStringLiteral("DROP TABLE SysDBInfo"));
        }
        const QMap<QString, QByteArray> voor = o.inhoud();
        sqlite3* ander = nullptr;
        if (staat == QLatin1String("in gebruik")) {
            QCOMPARE(sqlite3_open_v2(pad.toUtf8().constData(), &ander, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
            QCOMPARE(sqlite3_exec(ander, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        } else if (staat == QLatin1String("beschadigd")) {
            QFile bestand(pad);
            QVERIFY(bestand.open(QIODevice::ReadWrite) && bestand.resize(bestand.size() / 3));
        }
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        const QStringList aanroepen = o.werkers->teksten();
        sqlite3_exec(ander, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(ander);

        if (staat == QLatin1String("gezond")) {
            QCOMPARE(stap.Eindmelding(), QString());
            QCOMPARE(aanroepen, QStringList{QStringLiteral("Bestand art.csv -> pt")});
            return;
        }
        const QString reden =
            staat == QLatin1String("in gebruik")
                ? QStringLiteral("Het bestand '%1' is in gebruik door een ander programma. Sluit dat programma en "
                                 "probeer het opnieuw.")
                : QStringLiteral("Het bestand '%1' is beschadigd en kan niet worden gelezen. Kies een onbeschadigd "
                                 "exemplaar, bijvoorbeeld uit een backup.");
        const QString melding = QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!\r\n") +
                                reden.arg(QDir::toNativeSeparators(pad)) +
                                QStringLiteral("\r\nEr zijn geen wijzigingen aangebracht in uw bestanden!");
        QCOMPARE(stap.Eindmelding(), melding);
        QVERIFY(stap.FoutGemeld());
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.first().text, melding + kBekijkLog);
        QCOMPARE(aanroepen, QStringList());
        QCOMPARE(o.inhoud(), voor);
        QCOMPARE(o.andereBestanden(), QStringList());
        QCOMPARE(stap.Toestand().Waarde(QStringLiteral("fout")), QStringLiteral("1"));
        const QString overzicht = leesLog(globals().gLogOverzicht);
        QVERIFY2(overzicht.contains(pad) && overzicht.contains(melding), qPrintable(overzicht));
    }

    // Leftovers of a killed transfer in a target's folder go at the next transfer there; other files stay.
    void restantenOpgeruimd()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        const QStringList restanten{QStringLiteral("producten.db.supplink-werkkopie-Ab12Cd"),
                                    QStringLiteral("producten.db.supplink-werkkopie-Ab12Cd-journal"),
                                    QStringLiteral("bibliotheek.db.supplink-nieuw-ZZ99zz")};
        for (const QString& naam : restanten + QStringList{QStringLiteral("notities.txt"),
                                                           QStringLiteral("producten.db.supplink-werkkopie-")}) {
            QFile bestand(QDir(o.doelMap()).filePath(naam));
            QVERIFY(bestand.open(QIODevice::WriteOnly));
        }
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        QCOMPARE(stap.Eindmelding(), QString());
        QCOMPARE(o.andereBestanden(), (QStringList{QStringLiteral("notities.txt"), QStringLiteral("producten.db.supplink-werkkopie-")}));
    }

    // The logs of a scripted run, line by line; a worker without count events writes no count lines (the
    // counts of the worker before do not carry over).
    void logsGouden()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.opties().DoorvoerenPrijsWijzigingen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        o.bron(QStringLiteral("art2.csv"), BronSoort::Artikelen);
        o.werkers->gedrag = [](const NepAanroep&, VoortgangOntvanger& ontvanger, int nummer) {
            if (nummer == 1) {
                ontvanger.HuidigeHoofdActie(QStringLiteral("Inlezen"));
                ontvanger.Voortgang(QStringLiteral("Regel"), QStringLiteral("A1"));
                qint32 nieuw = 2, bestaand = 1;
                ontvanger.NieuwOnderdeel(nieuw);
                ontvanger.BestaandOnderdeel(bestaand);
                ontvanger.HuidigeHoofdActieDone();
            }
            return true;
        };
        StapTransfer stap;
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        QCOMPARE(stap.Eindmelding(), QString());

        const QString pt = o.doel(DoelSoort::PT);
        const QString art = o.bronPad(QStringLiteral("art.csv"));
        const QString art2 = o.bronPad(QStringLiteral("art2.csv"));
        const QStringList kop{QStringLiteral("Doel bestand : ") + pt,
                              QStringLiteral("- Artikelen importeren"),
                              QStringLiteral("- Prijswijzigingen doorvoeren"),
                              QStringLiteral("- Geen nieuwe Artikelen toevoegen"),
                              QStringLiteral("- Geen Hang en Sluitwerk Selectie Tabellen importeren"),
                              QStringLiteral("- Geen Sponningfiguren importeren"),
                              QStringLiteral("- Geen Bibliotheek importeren")};
        const QStringList overzicht = kop + QStringList{QStringLiteral("Bron bestand: ") + art,
                                                        QStringLiteral("-Nieuwe onderdelen: 2"),
                                                        QStringLiteral("-Bestaande onderdelen: 1"),
                                                        QStringLiteral("Bron bestand: ") + art2};
        QCOMPARE(leesLog(globals().gLogOverzicht), overzicht.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

        const QString streep(80, QLatin1Char('-'));
        const auto rijen = [&](const QString& bron, const QString& nieuw, const QString& bestaand) {
            return QStringList{QStringLiteral("Bron bestand: ") + bron,   QStringLiteral("Doel bestand: ") + pt,
                               QStringLiteral("Prijzen aanpassen: Ja"),   QStringLiteral("Artikelen toevoegen: Nee"),
                               QStringLiteral("Bezig met: Gereed."),      QStringLiteral("Huidige actie: Gereed."),
                               QStringLiteral("Omschrijving: "),          QStringLiteral("Nieuwe onderdelen: ") + nieuw,
                               QStringLiteral("Bestaande onderdelen: ") + bestaand, QStringLiteral("Fouten: ")};
        };
        const QStringList detail = kop + QStringList{QStringLiteral("Bron bestand: ") + art, streep,
                                                     QStringLiteral("Inlezen"), QStringLiteral("Regel:A1"), streep,
                                                     QStringLiteral("-Nieuwe onderdelen: 2"),
                                                     QStringLiteral("-Bestaande onderdelen: 1")} +
                                   rijen(art, QStringLiteral("2"), QStringLiteral("1")) +
                                   QStringList{QStringLiteral("Bron bestand: ") + art2} + rijen(art2, QString(), QString());
        QCOMPARE(leesLog(globals().gLogDetail), detail.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }

    // The status rows of the options chosen, the bars and the remaining time on an injected clock.
    void voortgang()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::Opt, DoelSoort::Lib});
        globals().gBibliotheekModus = true;
        zetOpties(o.opties(), {QStringLiteral("Tabellen"), QStringLiteral("LIBHSCombies")});
        o.bron(QStringLiteral("hs0.csv"), BronSoort::TabellenCombies, false, 0);
        qint64 nu = 5000;
        StapTransfer stap;
        stap.ZetKlok([&nu] { return nu; });
        struct Stand
        {
            int maximum, waarde;
            QString label;
        };
        QList<Stand> standen;
        QStringList rijen;
        bool actiefGezien = true;
        const auto noteer = [&] {
            const TransferToestand& t = stap.Toestand();
            standen << Stand{t.Rijenbalk().maximum, t.Rijenbalk().waarde, t.ResterendeTijd()};
        };
        o.werkers->gedrag = [&](const NepAanroep&, VoortgangOntvanger& ontvanger, int nummer) {
            if (nummer == 1) {
                for (const StatusRij& rij : stap.Toestand().Rijen())
                    rijen << rij.sleutel;
                qint32 totaal = 100;
                ontvanger.VoortgangTotaal(totaal);
                nu += 10000;
                for (qint32 huidig : {50, 150, 0}) {
                    ontvanger.VoortgangHuidig(huidig);
                    noteer();
                }
            }
            actiefGezien = actiefGezien && stap.WerkerActief() && stap.Toestand().AnnulerenZichtbaar();
            return true;
        };
        stap.ZetWerkers(o.werkers);
        stap.StartTransfer();
        QCOMPARE(stap.Eindmelding(), QString());
        QCOMPARE(rijen, (QStringList{"bron", "doel", "taboverschrijf", "bibimport", "bezigmet", "huidigeactie",
                                     "artikelomschrijving", "nieuw", "bestaand", "fout"}));
        QCOMPARE(stap.Toestand().Waarde(QStringLiteral("bibimport")), QStringLiteral("Bibliotheek importeren"));
        QCOMPARE(standen.size(), 3);
        QCOMPARE(standen.at(0).waarde, 50);
        QCOMPARE(standen.at(0).label, QStringLiteral("Resterende tijd :10 seconden"));
        // Above the total: nothing changes.
        QCOMPARE(standen.at(1).waarde, 50);
        QCOMPARE(standen.at(1).label, QStringLiteral("Resterende tijd :10 seconden"));
        // Zero: the bar goes back, the label keeps its text.
        QCOMPARE(standen.at(2).waarde, 0);
        QCOMPARE(standen.at(2).label, QStringLiteral("Resterende tijd :10 seconden"));
        // One source run twice (phases A and C) fills the source bar once.
        QCOMPARE(o.werkers->aanroepen.size(), 2);
        QCOMPARE(stap.Toestand().Bronbalk().maximum, 1);
        QCOMPARE(stap.Toestand().Bronbalk().waarde, 1);
        QVERIFY(actiefGezien);
        QVERIFY(!stap.Toestand().AnnulerenZichtbaar());
        QVERIFY(!stap.WerkerActief());
    }
};

QTEST_GUILESS_MAIN(TestStapTransfer)
#include "test_staptransfer.moc"
