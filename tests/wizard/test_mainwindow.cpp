#include "start/globals.h"
#include "support/testenvironment.h"
#include "wizard/frmimportbvqnaarbvq.h"

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
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
