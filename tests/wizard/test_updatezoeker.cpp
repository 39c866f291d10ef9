// The update check against a web server on 127.0.0.1: the update list and its
// entries, the version rule, the download in chunks with its byte count, the
// size attempts, downloads that end short, archives and installer names that
// leave the program folder, the installer start and the program's end.

#include "start/globals.h"
#include "start/registryfuncties.h"
#include "updateopstelling.h"
#include "wizard/clsdownloadfileinfo.h"
#include "wizard/updatezoeker.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace supplink;
using test::UpdateOpstelling;

namespace {

const QByteArray kKop = "BvqLeveranciersUpdates\r\n";

QStringList afgerondNieuwer()
{
    return {QStringLiteral("Het zoeken naar updates is afgerond."), QStringLiteral("Kies OK om verder te gaan.")};
}

QString native(const QString& pad) { return QDir::toNativeSeparators(pad); }

} // namespace

class TestUpdateZoeker : public QObject
{
    Q_OBJECT

private slots:
    void addLine_data();
    void addLine();
    void versie_data();
    void versie();
    void updateMap_data();
    void updateMap();
    void serverUitInstelling();

    void updateInformatie_data();
    void updateInformatie();
    void geenVerbinding();
    void geenEntries();
    void alleenEersteEntryTelt();
    void nieuwereEntryZonderRunFileWordtNietGeinstalleerd();

    void chunks_data();
    void chunks();
    void doorverwijzing();
    void geenGrootte_data();
    void geenGrootte();
    void korteDownloadWordtNietUitgepakt();

    void installatie_data();
    void installatie();
    void startMislukt();
    void bestaandLangerBestandVolledigVervangen();
    void zipSlipGeweigerd();
    void naamBuitenProgrammamapGeweigerd_data();
    void naamBuitenProgrammamapGeweigerd();
};

void TestUpdateZoeker::addLine_data()
{
    QTest::addColumn<QString>("regel");
    QTest::addColumn<bool>("gelukt");
    QTest::addColumn<QStringList>("velden"); // FileName, Major, Minor, Extra, Description, RunFile, CloseApp

    QTest::newRow("zeven velden") << "upd.zip,4,2,x,Update 4.2,setup.exe,ja\r" << true
                                  << QStringList{"upd.zip", "4", "2", "x", "Update 4.2", "setup.exe", "JA"};
    QTest::newRow("ontbrekende velden") << "upd.zip,4" << true
                                        << QStringList{"upd.zip", "4", "", "", "", "", ""};
    QTest::newRow("spaties en stuurtekens")
        << QString::fromUtf8(" upd.zip , 4 ,\t2\t, , Naam met  spaties ,se\x01tup.exe\x1f, x ") << true
        << QStringList{"upd.zip", "4", "2", "", "Naam met  spaties", "setup.exe", "X"};
    QTest::newRow("veld 7 in hoofdletters") << QString::fromUtf8(",,,,,,sluit af é") << true
                                            << QStringList{"", "", "", "", "", "", QString::fromUtf8("SLUIT AF É")};
    QTest::newRow("meer dan zeven velden") << "a,1,2,3,4,5,6,7,8" << true
                                           << QStringList{"a", "1", "2", "3", "4", "5", "6"};
    QTest::newRow("alleen een spatie") << " " << true << QStringList{"", "", "", "", "", "", ""};
    QTest::newRow("lege tekst") << "" << false << QStringList{"", "", "", "", "", "", ""};
}

void TestUpdateZoeker::addLine()
{
    QFETCH(QString, regel);
    QFETCH(bool, gelukt);
    QFETCH(QStringList, velden);

    clsDownloadFileInfo info;
    QCOMPARE(info.AddLine(regel), gelukt);
    const QStringList gelezen{info.FileName, info.VersionMajor, info.VersionMinor, info.Extra,
                              info.Description, info.RunFile, info.CloseApp};
    QCOMPARE(gelezen, velden);
    QVERIFY(!info.Selected);
}

