#include "transfer/jsonmerge.h"
#include "json/dutchlocale.h"
#include "json/json.h"

#include <QTest>

using namespace supplink;

namespace {

const QString kRoutine = QStringLiteral("clsImportTabelNaarSQLiteTabel.MergeJSONFieldLibrary");

const QString kStored35 = QStringLiteral("{\"Polygon\":9,\"Lim_min_W\":9,\"Lim_min_H\":9,\"Lim_min_A\":9,"
                                         "\"Lim_max_W\":9,\"Lim_max_H\":9,\"Lim_max_A\":9,"
                                         "\"ArtUsages\":[{\"a\":1}],\"ActUsages\":[2],\"RefUsages\":[\"r\"],"
                                         "\"LHArticles\":[{\"fkArticle\":\"OLD\"}],\"Extra\":1}");

QString new35(const QString& minH = QStringLiteral("12.5"))
{
    return QStringLiteral("{\"Extra2\":true,\"LHArticles\":[{\"fkArticle\":\"K1\",\"Position\":1}],"
                          "\"RefUsages\":[\"x\"],"
                          "\"Polygon\":1,\"Lim_min_W\":0,\"Lim_min_H\":%1,\"Lim_min_A\":0,\"Lim_max_W\":1000,"
                          "\"Lim_max_H\":2000,\"Lim_max_A\":-5,\"ArtUsages\":[],\"ActUsages\":[]}")
        .arg(minH);
}

QString merged35(const QString& minH = QStringLiteral("12.5"))
{
    return QStringLiteral(
               "{\"Polygon\":1,\"Lim_min_W\":0,\"Lim_min_H\":%1,\"Lim_min_A\":0,\"Lim_max_W\":1000,"
               "\"Lim_max_H\":2000,\"Lim_max_A\":-5,\"ArtUsages\":[{\"a\":1}],\"ActUsages\":[2],"
               "\"RefUsages\":[\"r\"],\"LHArticles\":[{\"fkArticle\":\"K1\",\"Position\":1}]}")
        .arg(minH);
}

QString failure(const QString& layout, const QString& existing, const QString& newText)
{
    return kRoutine + layout + QStringLiteral("\r\nExisting=") + existing + QStringLiteral("\r\nNew= ") +
           newText;
}

} // namespace

