// Unpacking zip archives into a folder: names and links that lead out of the
// folder are refused while the rest is unpacked, files are replaced whole,
// Unix permission bits come back, and broken archives and entries leave what
// was there.

#include "platform/runcontext.h"
#include "platform/zipextract.h"

#include "support/testenvironment.h"
#include "support/zipwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace supplink;
using supplink::test::writeZip;

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QStringList filesBelow(const QString& folder)
{
    QStringList found;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden,
                                                   QDir::Name)) {
        if (info.isDir() && !info.isSymLink()) {
            for (const QString& below : filesBelow(info.filePath()))
                found << info.fileName() + QLatin1Char('/') + below;
        } else {
            found << info.fileName();
        }
    }
    return found;
}

} // namespace

class TestZipExtract : public QObject
{
    Q_OBJECT

private slots:
    void namesInside_data();
    void namesInside();
    void linksLeadingOut();
    void extractsAndRefuses();
    void replacesLongerFileWhole();
    void restoresPermissionBits();
    void brokenArchive();
    void damagedEntryKeepsOldFile();
    void cancelledRun();
};

void TestZipExtract::namesInside_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("inside"); // the path below the folder, empty when refused

    QTest::newRow("file") << "a.txt" << "a.txt";
    QTest::newRow("subfolder") << "sub/a.txt" << "sub/a.txt";
    QTest::newRow("backslashes") << "sub\\a.txt" << "sub/a.txt";
    QTest::newRow("dot parts") << "./sub/./a.txt" << "sub/a.txt";
    QTest::newRow("folder entry") << "sub/" << "sub";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("the folder itself") << "." << "";
    QTest::newRow("parent") << "../a.txt" << "";
    QTest::newRow("parent after a folder") << "sub/../../a.txt" << "";
    QTest::newRow("parent that stays inside") << "sub/../a.txt" << "";
    QTest::newRow("parent with backslashes") << "..\\a.txt" << "";
    QTest::newRow("absolute") << "/etc/passwd" << "";
    QTest::newRow("absolute with backslash") << "\\etc\\passwd" << "";
    QTest::newRow("drive") << "C:\\Windows\\a.exe" << "";
    QTest::newRow("drive-relative") << "C:a.exe" << "";
    QTest::newRow("stream of a file") << "a.txt:verborgen" << "";
}

void TestZipExtract::namesInside()
{
    QFETCH(QString, name);
    QFETCH(QString, inside);

    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("doel"));
    QVERIFY(QDir().mkpath(folder));
    const std::optional<QString> path = pathInsideFolder(folder, name);
    QCOMPARE(path.has_value(), !inside.isEmpty());
    if (path)
        QCOMPARE(*path, folder + QLatin1Char('/') + inside);
}

void TestZipExtract::linksLeadingOut()
{
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("doel"));
    const QString outside = env.path(QStringLiteral("buiten"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(writeFile(outside + QStringLiteral("/geheim.txt"), "geheim"));
    QVERIFY(QFile::link(outside, folder + QStringLiteral("/uit")));
    QVERIFY(QFile::link(outside + QStringLiteral("/geheim.txt"), folder + QStringLiteral("/geheim.txt")));
    QVERIFY(QFile::link(outside + QStringLiteral("/bestaat-niet"), folder + QStringLiteral("/los")));
    QVERIFY(QFile::link(folder + QStringLiteral("/sub"), folder + QStringLiteral("/binnen")));

    QVERIFY(!pathInsideFolder(folder, QStringLiteral("uit/nieuw.txt")));
    QVERIFY(!pathInsideFolder(folder, QStringLiteral("geheim.txt")));
    QVERIFY(!pathInsideFolder(folder, QStringLiteral("los")));
    QVERIFY(pathInsideFolder(folder, QStringLiteral("binnen/nieuw.txt")));

    const QString archive = env.path(QStringLiteral("a.zip"));
    QVERIFY(writeZip(archive, {{"uit/nieuw.txt", "kwaad"}, {"geheim.txt", "kwaad"}, {"binnen/goed.txt", "goed"}}));
    const ZipExtraction result = extractZipArchive(archive, folder);
    QCOMPARE(result.refused, (QStringList{"uit/nieuw.txt", "geheim.txt"}));
    QCOMPARE(result.written, QStringList{folder + QStringLiteral("/binnen/goed.txt")});
    QCOMPARE(filesBelow(outside), QStringList{"geheim.txt"});
    QCOMPARE(contentOf(outside + QStringLiteral("/geheim.txt")), QByteArray("geheim"));
    QCOMPARE(contentOf(folder + QStringLiteral("/sub/goed.txt")), QByteArray("goed"));
}

void TestZipExtract::extractsAndRefuses()
{
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("programma/doel"));
    const QString archive = env.path(QStringLiteral("a.zip"));
    QVERIFY(writeZip(archive, {{"map/", {}},
                               {"map/a.txt", "a"},
                               {"../buiten.txt", "kwaad"},
                               {"diep/in/b.txt", "b"},
                               {"/supplink-absoluut.txt", "kwaad"},
                               {"map\\c.txt", "c"}}));

    const ZipExtraction result = extractZipArchive(archive, folder);
    QVERIFY(!result.ok());
    QCOMPARE(result.refused, (QStringList{"../buiten.txt", "/supplink-absoluut.txt"}));
    QCOMPARE(result.error, QStringLiteral("'../buiten.txt' ligt buiten de map en is niet uitgepakt.\n"
                                          "'/supplink-absoluut.txt' ligt buiten de map en is niet uitgepakt."));
    QCOMPARE(filesBelow(folder), (QStringList{"diep/in/b.txt", "map/a.txt", "map/c.txt"}));
    QCOMPARE(result.written.size(), 3);
    QCOMPARE(contentOf(folder + QStringLiteral("/map/c.txt")), QByteArray("c"));
    QCOMPARE(filesBelow(env.path(QStringLiteral("programma"))),
             (QStringList{"doel/diep/in/b.txt", "doel/map/a.txt", "doel/map/c.txt"}));

    QVERIFY(writeZip(archive, {{"a.txt", "a"}}));
    QVERIFY(extractZipArchive(archive, folder).ok());
}