void TestUpdateZoeker::versie_data()
{
    QTest::addColumn<QString>("major");
    QTest::addColumn<QString>("minor");
    QTest::addColumn<int>("programmaMajor");
    QTest::addColumn<int>("programmaMinor");
    QTest::addColumn<bool>("nieuwer");

    QTest::newRow("4.2 tegen 4.1.x") << "4" << "2" << 4 << 1 << true;
    QTest::newRow("4.1 tegen 4.1.7") << "4" << "1" << 4 << 1 << false;
    QTest::newRow("5.0 tegen 4.9") << "5" << "0" << 4 << 9 << true;
    QTest::newRow("4.10 tegen 4.9, als getallen") << "4" << "10" << 4 << 9 << true;
    QTest::newRow("3.9 tegen 4.1") << "3" << "9" << 4 << 1 << false;
    QTest::newRow("geen getal") << "vier" << "2" << 4 << 1 << false;
}

void TestUpdateZoeker::versie()
{
    QFETCH(QString, major);
    QFETCH(QString, minor);
    QFETCH(int, programmaMajor);
    QFETCH(int, programmaMinor);
    QFETCH(bool, nieuwer);

    clsDownloadFileInfo info;
    info.VersionMajor = major;
    info.VersionMinor = minor;
    QCOMPARE(IsNieuwereVersie(info, programmaMajor, programmaMinor), nieuwer);
}

void TestUpdateZoeker::updateMap_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("map");

    QTest::newRow("host") << "updates.voorbeeld.nl" << "http://updates.voorbeeld.nl/bvq/leveranciers/updates/4/";
    QTest::newRow("host en poort") << "127.0.0.1:8080" << "http://127.0.0.1:8080/bvq/leveranciers/updates/4/";
    QTest::newRow("https") << "https://updates.voorbeeld.nl/"
                           << "https://updates.voorbeeld.nl/bvq/leveranciers/updates/4/";
}

void TestUpdateZoeker::updateMap()
{
    QFETCH(QString, server);
    QFETCH(QString, map);
    QCOMPARE(UpdateMap(server).toString(), map);
}

void TestUpdateZoeker::serverUitInstelling()
{
    test::TestEnvironment env;
    QVERIFY(UpdateServer().isEmpty());
    fSaveString(HKEY_LOCAL_MACHINE, ProgramKeyPath() + QStringLiteral("settings"), QStringLiteral("updateserver"),
                QStringLiteral("updates.voorbeeld.nl"));
    QCOMPARE(UpdateZoeker().server(), QStringLiteral("updates.voorbeeld.nl"));
}

void TestUpdateZoeker::updateInformatie_data()
{
    QTest::addColumn<QByteArray>("lijst");
    QTest::addColumn<bool>("geldig");

    QTest::newRow("kop met CR LF") << kKop + "upd.zip,4,1,,Update,,\r\n" << true;
    QTest::newRow("spaties voor de kop") << "   " + kKop << true;
    QTest::newRow("kop met alleen LF") << QByteArray("BvqLeveranciersUpdates\nupd.zip,4,1,,Update,,\n") << false;
    QTest::newRow("spatie voor de CR") << QByteArray("BvqLeveranciersUpdates \r\n") << false;
    QTest::newRow("andere kop") << QByteArray("<html>niet gevonden</html>\r\n") << false;
}

void TestUpdateZoeker::updateInformatie()
{
    QFETCH(QByteArray, lijst);
    QFETCH(bool, geldig);

    UpdateOpstelling o;
    o.lijst(lijst);
    UpdateZoeker zoeker;
    o.richt(zoeker);

    QCOMPARE(zoeker.LeesUpdateInformatie(), geldig);
    QCOMPARE(o.http.requests(), QStringList{UpdateOpstelling::updatePad("info4.txt")});
    QCOMPARE(zoeker.StatusRegels().mid(0, 2),
             (QStringList{"Verbinding maken met website...", "Verbinding tot stand gebracht"}));
    if (geldig) {
        QVERIFY(o.ui.messages.isEmpty());
        QCOMPARE(zoeker.StatusRegels().size(), 2);
        return;
    }
    QCOMPARE(o.ui.messages.size(), 1);
    QVERIFY(o.ui.messages.first().text.startsWith(QStringLiteral("De website bevat geen geldige update-informatie.")));
    QCOMPARE(o.ui.messages.first().style, MsgBox::OkOnly | MsgBox::Critical);
    QCOMPARE(zoeker.StatusRegels().last(), o.ui.messages.first().text);
}