class TestJsonMerge : public QObject
{
    Q_OBJECT

private slots:
    void merge_data()
    {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("failedIn"); // "35", "34" or empty for success

        const QString options = LocksHingesData::OptionsTemplate();
        const QString stored34 = QStringLiteral("{\"LHArticles\":[{\"fkArticle\":\"OLD\"}],\"RefUsages\":[1],"
                                                "\"ArtUsages\":[{\"k\":\"v\"}],\"ActUsages\":[],\"X\":0}");

        QTest::newRow("3.5: limits and articles from new, usages kept")
            << kStored35 << new35() << merged35() << "";
        QTest::newRow("3.5: a limit of 12.5 is written back as 12.5")
            << kStored35 << new35("12.5") << merged35("12.5") << "";
        QTest::newRow("3.5: a limit as a numeric text is written as read")
            << kStored35 << new35("\"12\"") << merged35("\"12\"") << "";
        QTest::newRow("3.5: a Boolean limit converts")
            << kStored35 << new35("true") << merged35("true") << "";
        QTest::newRow("3.5: a limit beyond 32 bits fails") << kStored35 << new35("3e9") << ""
                                                           << "35";
        QTest::newRow("3.5: a non-numeric text limit fails") << kStored35 << new35("\"hoog\"") << ""
                                                             << "35";
        QTest::newRow("3.5: a null limit fails") << kStored35 << new35("null") << ""
                                                 << "35";
        QTest::newRow("3.5: a missing limit fails")
            << kStored35 << QString(new35()).remove(QStringLiteral("\"Lim_min_A\":0,")) << ""
            << "35";
        QTest::newRow("3.5: stored options layout fails") << options << new35() << ""
                                                          << "35";
        QTest::newRow("3.5: empty stored text fails") << "" << new35() << ""
                                                      << "35";
        QTest::newRow("3.5: articles that are no array fail")
            << kStored35
            << QString(new35()).replace(QStringLiteral("[{\"fkArticle\":\"K1\",\"Position\":1}]"), "\"[]\"")
            << ""
            << "35";
        QTest::newRow("3.5: cut-off new text fails") << kStored35 << new35().chopped(2) << ""
                                                     << "35";
        QTest::newRow("3.5: chosen by lower-case lim_min_h, keys then exact")
            << kStored35 << "{\"polygon\":1,\"lim_min_h\":0,\"LHArticles\":[]}"
            << ""
            << "35";

        // Every number is written back as it was read.
        QTest::newRow("3.5: a usage value with more digits than a double holds is kept")
            << QString(kStored35).replace(QStringLiteral("[2]"), QStringLiteral("[123456789012.3456789]"))
            << new35()
            << QString(merged35()).replace(QStringLiteral("[2]"), QStringLiteral("[123456789012.3456789]"))
            << "";
        QTest::newRow("3.5: a limit of 12.50 keeps its zero")
            << kStored35 << new35("12.50") << merged35("12.50") << "";
        QTest::newRow("3.5: a usage value beyond the decimal range fails")
            << QString(kStored35).replace(QStringLiteral("[2]"), QStringLiteral("[1e29]")) << new35() << ""
            << "35";

        QTest::newRow("3.4: texts are written as read, without escapes")
            << QStringLiteral("{\"ArtUsages\":\"M8/10\",\"ActUsages\":\"Größe\",\"RefUsages\":\"a\\u00e9/\"}")
            << "{\"LHArticles\":\"[]\"}"
            << QStringLiteral("{\"ArtUsages\":\"M8/10\",\"ActUsages\":\"Größe\",\"RefUsages\":\"aé/\","
                              "\"LHArticles\":\"[]\"}")
            << "";
        QTest::newRow("3.4: quotes, backslashes and control characters in a text are escaped")
            << QStringLiteral(
                   "{\"ArtUsages\":\"[\\\"a\\\\b\\\"]\",\"ActUsages\":\"x\\ty\",\"RefUsages\":\"[]\"}")
            << "{\"LHArticles\":[]}"
            << QStringLiteral(
                   "{\"ArtUsages\":\"[\\\"a\\\\b\\\"]\",\"ActUsages\":\"x\\u0009y\",\"RefUsages\":\"[]\","
                   "\"LHArticles\":[]}")
            << "";
        QTest::newRow("3.4: escapes at both ends of a text and side by side")
            << QStringLiteral("{\"ArtUsages\":\"\\\"a\\u001F\\\\\",\"ActUsages\":\"\\n\\\"\\\"\","
                              "\"RefUsages\":\"\\\\\"}")
            << "{\"LHArticles\":\"[]\"}"
            << QStringLiteral("{\"ArtUsages\":\"\\\"a\\u001f\\\\\",\"ActUsages\":\"\\u000a\\\"\\\"\","
                              "\"RefUsages\":\"\\\\\",\"LHArticles\":\"[]\"}")
            << "";
        QTest::newRow("3.4: numbers in the lists are kept")
            << "{\"ArtUsages\":[123456789012.3456789],\"ActUsages\":[1e3],\"RefUsages\":[0.10]}"
            << "{\"LHArticles\":[{\"Position\":2.50}]}"
            << "{\"ArtUsages\":[123456789012.3456789],\"ActUsages\":[1e3],\"RefUsages\":[0.10],"
               "\"LHArticles\":[{\"Position\":2.50}]}"
            << "";

        QTest::newRow("3.4: options template keeps its texts, array written")
            << options << "{\"LHArticles\":[{\"fkArticle\":\"K1\"}]}"
            << "{\"ArtUsages\":\"[]\",\"ActUsages\":\"[]\",\"RefUsages\":\"[]\",\"LHArticles\":[{"
               "\"fkArticle\":\"K1\"}]}"
            << "";
        QTest::newRow("3.4: fixed order, other members dropped")
            << stored34 << "{\"Z\":1,\"LHArticles\":[{\"fkArticle\":\"NEW\"}],\"ArtUsages\":[9]}"
            << "{\"ArtUsages\":[{\"k\":\"v\"}],\"ActUsages\":[],\"RefUsages\":[1],\"LHArticles\":[{"
               "\"fkArticle\":\"NEW\"}]}"
            << "";
        QTest::newRow("3.4: chosen by new even when the stored text has limits")
            << kStored35 << "{\"LHArticles\":[]}"
            << "{\"ArtUsages\":[{\"a\":1}],\"ActUsages\":[2],\"RefUsages\":[\"r\"],\"LHArticles\":[]}"
            << "";
        QTest::newRow("3.4: articles as a text") << options << options << options << "";
        QTest::newRow("3.4: empty stored text fails") << "" << options << ""
                                                      << "34";
        QTest::newRow("3.4: a missing usage list fails")
            << "{\"ArtUsages\":[],\"ActUsages\":[]}" << options << ""
            << "34";
        QTest::newRow("3.4: a number for a list fails") << options << "{\"LHArticles\":5}"
                                                        << ""
                                                        << "34";
        QTest::newRow("3.4: stored text that is not an object fails") << "[1,2]" << options << ""
                                                                      << "34";
        QTest::newRow("3.4: broken stored text fails")
            << "{\"ArtUsages\":[],\"ArtUsages\":[]}" << options << ""
            << "34";
    }
    void merge()
    {
        QFETCH(QString, existing);
        QFETCH(QString, newText);
        QFETCH(QString, result);
        QFETCH(QString, failedIn);
        QString errorText = QStringLiteral("left over");
        const QString merged = MergeJSONFieldLibrary(existing, newText, errorText);
        if (failedIn.isEmpty()) {
            QCOMPARE(errorText, QString());
            QCOMPARE(merged, result);
            QCOMPARE(ParseJson(merged).toObject().keys(), merged.contains(QLatin1StringView("Lim_min_H"))
                                                              ? LocksHingesData::Layout35Keys()
                                                              : LocksHingesData::Layout34Keys());
            QCOMPARE(GetParserErrors(), QString());
        } else {
            QCOMPARE(merged, QString());
            QCOMPARE(errorText, failure(failedIn, existing, newText));
        }
    }

