#include "json/json.h"

#include "json/cstringbuilder.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QSet>
#include <QTime>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace supplink {

namespace {

const QLatin1StringView kCrLf("\r\n");
// The platform's texts for a value that does not convert, a number out of
// range and a key that is already in the object.
const QLatin1StringView kTypeMismatch("Typen komen niet overeen");
const QLatin1StringView kOverflow("Overloop");
const QLatin1StringView kDuplicateKey("Deze sleutel is al gekoppeld aan een element van deze verzameling");

// Characters of the remaining text that an error message quotes at most.
constexpr qsizetype kMaxQuoted = 200;

// Objects with more members than this check for a repeated key in a set.
constexpr size_t kLinearKeySearch = 32;

// Short keys and texts recur throughout a document ("fkArticle", "0", ...):
// handing out one shared copy saves an allocation for each repeat.
class InternTable
{
public:
    QString get(const QChar* p, qsizetype len)
    {
        if (len == 0)
            return QStringLiteral("");
        if (len > kMaxLength)
            return QString(p, len);
        quint32 hash = 2166136261u ^ quint32(len);
        for (qsizetype i = 0; i < len; ++i)
            hash = (hash ^ p[i].unicode()) * 16777619u;
        QString& slot = m_slots[(hash ^ (hash >> 15)) & (kSlots - 1)];
        if (slot.size() != len || std::memcmp(slot.constData(), p, size_t(len) * sizeof(QChar)) != 0)
            slot = QString(p, len);
        return slot;
    }

private:
    static constexpr qsizetype kMaxLength = 24;
    static constexpr quint32 kSlots = 1024;
    std::array<QString, kSlots> m_slots;
};

InternTable& internTable()
{
    thread_local InternTable table;
    return table;
}

inline bool isNumberChar(char16_t c)
{
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E';
}

inline int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The decimal exponent of a number text's first significant digit, saturated;
// tells an overflowing text from one too small to hold.
long long magnitude(std::string_view text)
{
    long long digitsBeforePoint = 0;
    long long firstSignificant = -1;
    long long index = 0;
    bool afterPoint = false;
    size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            afterPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (firstSignificant < 0 && c != '0')
                firstSignificant = index;
            ++index;
            if (!afterPoint)
                ++digitsBeforePoint;
        } else if (c == 'e' || c == 'E') {
            break;
        }
    }
    long long exponent = 0;
    if (i < text.size()) {
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            negative = text[i++] == '-';
        for (; i < text.size(); ++i) {
            if (exponent < 1000000000)
                exponent = exponent * 10 + (text[i] - '0');
        }
        if (negative)
            exponent = -exponent;
    }
    if (firstSignificant < 0)
        return 0;
    return digitsBeforePoint - firstSignificant - 1 + exponent;
}

// Numbers are read as the decimal type of 28 significant digits: a number of
// a larger magnitude than this does not convert.
constexpr std::string_view kDecimalMax = "79228162514264337593543950335";

// Whether a number text lies beyond the decimal range: above kDecimalMax once
// rounded to the decimal's digits.
bool beyondDecimalRange(std::string_view text)
{
    const long long exponent = magnitude(text);
    const long long maxExponent = qsizetype(kDecimalMax.size()) - 1;
    if (exponent != maxExponent)
        return exponent > maxExponent;
    std::string digits;
    for (const char c : text) {
        if (c == 'e' || c == 'E')
            break;
        if (c >= '1' && c <= '9')
            digits += c;
        else if (c == '0' && !digits.empty())
            digits += c;
    }
    if (digits.size() < kDecimalMax.size())
        digits.append(kDecimalMax.size() - digits.size(), '0');
    const int order = std::string_view(digits).substr(0, kDecimalMax.size()).compare(kDecimalMax);
    if (order != 0)
        return order > 0;
    return digits.size() > kDecimalMax.size() && digits[kDecimalMax.size()] >= '5';
}

enum class ConvertResult
{
    Ok,
    TypeMismatch,
    Overflow
};

