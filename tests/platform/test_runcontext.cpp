// The run context of long loops: turns of the event loop at most every
// interval, a cancel arriving from inside a turn, and live runs that the main
// window can ask about.

#include "platform/runcontext.h"

#include <QtTest>
#include <thread>

using namespace supplink;

class TestRunContext : public QObject
{
    Q_OBJECT

private slots:
    void yieldGivesATurnAtMostEveryInterval()
    {
        RunContext run;
        int turns = 0;
        run.setYieldFunction([&turns] { ++turns; });
        run.setYieldInterval(std::chrono::milliseconds(50));
        for (int i = 0; i < 1000; ++i)
            run.yield();
        QCOMPARE(turns, 1); // the first call gives a turn, the rest fall within the interval
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        run.yield();
        QCOMPARE(turns, 2);
        run.yieldNow();
        QCOMPARE(turns, 3);
    }

    void cancelArrivesFromInsideATurn()
    {
        RunContext run;
        run.setYieldFunction([&run] { run.cancel(); });
        int rows = 0;
        while (!run.cancelled() && rows < 100) {
            ++rows;
            run.yieldNow();
        }
        QCOMPARE(rows, 1);
        run.cancel(); // a second cancel changes nothing
        QVERIFY(run.cancelled());
    }

    void defaultTurnProcessesPendingEvents()
    {
        int argc = 1;
        char name[] = "test";
        char* argv[] = {name};
        QCoreApplication app(argc, argv);
        RunContext run;
        bool delivered = false;
        QMetaObject::invokeMethod(&app, [&delivered] { delivered = true; }, Qt::QueuedConnection);
        run.yieldNow();
        QVERIFY(delivered);
    }

    void scopesMarkTheirRunAndTheProgramLive()
    {
        RunContext a;
        RunContext b;
        QVERIFY(!RunContext::anyLive());
        {
            RunScope outer(a);
            QVERIFY(a.live());
            QVERIFY(!b.live());
            QVERIFY(RunContext::anyLive());
            {
                RunScope inner(a);
                RunScope other(b);
                QVERIFY(b.live());
            }
            QVERIFY(a.live());
            QVERIFY(!b.live());
            QVERIFY(RunContext::anyLive());
        }
        QVERIFY(!a.live());
        QVERIFY(!RunContext::anyLive());
    }
};

QTEST_APPLESS_MAIN(TestRunContext)
#include "test_runcontext.moc"
