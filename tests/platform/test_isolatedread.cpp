// Reading in isolation: a reader that finishes hands its result over; one that
// dies or hangs gives the caller's message for a damaged file, never takes
// the test program down, and leaves nothing at the mirror's place.

#include "platform/isolatedread.h"

#include "mirrorquery.h"
#include "support/testenvironment.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <cstdlib>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace supplink;
using supplink::test::filesIn;

namespace {

enum class Behaviour
{
    Finishes,
    Fails,
    SlowWithProgress,
    Crashes,
    Hangs
};

// Writes a small file at the work path, as a reader that builds a mirror
// does, and then behaves as asked.
MirrorResult read(Behaviour behaviour, const QString& sqlitePath, const QString& workPath,
                  const Heartbeat& beat)
{
    QFile work(workPath);
    if (!work.open(QIODevice::WriteOnly) || work.write("half a mirror") < 0)
        return {false, QStringLiteral("geen werkbestand")};
    work.close();
    MirrorResult result;
    switch (behaviour) {
    case Behaviour::Finishes:
    case Behaviour::SlowWithProgress:
        for (int i = 0; behaviour == Behaviour::SlowWithProgress && i < 8; ++i) {
            QThread::msleep(100);
            beat();
        }
        result.ok = QFile::rename(workPath, sqlitePath);
        break;
    case Behaviour::Fails:
        QFile::remove(workPath);
        result.error = QStringLiteral("Het bestand is leeg: ë €");
        break;
    case Behaviour::Crashes: {
#ifdef Q_OS_UNIX
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
#endif
        std::abort();
    }
    case Behaviour::Hangs:
        for (;;)
            QThread::msleep(1000);
    }
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Behaviour)

class IsolatedReadTest : public QObject
{
    Q_OBJECT

private slots:
    void outcome_data()
    {
        QTest::addColumn<Behaviour>("behaviour");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("error");
        QTest::newRow("finishes") << Behaviour::Finishes << true << QString();
        QTest::newRow("fails with its own message")
            << Behaviour::Fails << false << QStringLiteral("Het bestand is leeg: ë €");
        QTest::newRow("slow, but shows progress") << Behaviour::SlowWithProgress << true << QString();
#ifdef Q_OS_UNIX
        QTest::newRow("crashes") << Behaviour::Crashes << false << QStringLiteral("beschadigd");
        QTest::newRow("hangs") << Behaviour::Hangs << false << QStringLiteral("beschadigd");
#endif
    }

    void outcome()
    {
        QFETCH(Behaviour, behaviour);
        QFETCH(bool, ok);
        QFETCH(QString, error);
        setIsolatedReadStallLimit(400);
        const auto restore = qScopeGuard([] { setIsolatedReadStallLimit(0); });
        test::TestEnvironment env;
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        QElapsedTimer timer;
        timer.start();
        const MirrorResult result =
            mirrorIsolated(target, QStringLiteral("beschadigd"),
                           [behaviour, &target](const QString& workPath, const Heartbeat& beat) {
                               return read(behaviour, target, workPath, beat);
                           });
        QCOMPARE(result.ok, ok);
        QCOMPARE(result.error, error);
        QCOMPARE(filesIn(env.root()), ok ? QStringList{QStringLiteral("mirror.sqlite")} : QStringList());
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(IsolatedReadTest)
#include "test_isolatedread.moc"