// A number text of "+-0123456789.eE" characters with "." as decimal point and
// an optional exponent.
ConvertResult convertNumber(std::string_view text, double& value)
{
    if (text.empty())
        return ConvertResult::TypeMismatch;
    const char* first = text.data();
    const char* last = first + text.size();
    if (*first == '+') {
        ++first;
        if (first == last || !((*first >= '0' && *first <= '9') || *first == '.'))
            return ConvertResult::TypeMismatch;
    }
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (end != last)
        return ConvertResult::TypeMismatch;
    if (error != std::errc() && error != std::errc::result_out_of_range)
        return ConvertResult::TypeMismatch;
    if (beyondDecimalRange(std::string_view(first, size_t(last - first))))
        return ConvertResult::Overflow;
    if (error == std::errc::result_out_of_range)
        value = *first == '-' ? -0.0 : 0.0; // too small to hold
    return ConvertResult::Ok;
}

// The text the writers give a number (without a text of its own): "." as
// decimal point, no group separators, whole numbers below 10^15 as their
// digits; at most 64 characters.
size_t numberChars(double value, char* buffer)
{
    constexpr size_t kSize = 64;
    std::to_chars_result result;
    const double magnitude = std::fabs(value);
    if (magnitude < 1e15 && value == std::trunc(value)) {
        if (value == 0 && std::signbit(value)) {
            std::memcpy(buffer, "-0", 2);
            return 2;
        }
        result = std::to_chars(buffer, buffer + kSize, static_cast<long long>(value));
    } else if (magnitude >= 1e-7 && magnitude < 1e21) {
        result = std::to_chars(buffer, buffer + kSize, value, std::chars_format::fixed);
    } else {
        result = std::to_chars(buffer, buffer + kSize, value, std::chars_format::scientific);
    }
    return size_t(result.ptr - buffer);
}

// A number in JSON's own form: an optional minus, an integer part without
// leading zeros, optional fraction and exponent.
bool isJsonNumber(std::string_view text)
{
    size_t i = 0;
    const auto digits = [&] {
        const size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < text.size() && text[i] == '-')
        ++i;
    const size_t start = i;
    const size_t whole = digits();
    if (whole == 0 || (whole > 1 && text[start] == '0'))
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (digits() == 0)
            return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == text.size();
}

