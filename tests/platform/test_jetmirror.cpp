// The Jet reader: real Jet 3 and Jet 4 files from the public corpora, and
// broken files that must give a Dutch message, no crash and no mirror.

#include "platform/isolatedread.h"
#include "platform/jetmirror.h"

#include "mirrorquery.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>

using namespace supplink;
using supplink::test::filesIn;
using supplink::test::SqliteFile;

class JetMirrorTest : public QObject
{
    Q_OBJECT

private:
    QString corpusFile(const QString& name)
    {
        const QString folder = test::testDataFolder();
        const QString path = folder + QStringLiteral("/mdb/") + name;
        return folder.isEmpty() || !QFile::exists(path) ? QString() : path;
    }

    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private slots:
    void jet3TablesRowsAndKeys()
    {
        const QString mdb = corpusFile(QStringLiteral("testodbc.mdb"));
        if (mdb.isEmpty())
            QSKIP("public Jet corpus not present");
        test::TestEnvironment env;
        const QString target = env.path(QStringLiteral("jet3.sqlite"));
        const MirrorResult result = mirrorJetDatabase(mdb, target);
        QVERIFY2(result.ok, qPrintable(result.error));

        SqliteFile db(target);
        QVERIFY(db.isOpen());
        QCOMPARE(db.tables(), QStringList{QStringLiteral("FPdev")});
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM FPdev")).toInt(), 8);
        QCOMPARE(db.value(QStringLiteral("SELECT UserName FROM FPdev WHERE id = 3")).toString(),
                 QStringLiteral("Carl-Eric Codere"));
        QCOMPARE(db.value(QStringLiteral("SELECT InstEmail FROM [FPdev] WHERE [id] = 7")).toString(),
                 QStringLiteral("pfv@worldonline.nl"));
        // Text compares as Jet compares it: without regard to case.
        QCOMPARE(db.value(QStringLiteral("SELECT id FROM FPdev WHERE UserName = 'PETER vreman'")).toInt(), 7);
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM FPdev WHERE UserName LIKE '%MAEBE%'")).toInt(),
                 1);
        // For every letter, not only ASCII: text columns compare as codes compare.
        QVERIFY(db.value(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'FPdev'"))
                    .toString()
                    .contains(QStringLiteral("COLLATE JETNOCASE")));
        db.rows(QStringLiteral("INSERT INTO FPdev (id, UserName) VALUES (90, 'ÅSA ÖSTLÜND')"));
        QCOMPARE(db.value(QStringLiteral("SELECT id FROM FPdev WHERE UserName = 'åsa östlünd'")).toInt(), 90);
        QCOMPARE(db.value(QStringLiteral("SELECT id FROM FPdev WHERE UserName = 'asa ostlund'")).toInt(), 0);
        db.rows(QStringLiteral("DELETE FROM FPdev WHERE id = 90"));

        // The one-column Long primary key is the table's integer key.
        const QList<QVariantList> info = db.rows(QStringLiteral("PRAGMA table_info(FPdev)"));
        QCOMPARE(info.size(), 3);
        QCOMPARE(info[0][1].toString(), QStringLiteral("id"));
        QCOMPARE(info[0][2].toString(), QStringLiteral("INTEGER"));
        QCOMPARE(info[0][5].toInt(), 1);
        QCOMPARE(info[1][2].toString(), QStringLiteral("TEXT(255)"));

        const QList<QVariantList> columns = db.rows(QStringLiteral(
            "SELECT columnname, ordinal, jettype, adotype, definedsize FROM __supplink_columns "
            "WHERE tablename = 'fpdev' ORDER BY ordinal"));
        QCOMPARE(columns.size(), 3);
        QCOMPARE(columns[0], (QVariantList{QStringLiteral("id"), 1, 4, 3, 4}));
        QCOMPARE(columns[1], (QVariantList{QStringLiteral("UserName"), 2, 10, 202, 255}));
    }