void TestUpdateZoeker::geenVerbinding()
{
    UpdateOpstelling o;
    o.lijst({}); // an empty answer is no answer
    UpdateZoeker zoeker;
    o.richt(zoeker);
    QSignalSpy bezig(&zoeker, &UpdateZoeker::bezigGewijzigd);

    zoeker.ZoekUpdates();
    const QString melding =
        QStringLiteral("Het is niet gelukt om een verbinding te maken met de Tavrin website ") + o.http.server() + "!";
    QCOMPARE(zoeker.StatusRegels(), (QStringList{"Verbinding maken met website...", melding}));
    QCOMPARE(o.ui.messages.size(), 1);
    QCOMPARE(o.ui.messages.first().text, melding);
    QCOMPARE(o.ui.messages.first().style, MsgBox::OkOnly | MsgBox::Critical);
    QCOMPARE(bezig.size(), 2);
    QCOMPARE(bezig.last().first().toBool(), false);
    QVERIFY(!zoeker.Bezig());

    // Nothing listens on port 1 of this machine.
    UpdateZoeker zonderServer;
    o.richt(zonderServer);
    zonderServer.setServer(QStringLiteral("127.0.0.1:1"));
    QVERIFY(!zonderServer.LeesUpdateInformatie());
    QVERIFY(zonderServer.StatusRegels().last().startsWith(
        QStringLiteral("Het is niet gelukt om een verbinding te maken met de Tavrin website 127.0.0.1:1!")));
}

void TestUpdateZoeker::geenEntries()
{
    // A header alone, with or without its line end.
    const QList<QByteArray> lijsten{"BvqLeveranciersUpdates\r", kKop};
    for (const QByteArray& lijst : lijsten) {
        UpdateOpstelling o;
        o.lijst(lijst);
        UpdateZoeker zoeker;
        o.richt(zoeker);
        zoeker.ZoekUpdates();
        QCOMPARE(o.ui.messages.size(), 1);
        QCOMPARE(o.ui.messages.first().text, QStringLiteral("Er zijn geen nieuwe definities beschikbaar!"));
        QCOMPARE(o.ui.messages.first().style, MsgBox::OkOnly | MsgBox::Information);
        QCOMPARE(zoeker.StatusRegels().size(), 2);
    }
}

void TestUpdateZoeker::alleenEersteEntryTelt()
{
    UpdateOpstelling o;
    o.lijst(kKop + "oud.zip,4,0,,Oud,setup.sh,\r\nnieuw.zip,9,9,,Nieuw,setup.sh,\r\n");
    UpdateZoeker zoeker;
    o.richt(zoeker);
    zoeker.ZoekUpdates();

    QCOMPARE(zoeker.Bestanden().size(), 2);
    QVERIFY(!zoeker.Bestanden().at(0)->Selected);
    QVERIFY(!zoeker.Bestanden().at(1)->Selected);
    QCOMPARE(zoeker.StatusRegels().mid(2),
             (QStringList{"Het zoeken naar updates is afgerond.", "U beschikt over de meest recente versie.",
                          "Kies OK om verder te gaan."}));
    QCOMPARE(o.http.requests().size(), 1);
}

void TestUpdateZoeker::nieuwereEntryZonderRunFileWordtNietGeinstalleerd()
{
    UpdateOpstelling o;
    o.lijst(kKop + "data.zip,4,2,,Alleen gegevens,,\r\n");
    o.bestand(QStringLiteral("data.zip"), o.zip({{"a.txt", "a"}}));
    UpdateZoeker zoeker;
    o.richt(zoeker);
    zoeker.ZoekUpdates();

    QVERIFY(zoeker.Bestanden().first()->Selected);
    QCOMPARE(zoeker.StatusRegels().mid(2), afgerondNieuwer());
    QCOMPARE(o.http.requests().size(), 1);
    QVERIFY(!QFileInfo::exists(o.map + "/data.zip"));
    QVERIFY(o.gestart.isEmpty());
}