// A number read: it keeps its own text when the writers would write it
// otherwise (more digits than a double holds, "1e3", "12.50"), so that it is
// written back as it was read; a text that is no JSON number is written in
// the writers' form instead.
JsonValue readNumberValue(std::string_view text, double value)
{
    // Most numbers are short whole numbers, which the writers write as read.
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (!digits.empty() && digits.size() <= 15 && (digits.front() != '0' || digits.size() == 1) &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return JsonValue(value);
    char written[64];
    if (!isJsonNumber(text) || std::string_view(written, numberChars(value, written)) == text)
        return JsonValue(value);
    return JsonValue::fromNumberText(QString::fromLatin1(text.data(), qsizetype(text.size())));
}

class Reader
{
public:
    Reader(QStringView text, QString& errors)
        : m_text(text), m_s(text.utf16()), m_n(text.size()), m_errors(errors), m_intern(internTable())
    {
    }

    JsonValue run()
    {
        skipFiller();
        JsonValue result;
        if (m_pos < m_n && m_s[m_pos] == u'{')
            readObject(result);
        else if (m_pos < m_n && m_s[m_pos] == u'[')
            readArray(result);
        else
            m_errors = QStringLiteral("Invalid JSON");
        return result;
    }

private:
    // Ok: a value was read. Failed: the value failed with the description
    // given. BadLiteral: a broken true, false or null, already reported.
    // Fatal: reading stops altogether (nesting too deep), already reported.
    enum class Read
    {
        Ok,
        Failed,
        BadLiteral,
        Fatal
    };

    void note(const QString& message)
    {
        m_errors += message;
        m_errors += kCrLf;
    }
    QString position() const { return QString::number(m_pos + 1); }
    QString last20() const { return m_text.right(20).toString(); }
    QString next20() const { return m_text.mid(m_pos, 20).toString(); }
    // The rest of the text, up to a limit: a text with many broken literals
    // would otherwise repeat itself into an error text of quadratic size.
    QString rest() const
    {
        const QStringView rest = m_text.mid(m_pos);
        if (rest.size() <= kMaxQuoted)
            return rest.toString();
        return rest.first(kMaxQuoted).toString() + QStringLiteral("...");
    }

    // White space, round brackets and comments.
    void skipFiller()
    {
        if (m_pos < m_n) {
            const char16_t c = m_s[m_pos];
            if (c > u' ' && c != u'(' && c != u')' && c != u'/' && c != u'*')
                return;
        }
        bool commentStart = false;
        bool inComment = false;
        bool inBlock = false;
        while (m_pos < m_n) {
            const char16_t c = m_s[m_pos];
            switch (c) {
            case u'\r':
            case u'\n':
                if (!inBlock) {
                    commentStart = false;
                    inComment = false;
                }
                break;
            case u'\t':
            case u' ':
            case u'(':
            case u')':
                break;
            case u'/':
                if (!inBlock) {
                    if (commentStart) {
                        inComment = true;
                        commentStart = false;
                    } else {
                        commentStart = true;
                        inComment = false;
                        inBlock = false;
                    }
                } else if (commentStart) {
                    commentStart = inComment = inBlock = false;
                }
                break;
            case u'*':
                if (commentStart) {
                    inComment = true;
                    inBlock = true;
                    commentStart = false;
                } else {
                    commentStart = true;
                }
                break;
            default:
                if (!inComment)
                    return;
                break;
            }
            ++m_pos;
        }
    }

    Read readValue(JsonValue& out, QString& failure)
    {
        skipFiller();
        if (m_pos >= m_n)
            return readNumber(out, failure);
        switch (m_s[m_pos]) {
        case u'{':
            return readObject(out);
        case u'[':
            return readArray(out);
        case u'"':
        case u'\'':
            readString(out);
            return Read::Ok;
        case u't':
        case u'f':
            return readBoolean(out);
        case u'n':
            return readNull(out);
        default:
            return readNumber(out, failure);
        }
    }

    bool enter()
    {
        if (m_depth >= kJsonMaxDepth) {
            note(QStringLiteral("JSON te diep genest (meer dan %1 niveaus) op positie %2")
                     .arg(kJsonMaxDepth)
                     .arg(m_pos + 1));
            return false;
        }
        ++m_depth;
        return true;
    }

    // Whether the object being read, whose members so far start at base on
    // the member stack, already has the key.
    bool hasKey(size_t base, const QString& key, QSet<QString>& seen)
    {
        const size_t count = m_members.size() - base;
        if (count < kLinearKeySearch) {
            for (size_t i = base; i < m_members.size(); ++i) {
                if (m_members[i].key == key)
                    return true;
            }
            return false;
        }
        if (seen.isEmpty()) {
            for (size_t i = base; i < m_members.size(); ++i)
                seen.insert(m_members[i].key);
        }
        return seen.contains(key);
    }

    Read readObject(JsonValue& out)
    {
        if (!enter())
            return Read::Fatal;
        // Members collect on a stack shared by all levels and move into an
        // object of the right size at the end.
        const size_t base = m_members.size();
        QSet<QString> seen;
        Read result = Read::Ok;
        skipFiller();
        ++m_pos; // the "{"
        for (;;) {
            skipFiller();
            if (m_pos < m_n && m_s[m_pos] == u'}') {
                ++m_pos;
                break;
            }
            if (m_pos < m_n && m_s[m_pos] == u',') {
                ++m_pos;
                skipFiller();
            } else if (m_pos >= m_n) {
                note(QStringLiteral("Missing '}': ") + last20());
                break;
            }
            QString key = readKey();
            JsonValue value;
            QString failure;
            const Read read = readValue(value, failure);
            if (read == Read::Failed) {
                note(failure + QStringLiteral(": ") + key);
                break;
            }
            // A broken literal was reported where it was read; the member keeps
            // what the literal reader gave (false, or no value).
            if (hasKey(base, key, seen)) {
                if (read != Read::Fatal)
                    note(kDuplicateKey + QStringLiteral(": ") + key);
                break;
            }
            if (!seen.isEmpty())
                seen.insert(key);
            m_members.push_back(JsonMember{std::move(key), std::move(value)});
            if (read == Read::Fatal) {
                result = Read::Fatal;
                break;
            }
        }
        QList<JsonMember> members;
        members.reserve(qsizetype(m_members.size() - base));
        for (size_t i = base; i < m_members.size(); ++i)
            members.append(std::move(m_members[i]));
        m_members.resize(base);
        --m_depth;
        out = JsonValue(JsonObject(std::move(members)));
        return result;
    }

    Read readArray(JsonValue& out)
    {
        if (!enter())
            return Read::Fatal;
        const size_t base = m_items.size();
        Read result = Read::Ok;
        skipFiller();
        ++m_pos; // the "["
        for (;;) {
            skipFiller();
            if (m_pos < m_n && m_s[m_pos] == u']') {
                ++m_pos;
                break;
            }
            if (m_pos < m_n && m_s[m_pos] == u',') {
                ++m_pos;
                skipFiller();
            } else if (m_pos >= m_n) {
                note(QStringLiteral("Missing ']': ") + last20());
                break;
            }
            JsonValue value;
            QString failure;
            const Read read = readValue(value, failure);
            if (read == Read::Failed) {
                note(failure + QStringLiteral(": ") + next20());
                break;
            }
            // A broken literal leaves the position where it was: the array ends
            // there rather than meeting the same character again.
            if (read == Read::BadLiteral)
                break;
            m_items.push_back(std::move(value));
            if (read == Read::Fatal) {
                result = Read::Fatal;
                break;
            }
        }
        JsonArray items;
        items.reserve(qsizetype(m_items.size() - base));
        for (size_t i = base; i < m_items.size(); ++i)
            items.append(std::move(m_items[i]));
        m_items.resize(base);
        --m_depth;
        out = JsonValue(std::move(items));
        return result;
    }

    // The escape after a backslash (the position is on the character after
    // the backslash); appends what it stands for.
    void readEscape(cStringBuilder& text)
    {
        if (m_pos >= m_n)
            return;
        const char16_t c = m_s[m_pos];
        switch (c) {
        case u'"':
        case u'\\':
        case u'/':
        case u'\'':
            text.Append(QChar(c));
            break;
        case u'b':
            text.Append(QChar(8));
            break;
        case u'f':
            text.Append(QChar(12));
            break;
        case u'n':
            text.Append(QChar(10));
            break;
        case u'r':
            text.Append(QChar(13));
            break;
        case u't':
            text.Append(QChar(9));
            break;
        case u'u': {
            ++m_pos;
            const qsizetype end = std::min(m_pos + 4, m_n);
            char16_t code = 0;
            for (qsizetype i = m_pos; i < end; ++i) {
                const int digit = hexDigit(m_s[i]);
                if (digit < 0)
                    break;
                code = char16_t(code * 16 + digit);
            }
            text.Append(QChar(code));
            m_pos = end;
            return;
        }
        default:
            // Not an escape: the character is read next as an ordinary one.
            return;
        }
        ++m_pos;
    }

    void readString(JsonValue& out)
    {
        skipFiller();
        const char16_t delimiter = m_s[m_pos];
        ++m_pos;
        const qsizetype start = m_pos;
        qsizetype i = start;
        while (i < m_n && m_s[i] != delimiter && m_s[i] != u'\\')
            ++i;
        if (i < m_n && m_s[i] == delimiter) {
            out = JsonValue(m_intern.get(reinterpret_cast<const QChar*>(m_s + start), i - start));
            m_pos = i + 1;
            return;
        }
        cStringBuilder text;
        text.Append(QStringView(m_s + start, i - start));
        m_pos = i;
        while (m_pos < m_n) {
            const char16_t c = m_s[m_pos];
            if (c == u'\\') {
                ++m_pos;
                readEscape(text);
            } else if (c == delimiter) {
                ++m_pos;
                break;
            } else {
                qsizetype j = m_pos + 1;
                while (j < m_n && m_s[j] != delimiter && m_s[j] != u'\\')
                    ++j;
                text.Append(QStringView(m_s + m_pos, j - m_pos));
                m_pos = j;
            }
        }
        // A text that ends before its closing quote gives what was collected.
        out = JsonValue(text.toString());
    }

    QString readKey()
    {
        skipFiller();
        // The common case: a double-quoted key of plain characters and a colon.
        if (m_pos < m_n && m_s[m_pos] == u'"') {
            qsizetype i = m_pos + 1;
            while (i < m_n) {
                const char16_t c = m_s[i];
                if (c == u'"' || c == u'\\' || c == u'\'' || c == u' ' || c == u'\t' || c == u'\r' ||
                    c == u'\n')
                    break;
                ++i;
            }
            if (i < m_n && m_s[i] == u'"') {
                QString key = m_intern.get(reinterpret_cast<const QChar*>(m_s + m_pos + 1), i - m_pos - 1);
                m_pos = i + 1;
                skipFiller();
                if (m_pos < m_n && m_s[m_pos] == u':')
                    ++m_pos;
                else
                    note(QStringLiteral("Invalid Key at position ") + position() + QStringLiteral(" : ") +
                         key);
                return key;
            }
        }
        cStringBuilder key;
        bool inDouble = false;
        bool inSingle = false;
        while (m_pos < m_n) {
            const char16_t c = m_s[m_pos];
            if (c == u'"' || c == u'\'') {
                ++m_pos;
                bool& flag = c == u'"' ? inDouble : inSingle;
                flag = !flag;
                if (!flag) {
                    skipFiller();
                    if (m_pos >= m_n || m_s[m_pos] != u':') {
                        note(QStringLiteral("Invalid Key at position ") + position() + QStringLiteral(" : ") +
                             key.toString());
                        return key.toString();
                    }
                }
            } else if (c == u':') {
                ++m_pos;
                if (!inDouble && !inSingle)
                    return key.toString();
                key.Append(QChar(c));
            } else if (c == u'\\' && (inDouble || inSingle)) {
                // Escapes in quoted keys are read as in strings, so that every
                // key the writers write reads back the same.
                ++m_pos;
                readEscape(key);
            } else {
                if (c != u'\r' && c != u'\n' && c != u'\t' && c != u' ')
                    key.Append(QChar(c));
                ++m_pos;
            }
        }
        return key.toString();
    }

    Read readNumber(JsonValue& out, QString& failure)
    {
        skipFiller();
        const qsizetype start = m_pos;
        while (m_pos < m_n && isNumberChar(m_s[m_pos]))
            ++m_pos;
        if (m_pos >= m_n) {
            // Cut-off text: no value.
            out = JsonValue();
            return Read::Ok;
        }
        // The characters are all ASCII.
        const qsizetype length = m_pos - start;
        char small[64];
        std::string large;
        char* buffer = small;
        if (length > qsizetype(sizeof small)) {
            large.resize(size_t(length));
            buffer = large.data();
        }
        for (qsizetype i = 0; i < length; ++i)
            buffer[i] = char(m_s[start + i]);
        const std::string_view text(buffer, size_t(length));
        double number = 0;
        switch (convertNumber(text, number)) {
        case ConvertResult::Ok:
            out = readNumberValue(text, number);
            return Read::Ok;
        case ConvertResult::Overflow:
            failure = kOverflow;
            return Read::Failed;
        case ConvertResult::TypeMismatch:
            break;
        }
        failure = kTypeMismatch;
        return Read::Failed;
    }

    bool startsWith(QLatin1StringView word) const { return m_text.mid(m_pos).startsWith(word); }

    Read readBoolean(JsonValue& out)
    {
        skipFiller();
        if (startsWith(QLatin1StringView("true"))) {
            out = JsonValue(true);
            m_pos += 4;
            return Read::Ok;
        }
        if (startsWith(QLatin1StringView("false"))) {
            out = JsonValue(false);
            m_pos += 5;
            return Read::Ok;
        }
        note(QStringLiteral("Invalid Boolean at position ") + position() + QStringLiteral(" : ") + rest());
        out = JsonValue(false);
        return Read::BadLiteral;
    }

    Read readNull(JsonValue& out)
    {
        skipFiller();
        if (startsWith(QLatin1StringView("null"))) {
            out = JsonValue(nullptr);
            m_pos += 4;
            return Read::Ok;
        }
        note(QStringLiteral("Invalid null value at position ") + position() + QStringLiteral(" : ") + rest());
        out = JsonValue();
        return Read::BadLiteral;
    }

    QStringView m_text;
    const char16_t* m_s;
    qsizetype m_n;
    qsizetype m_pos = 0;
    int m_depth = 0;
    QString& m_errors;
    InternTable& m_intern;
    std::vector<JsonMember> m_members;
    std::vector<JsonValue> m_items;
};

QString& moduleErrors()
{
    thread_local QString errors;
    return errors;
}

// Text escaping: the eight named escapes, plain ASCII as it is, every other
// character as \u and four upper-case hexadecimal digits. In the doubled form
// the named escapes get three backslashes (four for a backslash itself).
// Keys also escape the space and the single quote, which the reader would
// otherwise drop from a key or take as a quote.
void encodeText(cStringBuilder& out, QStringView text, bool doubled, bool key = false)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        char letter = 0;
        switch (c) {
        case u'"':
            letter = '"';
            break;
        case u'\\':
            letter = '\\';
            break;
        case u'/':
            letter = '/';
            break;
        case 8:
            letter = 'b';
            break;
        case 12:
            letter = 'f';
            break;
        case 10:
            letter = 'n';
            break;
        case 13:
            letter = 'r';
            break;
        case 9:
            letter = 't';
            break;
        case u' ':
        case u'\'':
            if (!key)
                continue;
            break;
        default:
            if (c >= 32 && c <= 126)
                continue;
            break;
        }
        if (i > runStart)
            out.Append(QStringView(p + runStart, i - runStart));
        runStart = i + 1;
        if (key && (c == u' ' || c == u'\'')) {
            out.Append(c == u' ' ? QLatin1StringView("\\u0020") : QLatin1StringView("\\u0027"));
        } else if (letter != 0) {
            if (doubled)
                out.Append(letter == '\\' ? QLatin1StringView("\\\\\\\\") : QLatin1StringView("\\\\\\"));
            else
                out.Append(QLatin1Char('\\'));
            if (!(doubled && letter == '\\'))
                out.Append(QLatin1Char(letter));
        } else {
            const char escape[6] = {
                '\\', 'u', kHex[(c >> 12) & 15], kHex[(c >> 8) & 15], kHex[(c >> 4) & 15], kHex[c & 15]};
            out.Append(QLatin1StringView(escape, 6));
        }
    }
    if (n > runStart)
        out.Append(QStringView(p + runStart, n - runStart));
}

