#include "transfer/jsonmerge.h"

#include "json/json.h"

#include <cmath>
#include <exception>

namespace supplink {

namespace {

// Data that cannot be merged (the caller's error text says which).
struct MergeFailure : std::exception
{
    const char* what() const noexcept override { return "JSON data cannot be merged"; }
};

QString failureText(const char* routine, const QString& existing, const QString& newText)
{
    return QString::fromLatin1(routine) + QStringLiteral("\r\nExisting=") + existing +
           QStringLiteral("\r\nNew= ") + newText;
}

// The text as an object; a text that does not read cleanly as an object fails
// the merge, so that broken or cut-off data never replaces a stored record.
JsonObject parseObject(const QString& text)
{
    const JsonValue value = ParseJson(text);
    if (!value.isObject() || !GetParserErrors().isEmpty())
        throw MergeFailure{};
    return value.toObject();
}

const JsonValue& arrayMember(const JsonObject& object, const QString& key)
{
    const JsonValue& value = object.value(key);
    if (!value.isArray())
        throw MergeFailure{};
    return value;
}

// The value must convert to a 32-bit integer (a number rounds, a text must
// hold a number, a Boolean counts as -1 or 0). A missing member fails: writing
// it would leave its key without a value.
void checkLong(const JsonValue& value)
{
    double number = 0;
    switch (value.type()) {
    case JsonValue::Type::Bool:
        return;
    case JsonValue::Type::Number:
        number = value.toDouble();
        break;
    case JsonValue::Type::String: {
        bool ok = false;
        number = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw MergeFailure{};
        break;
    }
    default:
        throw MergeFailure{};
    }
    const double rounded = std::nearbyint(number);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw MergeFailure{};
}

// A text between double quotes as it was read: only what JSON cannot hold
// as it is (a double quote, a backslash, a control character) is escaped, so
// that "M8/10" and "Größe" are written unchanged. Written straight into a
// text of its final length (a list held in a text escapes every quote of its
// own, so appending piece by piece costs more than the copy itself).
QString textAsRead(const QString& text)
{
    const char16_t* const begin = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = begin + text.size();
    qsizetype extra = 0;
    for (const char16_t* p = begin; p != end; ++p) {
        if (*p == u'"' || *p == u'\\')
            extra += 1;
        else if (*p < 32)
            extra += 5;
    }
    QString out(text.size() + extra + 2, Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    *d++ = u'"';
    for (const char16_t* p = begin; p != end; ++p) {
        const char16_t c = *p;
        if (c == u'"' || c == u'\\') {
            *d++ = u'\\';
            *d++ = c;
        } else if (c < 32) {
            static const char16_t digits[] = u"0123456789abcdef";
            *d++ = u'\\';
            *d++ = u'u';
            *d++ = u'0';
            *d++ = u'0';
            *d++ = digits[c >> 4];
            *d++ = digits[c & 15];
        } else {
            *d++ = c;
        }
    }
    *d++ = u'"';
    Q_ASSERT(d == reinterpret_cast<char16_t*>(out.data()) + out.size());
    return out;
}

} // namespace

QString MergeJSONFieldLibrary(const QString& existing, const QString& newText, QString& errorText)
{
    try {
        // Looked for without an upper-case copy of the whole text (a Data text holds every article).
        if (newText.contains(QLatin1StringView("LIM_MIN_H"), Qt::CaseInsensitive))
            return MergeJSONFieldLibrary35(existing, newText, errorText);
        return MergeJSONFieldLibrary34(existing, newText, errorText);
    } catch (const std::exception&) {
        // Reported to the caller through the error text, which it logs and counts.
        errorText = failureText("clsImportTabelNaarSQLiteTabel.MergeJSONFieldLibrary", existing, newText);
        return QString();
    }
}

QString MergeJSONFieldLibrary35(const QString& existing, const QString& newText, QString& errorText)
{
    try {
        const JsonObject stored = parseObject(existing);
        const JsonObject incoming = parseObject(newText);

        JsonObject merged;
        const QStringList& keys = LocksHingesData::Layout35Keys();
        for (qsizetype i = 0; i < 7; ++i) {
            const JsonValue& limit = incoming.value(keys[i]);
            checkLong(limit);
            merged.insert(keys[i], limit); // checked only: written as read
        }
        for (const QString& usage : {keys[7], keys[8], keys[9]})
            merged.insert(usage, arrayMember(stored, usage));
        merged.insert(keys[10], arrayMember(incoming, keys[10]));

        QString result = ToJson(JsonValue(std::move(merged)));
        errorText.clear();
        return result;
    } catch (const std::exception&) {
        // Reported to the caller through the error text, which it logs and counts.
        errorText = failureText("clsImportTabelNaarSQLiteTabel.MergeJSONFieldLibrary35", existing, newText);
        return QString();
    }
}

QString MergeJSONFieldLibrary34(const QString& existing, const QString& newText, QString& errorText)
{
    try {
        const JsonObject stored = parseObject(existing);
        const JsonObject incoming = parseObject(newText);

        QString result = QStringLiteral("{");
        const QStringList& keys = LocksHingesData::Layout34Keys();
        for (const QString& key : keys) {
            const JsonValue& value = (key == keys.last() ? incoming : stored).value(key);
            if (result.size() > 1)
                result += QLatin1Char(',');
            result += QLatin1Char('"') + key + QStringLiteral("\":");
            // A list may be an array or a text holding one (the options
            // template's "[]"); a text is written back as it was read.
            if (value.isString())
                result += textAsRead(value.toString());
            else if (value.isArray())
                result += ToJson(value);
            else
                throw MergeFailure{};
        }
        result += QLatin1Char('}');
        errorText.clear();
        return result;
    } catch (const std::exception&) {
        // Reported to the caller through the error text, which it logs and counts.
        errorText = failureText("clsImportTabelNaarSQLiteTabel.MergeJSONFieldLibrary34", existing, newText);
        return QString();
    }
}

} // namespace supplink
