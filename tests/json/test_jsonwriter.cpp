#include "json/dutchlocale.h"
#include "json/json.h"

#include <QDate>
#include <QTest>

#include <limits>

using namespace supplink;

namespace {

JsonObject objectOf(std::initializer_list<std::pair<QString, JsonValue>> members)
{
    JsonObject object;
    for (const auto& [key, value] : members)
        object.insert(key, value);
    return object;
}

// Reads a text that stands inside a JSON string: wraps it as the value of a
// member, reads the outer document and then the member's text.
JsonValue readEmbedded(const QString& embedded)
{
    const JsonValue outer = ParseJson(QStringLiteral("{\"v\":\"") + embedded + QStringLiteral("\"}"));
    if (!GetParserErrors().isEmpty())
        return JsonValue();
    return ParseJson(outer[u"v"].toString());
}

} // namespace

class TestJsonWriter : public QObject
{
    Q_OBJECT

private slots:
    void toJson_data()
    {
        QTest::addColumn<JsonValue>("value");
        QTest::addColumn<QString>("json");

        QTest::newRow("empty array") << JsonValue(JsonArray()) << "[]";
        QTest::newRow("empty object") << JsonValue(JsonObject()) << "{}";
        QTest::newRow("literals") << JsonValue(JsonArray{true, false, nullptr}) << "[true,false,null]";
        QTest::newRow("no value is written as null") << JsonValue(JsonArray{JsonValue()}) << "[null]";
        QTest::newRow("member without a value")
            << JsonValue(objectOf({{"a", JsonValue()}, {"b", 1}})) << "{\"a\":null,\"b\":1}";
        QTest::newRow("slash and control character")
            << JsonValue(QStringLiteral("/\x01")) << "\"\\/\\u0001\"";
        QTest::newRow("named escapes")
            << JsonValue(QStringLiteral("\"\\\b\f\n\r\t")) << "\"\\\"\\\\\\b\\f\\n\\r\\t\"";
        QTest::newRow("non-ASCII") << JsonValue(QStringLiteral("é\x7f€")) << "\"\\u00E9\\u007F\\u20AC\"";
        QTest::newRow("keys are escaped")
            << JsonValue(objectOf({{"a\"b\\", 1}, {"é", 2}})) << "{\"a\\\"b\\\\\":1,\"\\u00E9\":2}";
        QTest::newRow("member order as added")
            << JsonValue(objectOf({{"z", 1}, {"a", JsonArray{1, "x"}}, {"m", objectOf({{"k", "v"}})}}))
            << "{\"z\":1,\"a\":[1,\"x\"],\"m\":{\"k\":\"v\"}}";
    }
    void toJson()
    {
        QFETCH(JsonValue, value);
        QFETCH(QString, json);
        QCOMPARE(ToJson(value), json);
        // What is written reads back to the same value (no value reads back as null).
        const JsonValue back = ParseJson(ToJson(JsonValue(JsonArray{value})));
        QCOMPARE(GetParserErrors(), QString());
        QCOMPARE(ToJson(back[0]), json);
    }

    void numbers_data()
    {
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("minus zero") << -0.0 << "-0";
        QTest::newRow("integer") << 123456789012.0 << "123456789012";
        QTest::newRow("fraction") << 1.5 << "1.5";
        QTest::newRow("negative fraction") << -12.5 << "-12.5";
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("third") << 1.0 / 3 << "0.3333333333333333";
        QTest::newRow("large integer") << 1e15 << "1000000000000000";
        QTest::newRow("very large") << 1e21 << "1e+21";
        QTest::newRow("small") << 0.0001 << "0.0001";
        QTest::newRow("very small") << 1.5e-8 << "1.5e-08";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "null";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "null";
    }
    void numbers()
    {
        QFETCH(double, number);
        QFETCH(QString, text);
        QCOMPARE(ToJson(JsonValue(number)), text);
        QCOMPARE(JsonNumberText(number), text);
    }

    void numbersIgnoreTheLocale()
    {
        test::DutchLocale dutch;
        if (!dutch.processLocaleIsDutch())
            qInfo("nl_NL is not available to the C library here: only Qt's default locale is Dutch");
        QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
        const JsonObject object = objectOf({{"n", 1.5}, {"s", QStringLiteral("a\"b")}, {"big", 1234567.25}});
        QCOMPARE(ToJson(JsonValue(object)),
                 QStringLiteral("{\"n\":1.5,\"s\":\"a\\\"b\",\"big\":1234567.25}"));
        QCOMPARE(ToEscapedJson(JsonValue(object)),
                 QStringLiteral("\\\"n\\\":1.5,\\\"s\\\":\\\"a\\\\\\\"b\\\",\\\"big\\\":1234567.25"));
    }