void appendNumber(cStringBuilder& out, double value)
{
    if (!std::isfinite(value)) {
        out.Append(QLatin1StringView("null"));
        return;
    }
    char buffer[64];
    out.Append(QLatin1StringView(buffer, qsizetype(numberChars(value, buffer))));
}

class Writer
{
public:
    explicit Writer(bool doubled) : m_doubled(doubled) {}

    QString write(const JsonValue& value)
    {
        switch (value.type()) {
        case JsonValue::Type::Object:
            if (m_doubled)
                members(value.toObject());
            else
                object(value.toObject());
            break;
        case JsonValue::Type::Array:
            if (m_doubled)
                items(value.toArray());
            else
                array(value.toArray());
            break;
        default:
            scalar(value);
            break;
        }
        return m_out.toString();
    }

private:
    void any(const JsonValue& value)
    {
        switch (value.type()) {
        case JsonValue::Type::Object:
            object(value.toObject());
            break;
        case JsonValue::Type::Array:
            array(value.toArray());
            break;
        default:
            scalar(value);
            break;
        }
    }

    void scalar(const JsonValue& value)
    {
        switch (value.type()) {
        case JsonValue::Type::Bool:
            m_out.Append(value.toBool() ? QLatin1StringView("true") : QLatin1StringView("false"));
            break;
        case JsonValue::Type::Number:
            if (const QString text = value.numberText(); !text.isEmpty())
                m_out.Append(text);
            else
                appendNumber(m_out, value.toDouble());
            break;
        case JsonValue::Type::String:
            quoted(value.toString());
            break;
        default:
            // Null, and no value at all: a member is never left without a value.
            m_out.Append(QLatin1StringView("null"));
            break;
        }
    }