void TestUpdateZoeker::chunks_data()
{
    QTest::addColumn<int>("grootte");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<int>>("procenten");

    QTest::newRow("256 bytes: één stuk") << 256 << QStringList{"Bytes (0)", "f.bin: 0 bytes (100%)"}
                                         << QList<int>{0, 100};
    QTest::newRow("257 bytes: 256 en 1")
        << 257 << QStringList{"Bytes (0)", "f.bin: 1 bytes (99%)", "f.bin: 0 bytes (100%)"} << QList<int>{0, 99, 100};
    QTest::newRow("1000 bytes") << 1000
                                << QStringList{"Bytes (0)", "f.bin: 744 bytes (25%)", "f.bin: 488 bytes (51%)",
                                               "f.bin: 232 bytes (76%)", "f.bin: 0 bytes (100%)"}
                                << QList<int>{0, 25, 51, 76, 100};
}

void TestUpdateZoeker::chunks()
{
    QFETCH(int, grootte);
    QFETCH(QStringList, labels);
    QFETCH(QList<int>, procenten);

    UpdateOpstelling o;
    QByteArray inhoud(grootte, '\0');
    for (int i = 0; i < grootte; ++i)
        inhoud[i] = char(i * 7 + 3);
    o.bestand(QStringLiteral("f.bin"), inhoud);
    UpdateZoeker zoeker;
    o.richt(zoeker);
    QSignalSpy voortgang(&zoeker, &UpdateZoeker::voortgang);
    QSignalSpy zichtbaar(&zoeker, &UpdateZoeker::voortgangZichtbaar);

    QVERIFY(zoeker.DownloadBestand(QStringLiteral("f.bin")));
    QStringList gezien;
    QList<int> gezienProcent;
    for (const QList<QVariant>& signaal : voortgang) {
        gezien << signaal.at(0).toString();
        gezienProcent << signaal.at(1).toInt();
    }
    QCOMPARE(gezien, labels);
    QCOMPARE(gezienProcent, procenten);
    QCOMPARE(o.inMap(QStringLiteral("f.bin")), inhoud);
    QCOMPARE(zichtbaar.size(), 2);
    QCOMPARE(zichtbaar.at(0).first().toBool(), true);
    QCOMPARE(zichtbaar.at(1).first().toBool(), false);
    QVERIFY(zoeker.StatusRegels().isEmpty());
    QCOMPARE(o.wachten, 0);
}

void TestUpdateZoeker::doorverwijzing()
{
    UpdateOpstelling o;
    const QByteArray inhoud(300, 'n');
    o.bestand(QStringLiteral("f.bin"),
              fixtures::HttpAnswer{"elders", 302, true, -1,
                                   "Location: " + UpdateOpstelling::updatePad("nieuw.bin").toUtf8() + "\r\n"});
    o.bestand(QStringLiteral("nieuw.bin"), inhoud);
    UpdateZoeker zoeker;
    o.richt(zoeker);

    QCOMPARE(zoeker.HaalBestandOp(QStringLiteral("f.bin")), qint64(inhoud.size()));
    QCOMPARE(o.inMap(QStringLiteral("f.bin")), inhoud);
    QVERIFY(zoeker.StatusRegels().isEmpty());
}

void TestUpdateZoeker::geenGrootte_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("metLengte");

    QTest::newRow("geen Content-Length") << 200 << false;
    QTest::newRow("foutpagina met lengte") << 404 << true;
}

void TestUpdateZoeker::geenGrootte()
{
    QFETCH(int, status);
    QFETCH(bool, metLengte);

    UpdateOpstelling o;
    o.bestand(QStringLiteral("f.bin"), fixtures::HttpAnswer{"inhoud", status, metLengte});
    QFile oud(o.map + "/f.bin");
    QVERIFY(oud.open(QIODevice::WriteOnly) && oud.write("oud") == 3);
    oud.close();
    UpdateZoeker zoeker;
    o.richt(zoeker);

    QVERIFY(!zoeker.DownloadBestand(QStringLiteral("f.bin")));
    QStringList verwacht(10, QStringLiteral("Retry..."));
    verwacht << QStringLiteral("Filegrootte bepalen mislukt!") << QStringLiteral("Bestand niet gevonden op de website!");
    QCOMPARE(zoeker.StatusRegels(), verwacht);
    QCOMPARE(o.wachten, 10);
    QCOMPARE(o.inMap(QStringLiteral("f.bin")), QByteArray("oud"));
}

