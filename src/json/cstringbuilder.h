#pragma once
// A growable buffer of UTF-16 characters that builds long texts by appending.
//
// The buffer reports its room in whole chunks (8192 characters unless set
// otherwise): it grows by as many chunks as an append needs and gives room back
// only in HeapMinimize. The storage underneath grows geometrically, so that
// appending stays amortised constant time per character however small the chunk.

#include <QString>
#include <QStringView>

namespace supplink {

class cStringBuilder
{
public:
    enum class CompareMode
    {
        Binary,
        Text
    };

    // Characters built.
    qint32 Length() const { return qint32(m_text.size()); }
    // Room in characters (a whole number of chunks, or 0).
    qint32 Capacity() const { return m_capacityBytes / 2; }
    // Growth step in characters.
    qint32 ChunkSize() const { return m_chunkBytes / 2; }
    // Sets the growth step; takes effect at the next growth. Throws AppError 5
    // for a step that is not positive, 6 when it does not fit.
    void ChunkSize(qint32 characters);

    // The built text.
    QString toString() const { return m_text; }
    // Replaces the built text; an empty text releases the storage as Clear does.
    void TheString(QStringView text);
    // Releases the storage (the chunk size stays).
    void Clear();

    void Append(QStringView text);
    void Append(QLatin1StringView text);
    void Append(QChar c);
    void AppendByVal(const QString& text) { Append(QStringView(text)); }
    // Appends the text and a carriage return and line feed.
    void AppendNL(QStringView text);

    // Inserts before the 0-based character index (0 = front, Length() = end);
    // throws AppError 9 and changes nothing for an index outside the text.
    void Insert(qint32 index, QStringView text);
    void InsertByVal(qint32 index, const QString& text) { Insert(index, QStringView(text)); }
    // Removes count characters from the 0-based index; throws AppError 9 and
    // changes nothing for a range outside the text.
    void Remove(qint32 index, qint32 count);

    // 1-based position of the first match that lies wholly inside the built
    // text, searching from the 1-based start (below 1: from the first
    // character); 0 when there is none or the text to find is empty.
    qint32 Find(QStringView text, qint32 start = 1, CompareMode mode = CompareMode::Binary) const;

    // Gives back spare room in whole chunks, leaving at most one chunk spare.
    void HeapMinimize();

private:
    // Makes room for extra characters after the built text.
    void grow(qsizetype extraCharacters);

    QString m_text;
    qint32 m_chunkBytes = 16384;
    qint32 m_capacityBytes = 0;
};

} // namespace supplink