    void quoted(const QString& text, bool key = false)
    {
        const QLatin1StringView quote = m_doubled ? QLatin1StringView("\\\"") : QLatin1StringView("\"");
        m_out.Append(quote);
        if (key && m_doubled) {
            // A key inside another string is escaped twice over, so that it
            // reads back exactly once the outer string has been read: the key
            // reader drops raw white space, which the doubled string escapes
            // would leave after the first reading.
            cStringBuilder once;
            encodeText(once, text, false, true);
            encodeText(m_out, once.toString(), false);
        } else {
            encodeText(m_out, text, m_doubled, key);
        }
        m_out.Append(quote);
    }

    void members(const JsonObject& object)
    {
        bool first = true;
        for (const JsonMember& member : object) {
            if (!first)
                m_out.Append(QLatin1Char(','));
            first = false;
            quoted(member.key, true);
            m_out.Append(QLatin1Char(':'));
            any(member.value);
        }
    }

    void items(const JsonArray& array)
    {
        bool first = true;
        for (const JsonValue& item : array) {
            if (!first)
                m_out.Append(QLatin1Char(','));
            first = false;
            any(item);
        }
    }

    void object(const JsonObject& object)
    {
        m_out.Append(QLatin1Char('{'));
        members(object);
        m_out.Append(QLatin1Char('}'));
    }