void TestUpdateZoeker::korteDownloadWordtNietUitgepakt()
{
    UpdateOpstelling o;
    o.lijst(kKop + "upd.zip,4,2,,Update 4.2,setup.sh,\r\n");
    const QByteArray archief = o.zip({{"setup.sh", QByteArray(4000, 'x')}});
    o.bestand(QStringLiteral("upd.zip"), fixtures::HttpAnswer{archief.left(archief.size() / 2), 200, true, archief.size()});
    UpdateZoeker zoeker;
    o.richt(zoeker);
    zoeker.ZoekUpdates();

    QCOMPARE(zoeker.StatusRegels().mid(2),
             QStringList({"Downloaden bestand Update 4.2", "Onbekende fout opgetreden tijdens het downloaden!",
                          "Downloaden bestand Update 4.2 mislukt!"}) +
                 afgerondNieuwer());
    QCOMPARE(QDir(o.map).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
    QVERIFY(o.gestart.isEmpty());
    QCOMPARE(o.afgesloten, 0);
}

void TestUpdateZoeker::installatie_data()
{
    QTest::addColumn<QString>("closeApp");

    QTest::newRow("programma blijft") << "";
    QTest::newRow("programma sluit af") << "ja";
}

void TestUpdateZoeker::installatie()
{
    QFETCH(QString, closeApp);

    UpdateOpstelling o;
    o.lijst(kKop + "upd.zip,4,2,,Update 4.2,bin/setup.sh," + closeApp.toUtf8() + "\r\n");
    o.bestand(QStringLiteral("upd.zip"),
              o.zip({{"bin/", {}}, {"bin/setup.sh", "#!/bin/sh\n"}, {"lees mij.txt", "nieuw"}},
                    {{"bin/setup.sh", 0755}}));
    UpdateZoeker zoeker;
    o.richt(zoeker);
    zoeker.ZoekUpdates();

    QStringList verwacht{"Verbinding maken met website...", "Verbinding tot stand gebracht",
                         "Downloaden bestand Update 4.2", "Download succesvol.", "Uitpakken succesvol."};
    if (closeApp.isEmpty())
        verwacht << "Installatie update gereed." << afgerondNieuwer();
    QCOMPARE(zoeker.StatusRegels(), verwacht);

    QCOMPARE(o.gestart.size(), 1);
    QCOMPARE(o.gestart.first().first, native(o.map + "/bin/setup.sh"));
    QCOMPARE(o.gestart.first().second, QStringList{native(o.map)});
    QCOMPARE(o.inMap(QStringLiteral("lees mij.txt")), QByteArray("nieuw"));
    QVERIFY(QFileInfo(o.map + "/bin/setup.sh").isExecutable());
    QVERIFY(QFileInfo::exists(o.map + "/upd.zip")); // the archive stays
    QCOMPARE(o.afgesloten, closeApp.isEmpty() ? 0 : 1);
    QCOMPARE(zoeker.Afgesloten(), !closeApp.isEmpty());
    if (closeApp.isEmpty()) {
        QVERIFY(o.ui.messages.isEmpty());
    } else {
        QCOMPARE(o.ui.messages.size(), 1);
        QCOMPARE(o.ui.messages.first().text,
                 QStringLiteral("Om de installatie af te ronden wordt de applicatie nu afgesloten."));
        QCOMPARE(o.ui.messages.first().style, MsgBox::OkOnly | MsgBox::Information);
    }
}

void TestUpdateZoeker::startMislukt()
{
    UpdateOpstelling o;
    o.startLukt = false;
    o.lijst(kKop + "upd.zip,4,2,,Update 4.2,setup.sh,\r\n");
    o.bestand(QStringLiteral("upd.zip"), o.zip({{"setup.sh", "#!/bin/sh\n"}}));
    UpdateZoeker zoeker;
    o.richt(zoeker);
    zoeker.ZoekUpdates();

    QCOMPARE(o.gestart.size(), 1);
    QCOMPARE(o.ui.messages.size(), 1);
    QCOMPARE(o.ui.messages.first().text,
             QStringLiteral("Er is een fout opgetreden tijdens het toepassen van de update. Start deze applicatie als "
                            "Administrator en probeer het opnieuw."));
    QCOMPARE(o.afgesloten, 1);
    QCOMPARE(zoeker.StatusRegels().last(), QStringLiteral("Uitpakken succesvol."));
}

void TestUpdateZoeker::bestaandLangerBestandVolledigVervangen()
{
    UpdateOpstelling o;
    const QByteArray lang(5000, 'o');
    for (const char* naam : {"data.txt", "upd.zip"}) {
        QFile oud(o.map + '/' + naam);
        QVERIFY(oud.open(QIODevice::WriteOnly) && oud.write(lang) == lang.size());
    }
    o.lijst(kKop + "upd.zip,4,2,,Update 4.2,setup.sh,\r\n");
    const QByteArray archief = o.zip({{"setup.sh", "#!/bin/sh\n"}, {"data.txt", "kort"}});
    QVERIFY(archief.size() < lang.size());
    o.bestand(QStringLiteral("upd.zip"), archief);
    UpdateZoeker zoeker;
    o.richt(zoeker);
    zoeker.ZoekUpdates();

    QVERIFY(zoeker.StatusRegels().contains(QStringLiteral("Uitpakken succesvol.")));
    QCOMPARE(o.inMap(QStringLiteral("upd.zip")), archief);
    QCOMPARE(o.inMap(QStringLiteral("data.txt")), QByteArray("kort"));
}

void TestUpdateZoeker::zipSlipGeweigerd()
{
    UpdateOpstelling o;
    o.lijst(kKop + "upd.zip,4,2,,Update 4.2,setup.sh,\r\n");
    o.bestand(QStringLiteral("upd.zip"),
              o.zip({{"setup.sh", "#!/bin/sh\n"}, {"../buiten.txt", "kwaad"}, {"sub/../../ook.txt", "kwaad"}}));
    UpdateZoeker zoeker;
    o.richt(zoeker);
    zoeker.ZoekUpdates();

    const QStringList regels = zoeker.StatusRegels();
    QVERIFY(regels.contains(QStringLiteral("Uitpakken bestand Update 4.2 mislukt!")));
    QVERIFY(!regels.contains(QStringLiteral("Uitpakken succesvol.")));
    QVERIFY(regels.join('\n').contains(QStringLiteral("'../buiten.txt' ligt buiten de map en is niet uitgepakt.")));
    QVERIFY(!QFileInfo::exists(o.env.path("buiten.txt")));
    QVERIFY(!QFileInfo::exists(o.env.path("ook.txt")));
    QVERIFY(!QFileInfo::exists(o.map + "/upd.zip")); // a failed archive is deleted
    QVERIFY(o.gestart.isEmpty());
}

void TestUpdateZoeker::naamBuitenProgrammamapGeweigerd_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("runFile");
    QTest::addColumn<QString>("geweigerd");

    QTest::newRow("RunFile met ../") << "upd.zip" << "../setup.sh" << "../setup.sh";
    QTest::newRow("RunFile met ..\\") << "upd.zip" << "bin\\..\\..\\setup.exe" << "bin\\..\\..\\setup.exe";
    QTest::newRow("absolute RunFile") << "upd.zip" << "/bin/sh" << "/bin/sh";
    QTest::newRow("FileName met ../") << "../upd.zip" << "setup.sh" << "../upd.zip";
}

void TestUpdateZoeker::naamBuitenProgrammamapGeweigerd()
{
    QFETCH(QString, fileName);
    QFETCH(QString, runFile);
    QFETCH(QString, geweigerd);

    UpdateOpstelling o;
    o.lijst(kKop + fileName.toUtf8() + ",4,2,,Update 4.2," + runFile.toUtf8() + ",\r\n");
    o.bestand(QStringLiteral("upd.zip"), o.zip({{"setup.sh", "#!/bin/sh\n"}}));
    UpdateZoeker zoeker;
    o.richt(zoeker);
    zoeker.ZoekUpdates();

    QCOMPARE(zoeker.StatusRegels().mid(2),
             QStringList{QStringLiteral("De update Update 4.2 wordt niet geïnstalleerd: '%1' ligt buiten de "
                                        "programmamap.")
                             .arg(geweigerd)} +
                 afgerondNieuwer());
    QCOMPARE(o.http.requests().size(), 1);
    QVERIFY(o.gestart.isEmpty());
    QCOMPARE(QDir(o.map).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

QTEST_GUILESS_MAIN(TestUpdateZoeker)
#include "test_updatezoeker.moc"
