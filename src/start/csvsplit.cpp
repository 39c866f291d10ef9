#include "start/csvsplit.h"

#include <bit>
#include <new>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define SUPPLINK_CSV_SSE2 1
#endif

namespace supplink {

namespace {

// Position of the next ";" or double quote at or after i; n when there is none.
inline qsizetype nextSpecial(const char16_t* p, qsizetype i, qsizetype n)
{
#ifdef SUPPLINK_CSV_SSE2
    const __m128i semicolon = _mm_set1_epi16(u';');
    const __m128i quote = _mm_set1_epi16(u'"');
    for (; i + 8 <= n; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi16(chunk, semicolon), _mm_cmpeq_epi16(chunk, quote));
        const unsigned mask = unsigned(_mm_movemask_epi8(hits));
        if (mask != 0)
            return i + std::countr_zero(mask) / 2;
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == u';' || p[i] == u'"')
            return i;
    }
    return n;
}

// Most lines of a file have as many fields as the one before.
thread_local qsizetype t_expectedFields = 8;

// Splits with quoting on. A field is taken from the line in one piece unless
// quotes were dropped from it; then its pieces are joined.
QStringList splitQuoted(const char16_t* p, qsizetype n)
{
    QStringList fields;
    fields.reserve(t_expectedFields);
    QString pieces; // the field so far, once a quote has been dropped from it
    bool joined = false;
    bool inQuotes = false;
    qsizetype runStart = 0;

    const auto endField = [&](qsizetype end) {
        if (joined) {
            pieces.append(QStringView(p + runStart, end - runStart));
            fields.append(std::move(pieces));
            pieces = QString();
            joined = false;
        } else {
            fields.emplaceBack(reinterpret_cast<const QChar*>(p + runStart), end - runStart);
        }
    };
    const auto dropQuote = [&](qsizetype at) {
        pieces.append(QStringView(p + runStart, at - runStart));
        joined = true;
        runStart = at + 1;
    };

    for (qsizetype i = nextSpecial(p, 0, n); i < n; i = nextSpecial(p, i + 1, n)) {
        if (p[i] == u';') {
            if (!inQuotes) {
                endField(i);
                runStart = i + 1;
            }
        } else if (!inQuotes) {
            inQuotes = true;
            dropQuote(i);
        } else if (i + 1 == n || p[i + 1] == u';') {
            inQuotes = false;
            dropQuote(i);
        }
        // Any other quote inside quotes is part of the field.
    }
    endField(n);
    t_expectedFields = fields.size();
    return fields;
}

QStringList splitUnquoted(const char16_t* p, qsizetype n)
{
    QStringList fields;
    fields.reserve(t_expectedFields);
    QString field;
    qsizetype runStart = 0;
    for (qsizetype i = nextSpecial(p, 0, n); i < n; i = nextSpecial(p, i + 1, n)) {
        field.append(QStringView(p + runStart, i - runStart));
        runStart = i + 1;
        if (p[i] == u';') {
            fields.append(std::move(field));
            field = QString();
        }
    }
    field.append(QStringView(p + runStart, n - runStart));
    fields.append(std::move(field));
    t_expectedFields = fields.size();
    return fields;
}

} // namespace

std::optional<QStringList> SplitCSVRegel(QStringView line, bool& ok, QString& errorText, bool quotingOff)
{
    ok = true;
    if (line.isEmpty()) {
        ok = false;
        errorText = QStringLiteral("Een lege regel kan niet in velden worden gesplitst.");
        return std::nullopt;
    }
    try {
        const char16_t* p = line.utf16();
        return quotingOff ? splitUnquoted(p, line.size()) : splitQuoted(p, line.size());
    } catch (const std::bad_alloc&) {
        ok = false;
        errorText = QStringLiteral("Onvoldoende geheugen om de regel in velden te splitsen.");
        return std::nullopt;
    }
}

} // namespace supplink
