#pragma once
// The tree of a JSON document: a value is empty (no value at all), null, a
// Boolean, a number, a text, an object (a dictionary whose members keep the
// order in which they were added; keys are case-sensitive and occur once) or an
// array (an ordered list of values). A number read from a JSON text may keep
// that text, so that it is written back exactly as it was read (see
// fromNumberText).
//
// Values are cheap to copy: texts, objects and arrays share their contents
// until one copy changes them.

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <concepts>
#include <cstddef>
#include <cstring>
#include <new>

namespace supplink {

class JsonObject;
class JsonValue;
using JsonArray = QList<JsonValue>;

class JsonValue
{
public:
    enum class Type : quint8
    {
        Empty,
        Null,
        Bool,
        Number,
        String,
        Object,
        Array
    };

    JsonValue() noexcept : m_type(Type::Empty) {}
    JsonValue(std::nullptr_t) noexcept : m_type(Type::Null) {}
    JsonValue(bool b) noexcept : m_type(Type::Bool) { m_bool = b; }
    template <typename T>
    requires(std::is_arithmetic_v<T> && !std::same_as<T, bool>) JsonValue(T number)
    noexcept : m_type(Type::Number) { m_number = double(number); }
    JsonValue(const QString& text) : m_type(Type::String) { new (m_raw) QString(text); }
    JsonValue(QString&& text) noexcept : m_type(Type::String) { new (m_raw) QString(std::move(text)); }
    JsonValue(QStringView text) : JsonValue(text.toString()) {}
    JsonValue(QLatin1StringView text) : JsonValue(QString(text)) {}
    // UTF-8 text.
    JsonValue(const char* text) : JsonValue(QString::fromUtf8(text)) {}
    JsonValue(const char16_t* text) : JsonValue(QString::fromUtf16(text)) {}
    JsonValue(const JsonObject& object);
    JsonValue(JsonObject&& object) noexcept;
    JsonValue(const JsonArray& array);
    JsonValue(JsonArray&& array) noexcept;
    // No other pointer becomes a Boolean by accident.
    template <typename T> JsonValue(T*) = delete;

    JsonValue(const JsonValue& other);
    JsonValue(JsonValue&& other) noexcept : m_type(Type::Empty) { moveFrom(other); }
    JsonValue& operator=(const JsonValue& other);
    JsonValue& operator=(JsonValue&& other) noexcept
    {
        if (this != &other) {
            release();
            moveFrom(other);
        }
        return *this;
    }
    ~JsonValue()
    {
        if (ownsText())
            release();
    }

    static JsonValue null() { return JsonValue(nullptr); }
    // A number that keeps its own text (a JSON number, such as "12.50" or
    // "123456789012.3456789"): the writers write that text, toDouble() gives
    // the nearest double.
    static JsonValue fromNumberText(QString text);

    Type type() const { return m_type; }
    bool isEmpty() const { return m_type == Type::Empty; }
    bool isNull() const { return m_type == Type::Null; }
    bool isBool() const { return m_type == Type::Bool; }
    bool isNumber() const { return m_type == Type::Number; }
    bool isString() const { return m_type == Type::String; }
    bool isObject() const { return m_type == Type::Object; }
    bool isArray() const { return m_type == Type::Array; }

    // The Boolean; false for any other kind.
    bool toBool() const { return m_type == Type::Bool && m_bool; }
    // The number; the default for any other kind.
    double toDouble(double defaultValue = 0) const
    {
        if (m_type != Type::Number)
            return defaultValue;
        return m_numberText ? textNumber() : m_number;
    }
    // The text a number keeps (see fromNumberText); empty when it keeps none.
    QString numberText() const { return m_numberText ? *string() : QString(); }
    // The text; an empty text for any other kind.
    QString toString() const { return m_type == Type::String ? *string() : QString(); }
    // The object or array; an empty one for any other kind.
    const JsonObject& toObject() const;
    const JsonArray& toArray() const;
    // For changing the object or array in place; nullptr for any other kind.
    JsonObject* asObject() { return m_type == Type::Object ? object() : nullptr; }
    JsonArray* asArray() { return m_type == Type::Array ? array() : nullptr; }

    // An object's member, or an array's item; the empty value when there is none.
    const JsonValue& operator[](QStringView key) const;
    const JsonValue& operator[](qsizetype index) const;

