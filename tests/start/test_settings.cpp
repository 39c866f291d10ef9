#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <utility>

using namespace supplink;

class SettingsTest : public QObject
{
    Q_OBJECT
    test::TestEnvironment env;
    test::RecordingUiServices recorder;

private slots:
    void missingValuesGiveTheDefault()
    {
        QCOMPARE(
            CurrentUser_HaalOp(QStringLiteral("Windows"), QStringLiteral("LeftNooit"), QStringLiteral("-1")),
            QStringLiteral("-1"));
        QCOMPARE(LocalMachine_HaalOp(QStringLiteral("settings"), QStringLiteral("leveranciers"),
                                     QStringLiteral("/tmp/welkom")),
                 QStringLiteral("/tmp/welkom"));
        QVERIFY(
            !fGetstring(HKEY_CURRENT_USER, ProgramKeyPath() + QStringLiteral("Geen"), QStringLiteral("x")));
        QVERIFY(!fGetLong(HKEY_CURRENT_USER, ProgramKeyPath() + QStringLiteral("Geen"), QStringLiteral("x")));
    }

    void stringsRoundTrip_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "backup"
                               << "/home/gebruiker/backups";
        QTest::newRow("empty") << "backup"
                               << "";
        QTest::newRow("nested section") << "doelen\\Ä-Leverancier B.V."
                                        << "*server\bdb\beSQLSecurity\bsa\bgeheim";
        QTest::newRow("non-ASCII") << "opties\\Müller"
                                   << "Prijzen € en ë";
        QTest::newRow("spaces kept") << "Sort"
                                     << "  2 ";
    }
    void stringsRoundTrip()
    {
        QFETCH(QString, section);
        QFETCH(QString, value);
        CurrentUser_BrengWeg(section, QStringLiteral("waarde"), value);
        QCOMPARE(CurrentUser_HaalOp(section, QStringLiteral("waarde"), QStringLiteral("standaard")), value);
    }

    void aNumberIsNotAString()
    {
        const QString key = ProgramKeyPath() + QStringLiteral("Columns");
        fSaveLong(HKEY_CURRENT_USER, key, QStringLiteral("breedte"), 1234);
        QCOMPARE(fGetLong(HKEY_CURRENT_USER, key, QStringLiteral("breedte")), std::optional<qint32>(1234));
        QVERIFY(!fGetstring(HKEY_CURRENT_USER, key, QStringLiteral("breedte")));
        QCOMPARE(
            CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("breedte"), QStringLiteral("d")),
            QStringLiteral("d"));

        fSaveString(HKEY_CURRENT_USER, key, QStringLiteral("tekst"), QStringLiteral("12"));
        QVERIFY(!fGetLong(HKEY_CURRENT_USER, key, QStringLiteral("tekst")));
    }

    void aZeroCharacterEndsTheString()
    {
        const QString key = ProgramKeyPath() + QStringLiteral("Windows");
        fSaveString(HKEY_CURRENT_USER, key, QStringLiteral("nul"),
                    QStringLiteral("ab") + QChar(u'\0') + "cd");
        QCOMPARE(fGetstring(HKEY_CURRENT_USER, key, QStringLiteral("nul")), std::optional<QString>("ab"));
    }

    // Names holding the store's separators stay names of their own: a value
    // "a/b" of section "Coll" is not value "b" of section "Coll\a".
    void separatorsInNamesKeepSettingsApart_data()
    {
        QTest::addColumn<QString>("section1");
        QTest::addColumn<QString>("name1");
        QTest::addColumn<QString>("section2");
        QTest::addColumn<QString>("name2");
        QTest::newRow("slash in a value name") << "Coll"
                                               << "a/b"
                                               << "Coll\\a"
                                               << "b";
        QTest::newRow("backslash in a value name") << "Kol"
                                                   << "a\\b"
                                                   << "Kol\\a"
                                                   << "b";
        QTest::newRow("slash in a section") << "doelen\\A/B"
                                            << "pt"
                                            << "doelen\\A\\B"
                                            << "pt";
        QTest::newRow("escape-like name") << "Sort"
                                          << "a%2Fb"
                                          << "Sort"
                                          << "a/b";
        QTest::newRow("percent sign") << "opties\\50%"
                                      << "artikelopties"
                                      << "opties\\50%25"
                                      << "artikelopties";
    }
    void separatorsInNamesKeepSettingsApart()
    {
        QFETCH(QString, section1);
        QFETCH(QString, name1);
        QFETCH(QString, section2);
        QFETCH(QString, name2);
        CurrentUser_BrengWeg(section1, name1, QStringLiteral("een"));
        QCOMPARE(CurrentUser_HaalOp(section2, name2, QStringLiteral("standaard")),
                 QStringLiteral("standaard"));
        CurrentUser_BrengWeg(section2, name2, QStringLiteral("twee"));
        QCOMPARE(CurrentUser_HaalOp(section1, name1, QStringLiteral("standaard")), QStringLiteral("een"));
        QCOMPARE(CurrentUser_HaalOp(section2, name2, QStringLiteral("standaard")), QStringLiteral("twee"));
    }

    // A settings file edited by hand or written by another program: a number
    // that is no whole 32-bit number reads as no value, so the caller's
    // default applies; the other values still read.
    void numbersOutOfRangeGiveTheDefault_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QVariant>("expected"); // invalid: no value
        QTest::newRow("far too large") << QByteArray("1e300") << QVariant();
        QTest::newRow("far too small") << QByteArray("-1e300") << QVariant();
        QTest::newRow("just above 32 bits") << QByteArray("2147483648") << QVariant();
        QTest::newRow("just below 32 bits") << QByteArray("-2147483649") << QVariant();
        QTest::newRow("not whole") << QByteArray("1.5") << QVariant();
        QTest::newRow("largest") << QByteArray("2147483647") << QVariant(2147483647);
        QTest::newRow("smallest") << QByteArray("-2147483648") << QVariant(qint32(-2147483647 - 1));
    }
    void numbersOutOfRangeGiveTheDefault()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QVariant, expected);
        const QString key = ProgramKeyPath() + QStringLiteral("Columns");
        fSaveLong(HKEY_CURRENT_USER, key, QStringLiteral("breedte"), 1);
        QDirIterator files(env.path(QStringLiteral("registry")), {QStringLiteral("*.json")}, QDir::Files,
                           QDirIterator::Subdirectories);
        QVERIFY(files.hasNext());
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\"Import/4.00/Columns/breedte\": " + stored +
                   ", \"Import/4.00/Columns/tekst\": \"12\"}");
        file.close();

        const std::optional<qint32> number = fGetLong(HKEY_CURRENT_USER, key, QStringLiteral("breedte"));
        QCOMPARE(number.has_value(), expected.isValid());
        if (number)
            QCOMPARE(*number, expected.toInt());
        QCOMPARE(
            CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("breedte"), QStringLiteral("d")),
            QStringLiteral("d"));
        QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("tekst"), QStringLiteral("d")),
                 QStringLiteral("12"));
    }

    // Every key path is a key of its own, whether or not it lies under
    // "Software\<organisation>\<application>": a path outside that layout never reads or overwrites a value
    // of the program's own key, under either root, and the two roots keep their values apart.
    void differentKeyPathsNeverShareAValue_data()
    {
        QTest::addColumn<int>("root1");
        QTest::addColumn<QString>("path1");
        QTest::addColumn<int>("root2");
        QTest::addColumn<QString>("path2");
        const QString program = ProgramKeyPath() + QStringLiteral("Alias");
        for (const auto& [naam, root] :
             {std::pair{"user", HKEY_CURRENT_USER}, {"machine", HKEY_LOCAL_MACHINE}}) {
            const int r = int(root);
            QTest::addRow("%s: the program's section without its first levels", naam)
                << r << "Import\\4.00\\Alias" << r << program;
            QTest::addRow("%s: the program's path without \"Software\"", naam)
                << r << "Tavrin Software\\Bvq\\Import\\4.00\\Alias" << r
                << "Software\\Tavrin Software\\Bvq\\Tavrin Software\\Bvq\\Import\\4.00\\Alias";
            QTest::addRow("%s: two levels under Software", naam)
                << r << "Software\\Tavrin Software" << r
                << "Software\\Tavrin Software\\Bvq\\Software\\Tavrin Software";
            QTest::addRow("%s: a key of the root", naam)
                << r << "Alias" << r << "Software\\Tavrin Software\\Bvq\\Alias";
        }
        QTest::newRow("the same path under both roots") << int(HKEY_CURRENT_USER) << "Import\\4.00\\Alias"
                                                        << int(HKEY_LOCAL_MACHINE) << "Import\\4.00\\Alias";
    }
    void differentKeyPathsNeverShareAValue()
    {
        QFETCH(int, root1);
        QFETCH(QString, path1);
        QFETCH(int, root2);
        QFETCH(QString, path2);
        const auto eerste = RegistryRoot(quint32(root1));
        const auto tweede = RegistryRoot(quint32(root2));
        // A name of each row's own: the rows share the store.
        const QString naam = QString::fromUtf8(QTest::currentDataTag());
        fSaveString(eerste, path1, naam, QStringLiteral("een"));
        QCOMPARE(fGetstring(tweede, path2, naam), std::nullopt);
        fSaveString(tweede, path2, naam, QStringLiteral("twee"));
        QCOMPARE(fGetstring(eerste, path1, naam), std::optional<QString>("een"));
        QCOMPARE(fGetstring(tweede, path2, naam), std::optional<QString>("twee"));
        // And the same for 32-bit values.
        fSaveLong(eerste, path1, naam + QStringLiteral(" getal"), 1);
        QVERIFY(!fGetLong(tweede, path2, naam + QStringLiteral(" getal")));
    }

    // The program's own settings stay in the file of its organisation and application, under the same keys,
    // so the settings that users have stored read as before.
    void theProgramsSettingsStayWhereTheyAre()
    {
        CurrentUser_BrengWeg(QStringLiteral("doelen\\ROTO"), QStringLiteral("pt"),
                             QStringLiteral("/data/pt.db"));
        fSaveString(HKEY_CURRENT_USER, QStringLiteral("Import\\4.00\\doelen\\ROTO"), QStringLiteral("pt"),
                    QStringLiteral("elders"));
        QFile file(env.path(QStringLiteral("registry/user/Tavrin Software/Bvq.json")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray inhoud = file.readAll();
        QVERIFY2(inhoud.contains("\"Import/4.00/doelen/ROTO/pt\": \"/data/pt.db\""), inhoud.constData());
        QVERIFY(!inhoud.contains("elders"));
        QCOMPARE(file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
        // The other path's value is in a store of its own, as private as the program's.
        QFile ander(env.path(QStringLiteral("registry/user/Tavrin Software/HKEY_CURRENT_USER.register")));
        QVERIFY(ander.open(QIODevice::ReadOnly));
        QVERIFY(ander.readAll().contains("elders"));
        QCOMPARE(ander.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
    }

    void valuesSurviveANewStoreObject()
    {
        CurrentUser_BrengWeg(QStringLiteral("opties\\ROTO"), QStringLiteral("artikelopties"),
                             QStringLiteral("3"));
        // Each call opens the store anew, so this reads what was written to disk.
        QCOMPARE(fGetstring(HKEY_CURRENT_USER, ProgramKeyPath() + QStringLiteral("opties\\ROTO"),
                            QStringLiteral("artikelopties")),
                 std::optional<QString>("3"));
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(recorder.errors.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "test_settings.moc"
