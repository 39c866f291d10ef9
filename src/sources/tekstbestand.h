#pragma once
// Reading the text files of suppliers and of the program itself: UTF-8 when
// the bytes start with a byte-order mark or are valid UTF-8, otherwise
// Windows-1252; lines end at CR LF, LF or CR. Writing a file whole or not at all.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace supplink {

// The bytes as text, by the rule above (a byte-order mark is dropped).
QString DecodeerTekst(const QByteArray& bytes);

// The decoded text of a file; no value when the file cannot be read.
std::optional<QString> LeesTekstBestand(const QString& path);

// Writes the bytes as the file's new content: into a new file beside it that takes the file's place only
// once every byte has been written. False when that failed; the file is then as it was.
bool SchrijfBestandVolledig(const QString& path, const QByteArray& inhoud);

// Walks the lines of a text. A line end after the last line gives no further
// empty line; an empty text has no lines.
class RegelLezer
{
public:
    explicit RegelLezer(QStringView text) : m_text(text) {}

    // The next line without its line end; false at the end of the text.
    bool volgende(QStringView& regel);
    bool aanHetEinde() const { return m_positie >= m_text.size(); }

private:
    QStringView m_text;
    qsizetype m_positie = 0;
};

} // namespace supplink