    void jet4TypesAndValues()
    {
        const QString mdb = corpusFile(QStringLiteral("Monitor.mdb"));
        if (mdb.isEmpty())
            QSKIP("public Jet corpus not present");
        test::TestEnvironment env;
        const QString target = env.path(QStringLiteral("jet4.sqlite"));
        const MirrorResult result = mirrorJetDatabase(mdb, target);
        QVERIFY2(result.ok, qPrintable(result.error));

        SqliteFile db(target);
        QCOMPARE(db.tables(), QStringList{QStringLiteral("Monitor_Authenticate")});
        const QList<QVariantList> rows = db.rows(QStringLiteral(
            "SELECT ID, LineNumber, LinePassword, LineSpeed, EMail_Address, Graph_Day, Graph_EMail, "
            "LastVisit, Comment FROM Monitor_Authenticate"));
        QCOMPARE(rows.size(), 1);
        const QVariantList& row = rows.first();
        QCOMPARE(row[0].toLongLong(), 1);
        QCOMPARE(row[1], QVariant(qint64(1234567890))); // Decimal(18,0), exact
        QCOMPARE(row[2].toString(), QStringLiteral("12345678"));
        QCOMPARE(row[3], QVariant(qint64(33600)));
        QCOMPARE(row[4].toString(), QStringLiteral("nobody@sunnyline.co.za"));
        QCOMPARE(row[5].toInt(), -1); // Yes/No as Jet returns True
        QCOMPARE(row[6].toInt(), 0);
        QCOMPARE(row[7].toString(), QStringLiteral("2000-06-17 20:36:24"));
        QCOMPARE(row[8].toString(),
                 QStringLiteral("Example Circuit Added For Monitor Example To Potential New Clients"));

        // The date compares with a date literal in the mirror's text form.
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM Monitor_Authenticate WHERE LastVisit > "
                                         "'2000-06-17 20:36:23' AND LastVisit < '2000-06-18 00:00:00'"))
                     .toInt(),
                 1);
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM Monitor_Authenticate WHERE Graph_Day <> 0"))
                     .toInt(),
                 1);

        const QList<QVariantList> facts = db.rows(
            QStringLiteral("SELECT columnname, jettype, adotype, definedsize, precision, numericscale, "
                           "autonumber FROM __supplink_columns ORDER BY ordinal"));
        QCOMPARE(facts.size(), 12);
        QCOMPARE(facts[0], (QVariantList{QStringLiteral("ID"), 4, 3, 4, 0, 0, 1}));
        QCOMPARE(facts[1], (QVariantList{QStringLiteral("LineNumber"), 16, 131, 19, 18, 0, 0}));
        // Jet 4 keeps text sizes in bytes; the mirror gives characters.
        QCOMPARE(facts[2], (QVariantList{QStringLiteral("LinePassword"), 10, 202, 8, 0, 0, 0}));
        QCOMPARE(facts[5], (QVariantList{QStringLiteral("Graph_Day"), 1, 11, 2, 0, 0, 0}));
        QCOMPARE(facts[10], (QVariantList{QStringLiteral("LastVisit"), 8, 7, 8, 0, 0, 0}));
        QCOMPARE(facts[11], (QVariantList{QStringLiteral("Comment"), 10, 202, 255, 0, 0, 0}));
    }

    void existingTargetIsReplacedOnlyOnSuccess()
    {
        const QString mdb = corpusFile(QStringLiteral("testodbc.mdb"));
        if (mdb.isEmpty())
            QSKIP("public Jet corpus not present");
        test::TestEnvironment env;
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        writeFile(target, "old");
        const QString broken = env.path(QStringLiteral("broken.mdb"));
        writeFile(broken, "Not a database at all");
        QVERIFY(!mirrorJetDatabase(broken, target).ok);
        QFile old(target);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        old.close();

        QVERIFY(mirrorJetDatabase(mdb, target).ok);
        QCOMPARE(SqliteFile(target).tables(), QStringList{QStringLiteral("FPdev")});
        QCOMPARE(filesIn(env.root()),
                 (QStringList{QStringLiteral("broken.mdb"), QStringLiteral("mirror.sqlite")}));
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("is geen Access-database");
        QTest::newRow("text") << QByteArray("Code;Omschrijving\n1;Deur\n")
                              << QStringLiteral("is geen Access-database");
        QTest::newRow("sqlite") << QByteArray("SQLite format 3").append('\0').append(QByteArray(200, '\0'))
                                << QStringLiteral("is geen Access-database");
        QByteArray header(4096, '\0');
        header.replace(4, 15, "Standard Jet DB");
        QTest::newRow("signature only") << header << QString();
    }

    void unreadableFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        test::TestEnvironment env;
        const QString source = env.path(QStringLiteral("bron.mdb"));
        writeFile(source, content);
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorJetDatabase(source, target);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("bron.mdb")), qPrintable(result.error));
        if (!message.isEmpty())
            QVERIFY2(result.error.contains(message), qPrintable(result.error));
        QCOMPARE(filesIn(env.root()), QStringList{QStringLiteral("bron.mdb")});
    }

    void missingFile()
    {
        test::TestEnvironment env;
        const MirrorResult result =
            mirrorJetDatabase(env.path(QStringLiteral("weg.mdb")), env.path(QStringLiteral("m.sqlite")));
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QStringLiteral("bestaat niet")), qPrintable(result.error));
        QVERIFY(filesIn(env.root()).isEmpty());
    }

    // Truncated and damaged copies of the real files: a result either way,
    // never a crash, and a mirror only when the read succeeded.
    void damagedCorpusFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("cut");
        QTest::addColumn<int>("damagedBytes");
        QTest::addColumn<int>("seed");
        for (const char* name : {"testodbc.mdb", "Monitor.mdb"}) {
            for (int cut : {100, 2048, 4096, 8192, 20000, 40000, 70000})
                QTest::newRow(qPrintable(QStringLiteral("%1 cut %2").arg(QLatin1String(name)).arg(cut)))
                    << QString::fromLatin1(name) << cut << 0 << 0;
            for (int damaged : {16, 256, 4096})
                QTest::newRow(
                    qPrintable(QStringLiteral("%1 damaged %2").arg(QLatin1String(name)).arg(damaged)))
                    << QString::fromLatin1(name) << 0 << damaged << 0;
        }
        // Damage that makes libmdb loop without end (17) or crash (195).
        QTest::newRow("Monitor.mdb endless") << QStringLiteral("Monitor.mdb") << 0 << 0 << 17;
        QTest::newRow("Monitor.mdb crash") << QStringLiteral("Monitor.mdb") << 0 << 0 << 195;
    }

    void damagedCorpusFiles()
    {
        QFETCH(QString, name);
        QFETCH(int, cut);
        QFETCH(int, damagedBytes);
        QFETCH(int, seed);
        const QString original = corpusFile(name);
        if (original.isEmpty())
            QSKIP("public Jet corpus not present");
        QFile file(original);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        if (cut > 0)
            bytes.truncate(cut);
        QRandomGenerator random(quint32(damagedBytes) * 7919u + quint32(name.size()));
        for (int i = 0; i < damagedBytes; ++i)
            bytes[32 + int(random.bounded(quint32(bytes.size() - 32)))] = char(random.bounded(256));
        if (seed > 0) {
            QRandomGenerator scatter(seed);
            if (seed % 3 == 0)
                bytes.truncate(19 + scatter.bounded(qint64(bytes.size()) - 19));
            const int count = seed % 3 == 1 ? 1 + scatter.bounded(20) : 1 + scatter.bounded(400);
            for (int i = 0; i < count; ++i)
                bytes[32 + scatter.bounded(qint64(bytes.size()) - 32)] = char(scatter.bounded(256));
        }
        setIsolatedReadStallLimit(2000);
        const auto restore = qScopeGuard([] { setIsolatedReadStallLimit(0); });

        test::TestEnvironment env;
        const QString source = env.path(QStringLiteral("kapot.mdb"));
        writeFile(source, bytes);
        const QString target = env.path(QStringLiteral("mirror.sqlite"));
        const MirrorResult result = mirrorJetDatabase(source, target);
        if (result.ok) {
            QVERIFY(SqliteFile(target).isOpen());
            QCOMPARE(filesIn(env.root()),
                     (QStringList{QStringLiteral("kapot.mdb"), QStringLiteral("mirror.sqlite")}));
        } else {
            QVERIFY2(result.error.contains(QStringLiteral("kapot.mdb")), qPrintable(result.error));
            QCOMPARE(filesIn(env.root()), QStringList{QStringLiteral("kapot.mdb")});
        }
    }
};

QTEST_GUILESS_MAIN(JetMirrorTest)
#include "test_jetmirror.moc"