    void textListsReadBackToTheSameText()
    {
        // A usage list held as a text with quotes and backslashes.
        const QString awkward = QStringLiteral("[\"a\\\"b\",\"c\\\\d\"]");
        JsonObject stored;
        stored.insert("ArtUsages", awkward);
        stored.insert("ActUsages", "[]");
        stored.insert("RefUsages", "[]");
        QString errorText;
        const QString merged = MergeJSONFieldLibrary34(ToJson(JsonValue(stored)),
                                                       QStringLiteral("{\"LHArticles\":\"[]\"}"), errorText);
        QCOMPARE(errorText, QString());
        const JsonValue back = ParseJson(merged);
        QCOMPARE(GetParserErrors(), QString());
        QCOMPARE(back[u"ArtUsages"].toString(), awkward);
        QCOMPARE(ParseJson(back[u"ArtUsages"].toString())[0].toString(), QStringLiteral("a\"b"));
    }

    void numbersIgnoreTheLocale()
    {
        test::DutchLocale dutch;
        QString errorText;
        QCOMPARE(MergeJSONFieldLibrary(kStored35, new35("12.5"), errorText), merged35("12.5"));
        QCOMPARE(MergeJSONFieldLibrary(kStored35, new35("1e2"), errorText), merged35("1e2"));
    }

    void layoutKeys()
    {
        QCOMPARE(LocksHingesData::Layout35Keys().size(), 11);
        QCOMPARE(LocksHingesData::LibraryArticleKeys().size(), 22);
        QCOMPARE(LocksHingesData::OptionsArticleKeys().size(), 20);
        const JsonValue options = ParseJson(LocksHingesData::OptionsTemplate());
        QCOMPARE(options.toObject().keys(), LocksHingesData::Layout34Keys());
        for (const QString& key : LocksHingesData::Layout34Keys())
            QCOMPARE(options[key].toString(), QStringLiteral("[]"));
    }
};

QTEST_GUILESS_MAIN(TestJsonMerge)
#include "test_jsonmerge.moc"
