// Reads any text as JSON and checks that what was read writes out as JSON that
// reads back without complaint to the same text, plainly and embedded in a
// string; also runs the text as a command script and merges it as hardware
// combination data.
#include "platform/uiservices.h"
#include "transfer/jsonmerge.h"
#include "json/cjsonscript.h"
#include "json/json.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace supplink;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Answers every question of a script with its default, without a word.
class SilentUi final : public UiServices
{
public:
    int messageBox(const QString&, int, const QString&) override { return MsgBox::Ok; }
    std::optional<QString> inputBox(const QString&, const QString&, const QString& defaultText) override
    {
        return defaultText;
    }
    QStringList fileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<QString> browseForFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
    std::optional<qint32> pickOne(const PickOneRequest&) override { return std::nullopt; }
    void showErrorWindow(const ErrorWindowContent&) override {}
};

// The first byte chooses how the rest is read: as UTF-8, or as raw UTF-16
// code units (which reaches lone surrogates and every control character).
QString textOf(const uint8_t* data, size_t size)
{
    if (size == 0)
        return {};
    if (data[0] & 1)
        return QString(reinterpret_cast<const QChar*>(data + 1), qsizetype((size - 1) / 2));
    return QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SilentUi silent;
    setUiServices(&silent);
    const QString text = textOf(data, size);

    const JsonValue value = ParseJson(text);
    if (!value.isEmpty()) {
        check(value.isObject() || value.isArray());
        const QString written = ToJson(value);
        const JsonValue again = ParseJson(written);
        check(GetParserErrors().isEmpty());
        check(ToJson(again) == written);

        const QString inner = value.isArray() ? QLatin1Char('[') + ToEscapedJson(value) + QLatin1Char(']')
                                              : QLatin1Char('{') + ToEscapedJson(value) + QLatin1Char('}');
        const JsonValue outer = ParseJson(QStringLiteral("[\"") + inner + QStringLiteral("\"]"));
        check(GetParserErrors().isEmpty());
        const JsonValue embedded = ParseJson(outer[0].toString());
        check(GetParserErrors().isEmpty());
        check(ToJson(embedded) == written);
    }

    cJSONScript script;
    script.Eval(text);

    // The text up to its first line break as the stored data, the rest as the new.
    const qsizetype split = text.indexOf(QLatin1Char('\n'));
    if (split >= 0) {
        QString errorText;
        const QString merged = MergeJSONFieldLibrary(text.left(split), text.mid(split + 1), errorText);
        check(merged.isEmpty() != errorText.isEmpty());
        if (!merged.isEmpty()) {
            ParseJson(merged);
            check(GetParserErrors().isEmpty());
        }
    }
    return 0;
}
