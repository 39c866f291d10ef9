#include "support/recordinguiservices.h"
#include "json/cjsonscript.h"
#include "json/json.h"

#include <QTest>

using namespace supplink;

namespace {

// A command that nests "return" inside the given number of "if" branches: the
// outer if, each branch and the innermost return object are one ExecCommand
// call in progress each, levels + 1 in all.
QString nestedIfs(int levels)
{
    QString script = QStringLiteral("{\"return\":\"deep\"}");
    for (int i = 0; i < levels; ++i)
        script = QStringLiteral("{\"if\":{\"value1\":\"a\",\"value2\":\"a\",\"type\":\"eq\",\"true\":%1}}")
                     .arg(script);
    return script;
}

} // namespace

class TestJsonScript : public QObject
{
    Q_OBJECT

private slots:
    void eval_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("output");

        QTest::newRow("text, null and a case-insensitive if")
            << "[\"a\", null, "
               "{\"if\":{\"value1\":\"b\",\"value2\":\"B\",\"type\":\"eq\",\"true\":\"yes\",\"false\":\"no\"}"
               "}]"
            << "anullyes";
        QTest::newRow("gt compares texts") << "[{\"if\":{\"value1\":\"10\",\"value2\":\"9\",\"type\":\"gt\","
                                              "\"true\":\"y\",\"false\":\"n\"}}]"
                                           << "n";
        QTest::newRow("lt, gte, lte")
            << "[{\"if\":{\"value1\":\"a\",\"value2\":\"b\",\"type\":\"LT\",\"true\":\"1\",\"false\":\"0\"}},"
               "\n                                              "
               "{\"if\":{\"value1\":\"b\",\"value2\":\"b\",\"type\":\"gte\",\"true\":\"1\",\"false\":\"0\"}},"
               "\n                                              "
               "{\"if\":{\"value1\":\"c\",\"value2\":\"b\",\"type\":\"lte\",\"true\":\"1\",\"false\":\"0\"}}]"
            << "110";
        QTest::newRow("unknown comparison takes the false branch")
            << "[{\"if\":{\"value1\":\"a\",\"value2\":\"a\",\"type\":\"same\",\"true\":\"y\",\"false\":\"n\"}"
               "}]"
            << "n";
        QTest::newRow("switch without a match gives the default")
            << "[{\"switch\":{\"case\":\"z\",\"default\":\"dflt\",\"items\":[{\"case\":\"a\",\"return\":"
               "\"A\"}]}}]"
            << "dflt";
        QTest::newRow("switch takes the first match, ignoring case")
            << "[{\"switch\":{\"case\":\"B\",\"default\":\"d\",\"items\":[{\"case\":\"a\",\"return\":\"A\"},{"
               "\"case\":\"b\",\"return\":\"B1\"},{\"case\":\"B\",\"return\":\"B2\"}]}}]"
            << "B1";
        QTest::newRow("set then get")
            << "[{\"set\":{\"name\":\"x\",\"value\":\"y\"}},{\"get\":{\"name\":\"x\"}}]"
            << "y";
        QTest::newRow("get of an unset name gives the default")
            << "[{\"get\":{\"name\":\"nothing\",\"default\":\"fallback\"}}]"
            << "fallback";
        QTest::newRow("unknown command is kept as a placeholder") << "[{\"plot\":{\"a\":1,\"b\":2}}]"
                                                                  << "<%PLOT(1,2)%>";
        QTest::newRow("unknown command without arguments") << "[{\"plot\":\"x\"}]"
                                                           << "";
        QTest::newRow("command names ignore case") << "[{\"RETURN\":\"r\"}]"
                                                   << "r";
        QTest::newRow("several commands in one object") << "[{\"return\":\"a\",\"Return\":\"b\"}]"
                                                        << "ab";
        QTest::newRow("nested arrays are concatenated") << "[[\"a\",[\"b\",\"c\"]],\"d\"]"
                                                        << "abcd";
        QTest::newRow("numbers and Booleans as arguments")
            << "[{\"if\":{\"value1\":1.5,\"value2\":\"1.5\",\"type\":\"eq\",\"true\":true,\"false\":false}}]"
            << "true";
        QTest::newRow("number element is reported")
            << "[\"a\",5,true]"
            << "aERROR: Ongeldig element in het script: 5.ERROR: Ongeldig element in het script: true.";
        QTest::newRow("41 calls complete") << QStringLiteral("[%1]").arg(nestedIfs(40)) << "deep";
    }
    void eval()
    {
        QFETCH(QString, script);
        QFETCH(QString, output);
        test::RecordingUiServices ui;
        cJSONScript runner;
        QCOMPARE(runner.Eval(script), output);
        QVERIFY(ui.messages.isEmpty());
    }

    void nestingLimit()
    {
        test::RecordingUiServices ui;
        cJSONScript runner;
        // 41 calls in progress at the deepest point.
        QCOMPARE(runner.ExecCommand(ParseJson(nestedIfs(40))), QStringLiteral("deep"));
        // One more level: the 42nd call gives the error in place of its output.
        QCOMPARE(runner.ExecCommand(ParseJson(nestedIfs(41))),
                 QStringLiteral("ERROR: Nesting level exceeded."));
        // The level is back to zero afterwards.
        QCOMPARE(runner.ExecCommand(ParseJson(u"{\"return\":\"ok\"}")), QStringLiteral("ok"));
    }

    void variablesSurviveEval()
    {
        test::RecordingUiServices ui;
        cJSONScript runner;
        QCOMPARE(runner.Eval("[{\"set\":{\"name\":\"x\",\"value\":\"kept\"}}]"), QString());
        QCOMPARE(runner.Eval("[{\"get\":{\"name\":\"x\",\"default\":\"lost\"}}]"), QStringLiteral("kept"));
        cJSONScript other;
        QCOMPARE(other.Eval("[{\"get\":{\"name\":\"x\",\"default\":\"lost\"}}]"), QStringLiteral("lost"));
    }

    void alertAndInputGoThroughTheUi()
    {
        test::RecordingUiServices ui;
        ui.inputAnswers.enqueue(QStringLiteral("typed"));
        ui.inputAnswers.enqueue(std::nullopt);
        cJSONScript runner;
        const QString output =
            runner.Eval("[{\"alert\":{\"message\":\"Hallo\",\"title\":\"Titel\"}},\n                "
                        "{\"input\":{\"prompt\":\"Naam?\",\"title\":{\"return\":\"T\"},\"default\":\"d\"}},"
                        "\n                \"|\",\n                {\"input\":{\"prompt\":\"Nog een?\"}}]");
        QCOMPARE(output, QStringLiteral("typed|"));
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].text, QStringLiteral("Hallo"));
        QCOMPARE(ui.messages[0].title, QStringLiteral("Titel"));
        QCOMPARE(MsgBox::icon(ui.messages[0].style), int(MsgBox::Information));
        QCOMPARE(ui.inputs.size(), 2);
        QCOMPARE(ui.inputs[0].prompt, QStringLiteral("Naam?"));
        QCOMPARE(ui.inputs[0].title, QStringLiteral("T"));
        QCOMPARE(ui.inputs[0].defaultText, QStringLiteral("d"));
    }

    void badScriptsAreReported_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("message");
        QTest::newRow("not JSON") << "hello"
                                  << "Invalid JSON";
        QTest::newRow("broken") << "[\"a\""
                                << "Missing ']': [\"a\"\r\n";
        QTest::newRow("an object, not a list")
            << "{\"return\":\"x\"}"
            << "Het script moet een lijst van opdrachten zijn (beginnen met \"[\").";
    }
    void badScriptsAreReported()
    {
        QFETCH(QString, script);
        QFETCH(QString, message);
        test::RecordingUiServices ui;
        cJSONScript runner;
        QCOMPARE(runner.Eval(script), QString());
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].text, message);
        QCOMPARE(ui.messages[0].title, QStringLiteral("Parser Error"));
        QCOMPARE(MsgBox::icon(ui.messages[0].style), int(MsgBox::Exclamation));
    }
};

QTEST_GUILESS_MAIN(TestJsonScript)
#include "test_jsonscript.moc"
