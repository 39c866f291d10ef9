// The welcome step without its window: the temporary folder and the content
// packages (a package made here, one whose entries leave the folder), the
// logo table appended to the default page, the supplier tree read from a
// suppliers folder written here (two-line index, empty code, category 9, a
// bad category, a duplicate code, an unreadable index), clicks on categories
// and suppliers, a second entry, and the splitter setting.

#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "support/zipwriter.h"
#include "wizard/stapwelkom.h"
#include "wizard/welkomopstelling.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using namespace supplink;
using namespace supplink::test;

namespace {

// The tree as text: per category its key, and the codes of its suppliers.
QStringList boom(const StapWelkom& stap)
{
    QStringList regels;
    for (const WelkomCategorie& c : stap.Boom()) {
        QStringList codes;
        for (const auto& l : c.leveranciers)
            codes << l->Code;
        regels << c.sleutel + QLatin1Char(':') + codes.join(QLatin1Char(','));
    }
    return regels;
}

QString welkomPagina()
{
    QFile pagina(QDir(globals().gWelkomMap).filePath(QStringLiteral("welkom.html")));
    return pagina.open(QIODevice::ReadOnly) ? QString::fromUtf8(pagina.readAll()) : QStringLiteral("<ontbreekt>");
}

bool laatsteKanVerder(const QSignalSpy& spy)
{
    return !spy.isEmpty() && spy.last().at(0).toBool();
}

} // namespace

class StapWelkomTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { globals() = ProgramState(); }
    void cleanup() { globals() = ProgramState(); }

    // The suppliers folder of the setting: nine categories; a two-line index lands under 6, an empty code
    // is read but not listed, a bad category goes under 6 and a duplicate code is left out, and neither
    // stops the suppliers after it; an index without its second line is reported and skipped.
    void boomUitLeveranciersmap()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString map = env.path(QStringLiteral("leveranciers"));
        leverancierMap(map, QStringLiteral("a"), "TWEE\r\nTwee regels\r\n");
        leverancierMap(map, QStringLiteral("b"), "\r\nGeen code\r\n3\r\n");
        leverancierMap(map, QStringLiteral("c"), "NEGEN\r\nNegen\r\n9\r\n");
        leverancierMap(map, QStringLiteral("d"), "FOUT\r\nFoute categorie\r\nX\r\n");
        leverancierMap(map, QStringLiteral("e"), "twee\r\nDubbel\r\n2\r\n");
        leverancierMap(map, QStringLiteral("f"), "ZESB\r\nAa eerst\r\n 6 \r\n");
        leverancierMap(map, QStringLiteral("g"), "EEN\r\n");
        leverancierMap(map, QStringLiteral("h"), "LAATSTE\nLaatste\n1");
        QDir().mkpath(map + QStringLiteral("/zonder-index"));
        zetLeveranciersMap(map);

        StapWelkom stap;
        stap.setProgrammaMap(env.path(QStringLiteral("programma")));
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.Init();

        QCOMPARE(boom(stap), (QStringList{QStringLiteral("CAT1:LAATSTE"), QStringLiteral("CAT2:"),
                                          QStringLiteral("CAT3:"), QStringLiteral("CAT4:"), QStringLiteral("CAT5:"),
                                          QStringLiteral("CAT6:ZESB,FOUT,TWEE"), QStringLiteral("CAT7:"),
                                          QStringLiteral("CAT8:"), QStringLiteral("CAT9:NEGEN")}));
        QStringList teksten;
        for (const WelkomCategorie& c : stap.Boom())
            teksten << c.tekst;
        QCOMPARE(teksten, StapWelkom::CategorieTeksten());
        QCOMPARE(teksten.at(5), QStringLiteral("Tavrin"));
        // Every index read, in folder order; the one without a second line is not.
        QStringList gelezen;
        for (const auto& l : globals().gLeveranciers)
            gelezen << l->Code;
        QCOMPARE(gelezen, (QStringList{QStringLiteral("TWEE"), QString(), QStringLiteral("NEGEN"),
                                       QStringLiteral("FOUT"), QStringLiteral("twee"), QStringLiteral("ZESB"),
                                       QStringLiteral("LAATSTE")}));
        const clsLeverancier& twee = *globals().gLeveranciers.at(0);
        QCOMPARE(twee.Categorie, QStringLiteral("6"));
        QCOMPARE(twee.Omschrijving, QStringLiteral("Twee regels"));
        QCOMPARE(twee.MainFolder, QDir::toNativeSeparators(map + QStringLiteral("/a")));
        QCOMPARE(twee.WelkomBestand, QDir::toNativeSeparators(map + QStringLiteral("/a/leverancier.xml")));
        QCOMPARE(globals().gLeveranciers.at(3)->Categorie, QStringLiteral("X"));
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(ui.errors.at(0).message.contains(QStringLiteral("HandleIndex")) ||
                ui.errors.at(0).details.contains(QStringLiteral("HandleIndex")));

        // Category 8 is selected, the default page shown and no supplier chosen.
        QCOMPARE(stap.GeselecteerdeSleutel(), QStringLiteral("CAT8"));
        QCOMPARE(stap.HuidigePagina(), QDir::toNativeSeparators(globals().gWelkomMap + QStringLiteral("/welkom.html")));
        QVERIFY(!globals().gLeverancier);
        QVERIFY(!kanVerder.isEmpty() && !laatsteKanVerder(kanVerder));
    }

    // Clicking: a supplier makes it current and shows its page; a category clears the choice and shows the
    // default page. A code that starts with "CAT" is a supplier like any other.
    void klikken()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString map = env.path(QStringLiteral("leveranciers"));
        leverancierMap(map, QStringLiteral("a"), "ACME\r\nAcme\r\n2\r\n");
        leverancierMap(map, QStringLiteral("b"), "CATALOGUS\r\nCatalogus BV\r\n5\r\n");
        zetLeveranciersMap(map);
        StapWelkom stap;
        stap.setProgrammaMap(env.path(QStringLiteral("programma")));
        stap.Init();
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        QSignalSpy pagina(&stap, &StapWelkom::PaginaGewijzigd);

        stap.KnoopGeklikt(QStringLiteral("ACME"), false);
        QVERIFY(laatsteKanVerder(kanVerder));
        QVERIFY(globals().gLeverancier);
        QCOMPARE(globals().gLeverancier->Code, QStringLiteral("ACME"));
        QCOMPARE(pagina.last().at(0).toString(), QDir::toNativeSeparators(map + QStringLiteral("/a/leverancier.xml")));

        stap.KnoopGeklikt(QStringLiteral("CAT2"), true);
        QVERIFY(!laatsteKanVerder(kanVerder));
        QVERIFY(!globals().gLeverancier);
        QCOMPARE(pagina.last().at(0).toString(), stap.HuidigePagina());
        QVERIFY(stap.HuidigePagina().endsWith(QStringLiteral("welkom.html")));

        stap.KnoopGeklikt(QStringLiteral("CATALOGUS"), false);
        QVERIFY(laatsteKanVerder(kanVerder));
        QCOMPARE(globals().gLeverancier->Omschrijving, QStringLiteral("Catalogus BV"));

        // A node without a key counts as a category.
        stap.KnoopGeklikt(QString(), false);
        QVERIFY(!globals().gLeverancier);

        QSignalSpy verder(&stap, &Stap::GaVerder);
        stap.KnoopDubbelGeklikt();
        QCOMPARE(verder.size(), 1);
    }

    // Returning with Back keeps the folder, the tree and the chosen supplier, and Next is enabled at once.
    void tweedeInit()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString map = env.path(QStringLiteral("leveranciers"));
        leverancierMap(map, QStringLiteral("a"), "ACME\r\nAcme\r\n2\r\n");
        zetLeveranciersMap(map);
        StapWelkom stap;
        stap.setProgrammaMap(env.path(QStringLiteral("programma")));
        stap.Init();
        const QString tempMap = globals().gWelkomMap;
        stap.KnoopGeklikt(QStringLiteral("ACME"), false);
        const auto gekozen = globals().gLeverancier;
        // A supplier added now is not read: the tree is built once.
        leverancierMap(map, QStringLiteral("b"), "LATER\r\nLater\r\n2\r\n");

        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        QSignalSpy boomGewijzigd(&stap, &StapWelkom::BoomGewijzigd);
        stap.Init();
        QCOMPARE(kanVerder.size(), 1);
        QVERIFY(laatsteKanVerder(kanVerder));
        QCOMPARE(globals().gLeverancier, gekozen);
        QCOMPARE(globals().gWelkomMap, tempMap);
        QCOMPARE(boomGewijzigd.size(), 0);
        QCOMPARE(boom(stap).at(1), QStringLiteral("CAT2:ACME"));
        QCOMPARE(stap.GeselecteerdeSleutel(), QStringLiteral("ACME"));
    }

    // The packages of the program folder: every file whose extension in lower case is "dat" is unpacked
    // into a new folder of its own in the temporary folder; without the setting the suppliers come from
    // there.
    void pakkettenUitgepakt()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString programma = env.path(QStringLiteral("programma"));
        QDir().mkpath(programma);
        QVERIFY(writeZip(programma + QStringLiteral("/inhoud.dat"),
                         {{QStringLiteral("welkom.html"), "<html><body><div>Welkom"},
                          {QStringLiteral("ACME/"), {}},
                          {QStringLiteral("ACME/index"), "ACME\r\nAcme\r\n1\r\n"}}));
        QVERIFY(writeZip(programma + QStringLiteral("/TWEEDE.DAT"),
                         {{QStringLiteral("BETA/index"), "BETA\r\nBeta\r\n7\r\n"}}));
        QVERIFY(writeZip(programma + QStringLiteral("/ander.zip"),
                         {{QStringLiteral("GAMMA/index"), "GAMMA\r\nGamma\r\n7\r\n"}}));

        StapWelkom stap;
        stap.setProgrammaMap(programma);
        stap.Init();
        const QString tempMap = globals().gWelkomMap;
        QVERIFY(QFileInfo(tempMap).isDir());
        QVERIFY(QDir::cleanPath(tempMap).startsWith(QDir::cleanPath(env.path(QStringLiteral("tmp")))));
        QCOMPARE(boom(stap).at(0), QStringLiteral("CAT1:ACME"));
        QCOMPARE(boom(stap).at(6), QStringLiteral("CAT7:BETA"));
        QVERIFY(welkomPagina().startsWith(QStringLiteral("<html><body><div>Welkom<table")));
        QVERIFY(ui.errors.isEmpty());

        // A second step (a second run of the program) gets a folder of its own.
        globals() = ProgramState();
        StapWelkom ander;
        ander.setProgrammaMap(programma);
        ander.Init();
        QVERIFY(!globals().gWelkomMap.isEmpty());
        QVERIFY(globals().gWelkomMap != tempMap);
        QVERIFY(QFileInfo(tempMap).isDir());
    }

    // Entries whose path leaves the folder (".." or absolute) are refused and said; the rest of the
    // package, and the other packages, are still unpacked.
    void pakketBuitenDeMapGeweigerd()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString programma = env.path(QStringLiteral("programma"));
        QDir().mkpath(programma);
        QVERIFY(writeZip(programma + QStringLiteral("/a.dat"),
                         {{QStringLiteral("../buiten.txt"), "weg"},
                          {QStringLiteral("/tmp/absoluut-welkom.txt"), "weg"},
                          {QStringLiteral("ACME/index"), "ACME\r\nAcme\r\n1\r\n"}}));
        QVERIFY(writeZip(programma + QStringLiteral("/b.dat"), {{QStringLiteral("BETA/index"), "BETA\r\nBeta\r\n1\r\n"}}));

        StapWelkom stap;
        stap.setProgrammaMap(programma);
        stap.Init();
        QVERIFY(!QFileInfo::exists(QDir(globals().gWelkomMap).filePath(QStringLiteral("../buiten.txt"))));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/absoluut-welkom.txt")));
        QCOMPARE(boom(stap).at(0), QStringLiteral("CAT1:ACME,BETA"));
        QCOMPARE(ui.errors.size(), 1);
        const QString melding = ui.errors.at(0).message + ui.errors.at(0).details;
        QVERIFY2(melding.contains(QStringLiteral("a.dat")) && melding.contains(QStringLiteral("../buiten.txt")),
                 qPrintable(melding));
    }

    // The logo table: three cells a row, an open row closed at the end, the page closed; folders without
    // a logo and paths with "TAVRIN SH" are left out.
    void logoTabel_data()
    {
        QTest::addColumn<int>("logos");
        QTest::addColumn<QList<int>>("rijen"); // cells per row
        QTest::newRow("geen") << 0 << QList<int>{};
        QTest::newRow("een") << 1 << QList<int>{1};
        QTest::newRow("drie") << 3 << QList<int>{3};
        QTest::newRow("vier") << 4 << QList<int>{3, 1};
        QTest::newRow("zeven") << 7 << QList<int>{3, 3, 1};
    }
    void logoTabel()
    {
        QFETCH(int, logos);
        QFETCH(QList<int>, rijen);
        TestEnvironment env;
        const QString map = env.path(QStringLiteral("welkom"));
        schrijfBestand(map + QStringLiteral("/welkom.html"), "<html><body><div>");
        for (int i = 0; i < logos; ++i)
            schrijfBestand(map + QStringLiteral("/lev%1/logo.jpg").arg(i), "jpg");
        schrijfBestand(map + QStringLiteral("/TAVRIN SH/logo.jpg"), "jpg");
        QDir().mkpath(map + QStringLiteral("/zonder-logo"));

        StapWelkom::VoegLogoTabelToe(map);
        QFile pagina(map + QStringLiteral("/welkom.html"));
        QVERIFY(pagina.open(QIODevice::ReadOnly));
        const QString tekst = QString::fromUtf8(pagina.readAll());
        QVERIFY(tekst.startsWith(QStringLiteral(
            "<html><body><div><table border=\"0\" cellpadding=\"3\" cellspacing=\"3\" width=\"600\">\r\n")));
        QVERIFY(tekst.endsWith(QStringLiteral("</table></div></body></html>\r\n")));
        QList<int> gevonden;
        static const QRegularExpression rij(QStringLiteral("<tr>\r\n((?:<td>.*?</td>\r\n)*)</tr>\r\n"));
        auto it = rij.globalMatch(tekst);
        while (it.hasNext())
            gevonden << int(it.next().captured(1).count(QStringLiteral("<td>")));
        QCOMPARE(gevonden, rijen);
        QCOMPARE(tekst.count(QStringLiteral("<td>")), logos);
        QVERIFY(!tekst.contains(QStringLiteral("TAVRIN")));
    }

    // A logo's path is written as a file address, escaped: a folder name with a quote, an ampersand and
    // a space cannot break the page.
    void logoPadOntsnapt()
    {
        TestEnvironment env;
        const QString map = env.path(QStringLiteral("welkom"));
        const QString logo = map + QStringLiteral("/Smit & \"Zn\" <b>/logo.jpg");
        schrijfBestand(logo, "jpg");
        StapWelkom::VoegLogoTabelToe(map);
        QFile pagina(map + QStringLiteral("/welkom.html"));
        QVERIFY(pagina.open(QIODevice::ReadOnly));
        const QString tekst = QString::fromUtf8(pagina.readAll());
        static const QRegularExpression bron(QStringLiteral("<img height=\"35\" src=\"([^\"]*)\">"));
        const QRegularExpressionMatch m = bron.match(tekst);
        QVERIFY2(m.hasMatch(), qPrintable(tekst));
        const QString adres = m.captured(1).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        QVERIFY(!adres.contains(QLatin1Char('<')) && !adres.contains(QLatin1Char(' ')));
        QCOMPARE(QUrl(adres).toLocalFile(), logo);
    }

    // Without packages, setting or default page: only the nine categories, and the step says why.
    void geenLeveranciersmap()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        zetLeveranciersMap(env.path(QStringLiteral("bestaat-niet")));
        StapWelkom stap;
        stap.setProgrammaMap(env.path(QStringLiteral("programma")));
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.Init();
        QCOMPARE(stap.Boom().size(), 9);
        for (const WelkomCategorie& c : stap.Boom())
            QVERIFY(c.leveranciers.isEmpty());
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY((ui.errors.at(0).message + ui.errors.at(0).details).contains(QStringLiteral("bestaat-niet")));
        QVERIFY(!laatsteKanVerder(kanVerder));
    }

    // The splitter position: the setting (default 30), kept within bounds, stored by Finish.
    void splitter_data()
    {
        QTest::addColumn<QString>("opgeslagen"); // empty: no setting
        QTest::addColumn<int>("positie");
        QTest::newRow("standaard") << QString() << 30;
        QTest::newRow("opgeslagen") << QStringLiteral("45") << 45;
        QTest::newRow("geen getal") << QStringLiteral("breed") << 30;
        QTest::newRow("te groot") << QStringLiteral("120") << 95;
    }
    void splitter()
    {
        QFETCH(QString, opgeslagen);
        QFETCH(int, positie);
        TestEnvironment env;
        RecordingUiServices ui;
        if (!opgeslagen.isEmpty())
            CurrentUser_BrengWeg(QStringLiteral("Splitter"), QStringLiteral("welkomsplitter1pos"), opgeslagen);
        StapWelkom stap;
        stap.setProgrammaMap(env.path(QStringLiteral("programma")));
        QSignalSpy hersteld(&stap, &StapWelkom::SplitterHersteld);
        stap.Init();
        QCOMPARE(hersteld.size(), 1);
        QCOMPARE(hersteld.at(0).at(0).toInt(), positie);
        stap.ZetSplitterPositie(37);
        stap.Finish();
        QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Splitter"), QStringLiteral("welkomsplitter1pos"), QString()),
                 QStringLiteral("37"));
    }
};

QTEST_GUILESS_MAIN(StapWelkomTest)
#include "test_stapwelkom.moc"
