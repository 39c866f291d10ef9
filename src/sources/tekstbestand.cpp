#include "sources/tekstbestand.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace supplink {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five codes it leaves
// undefined keep their Latin-1 (control) meaning.
constexpr char16_t kCp1252Hoog[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString vanCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* uit = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        uit[i] = (b >= 0x80 && b <= 0x9F) ? kCp1252Hoog[b - 0x80] : char16_t(b);
    }
    return text;
}

} // namespace

QString DecodeerTekst(const QByteArray& bytes)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom))
        return QString::fromUtf8(bytes.constData() + bom.size(), bytes.size() - bom.size());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return vanCp1252(bytes);
}

std::optional<QString> LeesTekstBestand(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return DecodeerTekst(bytes);
}

bool SchrijfBestandVolledig(const QString& path, const QByteArray& inhoud)
{
    // Unbuffered, so that a short write (a full disk, a size limit) shows in the count written.
    QSaveFile bestand(path);
    if (!bestand.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    qint64 geschreven = 0;
    while (geschreven < inhoud.size()) {
        const qint64 stuk = bestand.write(inhoud.constData() + geschreven, inhoud.size() - geschreven);
        if (stuk <= 0) {
            bestand.cancelWriting();
            return false;
        }
        geschreven += stuk;
    }
    return bestand.commit();
}

bool RegelLezer::volgende(QStringView& regel)
{
    const qsizetype n = m_text.size();
    if (m_positie >= n)
        return false;
    const char16_t* p = m_text.utf16();
    qsizetype eind = m_positie;
    while (eind < n && p[eind] != u'\n' && p[eind] != u'\r')
        ++eind;
    regel = m_text.mid(m_positie, eind - m_positie);
    if (eind < n && p[eind] == u'\r' && eind + 1 < n && p[eind + 1] == u'\n')
        ++eind;
    m_positie = eind + 1;
    return true;
}

} // namespace supplink