void TestZipExtract::replacesLongerFileWhole()
{
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("doel"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFile(folder + QStringLiteral("/a.txt"), QByteArray(10000, 'o')));
    const QString archive = env.path(QStringLiteral("a.zip"));
    QVERIFY(writeZip(archive, {{"a.txt", "nieuw"}}));

    QVERIFY(extractZipArchive(archive, folder).ok());
    QCOMPARE(contentOf(folder + QStringLiteral("/a.txt")), QByteArray("nieuw"));
    QCOMPARE(filesBelow(folder), QStringList{"a.txt"});
}

void TestZipExtract::restoresPermissionBits()
{
#ifdef Q_OS_WIN
    QSKIP("Windows files have no permission bits");
#endif
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("doel"));
    const QString archive = env.path(QStringLiteral("a.zip"));
    QVERIFY(writeZip(archive, {{"setup.sh", "#!/bin/sh\n"}, {"lees.txt", "x"}, {"zonder.txt", "x"}},
                     {{"setup.sh", 04755}, {"lees.txt", 0640}}));
    QVERIFY(extractZipArchive(archive, folder).ok());

    const QFileInfo setup(folder + QStringLiteral("/setup.sh"));
    QVERIFY(setup.permission(QFile::ExeOwner));
    QVERIFY(setup.permission(QFile::ExeOther));
    QVERIFY(!setup.permission(QFile::WriteOther));
    const QFileInfo lees(folder + QStringLiteral("/lees.txt"));
    QVERIFY(!lees.permission(QFile::ExeOwner));
    QVERIFY(lees.permission(QFile::ReadGroup));
    QVERIFY(!lees.permission(QFile::ReadOther));
    QVERIFY(!QFileInfo(folder + QStringLiteral("/zonder.txt")).permission(QFile::ExeOwner));
}

void TestZipExtract::brokenArchive()
{
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("doel"));
    const QString archive = env.path(QStringLiteral("kapot.zip"));
    QVERIFY(writeZip(archive, {{"a.txt", QByteArray(3000, 'a')}, {"b.txt", "b"}}));
    const QByteArray whole = contentOf(archive);

    for (const QByteArray& broken : {QByteArray("geen archief"), whole.left(whole.size() - 30)}) {
        QVERIFY(writeFile(archive, broken));
        const ZipExtraction result = extractZipArchive(archive, folder);
        QVERIFY(result.error.startsWith(QStringLiteral("Het archief 'kapot.zip' kan niet worden geopend (")));
        QVERIFY(result.written.isEmpty());
        QCOMPARE(filesBelow(folder), QStringList());
    }
    QVERIFY(!extractZipArchive(env.path(QStringLiteral("bestaat-niet.zip")), folder).ok());
}

void TestZipExtract::damagedEntryKeepsOldFile()
{
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("doel"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFile(folder + QStringLiteral("/a.bin"), "oud"));
    // Bytes that do not compress are stored as they are, so a byte of them can be damaged.
    QByteArray data(4096, '\0');
    quint32 seed = 12345;
    for (char& c : data) {
        seed = seed * 1103515245u + 12345u;
        c = char(seed >> 24);
    }
    const QString archive = env.path(QStringLiteral("a.zip"));
    QVERIFY(writeZip(archive, {{"a.bin", data}, {"b.txt", "b"}}));
    QByteArray bytes = contentOf(archive);
    const qsizetype at = bytes.indexOf(data.mid(2000, 32));
    QVERIFY(at > 0);
    bytes[at] = char(bytes.at(at) ^ 0x55);
    QVERIFY(writeFile(archive, bytes));

    const ZipExtraction result = extractZipArchive(archive, folder);
    QVERIFY(result.error.startsWith(QStringLiteral("'a.bin' kan niet worden uitgepakt (")));
    QCOMPARE(contentOf(folder + QStringLiteral("/a.bin")), QByteArray("oud"));
    QCOMPARE(result.written, QStringList{folder + QStringLiteral("/b.txt")});
    QCOMPARE(filesBelow(folder), (QStringList{"a.bin", "b.txt"}));
}

void TestZipExtract::cancelledRun()
{
    test::TestEnvironment env;
    const QString folder = env.path(QStringLiteral("doel"));
    const QString archive = env.path(QStringLiteral("a.zip"));
    QVERIFY(writeZip(archive, {{"a.txt", "a"}, {"b.txt", "b"}}));
    RunContext run;
    run.setYieldFunction([&run] { run.cancel(); });
    const ZipExtraction result = extractZipArchive(archive, folder, &run);
    QCOMPARE(result.error, QStringLiteral("Het uitpakken van 'a.zip' is afgebroken."));
    QVERIFY(result.written.isEmpty());
}

QTEST_GUILESS_MAIN(TestZipExtract)
#include "test_zipextract.moc"
