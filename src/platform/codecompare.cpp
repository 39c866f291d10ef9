#include "platform/codecompare.h"

#include <QChar>
#include <sqlite3.h>

namespace supplink {

namespace {

char32_t foldAscii(char32_t c)
{
    return (c >= u'A' && c <= u'Z') ? c + 32 : c;
}

char32_t fold(char32_t c)
{
    return c < 0x80 ? foldAscii(c) : QChar::toCaseFolded(c);
}

// The code points of a UTF-16 text, one by one (a lone surrogate stands for itself).
class Utf16Reader
{
public:
    explicit Utf16Reader(QStringView text) : m_text(text) {}
    bool atEnd() const { return m_pos >= m_text.size(); }
    char32_t next()
    {
        char32_t c = m_text[m_pos++].unicode();
        if (QChar::isHighSurrogate(c) && m_pos < m_text.size() && m_text[m_pos].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), m_text[m_pos++].unicode());
        return c;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// The code points of a UTF-8 text as SQLite hands it to a collation. A byte that starts no valid sequence
// stands for itself (as U+DC80..U+DCFF), so that any bytes compare the same way every time.
class Utf8Reader
{
public:
    Utf8Reader(const unsigned char* text, int size) : m_text(text), m_end(text + (size > 0 ? size : 0)) {}
    bool atEnd() const { return m_text >= m_end; }
    char32_t next()
    {
        const unsigned char lead = *m_text++;
        if (lead < 0x80)
            return lead;
        int more = 0;
        char32_t c = 0;
        char32_t smallest = 0;
        if ((lead & 0xE0) == 0xC0) {
            more = 1;
            c = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            more = 2;
            c = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            more = 3;
            c = lead & 0x07;
            smallest = 0x10000;
        } else {
            return 0xDC00 + lead;
        }
        if (m_end - m_text < more)
            return 0xDC00 + lead;
        for (int i = 0; i < more; ++i) {
            if ((m_text[i] & 0xC0) != 0x80)
                return 0xDC00 + lead;
            c = (c << 6) | (m_text[i] & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF)
            return 0xDC00 + lead;
        m_text += more;
        return c;
    }

private:
    const unsigned char* m_text;
    const unsigned char* m_end;
};

template <typename Reader> int compareFolded(Reader a, Reader b)
{
    while (!a.atEnd() && !b.atEnd()) {
        const char32_t x = fold(a.next());
        const char32_t y = fold(b.next());
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.atEnd() && b.atEnd())
        return 0;
    return a.atEnd() ? -1 : 1;
}

int collate(void*, int size1, const void* text1, int size2, const void* text2)
{
    return compareFolded(Utf8Reader(static_cast<const unsigned char*>(text1), size1),
                         Utf8Reader(static_cast<const unsigned char*>(text2), size2));
}

} // namespace

QString foldCode(QStringView code)
{
    QString folded;
    folded.reserve(code.size());
    Utf16Reader reader(code);
    while (!reader.atEnd()) {
        const char32_t c = fold(reader.next());
        if (QChar::requiresSurrogates(c)) {
            folded.append(QChar(QChar::highSurrogate(c)));
            folded.append(QChar(QChar::lowSurrogate(c)));
        } else {
            folded.append(QChar(char16_t(c)));
        }
    }
    return folded;
}

int compareCodes(QStringView a, QStringView b)
{
    return compareFolded(Utf16Reader(a), Utf16Reader(b));
}

quint64 codeHash(QStringView code)
{
    quint64 hash = 14695981039346656037ULL;
    Utf16Reader reader(code);
    while (!reader.atEnd()) {
        hash ^= fold(reader.next());
        hash *= 1099511628211ULL;
    }
    return hash;
}

int registerCodeCollation(sqlite3* db)
{
    return sqlite3_create_collation_v2(db, kCodeCollation, SQLITE_UTF8, nullptr, collate, nullptr);
}

} // namespace supplink
