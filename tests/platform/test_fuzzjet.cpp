// Jet databases that made libmdb crash, loop or allocate without end under
// the fuzz target fuzz_jetmdb (fuzz/, with SUPPLINK_FUZZ_JET_BASE: byte changes
// to the public Jet corpus, applied here to a copy; skipped without the
// corpus). Each is read as the program reads it, in a child process: the read
// gives the Dutch message for a damaged database and leaves no mirror, and a
// child that allocates without end is stopped by its memory budget.

#include "platform/childmemory.h"
#include "platform/isolatedread.h"
#include "platform/jetmirror.h"

#include "mirrorquery.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QScopeGuard>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace supplink;
using supplink::test::filesIn;

using ByteChanges = QList<QPair<int, int>>; // offset, new byte
Q_DECLARE_METATYPE(ByteChanges)

namespace {

#ifdef Q_OS_UNIX
// The largest resident size, in bytes, of this process or of the child processes it has waited for.
qint64 peakResident(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}
#endif

} // namespace

class FuzzJetTest : public QObject
{
    Q_OBJECT

private slots:
    void jetDatabases_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ByteChanges>("changes");
        QTest::addColumn<bool>("growing");
        // libmdb follows a missing page map (a null pointer) and the reading child dies.
        QTest::newRow("Jet 3 crash") << QStringLiteral("testodbc.mdb") << ByteChanges{{69667, 63}} << false;
        QTest::newRow("Jet 4 crash") << QStringLiteral("Monitor.mdb") << ByteChanges{{61495, 47}} << false;
        // libmdb loops without end, allocating as it goes (some 300 MB a second).
        QTest::newRow("Jet 4 endless")
            << QStringLiteral("Monitor.mdb") << ByteChanges{{108814, 0}, {73541, 44}} << true;
        // libmdb reads the properties of the catalogue and allocates without end.
        QTest::newRow("Jet 4 properties without end")
            << QStringLiteral("Monitor.mdb") << ByteChanges{{48973, 105}, {89972, 95}, {1345, 104}, {109157, 0}}
            << true;
    }

    // The reading child dies or stops, its parent gives the damaged-database message and leaves no
    // mirror; a child that allocates without end is stopped by its memory budget.
    void jetDatabases()
    {
        QFETCH(QString, name);
        QFETCH(ByteChanges, changes);
        QFETCH(bool, growing);
        const QString folder = test::testDataFolder();
        const QString original = folder + QStringLiteral("/mdb/") + name;
        if (folder.isEmpty() || !QFile::exists(original))
            QSKIP("public Jet corpus not present");
        QFile file(original);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        for (const auto& [offset, value] : changes) {
            QVERIFY(offset < bytes.size());
            bytes[offset] = char(value);
        }
        test::TestEnvironment env;
        const QString source = env.path(QStringLiteral("kapot.mdb"));
        {
            QFile out(source);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QCOMPARE(out.write(bytes), bytes.size());
        }
        constexpr qint64 kBudget = 128 << 20;
        setChildMemoryBudget(kBudget);
        setIsolatedReadStallLimit(2000);
        const auto restore = qScopeGuard([] {
            setIsolatedReadStallLimit(0);
            setChildMemoryBudget(0);
        });

        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorJetDatabase(source, target);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("kapot.mdb")) &&
                     result.error.contains(QStringLiteral("beschadigd")),
                 qPrintable(result.error));
        QCOMPARE(filesIn(env.root()), QStringList{QStringLiteral("kapot.mdb")});
#ifdef Q_OS_UNIX
        if (growing && childMemoryBounded()) {
            // The child starts with this process's pages and may add its budget, not the
            // hundreds of megabytes its two seconds would otherwise have given it.
            QVERIFY2(peakResident(RUSAGE_CHILDREN) < peakResident(RUSAGE_SELF) + kBudget + (64 << 20),
                     qPrintable(QStringLiteral("child peak %1 MB")
                                    .arg(peakResident(RUSAGE_CHILDREN) >> 20)));
        }
#else
        Q_UNUSED(growing);
#endif
    }
};

QTEST_GUILESS_MAIN(FuzzJetTest)
#include "test_fuzzjet.moc"
