#include "json/dutchlocale.h"
#include "json/json.h"

#include <QTest>

using namespace supplink;

namespace {

const QString kNoResult = QStringLiteral("<no result>");

QString rendered(const JsonValue& value)
{
    return value.isEmpty() ? kNoResult : ToJson(value);
}

QString nested(int levels, const QString& open, const QString& close)
{
    return open.repeated(levels) + close.repeated(levels);
}

} // namespace

class TestJsonParser : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // the result written back by ToJson
        QTest::addColumn<QString>("errors");

        const QString mismatch = QStringLiteral("Typen komen niet overeen: ");
        // Lenient forms.
        QTest::newRow("members in order, single quotes") << "{\"a\":1,\"b\":[true,false,null],\"c\":'x'}"
                                                         << "{\"a\":1,\"b\":[true,false,null],\"c\":\"x\"}"
                                                         << "";
        QTest::newRow("unquoted keys, no comma") << "{a:1 b:2}"
                                                 << "{\"a\":1,\"b\":2}"
                                                 << "";
        QTest::newRow("white space in a key is dropped") << "{\"a b\":1}"
                                                         << "{\"ab\":1}"
                                                         << "";
        QTest::newRow("colon inside a quoted key") << "{\"a:b\":1}"
                                                   << "{\"a:b\":1}"
                                                   << "";
        QTest::newRow("single-quoted key") << "{'k':2}"
                                           << "{\"k\":2}"
                                           << "";
        QTest::newRow("comments around the value") << "/* before */ {\"a\":1} // after"
                                                   << "{\"a\":1}"
                                                   << "";
        QTest::newRow("comment between key and colon") << "{\"a\"/*c*/:1}"
                                                       << "{\"a\":1}"
                                                       << "";
        QTest::newRow("line comment ended by a line break") << "// x\n[1,// y\n2]"
                                                            << "[1,2]"
                                                            << "";
        QTest::newRow("round brackets are filler") << "([1,(2)])"
                                                   << "[1,2]"
                                                   << "";
        QTest::newRow("missing commas in an array") << "[1 2 3]"
                                                    << "[1,2,3]"
                                                    << "";
        QTest::newRow("leading comma") << "[,1]"
                                       << "[1]"
                                       << "";
        QTest::newRow("empty containers") << "[[],{}]"
                                          << "[[],{}]"
                                          << "";
        QTest::newRow("text after the value is not read") << "[1] garbage"
                                                          << "[1]"
                                                          << "";

        // Strings.
        QTest::newRow("unicode and named escapes") << "[\"\\u0041\\u00e9\\t\\n\\/\\\\\\\"\\'\"]"
                                                   << "[\"A\\u00E9\\t\\n\\/\\\\\\\"'\"]"
                                                   << "";
        QTest::newRow("unknown escape gives the character") << "[\"\\q\"]"
                                                            << "[\"q\"]"
                                                            << "";
        QTest::newRow("short unicode escape") << "[\"\\u41xy!\"]"
                                              << "[\"A!\"]"
                                              << "";
        QTest::newRow("other quote inside a string") << "[\"it's\",'say \"hi\"']"
                                                     << "[\"it's\",\"say \\\"hi\\\"\"]"
                                                     << "";
        QTest::newRow("line break inside a string") << "[\"a\nb\"]"
                                                    << "[\"a\\nb\"]"
                                                    << "";
        QTest::newRow("escaped quote in a key") << "{\"k\\\"q\":1}"
                                                << "{\"k\\\"q\":1}"
                                                << "";
        QTest::newRow("escaped non-ASCII in a key") << "{\"\\u00e9\":1}"
                                                    << "{\"\\u00E9\":1}"
                                                    << "";

        // Numbers.
        // A number is written back as it was read when its text is a JSON number.
        QTest::newRow("fraction and exponent") << "[12.5,1e3,1E-2,-0.25,+5,0e1]"
                                               << "[12.5,1e3,1E-2,-0.25,5,0e1]"
                                               << "";
        QTest::newRow("more digits than a double holds") << "[123456789012.3456789,12345678901234567890]"
                                                         << "[123456789012.3456789,12345678901234567890]"
                                                         << "";
        QTest::newRow("trailing zeros kept") << "{\"a\":12.50,\"b\":-0.0}"
                                             << "{\"a\":12.50,\"b\":-0.0}"
                                             << "";
        QTest::newRow("no JSON form: written as the number") << "[.5,5.,007]"
                                                             << "[0.5,5,7]"
                                                             << "";
        QTest::newRow("too small reads as zero, written as read") << "[1e-999]"
                                                                  << "[1e-999]"
                                                                  << "";
        // Numbers are read as a decimal of 28 digits: beyond its range a value fails.
        QTest::newRow("largest decimal")
            << "[-79228162514264337593543950335,7.9228162514264337593543950335e28]"
            << "[-79228162514264337593543950335,7.9228162514264337593543950335e28]"
            << "";
        QTest::newRow("just beyond the largest decimal") << "[1,79228162514264337593543950336]"
                                                         << "[1]"
                                                         << "Overloop: ]\r\n";
        QTest::newRow("rounds beyond the largest decimal") << "[79228162514264337593543950335.5]"
                                                           << "[]"
                                                           << "Overloop: ]\r\n";
        QTest::newRow("large exponent fails") << "{\"a\":123.456e78}"
                                              << "{}"
                                              << "Overloop: a\r\n";
        QTest::newRow("too large fails") << "[1,1e999]"
                                         << "[1]"
                                         << "Overloop: ]\r\n";
        QTest::newRow("lone sign") << "[-]"
                                   << "[]" << mismatch + "]\r\n";
        QTest::newRow("two points") << "[1.2.3]"
                                    << "[]" << mismatch + "]\r\n";
        QTest::newRow("two signs") << "[+-1]"
                                   << "[]" << mismatch + "]\r\n";
        QTest::newRow("trailing comma in an array") << "[1,]"
                                                    << "[1]" << mismatch + "]\r\n";
        QTest::newRow("bad value in an object") << "{\"a\":x}"
                                                << "{}" << mismatch + "a\r\n";
        QTest::newRow("failure inside a nested array, reading goes on")
            << "[[1x]]"
            << "[[1]]" << mismatch + "x]]\r\n" + mismatch + "x]]\r\n";

        // Literals.
        QTest::newRow("broken true in an array ends it") << "[tru]"
                                                         << "[]"
                                                         << "Invalid Boolean at position 2 : tru]\r\n";
        QTest::newRow("broken null in an array ends it") << "[1,nul,2]"
                                                         << "[1]"
                                                         << "Invalid null value at position 4 : nul,2]\r\n";
        QTest::newRow("broken literal in an object") << "{\"a\":tru,\"b\":1}"
                                                     << "{\"a\":false,\"tru,b\":1}"
                                                     << "Invalid Boolean at position 6 : tru,\"b\":1}\r\n";

        // Keys and structure.
        QTest::newRow("quoted key without colon") << "{\"a\" 1}"
                                                  << "{\"a\":1}"
                                                  << "Invalid Key at position 6 : a\r\n";
        QTest::newRow("duplicate key keeps the first value")
            << "{\"a\":1,\"a\":2,\"b\":3}"
            << "{\"a\":1}"
            << "Deze sleutel is al gekoppeld aan een element van deze verzameling: a\r\n";
        QTest::newRow("cut off after a number") << "{\"a\":1"
                                                << "{\"a\":null}"
                                                << "Missing '}': {\"a\":1\r\n";
        QTest::newRow("unclosed string in unclosed array") << "[\"abc"
                                                           << "[\"abc\"]"
                                                           << "Missing ']': [\"abc\r\n";
        QTest::newRow("last 20 characters") << "[1,2,3,4,5,6,7,8,9,10,11,\"x\""
                                            << "[1,2,3,4,5,6,7,8,9,10,11,\"x\"]"
                                            << "Missing ']': ,5,6,7,8,9,10,11,\"x\"\r\n";
        QTest::newRow("top-level text") << "\"text\"" << kNoResult << "Invalid JSON";
        QTest::newRow("top-level number") << "42" << kNoResult << "Invalid JSON";
        QTest::newRow("empty text") << "" << kNoResult << "Invalid JSON";
        QTest::newRow("only filler") << "  /* */ " << kNoResult << "Invalid JSON";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QString, errors);
        const JsonValue value = ParseJson(text);
        QCOMPARE(GetParserErrors(), errors);
        QCOMPARE(rendered(value), expected);

        // A reader of one's own gives the same.
        JsonParser parser;
        QCOMPARE(rendered(parser.parse(text)), expected);
        QCOMPARE(parser.errors(), errors);
    }

    void cutOffNumberHasNoValue()
    {
        const JsonValue value = ParseJson(u"{\"a\":1");
        QVERIFY(value[u"a"].isEmpty());
        QVERIFY(value.toObject().contains(u"a"));
    }

    void surrogatePairsStayTogether()
    {
        const JsonValue value = ParseJson(u"[\"\\ud83d\\ude00\", \"😀\"]");
        QVERIFY(GetParserErrors().isEmpty());
        const QString smile = QString::fromUcs4(U"\U0001F600");
        QCOMPARE(value[0].toString(), smile);
        QCOMPARE(value[1].toString(), smile);
        QCOMPARE(ToJson(value), QStringLiteral("[\"\\uD83D\\uDE00\",\"\\uD83D\\uDE00\"]"));
    }

    void numbersIgnoreTheLocale()
    {
        test::DutchLocale dutch;
        if (!dutch.processLocaleIsDutch())
            qInfo("nl_NL is not available to the C library here: only Qt's default locale is Dutch");
        const JsonValue value = ParseJson(u"[12.5, 1e3, -0.125]");
        QVERIFY(GetParserErrors().isEmpty());
        QCOMPARE(value[0].toDouble(), 12.5);
        QCOMPARE(value[1].toDouble(), 1000.0);
        QCOMPARE(value[2].toDouble(), -0.125);
        QCOMPARE(ToJson(value), QStringLiteral("[12.5,1e3,-0.125]"));
        QCOMPARE(ToJson(JsonValue(1e3)), QStringLiteral("1000"));
    }

    void numbersKeepTheirValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("digits beyond a double") << "123456789012.3456789" << 123456789012.3456789;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("trailing zero") << "12.50" << 12.5;
        QTest::newRow("too small") << "1e-999" << 0.0;
        QTest::newRow("largest decimal")
            << "79228162514264337593543950335" << 79228162514264337593543950335.0;
    }
    void numbersKeepTheirValue()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        const JsonValue value = ParseJson(QStringLiteral("[%1]").arg(text));
        QCOMPARE(GetParserErrors(), QString());
        QCOMPARE(value[0].toDouble(), number);
        QCOMPARE(value[0].numberText(), text);
        // Copies keep the text; equal numbers compare equal whatever their text.
        const JsonValue copy = value;
        QCOMPARE(ToJson(copy), QStringLiteral("[%1]").arg(text));
        QVERIFY(copy[0] == JsonValue(number));
    }

    void memberOrderIsKept()
    {
        const JsonValue value = ParseJson(u"{\"z\":1,\"a\":2,\"m\":3,\"b\":4}");
        QCOMPARE(value.toObject().keys(), (QStringList{"z", "a", "m", "b"}));
    }

    void largeObjectsFindTheirMembers()
    {
        QString text = QStringLiteral("{");
        for (int i = 0; i < 200; ++i)
            text += QStringLiteral("\"k%1\":%1,").arg(i);
        text += QStringLiteral("\"k7\":0}");
        const JsonValue value = ParseJson(text);
        QCOMPARE(value.toObject().size(), 200);
        QCOMPARE(value[u"k150"].toDouble(), 150.0);
        QVERIFY(GetParserErrors().endsWith(QStringLiteral(": k7\r\n")));
    }

    void nestingUpToTheLimitIsRead()
    {
        const JsonValue value = ParseJson(nested(kJsonMaxDepth, "[", "]"));
        QCOMPARE(GetParserErrors(), QString());
        QVERIFY(value.isArray());
    }

    void deepNestingIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("one level too deep") << nested(kJsonMaxDepth + 1, "[", "]");
        QTest::newRow("100000 open brackets") << QString(100000, QLatin1Char('['));
        QTest::newRow("deep objects") << QStringLiteral("{\"a\":").repeated(50000);
        QTest::newRow("mixed, closed") << nested(30000, "[{\"k\":", "}]");
    }
    void deepNestingIsRefused()
    {
        QFETCH(QString, text);
        const JsonValue value = ParseJson(text);
        const QString errors = GetParserErrors();
        QVERIFY(errors.contains(QStringLiteral("JSON te diep genest")));
        QCOMPARE(errors.count(QStringLiteral("te diep")), 1);
        QVERIFY(!value.isEmpty());
        // What was read can be written, copied and released.
        QVERIFY(!ToJson(value).isEmpty());
        JsonValue copy = value;
        QCOMPARE(copy, value);
    }

    void manyBrokenLiteralsKeepTheErrorTextSmall()
    {
        // Each broken literal quotes the rest of the text, cut off after 200
        // characters: 20000 of them stay far below the text's square.
        QString text = QStringLiteral("{");
        for (int i = 0; i < 20000; ++i)
            text += QStringLiteral("\"k%1\":t,").arg(i);
        ParseJson(text);
        const QString errors = GetParserErrors();
        QCOMPARE(errors.count(QStringLiteral("Invalid Boolean")), 20000);
        QVERIFY(errors.size() < 20000 * 300);
        QVERIFY(errors.contains(QStringLiteral("...\r\n")));
    }

    void parseClearsEarlierErrors()
    {
        ParseJson(u"[tru]");
        QVERIFY(!GetParserErrors().isEmpty());
        ParseJson(u"[true]");
        QCOMPARE(GetParserErrors(), QString());
    }

    void brokenTextNeverHangs_data()
    {
        QTest::addColumn<QString>("text");
        for (const char* text : {"[",
                                 "{",
                                 "[\"",
                                 "{\"",
                                 "{\"a\"",
                                 "{\"a\":",
                                 "{,",
                                 "[,",
                                 "{:}",
                                 "[}",
                                 "{]",
                                 "[\\",
                                 "{'a",
                                 "{\"a\"\"b\":1}",
                                 "[1,{\"a\":[2,{\"b\":",
                                 "[/*",
                                 "[//",
                                 "[\"\\u",
                                 "{\"a\":nul",
                                 "[fals",
                                 "[1e",
                                 "[.e-]",
                                 "{\"a\"::1}",
                                 "{a b c}"})
            QTest::newRow(text) << QString::fromUtf8(text);
    }
    void brokenTextNeverHangs()
    {
        QFETCH(QString, text);
        ParseJson(text);
        QVERIFY(!GetParserErrors().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestJsonParser)
#include "test_jsonparser.moc"