    void toEscapedJson_data()
    {
        QTest::addColumn<JsonValue>("value");
        QTest::addColumn<QString>("escaped");

        QTest::newRow("collection of texts")
            << JsonValue(JsonArray{"a", "b\"c"}) << "\\\"a\\\",\\\"b\\\\\\\"c\\\"";
        QTest::newRow("object without braces")
            << JsonValue(objectOf({{"k", "v"}, {"n", 2}})) << "\\\"k\\\":\\\"v\\\",\\\"n\\\":2";
        QTest::newRow("text") << JsonValue(QStringLiteral("x\\y/z")) << "\\\"x\\\\\\\\y\\\\\\/z\\\"";
        QTest::newRow("line break and unicode")
            << JsonValue(QStringLiteral("a\né")) << "\\\"a\\\\\\n\\u00E9\\\"";
        QTest::newRow("nested containers keep their brackets")
            << JsonValue(JsonArray{objectOf({{"a", 1}}), JsonArray{2, "t"}}) << "{\\\"a\\\":1},[2,\\\"t\\\"]";
        QTest::newRow("nested object in an object")
            << JsonValue(objectOf({{"o", objectOf({{"x", "y"}})}})) << "\\\"o\\\":{\\\"x\\\":\\\"y\\\"}";
        QTest::newRow("scalars") << JsonValue(JsonArray{1.5, true, nullptr, JsonValue()})
                                 << "1.5,true,null,null";
        QTest::newRow("empty collection") << JsonValue(JsonArray()) << "";
    }
    void toEscapedJson()
    {
        QFETCH(JsonValue, value);
        QFETCH(QString, escaped);
        QCOMPARE(ToEscapedJson(value), escaped);
    }

    void escapedTextReadsBackInsideAString_data()
    {
        QTest::addColumn<JsonValue>("value");
        const QString awkward = QStringLiteral("q\"b\\s/n\nt\té\x01");
        QTest::newRow("texts") << JsonValue(JsonArray{awkward, "", "plain"});
        QTest::newRow("objects and arrays") << JsonValue(
            JsonArray{objectOf({{awkward, awkward}, {"n", -2.5}}), JsonArray{JsonArray{1}, nullptr}});
        // The options form: a list of texts that each hold an object.
        QTest::newRow("entries escaped twice")
            << JsonValue(JsonArray{ToJson(JsonValue(objectOf({{"fkArticle", "K\"1"}, {"Position", "2"}}))),
                                   ToJson(JsonValue(objectOf({{"fkArticle", awkward}})))});
    }
    void escapedTextReadsBackInsideAString()
    {
        QFETCH(JsonValue, value);
        const QString embedded = QLatin1Char('[') + ToEscapedJson(value) + QLatin1Char(']');
        const JsonValue back = readEmbedded(embedded);
        QCOMPARE(GetParserErrors(), QString());
        QCOMPARE(back, value);
    }

    void fromVariant()
    {
        test::DutchLocale dutch;
        const QVariantList grid{QVariantList{1, 2}, QVariantList{3, 4.5}};
        QCOMPARE(ToJson(JsonFromVariant(grid)), QStringLiteral("[[1,2],[3,4.5]]"));
        QCOMPARE(ToJson(JsonFromVariant(QVariant())), QStringLiteral("null"));
        QCOMPARE(ToJson(JsonFromVariant(QVariant(qint64(1) << 40))), QStringLiteral("1099511627776"));
        QCOMPARE(ToJson(JsonFromVariant(QVariantMap{{"b", true}, {"a", "x"}})),
                 QStringLiteral("{\"a\":\"x\",\"b\":true}"));
        const QDate date(2024, 3, 9);
        QCOMPARE(ToJson(JsonFromVariant(date)),
                 QLatin1Char('"') + QLocale().toString(date, QLocale::ShortFormat) + QLatin1Char('"'));
    }

    void objectsAndArraysAreValues()
    {
        JsonObject object = objectOf({{"a", 1}});
        QVERIFY(!object.add("a", 2));
        QCOMPARE(object[u"a"].toDouble(), 1.0);
        object.insert("a", 3);
        object.insert("b", 4);
        QCOMPARE(object.keys(), (QStringList{"a", "b"}));
        QCOMPARE(object[u"a"].toDouble(), 3.0);

        const JsonValue original(object);
        JsonValue copy = original;
        copy.asObject()->insert("c", 5);
        copy.asObject()->remove(u"a");
        QCOMPARE(ToJson(original), QStringLiteral("{\"a\":3,\"b\":4}"));
        QCOMPARE(ToJson(copy), QStringLiteral("{\"b\":4,\"c\":5}"));

        JsonObject big;
        for (int i = 0; i < 100; ++i)
            QVERIFY(big.add(QString::number(i), i));
        QVERIFY(!big.add("42", 0));
        QVERIFY(big.remove(u"10"));
        QCOMPARE(big[u"99"].toDouble(), 99.0);
        QCOMPARE(big.indexOf(u"99"), 98);
        QVERIFY(!big.contains(u"10"));
    }
};

QTEST_GUILESS_MAIN(TestJsonWriter)
#include "test_jsonwriter.moc"