    void array(const JsonArray& array)
    {
        m_out.Append(QLatin1Char('['));
        items(array);
        m_out.Append(QLatin1Char(']'));
    }

    bool m_doubled;
    cStringBuilder m_out;
};

} // namespace

JsonValue JsonParser::parse(QStringView text)
{
    m_errors.clear();
    Reader reader(text, m_errors);
    return reader.run();
}

JsonValue ParseJson(QStringView text)
{
    QString& errors = moduleErrors();
    errors.clear();
    Reader reader(text, errors);
    return reader.run();
}

QString GetParserErrors()
{
    return moduleErrors();
}

QString ToJson(const JsonValue& value)
{
    return Writer(false).write(value);
}

QString ToEscapedJson(const JsonValue& value)
{
    return Writer(true).write(value);
}

QString JsonNumberText(double value)
{
    cStringBuilder out;
    appendNumber(out, value);
    return out.toString();
}

JsonValue JsonFromVariant(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return JsonValue(nullptr);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return JsonValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return JsonValue(value.toDouble());
    case QMetaType::QDate:
        return JsonValue(QLocale().toString(value.toDate(), QLocale::ShortFormat));
    case QMetaType::QTime:
        return JsonValue(QLocale().toString(value.toTime(), QLocale::LongFormat));
    case QMetaType::QDateTime:
        return JsonValue(QLocale().toString(value.toDateTime(), QLocale::ShortFormat));
    case QMetaType::QByteArray:
        return JsonValue(QString::fromUtf8(value.toByteArray()));
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        JsonArray array;
        for (const QVariant& item : value.toList())
            array.append(JsonFromVariant(item));
        return JsonValue(std::move(array));
    }
    case QMetaType::QVariantMap: {
        JsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            object.insert(it.key(), JsonFromVariant(it.value()));
        return JsonValue(std::move(object));
    }
    default:
        return JsonValue(value.toString());
    }
}

} // namespace supplink
