#include "import/clshangsluitregel.h"

#include "start/errors.h"

#include <limits>

namespace supplink {

namespace {

QString tekst(const QString& t)
{
    return QLatin1Char('"') + JsonTekstInhoud(t) + QLatin1Char('"');
}

} // namespace

qint32 MaalTien(qint32 maat)
{
    constexpr qint32 kOverloop = 6;
    const qint64 mm = qint64(maat) * 10;
    if (mm < std::numeric_limits<qint32>::min() || mm > std::numeric_limits<qint32>::max())
        throw AppError(kOverloop, QStringLiteral("Overloop: %1 maal 10").arg(maat));
    return qint32(mm);
}

QString JsonTekstInhoud(const QString& tekst)
{
    QString uit;
    uit.reserve(tekst.size());
    for (const QChar c : tekst) {
        switch (c.unicode()) {
        case u'"':
            uit += QLatin1String("\\\"");
            break;
        case u'\\':
            uit += QLatin1String("\\\\");
            break;
        case u'\b':
            uit += QLatin1String("\\b");
            break;
        case u'\f':
            uit += QLatin1String("\\f");
            break;
        case u'\n':
            uit += QLatin1String("\\n");
            break;
        case u'\r':
            uit += QLatin1String("\\r");
            break;
        case u'\t':
            uit += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                uit += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                uit += c;
        }
    }
    return uit;
}

clsHangSluitRegel::Maten clsHangSluitRegel::MaatGegevens() const
{
    Maten m;
    const bool breedte = BreedteVan > 0 || BreedteTot > 0;
    const bool hoogte = HoogteVan > 0 || HoogteTot > 0;
    if (BreedteVan == 0 && BreedteTot == 0 && HoogteVan == 0 && HoogteTot == 0)
        m.type = 0;
    else if (breedte && hoogte)
        m.type = 3;
    else if (breedte)
        m.type = 1;
    else
        m.type = 2;
    m.breedte = m.type == 1 || m.type == 3;
    m.hoogte = m.type == 2 || m.type == 3;
    if (m.breedte) {
        m.wFrom = MaalTien(BreedteVan);
        m.wTo = MaalTien(BreedteTot);
    }
    if (m.hoogte) {
        m.hFrom = MaalTien(HoogteVan);
        m.hTo = MaalTien(HoogteTot);
    }
    return m;
}

QString clsHangSluitRegel::DrawDeel() const
{
    const bool tekenen = Tekenen();
    return QStringLiteral("\"Draw\":") + (tekenen ? QLatin1Char('1') : QLatin1Char('0')) +
           QStringLiteral(",\"Origin\":") + QString::number(Oorsprong) + QStringLiteral(",\"CR_Y\":") +
           tekst(tekenen ? Y : QStringLiteral("0")) + QStringLiteral(",\"CR_X\":") +
           tekst(tekenen ? X : QStringLiteral("0")) + QStringLiteral(",\"Polygon\":") +
           QString::number(Bemating);
}

QString clsHangSluitRegel::MaatDeel() const
{
    const Maten m = MaatGegevens();
    return QStringLiteral("\"Type\":%1,\"WFrom\":%2,\"WTo\":%3,\"HFrom\":%4,\"HTo\":%5")
        .arg(m.type)
        .arg(m.wFrom)
        .arg(m.wTo)
        .arg(m.hFrom)
        .arg(m.hTo);
}

QString clsHangSluitRegel::GetAsJSON() const
{
    return QStringLiteral("{\"fkArticle\":") + tekst(ArtikelCode) + QStringLiteral(",\"Position\":") +
           QString::number(Positie) + QLatin1Char(',') + DrawDeel() +
           QStringLiteral(",\"ZPos\":0,\"ZPosWindow\":0,") + MaatDeel() + QStringLiteral(",\"RealLength\":") +
           tekst(CalculatieLengte) + QStringLiteral(",\"DrawLength\":") + tekst(AdrukLengte) +
           QStringLiteral(",\"DrawWidth\":") + tekst(AfdrukBreedte) +
           QStringLiteral(",\"Misc1\":\"\",\"Misc2\":\"\",\"Misc3\":\"\",\"Misc4\":\"\",\"Misc5\":\"\"}");
}

} // namespace supplink
