#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QTest>

using namespace supplink;

class SettingsTest : public QObject
{
    Q_OBJECT
    test::TestEnvironment env;
    test::RecordingUiServices recorder;

private slots:
    void missingValuesGiveTheDefault()
    {
        QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Windows"), QStringLiteral("LeftNooit"), QStringLiteral("-1")),
                 QStringLiteral("-1"));
        QCOMPARE(LocalMachine_HaalOp(QStringLiteral("settings"), QStringLiteral("leveranciers"),
                                     QStringLiteral("/tmp/welkom")),
                 QStringLiteral("/tmp/welkom"));
        QVERIFY(!fGetstring(HKEY_CURRENT_USER, ProgramKeyPath() + QStringLiteral("Geen"), QStringLiteral("x")));
        QVERIFY(!fGetLong(HKEY_CURRENT_USER, ProgramKeyPath() + QStringLiteral("Geen"), QStringLiteral("x")));
    }

    void stringsRoundTrip_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "backup" << "/home/gebruiker/backups";
        QTest::newRow("empty") << "backup" << "";
        QTest::newRow("nested section") << "doelen\\Ä-Leverancier B.V." << "*server\bdb\beSQLSecurity\bsa\bgeheim";
        QTest::newRow("non-ASCII") << "opties\\Müller" << "Prijzen € en ë";
        QTest::newRow("spaces kept") << "Sort" << "  2 ";
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
        QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("breedte"), QStringLiteral("d")),
                 QStringLiteral("d"));

        fSaveString(HKEY_CURRENT_USER, key, QStringLiteral("tekst"), QStringLiteral("12"));
        QVERIFY(!fGetLong(HKEY_CURRENT_USER, key, QStringLiteral("tekst")));
    }

    void aZeroCharacterEndsTheString()
    {
        const QString key = ProgramKeyPath() + QStringLiteral("Windows");
        fSaveString(HKEY_CURRENT_USER, key, QStringLiteral("nul"), QStringLiteral("ab") + QChar(u'\0') + "cd");
        QCOMPARE(fGetstring(HKEY_CURRENT_USER, key, QStringLiteral("nul")), std::optional<QString>("ab"));
    }

    void valuesSurviveANewStoreObject()
    {
        CurrentUser_BrengWeg(QStringLiteral("opties\\ROTO"), QStringLiteral("artikelopties"), QStringLiteral("3"));
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
