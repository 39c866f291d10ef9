#include "json/jsonvalue.h"

#include <charconv>
#include <string>

namespace supplink {

namespace {

const JsonValue& emptyValue()
{
    static const JsonValue empty;
    return empty;
}

} // namespace

JsonValue::JsonValue(const JsonObject& object) : m_type(Type::Object)
{
    new (m_raw) JsonObject(object);
}
JsonValue::JsonValue(const JsonArray& array) : m_type(Type::Array)
{
    new (m_raw) JsonArray(array);
}

JsonValue JsonValue::fromNumberText(QString text)
{
    JsonValue value;
    value.m_type = Type::Number;
    value.m_numberText = true;
    new (value.m_raw) QString(std::move(text));
    return value;
}

double JsonValue::textNumber() const
{
    // The text is a JSON number: plain ASCII.
    const QString& text = *string();
    char small[64];
    std::string large;
    char* buffer = small;
    if (text.size() > qsizetype(sizeof small)) {
        large.resize(size_t(text.size()));
        buffer = large.data();
    }
    for (qsizetype i = 0; i < text.size(); ++i)
        buffer[i] = char(text[i].unicode());
    double number = 0;
    std::from_chars(buffer, buffer + text.size(), number);
    return number;
}

JsonValue::JsonValue(const JsonValue& other) : m_type(other.m_type), m_numberText(other.m_numberText)
{
    if (m_numberText) {
        new (m_raw) QString(*other.string());
        return;
    }
    switch (other.m_type) {
    case Type::String:
        new (m_raw) QString(*other.string());
        break;
    case Type::Object:
        new (m_raw) JsonObject(*other.object());
        break;
    case Type::Array:
        new (m_raw) JsonArray(*other.array());
        break;
    case Type::Bool:
    case Type::Number:
        std::memcpy(m_raw, other.m_raw, sizeof m_number);
        break;
    default:
        break;
    }
}

JsonValue& JsonValue::operator=(const JsonValue& other)
{
    if (this != &other) {
        JsonValue copy(other);
        release();
        moveFrom(copy);
    }
    return *this;
}

void JsonValue::release() noexcept
{
    if (m_numberText) {
        string()->~QString();
        m_numberText = false;
    }
    switch (m_type) {
    case Type::String:
        string()->~QString();
        break;
    case Type::Object:
        object()->~JsonObject();
        break;
    case Type::Array:
        array()->~JsonArray();
        break;
    default:
        break;
    }
    m_type = Type::Empty;
}

const JsonObject& JsonValue::toObject() const
{
    static const JsonObject empty;
    return m_type == Type::Object ? *object() : empty;
}

const JsonArray& JsonValue::toArray() const
{
    static const JsonArray empty;
    return m_type == Type::Array ? *array() : empty;
}

const JsonValue& JsonValue::operator[](QStringView key) const
{
    return m_type == Type::Object ? object()->value(key) : emptyValue();
}

const JsonValue& JsonValue::operator[](qsizetype index) const
{
    if (m_type == Type::Array && index >= 0 && index < array()->size())
        return array()->at(index);
    return emptyValue();
}

bool operator==(const JsonValue& a, const JsonValue& b)
{
    if (a.m_type != b.m_type)
        return false;
    switch (a.m_type) {
    case JsonValue::Type::Bool:
        return a.m_bool == b.m_bool;
    case JsonValue::Type::Number:
        return a.toDouble() == b.toDouble();
    case JsonValue::Type::String:
        return *a.string() == *b.string();
    case JsonValue::Type::Object:
        return *a.object() == *b.object();
    case JsonValue::Type::Array:
        return *a.array() == *b.array();
    default:
        return true;
    }
}

qsizetype JsonObject::indexOf(QStringView key) const
{
    for (qsizetype i = 0, n = m_members.size(); i < n; ++i) {
        if (m_members[i].key == key)
            return i;
    }
    return -1;
}

const JsonValue& JsonObject::value(QStringView key) const
{
    const qsizetype i = indexOf(key);
    return i < 0 ? emptyValue() : m_members[i].value;
}

JsonValue* JsonObject::find(QStringView key)
{
    const qsizetype i = indexOf(key);
    return i < 0 ? nullptr : &m_members[i].value;
}

bool JsonObject::add(QString key, JsonValue value)
{
    if (indexOf(key) >= 0)
        return false;
    m_members.append(JsonMember{std::move(key), std::move(value)});
    return true;
}

void JsonObject::insert(QString key, JsonValue value)
{
    if (JsonValue* existing = find(key))
        *existing = std::move(value);
    else
        m_members.append(JsonMember{std::move(key), std::move(value)});
}

bool JsonObject::remove(QStringView key)
{
    const qsizetype i = indexOf(key);
    if (i < 0)
        return false;
    m_members.removeAt(i);
    return true;
}

QStringList JsonObject::keys() const
{
    QStringList keys;
    keys.reserve(m_members.size());
    for (const JsonMember& member : m_members)
        keys.append(member.key);
    return keys;
}

} // namespace supplink
