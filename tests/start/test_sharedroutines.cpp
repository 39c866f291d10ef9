#include "start/dialogs.h"
#include "start/errors.h"
#include "start/sharedroutines.h"
#include "start/taalomgeving.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTest>
#include <clocale>
#include <limits>

using namespace supplink;

class SharedRoutinesTest : public QObject
{
    Q_OBJECT
    test::TestEnvironment env;
    test::RecordingUiServices recorder;

private slots:
    void sqlQuotes_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("two quotes") << "O'Brien's"
                                    << "O''Brien''s";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only quotes") << "''"
                                     << "''''";
        QTest::newRow("no quote") << "PV12;x"
                                  << "PV12;x";
    }
    void sqlQuotes()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(SQLQuotes(in), out);
    }

    void nullHandling()
    {
        QCOMPARE(NzString(QVariant()), QString());
        QCOMPARE(NzString(QVariant(QMetaType(QMetaType::QString))), QString());
        QCOMPARE(NzString(QVariant(), QStringLiteral("leeg")), QStringLiteral("leeg"));
        QCOMPARE(NzString(5), QStringLiteral("5"));
        QCOMPARE(NzString(2.5), QStringLiteral("2.5"));

        QCOMPARE(NzLong(QVariant()), 0);
        QCOMPARE(NzLong(QVariant(), 7), 7);
        QCOMPARE(NzLong(QStringLiteral("abc")), 0);
        QCOMPARE(NzLong(QStringLiteral("42")), 42);
        QCOMPARE(NzLong(2.5), 2); // halves round to even
        QCOMPARE(NzLong(3.5), 4);
        QCOMPARE(NzLong(1e12), 0); // does not fit in 32 bits
        QCOMPARE(NzLong(true), -1);

        QCOMPARE(NzDatum(QVariant()), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
        const QDateTime when(QDate(2024, 2, 29), QTime(13, 5, 0));
        QCOMPARE(NzDatum(QVariant(), when), when);
        QCOMPARE(NzDatum(when), when);
        QCOMPARE(NzDatum(QStringLiteral("2024-02-29 13:05:00")), when);
        QCOMPARE(NzDatum(1.5), QDateTime(QDate(1899, 12, 31), QTime(12, 0)));
    }

    void alleenCijfers_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<int>("out");
        QTest::newRow("digits") << "art 123" << 123;
        QTest::newRow("minus between groups") << "12-345" << 0;
        QTest::newRow("leading minus") << "-45 mm" << -45;
        QTest::newRow("spaces joined") << "1 2 3" << 123;
        QTest::newRow("nothing") << "abc" << 0;
        QTest::newRow("too big") << "99999999999" << 0;
    }
    void alleenCijfers()
    {
        QFETCH(QString, in);
        QFETCH(int, out);
        QCOMPARE(AlleenCijfers(in), out);
    }

    // CTest runs this program under C.UTF-8 and under nl_NL.UTF-8: the numbers below read the same.
    void initTestCase() { QVERIFY2(test::TaalOmgevingKlopt(), qPrintable(test::TaalOmgevingFout())); }

    void tekstNaarGetal_data()
    {
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<QString>("teken");
        QTest::addColumn<double>("getal");
        QTest::addColumn<bool>("fout"); // reported through the error reporter
        QTest::newRow("comma, sign point") << "12,50"
                                           << "." << 12.5 << false;
        QTest::newRow("point, sign point") << "12.50"
                                           << "." << 12.5 << false;
        QTest::newRow("point, sign comma") << "12.50"
                                           << "," << 12.5 << false;
        QTest::newRow("comma, sign comma") << "1,5"
                                           << "," << 1.5 << false;
        QTest::newRow("grouped, sign comma") << "1.234,56"
                                             << "," << 1234.56 << false;
        QTest::newRow("grouped, sign point") << "1.234,56"
                                             << "." << 1234.56 << false;
        QTest::newRow("grouped twice") << "1.234.567"
                                       << "," << 1234567.0 << false;
        QTest::newRow("euro before") << "\u20ac 12,50"
                                     << "." << 12.5 << false;
        QTest::newRow("EUR after") << "12,50 EUR"
                                   << "." << 12.5 << false;
        QTest::newRow("euro grouped") << "\u20ac 1.234,56"
                                      << "," << 1234.56 << false;
        QTest::newRow("negative") << "-0,25"
                                  << "," << -0.25 << false;
        QTest::newRow("single point is decimal") << "1.234"
                                                 << "," << 1.234 << false;
        QTest::newRow("whole") << "42"
                               << "." << 42.0 << false;
        QTest::newRow("no digits") << "abc"
                                   << "." << 0.0 << true;
        QTest::newRow("two commas") << "1,2,3"
                                    << "," << 0.0 << true;
        QTest::newRow("English grouping") << "1,234.56"
                                          << "." << 0.0 << true;
        QTest::newRow("empty") << ""
                               << "," << 0.0 << false;
        QTest::newRow("blank") << "   "
                               << "," << 0.0 << false;
    }
    void tekstNaarGetal()
    {
        QFETCH(QString, tekst);
        QFETCH(QString, teken);
        QFETCH(double, getal);
        QFETCH(bool, fout);
        QCOMPARE(TekstNaarGetal(tekst, teken.at(0)), getal);
        QCOMPARE(recorder.errors.size(), fout ? 1 : 0);
        if (fout)
            QVERIFY(recorder.errors.first().details.contains(QStringLiteral("Geen getal: '") + tekst + "'"));
        recorder.clear();
    }

    // The one reading of numbers from supplier files, also times ten as centimetre columns use it.
    void leesGetal_data()
    {
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<int>("tienMacht");
        QTest::addColumn<bool>("getal");
        QTest::addColumn<double>("waarde");
        QTest::newRow("cm comma") << "6,7" << 1 << true << 67.0;
        QTest::newRow("cm point") << "6.7" << 1 << true << 67.0;
        QTest::newRow("cm half") << "12,5" << 1 << true << 125.0;
        QTest::newRow("exact shift") << "1,15" << 1 << true << 11.5; // 1.15 * 10 is 11.499999999999998
        QTest::newRow("blanks around") << "  2,5 " << 0 << true << 2.5;
        QTest::newRow("plus") << "+3" << 0 << true << 3.0;
        QTest::newRow("leading comma") << ",5" << 0 << true << 0.5;
        QTest::newRow("trailing comma") << "5," << 0 << true << 5.0;
        QTest::newRow("grouped decimal") << "12.345.678,9" << 0 << true << 12345678.9;
        QTest::newRow("workbook exponent") << "1.5e-06" << 0 << true << 1.5e-06;
        QTest::newRow("exponent upper") << "2E3" << 0 << true << 2000.0;
        QTest::newRow("bad group") << "1.23.456" << 0 << false << 0.0;
        QTest::newRow("date") << "05.03.2024" << 0 << false << 0.0;
        QTest::newRow("sign only") << "-" << 0 << false << 0.0;
        QTest::newRow("point only") << "." << 0 << false << 0.0;
        QTest::newRow("inner blank") << "1 234" << 0 << false << 0.0;
        QTest::newRow("sign after") << "12-" << 0 << false << 0.0;
        QTest::newRow("currency") << "\u20ac 5" << 0 << false << 0.0;
        QTest::newRow("other digits") << "\u0661\u0662" << 0 << false << 0.0;
        QTest::newRow("too large") << "1e400" << 0 << false << 0.0;
        QTest::newRow("empty") << "" << 0 << false << 0.0;
    }
    void leesGetal()
    {
        QFETCH(QString, tekst);
        QFETCH(int, tienMacht);
        QFETCH(bool, getal);
        QFETCH(double, waarde);
        const std::optional<double> gelezen = LeesGetal(tekst, tienMacht);
        QCOMPARE(gelezen.has_value(), getal);
        if (getal)
            QCOMPARE(*gelezen, waarde);
    }

    void afrondenLong()
    {
        QCOMPARE(AfrondenLong(2.5), std::optional<qint32>(2));
        QCOMPARE(AfrondenLong(-3.5), std::optional<qint32>(-4));
        QCOMPARE(AfrondenLong(2147483647.0), std::optional<qint32>(2147483647));
        QCOMPARE(AfrondenLong(2147483648.0), std::nullopt);
        QCOMPARE(AfrondenLong(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    }

    void textAndPaths()
    {
        QCOMPARE(VerwijderStuurtekens(QStringLiteral("a\tb\r\nc d")), QStringLiteral("abc d"));
        const QString sep = QDir::separator();
        QCOMPARE(ZonderBackslash(QStringLiteral("map") + sep), QStringLiteral("map"));
        QCOMPARE(ZonderBackslash(QStringLiteral("map")), QStringLiteral("map"));
        QCOMPARE(MetBackslash(QStringLiteral("map")), QStringLiteral("map") + sep);
        QCOMPARE(MetBackslash(QStringLiteral("map") + sep), QStringLiteral("map") + sep);
        VerwijderBestand(env.path(QStringLiteral("bestaat-niet.txt"))); // quietly nothing
    }

    void temporaryFilesAreNewAndUnique()
    {
        QVERIFY(GetTempFolder().endsWith(QDir::separator()));
        const QString a = GetTempFileNaam();
        const QString b = GetTempFileNaam();
        QVERIFY(!a.isEmpty());
        QVERIFY(a != b);
        QVERIFY(QFileInfo(a).isFile() && QFileInfo(a).size() == 0);
        QVERIFY(QFileInfo(b).isFile());
        QVERIFY(a.startsWith(GetTempFolder()));
        const QString inFolder = GetTempFileNaam(env.root());
        QCOMPARE(QFileInfo(inFolder).absolutePath(), QFileInfo(env.root()).absoluteFilePath());
        // A folder that cannot hold files gives an empty name, no crash.
        QCOMPARE(GetTempFileNaam(env.path(QStringLiteral("geen/map/hier"))), QString());
    }

    void applicationDataFolder()
    {
        const QString appData = GetSpecialFolderPath(SpecialFolder::AppData);
        QVERIFY(!appData.isEmpty());
        QVERIFY(QFileInfo(appData).isDir());
        QVERIFY(!appData.endsWith(QDir::separator()));

        QCOMPARE(GetSpecialFolderPath(999), QString());
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages.last().text,
                 QStringLiteral("Folder type 999 wordt niet ondersteund dor SHGetFolderPath!"));
        QCOMPARE(recorder.messages.last().style, MsgBox::OkOnly | MsgBox::Critical);

        // A data folder that cannot be made (its parent is a file): a message, no crash.
        QFile blocker(env.path(QStringLiteral("bestand")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", env.path(QStringLiteral("bestand/data")).toUtf8());
        QCOMPARE(GetSpecialFolderPath(SpecialFolder::AppData), QString());
        qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(recorder.messages.last().text,
                 QStringLiteral("Folder type 26 bestaat niet en kan ook niet worden aangemaakt!"));
        recorder.clear();
    }

    // Twips to pixels to the nearest pixel, also left of and above the main
    // screen, and without overflow at the ends of the range.
    void twipsAndPixels_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("just below half a pixel") << 7 << 0;
        QTest::newRow("just above half a pixel") << 8 << 1;
        QTest::newRow("one pixel") << 15 << 1;
        QTest::newRow("one pixel to the left") << -15 << -1;
        QTest::newRow("left, just below half a pixel") << -7 << 0;
        QTest::newRow("left, just above half a pixel") << -8 << -1;
        QTest::newRow("left, rounds down") << -22 << -1;
        QTest::newRow("left, rounds up") << -23 << -2;
        QTest::newRow("largest") << std::numeric_limits<int>::max() << 143165576;
        QTest::newRow("smallest") << std::numeric_limits<int>::min() << -143165577;
    }
    void twipsAndPixels()
    {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(TwipsNaarPixels(twips), pixels);
    }

    void pixelsSavedAndReadBackStay()
    {
        // What SaveFormState writes and LoadFormState reads: a window left of
        // or above the main screen keeps its place however often it is saved.
        for (int pixels = -5000; pixels <= 5000; ++pixels)
            QCOMPARE(TwipsNaarPixels(PixelsNaarTwips(pixels)), pixels);
        QCOMPARE(PixelsNaarTwips(-1), -15);
        QCOMPARE(PixelsNaarTwips(200000000), std::numeric_limits<int>::max());
        QCOMPARE(PixelsNaarTwips(-200000000), std::numeric_limits<int>::min());
    }

};

QTEST_MAIN(SharedRoutinesTest)
#include "test_sharedroutines.moc"
