// The result step without a window: the overview log first, the detailed log
// on request, the detailed log saved as "BvqExport.log" (overwritten without a
// question), and both logs deleted when the step is left.

#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapresultaat.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

QString schrijf(const TestEnvironment& env, const QString& naam, const QByteArray& inhoud)
{
    QFile bestand(env.path(naam));
    bestand.open(QIODevice::WriteOnly);
    bestand.write(inhoud);
    return env.path(naam);
}

QByteArray lees(const QString& pad)
{
    QFile bestand(pad);
    return bestand.open(QIODevice::ReadOnly) ? bestand.readAll() : QByteArray();
}

} // namespace

class TestStapResultaat : public QObject
{
    Q_OBJECT

private slots:
    void wisselen()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        globals().gLogOverzicht = schrijf(env, QStringLiteral("o.log"), "Overzicht\r\n");
        globals().gLogDetail = schrijf(env, QStringLiteral("d.log"), "Detail \xc3\xab\r\n");
        StapResultaat stap;
        stap.Init();
        QCOMPARE(stap.Tekst(), QStringLiteral("Overzicht\r\n"));
        QCOMPARE(stap.DetailsKnopTekst(), QStringLiteral("&Details"));
        QCOMPARE(stap.Tag(), QStringLiteral("simpel"));
        stap.cmdDetails_Click();
        QCOMPARE(stap.Tekst(), QStringLiteral("Detail \u00eb\r\n"));
        QCOMPARE(stap.DetailsKnopTekst(), QStringLiteral("&Overzicht"));
        QCOMPARE(stap.Tag(), QStringLiteral("detail"));
        stap.cmdDetails_Click();
        QCOMPARE(stap.Tekst(), QStringLiteral("Overzicht\r\n"));
        // Entering again starts on the overview.
        stap.cmdDetails_Click();
        stap.Init();
        QCOMPARE(stap.Tag(), QStringLiteral("simpel"));
        QVERIFY(ui.errors.isEmpty());
    }

    // Always the detailed log, whichever is shown; a second save overwrites without a question.
    void opslaan()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        globals().gLogOverzicht = schrijf(env, QStringLiteral("o.log"), "Overzicht\r\n");
        globals().gLogDetail = schrijf(env, QStringLiteral("d.log"), "Detail\r\n");
        QDir(env.root()).mkpath(QStringLiteral("bewaar"));
        const QString map = env.path(QStringLiteral("bewaar"));
        const QString doel = QDir(map).filePath(QStringLiteral("BvqExport.log"));
        StapResultaat stap;
        stap.Init();
        ui.folderAnswers.enqueue(map);
        stap.cmdSaveLog_Click();
        QCOMPARE(lees(doel), QByteArray("Detail\r\n"));
        schrijf(env, QStringLiteral("d.log"), "Detail 2\r\n");
        ui.folderAnswers.enqueue(map);
        stap.cmdSaveLog_Click();
        QCOMPARE(lees(doel), QByteArray("Detail 2\r\n"));
        QCOMPARE(ui.folderTitles.at(0), QStringLiteral("Selecteer doelfolder voor het log bestand:"));
        QCOMPARE(ui.messages.size(), 2);
        QCOMPARE(ui.messages.at(1).text,
                 QStringLiteral("Bestand ") + QDir::toNativeSeparators(doel) + QStringLiteral(" opgeslagen"));
        QCOMPARE(ui.messages.at(1).style, int(MsgBox::OkOnly));
        // A cancelled picker saves nothing and says nothing.
        stap.cmdSaveLog_Click();
        QCOMPARE(ui.messages.size(), 2);
        QVERIFY(ui.errors.isEmpty());
    }

    // Leaving the step deletes both logs; a later visit shows an empty text, not an error.
    void logsVerwijderd()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        const QString overzicht = schrijf(env, QStringLiteral("o.log"), "Overzicht\r\n");
        const QString detail = schrijf(env, QStringLiteral("d.log"), "Detail\r\n");
        globals().gLogOverzicht = overzicht;
        globals().gLogDetail = detail;
        StapResultaat stap;
        stap.Init();
        stap.Finish();
        QVERIFY(!QFile::exists(overzicht));
        QVERIFY(!QFile::exists(detail));
        stap.Init();
        QCOMPARE(stap.Tekst(), QString());
        QVERIFY(ui.errors.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStapResultaat)
#include "test_stapresultaat.moc"
