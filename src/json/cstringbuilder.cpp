#include "json/cstringbuilder.h"

#include "start/errors.h"

#include <limits>

namespace supplink {

namespace {

constexpr qint64 kMaxBytes = std::numeric_limits<qint32>::max();

[[noreturn]] void throwOverflow()
{
    throw AppError(6, QStringLiteral("Overloop"));
}
[[noreturn]] void throwOutOfRange()
{
    throw AppError(9, QStringLiteral("Subscript valt buiten het bereik"));
}

} // namespace

void cStringBuilder::ChunkSize(qint32 characters)
{
    if (characters <= 0)
        throw AppError(5, QStringLiteral("Ongeldige procedure-aanroep of ongeldig argument"));
    if (qint64(characters) * 2 > kMaxBytes)
        throwOverflow();
    m_chunkBytes = characters * 2;
}

void cStringBuilder::grow(qsizetype extraCharacters)
{
    const qint64 needed = qint64(m_text.size()) * 2 + qint64(extraCharacters) * 2;
    if (needed > kMaxBytes)
        throwOverflow();
    if (m_capacityBytes >= needed)
        return;
    const qint64 chunks = (needed - m_capacityBytes + m_chunkBytes - 1) / m_chunkBytes;
    const qint64 capacity = m_capacityBytes + chunks * m_chunkBytes;
    if (capacity > kMaxBytes)
        throwOverflow();
    // Only the reported room moves in chunks: the string underneath grows
    // geometrically, so appending stays linear whatever the chunk size.
    m_capacityBytes = qint32(capacity);
}

void cStringBuilder::TheString(QStringView text)
{
    if (text.isEmpty()) {
        Clear();
        return;
    }
    const qint64 bytes = qint64(text.size()) * 2;
    if (bytes > kMaxBytes)
        throwOverflow();
    qint64 capacity = m_capacityBytes;
    if (capacity < bytes)
        capacity += (bytes - capacity + m_chunkBytes - 1) / m_chunkBytes * m_chunkBytes;
    if (capacity > kMaxBytes)
        throwOverflow();
    m_text = text.toString();
    m_capacityBytes = qint32(capacity);
}

void cStringBuilder::Clear()
{
    m_text = QString();
    m_capacityBytes = 0;
}

void cStringBuilder::Append(QStringView text)
{
    if (text.isEmpty())
        return;
    grow(text.size());
    m_text.append(text);
}

void cStringBuilder::Append(QLatin1StringView text)
{
    if (text.isEmpty())
        return;
    grow(text.size());
    m_text.append(text);
}

void cStringBuilder::Append(QChar c)
{
    grow(1);
    m_text.append(c);
}

void cStringBuilder::AppendNL(QStringView text)
{
    Append(text);
    Append(QLatin1StringView("\r\n"));
}

void cStringBuilder::Insert(qint32 index, QStringView text)
{
    if (index < 0 || index > Length())
        throwOutOfRange();
    if (text.isEmpty())
        return;
    grow(text.size());
    m_text.insert(index, text);
}

void cStringBuilder::Remove(qint32 index, qint32 count)
{
    if (index < 0 || count < 0 || index > Length() || qint64(index) + count > Length())
        throwOutOfRange();
    m_text.remove(index, count);
}

qint32 cStringBuilder::Find(QStringView text, qint32 start, CompareMode mode) const
{
    if (text.isEmpty())
        return 0;
    const qsizetype from = start < 1 ? 0 : qsizetype(start) - 1;
    if (from >= m_text.size())
        return 0;
    const auto cs = mode == CompareMode::Text ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const qsizetype found = QStringView(m_text).indexOf(text, from, cs);
    return found < 0 ? 0 : qint32(found + 1);
}

void cStringBuilder::HeapMinimize()
{
    const qint32 position = Length() * 2;
    while (m_capacityBytes - position > m_chunkBytes)
        m_capacityBytes -= m_chunkBytes;
    m_text.squeeze();
}

} // namespace supplink