    // Same kind and same contents (members in the same order).
    friend bool operator==(const JsonValue& a, const JsonValue& b);
    friend bool operator!=(const JsonValue& a, const JsonValue& b) { return !(a == b); }

private:
    // A text, an object, an array or a number's text lives in m_raw.
    bool ownsText() const { return m_type >= Type::String || m_numberText; }
    double textNumber() const;
    void release() noexcept;
    void moveFrom(JsonValue& other) noexcept
    {
        // Every kind is relocatable: the bytes move and the source forgets them.
        m_type = other.m_type;
        m_numberText = other.m_numberText;
        if (ownsText())
            std::memcpy(m_raw, other.m_raw, sizeof m_raw);
        else if (m_type >= Type::Bool)
            std::memcpy(m_raw, other.m_raw, sizeof m_number);
        other.m_type = Type::Empty;
        other.m_numberText = false;
    }

    QString* string() { return std::launder(reinterpret_cast<QString*>(m_raw)); }
    const QString* string() const { return std::launder(reinterpret_cast<const QString*>(m_raw)); }
    // Defined below, where the types are complete.
    JsonObject* object();
    const JsonObject* object() const;
    JsonArray* array();
    const JsonArray* array() const;

    Type m_type;
    // A number whose m_raw holds its text instead of m_number.
    bool m_numberText = false;
    // A text, an object or an array lives in place (each is one pointer-sized
    // handle on shared data, a pointer and a size).
    union {
        bool m_bool;
        double m_number;
        alignas(void*) unsigned char m_raw[3 * sizeof(void*)];
    };
};

} // namespace supplink

Q_DECLARE_TYPEINFO(supplink::JsonValue, Q_RELOCATABLE_TYPE);

namespace supplink {

struct JsonMember
{
    QString key;
    JsonValue value;
};

inline bool operator==(const JsonMember& a, const JsonMember& b)
{
    return a.key == b.key && a.value == b.value;
}

} // namespace supplink

Q_DECLARE_TYPEINFO(supplink::JsonMember, Q_RELOCATABLE_TYPE);

namespace supplink {

// Members are found by a search from the front: the objects of this program's
// documents are small.
class JsonObject
{
public:
    JsonObject() = default;
    explicit JsonObject(QList<JsonMember> members) : m_members(std::move(members)) {}

    qsizetype size() const { return m_members.size(); }
    bool isEmpty() const { return m_members.isEmpty(); }
    bool contains(QStringView key) const { return indexOf(key) >= 0; }
    // Position of the member, or -1.
    qsizetype indexOf(QStringView key) const;
    // The member's value; the empty value when there is no such member.
    const JsonValue& value(QStringView key) const;
    const JsonValue& operator[](QStringView key) const { return value(key); }
    // The member's value for changing in place; nullptr when there is none.
    JsonValue* find(QStringView key);

    // Adds a new member at the end; false, and nothing changes, when the key is
    // already present.
    bool add(QString key, JsonValue value);
    // Replaces the value of an existing member (keeping its place) or adds a new one.
    void insert(QString key, JsonValue value);
    bool remove(QStringView key);

    QStringList keys() const;
    const JsonMember& at(qsizetype i) const { return m_members.at(i); }
    const QList<JsonMember>& members() const { return m_members; }
    auto begin() const { return m_members.cbegin(); }
    auto end() const { return m_members.cend(); }

    friend bool operator==(const JsonObject& a, const JsonObject& b) { return a.m_members == b.m_members; }

private:
    QList<JsonMember> m_members;
};

static_assert(sizeof(JsonObject) <= 3 * sizeof(void*) && sizeof(JsonArray) <= 3 * sizeof(void*) &&
              sizeof(QString) <= 3 * sizeof(void*));

inline JsonObject* JsonValue::object()
{
    return std::launder(reinterpret_cast<JsonObject*>(m_raw));
}
inline const JsonObject* JsonValue::object() const
{
    return std::launder(reinterpret_cast<const JsonObject*>(m_raw));
}
inline JsonArray* JsonValue::array()
{
    return std::launder(reinterpret_cast<JsonArray*>(m_raw));
}
inline const JsonArray* JsonValue::array() const
{
    return std::launder(reinterpret_cast<const JsonArray*>(m_raw));
}

inline JsonValue::JsonValue(JsonObject&& object) noexcept : m_type(Type::Object)
{
    new (m_raw) JsonObject(std::move(object));
}
inline JsonValue::JsonValue(JsonArray&& array) noexcept : m_type(Type::Array)
{
    new (m_raw) JsonArray(std::move(array));
}

} // namespace supplink
