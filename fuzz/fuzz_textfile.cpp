// Reads any bytes as a supplier's text file (a CSV price list): the decoding
// (UTF-8 with or without a byte-order mark, else Windows-1252), the walk over
// its lines, and the layout found from its first lines. Checks that decoding
// loses no byte, that the lines hold the whole text without their line ends,
// and that a layout found is one the program can use.
#include "sources/bronbestandsinspectie.h"
#include "sources/tekstbestand.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace supplink;

namespace {

bool validUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes); // decoding happens on the conversion to QString
    Q_UNUSED(decoded);
    return !utf8.hasError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("prijzen.csv"));

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = DecodeerTekst(bytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        FUZZ_CHECK(text == QString::fromUtf8(bytes.mid(3)));
    else if (validUtf8(bytes))
        FUZZ_CHECK(text == QString::fromUtf8(bytes));
    else
        FUZZ_CHECK(text.size() == bytes.size()); // one character per byte

    // The lines, joined by line feeds, give the text with every line end a line feed.
    QString joined;
    RegelLezer lezer(text);
    QStringView regel;
    qsizetype lines = 0;
    while (lezer.volgende(regel)) {
        FUZZ_CHECK(!regel.contains(u'\r') && !regel.contains(u'\n'));
        if (lines++ > 0)
            joined += QLatin1Char('\n');
        joined += regel;
    }
    FUZZ_CHECK(lezer.aanHetEinde());
    QString expected = text;
    expected.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (expected.endsWith(QLatin1Char('\n')))
        expected.chop(1);
    FUZZ_CHECK(joined == expected);
    FUZZ_CHECK(lines == 0 || !text.isEmpty());

    // The same from the file, with the layout of the delimited text.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const std::optional<QString> read = LeesTekstBestand(path);
    FUZZ_CHECK(read && *read == text);

    bool isCSV = true, quoted = true, repeated = true;
    QString separator;
    qint32 columns = 0;
    BepaalCSVIndeling(path, isCSV, separator, quoted, columns, repeated);
    if (isCSV) {
        FUZZ_CHECK(separator == QLatin1String(",") || separator == QLatin1String(";"));
        FUZZ_CHECK(columns == -1 || columns >= 1);
    } else {
        FUZZ_CHECK(separator.isEmpty() && columns == -1 && !repeated);
    }
    return 0;
}
