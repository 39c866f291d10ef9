#include "platform/runcontext.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace supplink;

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void frame()
    {
        frmImportBvqNaarBvq window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Brevanto Vededuzuduzu Davudi"));
        QCOMPARE(window.cmdVorige->text(), QStringLiteral("<< Vorige"));
        QCOMPARE(window.cmdVolgende->text(), QStringLiteral("Volgende >>"));
        QCOMPARE(window.cmdAnnuleren->text(), QStringLiteral("Afsluiten"));
        window.setWindowStateCode(1);
        QVERIFY(window.windowState() & Qt::WindowMinimized);
        window.setWindowStateCode(0);
        QVERIFY(!(window.windowState() & Qt::WindowMinimized));
    }

    void closingDeletesTheWelcomeFolder()
    {
        test::TestEnvironment env;
        const QString folder = env.path(QStringLiteral("welkom"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
        QFile page(folder + QStringLiteral("/welkom.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        globals().gWelkomMap = folder;

        frmImportBvqNaarBvq window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
        QVERIFY(!QDir(folder).exists());
        QCOMPARE(globals().gWelkomMap, folder); // the variable keeps its value
    }

    // Closing while a run works in the welcome folder would delete the folder under it.
    void closingIsRefusedWhileARunIsLive()
    {
        test::TestEnvironment env;
        test::RecordingUiServices recorder;
        const QString folder = env.path(QStringLiteral("welkom"));
        QVERIFY(QDir().mkpath(folder));
        globals().gWelkomMap = folder;

        frmImportBvqNaarBvq window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        RunContext run;
        {
            const RunScope scope(run);
            QVERIFY(!window.close());
            QVERIFY(window.isVisible());
            QVERIFY(QDir(folder).exists());
            QCOMPARE(recorder.messages.size(), 1);
            QCOMPARE(recorder.messages.at(0).text,
                     QStringLiteral("Er wordt nog gewerkt. Wacht tot het overzetten klaar is of annuleer het eerst."));
            QCOMPARE(recorder.messages.at(0).style, MsgBox::OkOnly | MsgBox::Exclamation);
            QTest::mouseClick(window.cmdAnnuleren, Qt::LeftButton); // "Afsluiten" is refused the same way
            QVERIFY(window.isVisible());
            QCOMPARE(recorder.messages.size(), 2);
        }
        QVERIFY(window.close()); // the run has ended
        QVERIFY(!window.isVisible());
        QVERIFY(!QDir(folder).exists());
        QCOMPARE(recorder.messages.size(), 2);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
