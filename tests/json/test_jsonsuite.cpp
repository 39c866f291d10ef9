// The public JSON parsing test suite (json-test-suite/test_parsing): documents
// that must be accepted (y_), rejected (n_) or are left to the reader (i_).
#include "support/testenvironment.h"
#include "json/json.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace supplink;

namespace {

QString suiteFolder()
{
    const QString root = test::testDataFolder();
    if (root.isEmpty())
        return {};
    const QString folder = root + QStringLiteral("/json-test-suite/test_parsing");
    return QDir(folder).exists() ? folder : QString();
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Accepted documents that this reader handles otherwise, by design: the top
// level must be an object or an array, a key may occur only once in an
// object, and numbers are read as a decimal of 28 digits, whose range ends
// near 7.9e28.
enum class Expect
{
    Clean,
    InvalidJson,
    DuplicateKey,
    BeyondDecimal
};

Expect expectationFor(const QString& name)
{
    if (name.startsWith(QLatin1StringView("y_structure_lonely_")) || name == u"y_string_space.json" ||
        name == u"y_structure_string_empty.json")
        return Expect::InvalidJson;
    if (name.startsWith(QLatin1StringView("y_object_duplicated_key")))
        return Expect::DuplicateKey;
    if (name == u"y_number.json" || name == u"y_number_real_exponent.json" ||
        name == u"y_number_real_fraction_exponent.json")
        return Expect::BeyondDecimal;
    return Expect::Clean;
}

void addFiles(const QString& pattern)
{
    QTest::addColumn<QString>("path");
    const QString folder = suiteFolder();
    if (folder.isEmpty()) {
        QTest::newRow("absent") << QString();
        return;
    }
    const QDir dir(folder);
    for (const QString& name : dir.entryList({pattern}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

// Whatever was read writes out as JSON that reads back without complaint and
// writes out the same again.
void checkWrittenTextRereads(const JsonValue& value)
{
    if (value.isEmpty())
        return;
    const QString written = ToJson(value);
    const JsonValue again = ParseJson(written);
    QCOMPARE(GetParserErrors(), QString());
    QCOMPARE(ToJson(again), written);
}

} // namespace

class TestJsonSuite : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data() { addFiles(QStringLiteral("y_*.json")); }
    void accepted()
    {
        QFETCH(QString, path);
        if (path.isEmpty())
            QSKIP("json-test-suite not present");
        const QString name = QFileInfo(path).fileName();
        const JsonValue value = ParseJson(readText(path));
        const QString errors = GetParserErrors();
        switch (expectationFor(name)) {
        case Expect::InvalidJson:
            QCOMPARE(errors, QStringLiteral("Invalid JSON"));
            return;
        case Expect::DuplicateKey:
            QVERIFY(errors.startsWith(QStringLiteral("Deze sleutel is al gekoppeld")));
            return;
        case Expect::BeyondDecimal:
            QCOMPARE(errors, QStringLiteral("Overloop: ]\r\n"));
            return;
        case Expect::Clean:
            break;
        }
        QCOMPARE(errors, QString());
        QVERIFY(value.isObject() || value.isArray());
        const JsonValue again = ParseJson(ToJson(value));
        QCOMPARE(GetParserErrors(), QString());
        QCOMPARE(again, value);
    }

    void rejected_data() { addFiles(QStringLiteral("n_*.json")); }
    void rejected()
    {
        QFETCH(QString, path);
        if (path.isEmpty())
            QSKIP("json-test-suite not present");
        // The reader is lenient and accepts some of these; it must never
        // crash or hang on them.
        checkWrittenTextRereads(ParseJson(readText(path)));
    }

    void readersChoice_data() { addFiles(QStringLiteral("i_*.json")); }
    void readersChoice()
    {
        QFETCH(QString, path);
        if (path.isEmpty())
            QSKIP("json-test-suite not present");
        checkWrittenTextRereads(ParseJson(readText(path)));
    }

    void suitePresentOrSkipped()
    {
        if (suiteFolder().isEmpty())
            QSKIP("json-test-suite not present");
        QVERIFY(!QDir(suiteFolder()).entryList({QStringLiteral("y_*.json")}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestJsonSuite)
#include "test_jsonsuite.moc"
