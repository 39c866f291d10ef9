#include "start/csvsplit.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace supplink;

namespace {

QStringList split(const QString& line, bool quotingOff = false)
{
    bool ok = false;
    QString error = QStringLiteral("untouched");
    const auto fields = SplitCSVRegel(line, ok, error, quotingOff);
    if (!fields || !ok || error != u"untouched")
        return {QStringLiteral("<failed>")};
    return *fields;
}

// A comma-separated line of the public corpus as this program's files write
// it: the separators outside quotes become ";". Doubled quotes are left as
// they stand.
QString withSemicolons(const QString& line)
{
    QString converted = line;
    bool inQuotes = false;
    for (QChar& c : converted) {
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (c == u',' && !inQuotes)
            c = u';';
    }
    return converted;
}

} // namespace

class TestCsvSplit : public QObject
{
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("quotingOff");
        QTest::addColumn<QStringList>("fields");

        QTest::newRow("plain") << "a;b;c" << false << QStringList{"a", "b", "c"};
        QTest::newRow("empty middle field") << "a;;c" << false << QStringList{"a", "", "c"};
        QTest::newRow("trailing separator") << "a;b;" << false << QStringList{"a", "b", ""};
        QTest::newRow("only a separator") << ";" << false << QStringList{"", ""};
        QTest::newRow("single field") << "abc" << false << QStringList{"abc"};
        QTest::newRow("no trimming") << " a ; b " << false << QStringList{" a ", " b "};
        QTest::newRow("separator inside quotes") << "\"x;y\";z" << false << QStringList{"x;y", "z"};
        QTest::newRow("empty quoted fields") << "1;\"\";\"\"" << false << QStringList{"1", "", ""};
        QTest::newRow("doubled quotes stay doubled") << "\"a\"\"b\";c" << false << QStringList{"a\"\"b", "c"};
        QTest::newRow("quote followed by a character stays, quoting stays on")
            << "\"a\"b;c\";d" << false << QStringList{"a\"b;c", "d"};
        QTest::newRow("quote mid-field starts quoting")
            << "ab\"c;d\"e;f" << false << QStringList{"abc;d\"e;f"};
        QTest::newRow("quote closing a mid-field quote")
            << "ab\"c;d\";e" << false << QStringList{"abc;d", "e"};
        QTest::newRow("unclosed quote runs to the end") << "\"abc;def" << false << QStringList{"abc;def"};
        QTest::newRow("lone quote") << "\"" << false << QStringList{""};
        QTest::newRow("commas do not separate") << "a,b,c" << false << QStringList{"a,b,c"};
        QTest::newRow("tabs do not separate") << "a\tb" << false << QStringList{"a\tb"};
        QTest::newRow("unicode") << "é;ü€;𝄞x" << false << QStringList{"é", "ü€", "𝄞x"};
        QTest::newRow("quoting off drops every quote")
            << "\"a;b\";\"c\"\"d\"" << true << QStringList{"a", "b", "cd"};
        QTest::newRow("quoting off, quote mid-field") << "x\"y;z" << true << QStringList{"xy", "z"};
        QTest::newRow("quoting off, trailing separator") << "a;" << true << QStringList{"a", ""};
        QTest::newRow("quoting off, only a quote") << "\"" << true << QStringList{""};
    }
    void split()
    {
        QFETCH(QString, line);
        QFETCH(bool, quotingOff);
        QFETCH(QStringList, fields);
        QCOMPARE(::split(line, quotingOff), fields);
    }

    void emptyLineFails_data()
    {
        QTest::addColumn<bool>("quotingOff");
        QTest::newRow("quoting on") << false;
        QTest::newRow("quoting off") << true;
    }
    void emptyLineFails()
    {
        QFETCH(bool, quotingOff);
        bool ok = true;
        QString error;
        QVERIFY(!SplitCSVRegel(QString(), ok, error, quotingOff).has_value());
        QVERIFY(!ok);
        QVERIFY(!error.isEmpty());
        // ok is set again on the next call.
        QVERIFY(SplitCSVRegel(u"x", ok, error, quotingOff).has_value());
        QVERIFY(ok);
    }

    void longLines()
    {
        QStringList expected;
        for (int i = 0; i < 5000; ++i)
            expected << QStringLiteral("veld %1").arg(i);
        QCOMPARE(::split(expected.join(QLatin1Char(';'))), expected);
    }

    // The csv-spectrum corpus: the records that fit this routine are checked.
    // A record applies when it stands on one line (a record with a line break
    // inside a field is skipped, with the lines it takes), its line holds no
    // ";" of its own (so that its "," separators can become ";"), and it is not
    // in location_coordinates, whose expected result does not match its file.
    // Doubled quotes are kept as they stand by this routine, so a field that
    // holds a quote is expected with that quote doubled.
    void csvSpectrum_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");

        const QString root = test::testDataFolder();
        const QDir csvs(root + QStringLiteral("/csv-spectrum/csvs"));
        if (root.isEmpty() || !csvs.exists()) {
            QTest::newRow("absent") << QString() << QStringList();
            return;
        }
        for (const QString& name : csvs.entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name)) {
            const QString stem = QFileInfo(name).completeBaseName();
            if (stem == u"location_coordinates")
                continue;
            QFile csvFile(csvs.filePath(name));
            QFile jsonFile(root + QStringLiteral("/csv-spectrum/json/") + stem + QStringLiteral(".json"));
            QVERIFY(csvFile.open(QIODevice::ReadOnly) && jsonFile.open(QIODevice::ReadOnly));
            QStringList lines = QString::fromUtf8(csvFile.readAll()).split(QLatin1Char('\n'));
            for (QString& line : lines) {
                if (line.endsWith(QLatin1Char('\r')))
                    line.chop(1);
            }
            const QJsonArray records = QJsonDocument::fromJson(jsonFile.readAll()).array();
            QVERIFY2(!records.isEmpty(), qPrintable(name));
            // The expected records are keyed by the header's names; the
            // header line gives their order.
            const QStringList header = ::split(withSemicolons(lines.value(0)));
            QStringList sortedHeader = header;
            sortedHeader.sort();
            QStringList keys = records.first().toObject().keys();
            keys.sort();
            QCOMPARE(sortedHeader, keys);

            qsizetype lineIndex = 1; // after the header
            int recordNumber = 0;
            for (const QJsonValue& record : records) {
                ++recordNumber;
                QStringList fields;
                qsizetype lineBreaks = 0;
                for (const QString& key : header) {
                    QString field = record.toObject().value(key).toString();
                    lineBreaks += field.count(QLatin1Char('\n'));
                    fields << field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
                }
                const QString line = lines.value(lineIndex);
                lineIndex += 1 + lineBreaks;
                if (lineBreaks > 0 || line.contains(QLatin1Char(';')))
                    continue;
                QTest::addRow("%s record %d", qPrintable(stem), recordNumber)
                    << withSemicolons(line) << fields;
            }
        }
    }
    void csvSpectrum()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        if (line.isEmpty())
            QSKIP("csv-spectrum not present");
        QCOMPARE(::split(line), fields);
    }
};

QTEST_GUILESS_MAIN(TestCsvSplit)
#include "test_csvsplit.moc"
