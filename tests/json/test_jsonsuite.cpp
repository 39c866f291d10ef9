// The public JSON parsing test suite (json-test-suite/test_parsing): documents
// that must be accepted (y_), rejected (n_) or are left to the reader (i_).
#include "support/testenvironment.h"
#include "json/json.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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

// Documents the suite counts as invalid that this reader accepts without a
// complaint, by design (see JsonParser in json/json.h), with the reason. Every
// other n_ document must give a parser error; each listed one must still read
// without one, so that the list stays true.
const char* const kTrailingText = "text after the top-level value is not looked at";
const char* const kCommas = "commas are optional, and one before a value or member is stepped over";
const char* const kFiller = "round brackets, comments and a lone / or * are filler between values";
const char* const kUnquotedKey = "a key may stand without quotes, up to its colon";
const char* const kSingleQuotes = "texts and keys may stand between single quotes";
const char* const kNumber =
    "a number is the run of the characters +-0123456789.eE, read as a decimal number with a point "
    "(a plus sign, leading zeros and a missing whole or fractional part are allowed)";
const char* const kEscape = "an unknown escape drops its backslash; \\u reads the hexadecimal digits that "
                            "follow (0 without any) as one UTF-16 unit";
const char* const kRawCharacters = "control characters and line breaks stand in a text as they are";

const QHash<QString, const char*>& acceptedInvalid()
{
    static const QHash<QString, const char*> list = {
        {QStringLiteral("n_array_1_true_without_comma.json"), kCommas},
        {QStringLiteral("n_array_comma_after_close.json"), kTrailingText},
        {QStringLiteral("n_array_comma_and_number.json"), kCommas},
        {QStringLiteral("n_array_extra_close.json"), kTrailingText},
        {QStringLiteral("n_array_inner_array_no_comma.json"), kCommas},
        {QStringLiteral("n_array_missing_value.json"), kCommas},
        {QStringLiteral("n_array_star_inside.json"), kFiller},
        {QStringLiteral("n_number_+1.json"), kNumber},
        {QStringLiteral("n_number_-01.json"), kNumber},
        {QStringLiteral("n_number_-2..json"), kNumber},
        {QStringLiteral("n_number_.2e-3.json"), kNumber},
        {QStringLiteral("n_number_0.e1.json"), kNumber},
        {QStringLiteral("n_number_1_000.json"), kCommas}, // "1 000" is two numbers
        {QStringLiteral("n_number_2.e+3.json"), kNumber},
        {QStringLiteral("n_number_2.e-3.json"), kNumber},
        {QStringLiteral("n_number_2.e3.json"), kNumber},
        {QStringLiteral("n_number_neg_int_starting_with_zero.json"), kNumber},
        {QStringLiteral("n_number_neg_real_without_int_part.json"), kNumber},
        {QStringLiteral("n_number_real_without_fractional_part.json"), kNumber},
        {QStringLiteral("n_number_starting_with_dot.json"), kNumber},
        {QStringLiteral("n_number_with_leading_zero.json"), kNumber},
        {QStringLiteral("n_object_bracket_key.json"), kUnquotedKey},
        {QStringLiteral("n_object_key_with_single_quotes.json"), kSingleQuotes},
        {QStringLiteral("n_object_missing_key.json"), kUnquotedKey}, // the empty key
        {QStringLiteral("n_object_non_string_key.json"), kUnquotedKey},
        {QStringLiteral("n_object_non_string_key_but_huge_number_instead.json"), kUnquotedKey},
        {QStringLiteral("n_object_single_quote.json"), kSingleQuotes},
        {QStringLiteral("n_object_trailing_comment.json"), kTrailingText},
        {QStringLiteral("n_object_trailing_comment_open.json"), kTrailingText},
        {QStringLiteral("n_object_trailing_comment_slash_open.json"), kTrailingText},
        {QStringLiteral("n_object_trailing_comment_slash_open_incomplete.json"), kTrailingText},
        {QStringLiteral("n_object_two_commas_in_a_row.json"), kUnquotedKey}, // the key ",c"
        {QStringLiteral("n_object_unquoted_key.json"), kUnquotedKey},
        {QStringLiteral("n_object_with_trailing_garbage.json"), kTrailingText},
        {QStringLiteral("n_string_backslash_00.json"), kEscape},
        {QStringLiteral("n_string_escape_x.json"), kEscape},
        {QStringLiteral("n_string_escaped_ctrl_char_tab.json"), kEscape},
        {QStringLiteral("n_string_escaped_emoji.json"), kEscape},
        {QStringLiteral("n_string_incomplete_surrogate_escape_invalid.json"), kEscape},
        {QStringLiteral("n_string_invalid_backslash_esc.json"), kEscape},
        {QStringLiteral("n_string_invalid_unicode_escape.json"), kEscape},
        {QStringLiteral("n_string_invalid_utf8_after_escape.json"), kEscape},
        {QStringLiteral("n_string_single_quote.json"), kSingleQuotes},
        {QStringLiteral("n_string_unescaped_ctrl_char.json"), kRawCharacters},
        {QStringLiteral("n_string_unescaped_newline.json"), kRawCharacters},
        {QStringLiteral("n_string_unescaped_tab.json"), kRawCharacters},
        {QStringLiteral("n_structure_array_trailing_garbage.json"), kTrailingText},
        {QStringLiteral("n_structure_array_with_extra_array_close.json"), kTrailingText},
        {QStringLiteral("n_structure_double_array.json"), kTrailingText},
        {QStringLiteral("n_structure_object_followed_by_closing_object.json"), kTrailingText},
        {QStringLiteral("n_structure_object_with_comment.json"), kFiller},
        {QStringLiteral("n_structure_object_with_trailing_garbage.json"), kTrailingText},
        {QStringLiteral("n_structure_trailing_#.json"), kTrailingText},
    };
    return list;
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
        const QString name = QFileInfo(path).fileName();
        const JsonValue value = ParseJson(readText(path));
        const QString errors = GetParserErrors();
        if (const char* reason = acceptedInvalid().value(name)) {
            QVERIFY2(errors.isEmpty(), qPrintable(QStringLiteral("listed as accepted (%1), but: %2")
                                                      .arg(QLatin1String(reason), errors)));
            QVERIFY(value.isObject() || value.isArray());
        } else {
            QVERIFY2(!errors.isEmpty(), qPrintable(QStringLiteral("read without an error as %1")
                                                       .arg(ToJson(value).left(200))));
        }
        checkWrittenTextRereads(value);
    }

    // Every document on the list is in the suite: a name that has gone does not pass unseen.
    void acceptedInvalidListed()
    {
        if (suiteFolder().isEmpty())
            QSKIP("json-test-suite not present");
        for (auto it = acceptedInvalid().begin(); it != acceptedInvalid().end(); ++it)
            QVERIFY2(QFile::exists(QDir(suiteFolder()).filePath(it.key())), qPrintable(it.key()));
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
