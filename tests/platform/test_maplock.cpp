// The folder lock: two holders exclude each other (also within one process),
// a released or killed holder's lock is taken over, the lock file goes with
// its holder, and a lock file left without a holder does not block.

#include "platform/maplock.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace supplink;
using namespace supplink::test;

class TestMapLock : public QObject
{
    Q_OBJECT

    TestEnvironment m_env;

    QString lockBestand(const QString& map) const { return QDir(map).filePath(MapLock::kLockBestand); }

private slots:
    void tweeHoudersSluitenElkaarUit()
    {
        const QString map = m_env.path(QStringLiteral("gedeeld"));
        QDir().mkpath(map);
        MapLock eerste;
        QCOMPARE(eerste.Neem(map), MapLock::Uitkomst::Genomen);
        QVERIFY(eerste.Gehouden());
        QVERIFY(QFile::exists(lockBestand(map)));
        MapLock tweede;
        QCOMPARE(tweede.Neem(map), MapLock::Uitkomst::Bezet);
        QVERIFY(!tweede.Gehouden());
        // A lock on another folder is another lock.
        const QString ander = m_env.path(QStringLiteral("ander"));
        QDir().mkpath(ander);
        MapLock derde;
        QCOMPARE(derde.Neem(ander), MapLock::Uitkomst::Genomen);

        eerste.Geef();
        QVERIFY(!QFile::exists(lockBestand(map)));
        QCOMPARE(tweede.Neem(map), MapLock::Uitkomst::Genomen);
        // Moved, the lock stays held.
        MapLock verhuisd(std::move(tweede));
        QVERIFY(verhuisd.Gehouden());
        QCOMPARE(eerste.Neem(map), MapLock::Uitkomst::Bezet);
    }

    void achtergelatenBestandBlokkeertNiet()
    {
        const QString map = m_env.path(QStringLiteral("achtergelaten"));
        QDir().mkpath(map);
        QFile bestand(lockBestand(map));
        QVERIFY(bestand.open(QIODevice::WriteOnly));
        bestand.close();
        MapLock lock;
        QCOMPARE(lock.Neem(map), MapLock::Uitkomst::Genomen);
        lock.Geef();
        QVERIFY(!QFile::exists(lockBestand(map)));
    }

    void mapZonderSchrijfrecht()
    {
        MapLock lock;
        QCOMPARE(lock.Neem(m_env.path(QStringLiteral("bestaat-niet"))), MapLock::Uitkomst::Mislukt);
        QVERIFY(lock.Reden().contains(MapLock::kLockBestand));
    }

#ifndef _WIN32
    // Another process holds the lock; once it is killed, the lock is free without anyone letting go.
    void gedodeHouder()
    {
        const QString map = m_env.path(QStringLiteral("gedood"));
        QDir().mkpath(map);
        int pijp[2];
        QCOMPARE(::pipe(pijp), 0);
        const pid_t kind = ::fork();
        QVERIFY(kind >= 0);
        if (kind == 0) {
            MapLock lock;
            const char antwoord = lock.Neem(map) == MapLock::Uitkomst::Genomen ? 'j' : 'n';
            [[maybe_unused]] const auto geschreven = ::write(pijp[1], &antwoord, 1);
            for (;;)
                ::pause();
        }
        char antwoord = 0;
        QCOMPARE(::read(pijp[0], &antwoord, 1), ssize_t(1));
        QCOMPARE(antwoord, 'j');
        MapLock lock;
        QCOMPARE(lock.Neem(map), MapLock::Uitkomst::Bezet);
        ::kill(kind, SIGKILL);
        ::waitpid(kind, nullptr, 0);
        ::close(pijp[0]);
        ::close(pijp[1]);
        QCOMPARE(lock.Neem(map), MapLock::Uitkomst::Genomen);
    }
#endif
};

QTEST_GUILESS_MAIN(TestMapLock)
#include "test_maplock.moc"
