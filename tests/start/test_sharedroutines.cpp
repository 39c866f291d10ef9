#include "start/dialogs.h"
#include "start/errors.h"
#include "start/sharedroutines.h"
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

    void tekstNaarGetalIgnoresTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("nl_NL") << "nl_NL";
        QTest::newRow("C") << "C";
        QTest::newRow("en_US") << "en_US";
    }
    void tekstNaarGetalIgnoresTheLocale()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        std::setlocale(LC_ALL, (locale + QStringLiteral(".UTF-8")).toLatin1().constData());
        QCOMPARE(TekstNaarGetal(QStringLiteral("1,5"), QLatin1Char(',')), 1.5);
        QCOMPARE(TekstNaarGetal(QStringLiteral("12.5"), QLatin1Char('.')), 12.5);
        QCOMPARE(TekstNaarGetal(QStringLiteral("€ 1.234,56"), QLatin1Char(',')), 1234.56);
        QCOMPARE(TekstNaarGetal(QStringLiteral("1,234.56"), QLatin1Char('.')), 1234.56);
        QCOMPARE(TekstNaarGetal(QStringLiteral("-0,25"), QLatin1Char(',')), -0.25);
        QCOMPARE(TekstNaarGetal(QStringLiteral("geen cijfers"), QLatin1Char(',')), 0.0);
        QCOMPARE(TekstNaarGetal(QStringLiteral("1,2,3"), QLatin1Char(',')), 0.0);
        QCOMPARE(TekstNaarGetal(QString(), QLatin1Char(',')), 0.0);
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_ALL, "C");
        QVERIFY(recorder.errors.isEmpty());
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
