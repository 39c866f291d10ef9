#include "platform/singleinstance.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

using supplink::SingleInstance;

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private slots:
    void secondProcessActivatesTheFirst()
    {
        const QString key = QStringLiteral("supplink-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        SingleInstance first(key);
        QVERIFY(!first.previousInstanceActivated());
        QSignalSpy activated(&first, &SingleInstance::activationRequested);

        QProcess second;
        second.start(QStringLiteral(PROBE_PATH), {key});
        // The second copy needs this process's event loop to answer it.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
        QCOMPARE(QString::fromLocal8Bit(second.readAllStandardOutput()).trimmed(), QStringLiteral("second"));
        QTRY_COMPARE_WITH_TIMEOUT(activated.count(), 1, 5000);
    }

    void aKeyNobodyHoldsMakesThisTheFirst()
    {
        const QString key = QStringLiteral("supplink-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        QProcess probe;
        probe.start(QStringLiteral(PROBE_PATH), {key});
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed(), QStringLiteral("first"));
        // The probe has ended: its key is free again, also for this process.
        SingleInstance again(key);
        QVERIFY(!again.previousInstanceActivated());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_singleinstance.moc"
