#include "json/cjsonscript.h"

#include "platform/uiservices.h"
#include "json/cstringbuilder.h"
#include "json/json.h"

namespace supplink {

namespace {

// Calls of ExecCommand that may be in progress at once.
constexpr qint32 kMaxNesting = 40;

const QString& parserErrorTitle()
{
    static const QString title = QStringLiteral("Parser Error");
    return title;
}

// A plain value as text, as the commands read their names and cases.
QString plainText(const JsonValue& value)
{
    switch (value.type()) {
    case JsonValue::Type::String:
        return value.toString();
    case JsonValue::Type::Number:
        return JsonNumberText(value.toDouble());
    case JsonValue::Type::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case JsonValue::Type::Null:
        return QStringLiteral("null");
    case JsonValue::Type::Object:
    case JsonValue::Type::Array:
        return ToJson(value);
    case JsonValue::Type::Empty:
        break;
    }
    return QString();
}

class NestingGuard
{
public:
    explicit NestingGuard(qint32& level) : m_level(level) { ++m_level; }
    ~NestingGuard() { --m_level; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    qint32& m_level;
};

} // namespace

QString cJSONScript::Eval(const QString& script)
{
    const JsonValue parsed = ParseJson(script);
    const QString errors = GetParserErrors();
    if (!errors.isEmpty() || parsed.isEmpty()) {
        ui().messageBox(errors, MsgBox::OkOnly | MsgBox::Exclamation, parserErrorTitle());
        return QString();
    }
    if (!parsed.isArray()) {
        ui().messageBox(QStringLiteral("Het script moet een lijst van opdrachten zijn (beginnen met \"[\")."),
                        MsgBox::OkOnly | MsgBox::Exclamation, parserErrorTitle());
        return QString();
    }
    cStringBuilder output;
    for (const JsonValue& element : parsed.toArray()) {
        switch (element.type()) {
        case JsonValue::Type::Null:
            output.Append(QLatin1StringView("null"));
            break;
        case JsonValue::Type::String:
            output.Append(element.toString());
            break;
        case JsonValue::Type::Number:
        case JsonValue::Type::Bool:
            // A number or Boolean is neither text nor a command: say so in the output.
            output.Append(QStringLiteral("ERROR: Ongeldig element in het script: ") + plainText(element) +
                          QLatin1Char('.'));
            break;
        default:
            output.Append(ExecCommand(element));
            break;
        }
    }
    return output.toString();
}

QString cJSONScript::ExecCommand(const JsonValue& value)
{
    if (m_nesting > kMaxNesting)
        return QStringLiteral("ERROR: Nesting level exceeded.");
    NestingGuard guard(m_nesting);

    switch (value.type()) {
    case JsonValue::Type::Array: {
        cStringBuilder output;
        for (const JsonValue& item : value.toArray())
            output.Append(ExecCommand(item));
        return output.toString();
    }
    case JsonValue::Type::Object: {
        cStringBuilder output;
        for (const JsonMember& member : value.toObject())
            output.Append(runCommand(member.key, member.value));
        return output.toString();
    }
    default:
        return plainText(value);
    }
}

QString cJSONScript::runCommand(const QString& name, const JsonValue& argument)
{
    const QString command = name.toLower();
    const JsonValue& a = argument;

    if (command == u"alert") {
        const QString message = ExecCommand(a[u"message"]);
        const QString title = ExecCommand(a[u"title"]);
        ui().messageBox(message, MsgBox::OkOnly | MsgBox::Information, title);
        return QString();
    }
    if (command == u"input") {
        const QString prompt = ExecCommand(a[u"prompt"]);
        const QString title = ExecCommand(a[u"title"]);
        const QString defaultText = ExecCommand(a[u"default"]);
        return ui().inputBox(prompt, title, defaultText).value_or(QString());
    }
    if (command == u"switch") {
        const QString defaultOutput = ExecCommand(a[u"default"]);
        const QString wanted = ExecCommand(a[u"case"]).toLower();
        for (const JsonValue& item : a[u"items"].toArray()) {
            if (plainText(item[u"case"]).toLower() == wanted)
                return ExecCommand(item[u"return"]);
        }
        return defaultOutput;
    }
    if (command == u"set") {
        const QString text = ExecCommand(a[u"value"]);
        m_variables.insert(plainText(a[u"name"]), text);
        return QString();
    }
    if (command == u"get") {
        QString text = ExecCommand(JsonValue(m_variables.value(plainText(a[u"name"]))));
        if (text.isEmpty())
            text = ExecCommand(a[u"default"]);
        return text;
    }
    if (command == u"if") {
        const QString value1 = ExecCommand(a[u"value1"]);
        const QString value2 = ExecCommand(a[u"value2"]);
        const QString type = plainText(a[u"type"]).toLower();
        bool holds = false;
        if (type == u"eq")
            holds = value1.compare(value2, Qt::CaseInsensitive) == 0;
        else if (type == u"gt")
            holds = value1 > value2;
        else if (type == u"lt")
            holds = value1 < value2;
        else if (type == u"gte")
            holds = value1 >= value2;
        else if (type == u"lte")
            holds = value1 <= value2;
        return ExecCommand(a[holds ? u"true" : u"false"]);
    }
    if (command == u"return")
        return plainText(a);

    // Any other name is left in the output as a placeholder with its values.
    if (!a.isObject())
        return QString();
    QStringList values;
    for (const JsonMember& member : a.toObject())
        values.append(plainText(member.value));
    return QStringLiteral("<%") + name.toUpper() + QLatin1Char('(') + values.join(QLatin1Char(',')) +
           QStringLiteral(")%>");
}

} // namespace supplink
