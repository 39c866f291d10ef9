#include "sources/typeselectie.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/sharedroutines.h"

namespace supplink {

namespace {

struct BibliotheekTabel
{
    qint32 nummer;
    const char16_t* naam;
    const char16_t* tabel;
};

constexpr BibliotheekTabel kBibliotheek[] = {
    {1, u"Vak Sponningen", u"PaneGrooveTable"},
    {2, u"Rand Sponningen", u"EdgeGroove"},
    {3, u"Element Sponningen", u"OuterGrooveTable"},
    {4, u"Laagreliëf Dorpel Combi's", u"TreshHoldCombi"},
    {5, u"Neut Combi's", u"TreshHoldCombiExt"},
    {6, u"Hang en Sluitwerk Combi's", u"LocksHingesCombi"},
    {7, u"Hang en Sluitwerk Keuzes", u"CustomLHCombi"},
};

// Opens the source as a Jet or SQLite database; false (after the connection object's own report)
// when that failed.
bool OpenBron(clsConnectie& cn, clsBron2& bron, bool sqlite)
{
    return sqlite ? cn.MakenSQLiteConnectie(bron.Path(), false)
                  : cn.MakenJetConnectie(bron.Path(), QString());
}

} // namespace

QString TypeSelectieModel::TypeNaam(TypeSelectieSoort soort, qint32 nummer)
{
    static const QStringList artikelen{QStringLiteral("Bruto houten profielen"),
                                       QStringLiteral("Panelen"),
                                       QStringLiteral("Glas"),
                                       QStringLiteral("Dubbel glas"),
                                       QStringLiteral("Veiligheids glas"),
                                       QStringLiteral("Rabat/Schrootjes"),
                                       QStringLiteral("Hang & Sluitwerk (Stuks)"),
                                       QStringLiteral("Hang & Sluitwerk (Lengte)"),
                                       QStringLiteral("Ventilatieroosters"),
                                       QStringLiteral("Inkoopdeuren"),
                                       QStringLiteral("Diverse lengte materialen"),
                                       QStringLiteral("Diverse oppervlakte materialen"),
                                       QStringLiteral("Diverse stuks materialen"),
                                       QStringLiteral("Conserveringsmiddelen"),
                                       QStringLiteral("Laagreliëf dorpels variabele lengte"),
                                       QStringLiteral("Neuten")};
    static const QStringList sponningen{QStringLiteral("Vaksponningen"), QStringLiteral("Elementsponningen"),
                                        QStringLiteral("Randsponningen"), QStringLiteral("Muursponningen")};
    switch (soort) {
    case TypeSelectieSoort::Artikelen:
        return artikelen.value(nummer);
    case TypeSelectieSoort::Sponningfiguren:
        return nummer >= 1 ? sponningen.value(nummer - 1) : QString();
    case TypeSelectieSoort::Bibliotheek:
        for (const BibliotheekTabel& t : kBibliotheek)
            if (t.nummer == nummer)
                return QString::fromUtf16(t.naam);
        return QString();
    }
    return QString();
}

QString TypeSelectieModel::TitelVoorvoegsel(TypeSelectieSoort soort)
{
    switch (soort) {
    case TypeSelectieSoort::Artikelen:
        return QStringLiteral("Artikeltype Selectie : ");
    case TypeSelectieSoort::Bibliotheek:
        return QStringLiteral("Bibliotheek Selectie : ");
    case TypeSelectieSoort::Sponningfiguren:
        return QStringLiteral("Sponningfiguur Selectie : ");
    }
    return QString();
}

QString TypeSelectieModel::GeenTypenBericht(TypeSelectieSoort soort)
{
    switch (soort) {
    case TypeSelectieSoort::Artikelen:
        return QStringLiteral("Het bronbestand bevat geen artikelen!");
    case TypeSelectieSoort::Bibliotheek:
        return QStringLiteral("Het bronbestand bevat geen onderdelen!");
    case TypeSelectieSoort::Sponningfiguren:
        return QStringLiteral("Het bronbestand bevat geen sponningfiguren!");
    }
    return QString();
}

void TypeSelectieModel::SetFile(clsBron2& bron)
{
    rijen.clear();
    AantalGevonden = 0;
    Tellen(bron);
    VinkBewaard(bron.TypeSelectie);
    PasUitkomstToe(bron);
}

void TypeSelectieModel::Tellen(clsBron2& bron)
{
    switch (m_soort) {
    case TypeSelectieSoort::Artikelen:
        TelArtikelen(bron);
        break;
    case TypeSelectieSoort::Sponningfiguren:
        TelSponningfiguren(bron);
        break;
    case TypeSelectieSoort::Bibliotheek:
        TelBibliotheek(bron);
        break;
    }
}

void TypeSelectieModel::RijToevoegen(qint32 nummer, qint64 aantal)
{
    const QString naam = TypeNaam(m_soort, nummer);
    if (naam.isEmpty())
        return;
    const char* eenheid = m_soort == TypeSelectieSoort::Artikelen     ? " artikelen)"
                          : m_soort == TypeSelectieSoort::Bibliotheek ? " onderdelen)"
                                                                      : " figuren)";
    rijen.append(TypeRij{
        nummer, naam + QStringLiteral(" (") + QString::number(aantal) + QLatin1String(eenheid), false});
}

void TypeSelectieModel::TelArtikelen(clsBron2& bron)
{
    if (!bron.IsJetDatabase && !bron.IsSQLite)
        return;
    const bool sqlite = !bron.IsJetDatabase;
    clsConnectie cn;
    if (!OpenBron(cn, bron, sqlite))
        return;
    const QString sql =
        sqlite
            ? QStringLiteral("SELECT Count(Article.ID) AS CountOfID, Article.fkType AS TheType From Article "
                             "GROUP BY Article.fkType ORDER BY Article.fkType")
            : QStringLiteral("SELECT ArtType.ID, ArtType.Description, ArtType.Type, ArtType.OrderNr, "
                             "Count(Article.ID) AS CountOfID FROM ArtType INNER JOIN Article ON ArtType.ID = "
                             "Article.fkType  GROUP BY ArtType.ID, ArtType.Description, ArtType.Type, "
                             "ArtType.OrderNr  ORDER BY ArtType.OrderNr");
    try {
        RecordsetPtr rs = cn.Connection()->openRecordset(sql);
        const QString typeVeld = sqlite ? QStringLiteral("theType") : QStringLiteral("ID");
        for (; !rs->eof(); rs->moveNext()) {
            ++AantalGevonden;
            // Articles without a type (fkType Null) form a group of their own, which has no type number to
            // list: a counting error, as taking the Null as a number would be.
            const QVariant type = rs->value(typeVeld);
            if (!type.isValid() || type.isNull())
                throw AppError(94, QStringLiteral("Ongeldig gebruik van Null: het bronbestand bevat artikelen zonder "
                                                  "artikeltype."));
            RijToevoegen(NzLong(type), NzLong(rs->value(QStringLiteral("CountOfID"))));
        }
    } catch (...) {
        cn.SluitenConnectie();
        throw;
    }
    cn.SluitenConnectie();
}

void TypeSelectieModel::TelSponningfiguren(clsBron2& bron)
{
    const bool sqlite = bron.IsSQLite;
    clsConnectie cn;
    if (!OpenBron(cn, bron, sqlite))
        return;
    try {
        RecordsetPtr rs = cn.Connection()->openRecordset(QStringLiteral(
            "SELECT GrooveShape.Type, Count(GrooveShape.Code) AS CountOfCode  FROM GrooveShape  GROUP BY "
            "GrooveShape.Type  ORDER BY GrooveShape.Type"));
        for (; !rs->eof(); rs->moveNext()) {
            ++AantalGevonden;
            RijToevoegen(NzLong(rs->value(QStringLiteral("Type"))),
                         NzLong(rs->value(QStringLiteral("CountOfCode"))));
        }
    } catch (...) {
        cn.SluitenConnectie();
        throw;
    }
    cn.SluitenConnectie();
}

void TypeSelectieModel::TelBibliotheek(clsBron2& bron)
{
    const bool sqlite = bron.IsSQLite;
    const int aantal = sqlite && bron.Minimaal35Formaat() ? 7 : 5;
    for (int i = 0; i < aantal; ++i) {
        const QString tabel = QString::fromUtf16(kBibliotheek[i].tabel);
        OnderdeelToevoegen(bron, sqlite, kBibliotheek[i].nummer, QString::fromUtf16(kBibliotheek[i].naam),
                           QStringLiteral("SELECT Count(%1.Code) AS CountOfCode FROM %1").arg(tabel));
    }
}

void TypeSelectieModel::OnderdeelToevoegen(clsBron2& bron, bool sqlite, qint32 nummer, const QString& naam,
                                           const QString& query)
{
    Q_UNUSED(naam);
    clsConnectie cn;
    try {
        if (!OpenBron(cn, bron, sqlite)) {
            cn.SluitenConnectie();
            return;
        }
        RecordsetPtr rs = cn.Connection()->openRecordset(query);
        if (!rs->eof()) {
            const qint32 telling = NzLong(rs->value(QStringLiteral("CountOfCode")));
            AantalGevonden += telling;
            RijToevoegen(nummer, telling);
        }
    } catch (const std::exception& error) {
        ShowError(sqlite ? QStringLiteral("OnderdeelToevoegenSQLite") : QStringLiteral("OnderdeelToevoegen"),
                  error);
    }
    cn.SluitenConnectie();
}

void TypeSelectieModel::VinkBewaard(const QString& typeSelectie)
{
    if (typeSelectie.isEmpty())
        return;
    for (const QString& stuk : typeSelectie.split(u';')) {
        bool ok = false;
        const qint32 nummer = stuk.trimmed().toInt(&ok);
        if (!ok)
            throw AppError(13, QStringLiteral("Typen komen niet overeen"));
        for (TypeRij& rij : rijen)
            if (rij.nummer == nummer)
                rij.aangevinkt = true;
    }
}

void TypeSelectieModel::PasUitkomstToe(clsBron2& bron)
{
    // A source whose one type has no name lists nothing to take: it is treated as empty.
    const bool leeg = AantalGevonden == 0 ||
                      (AantalGevonden == 1 && m_soort != TypeSelectieSoort::Bibliotheek && rijen.isEmpty());
    if (leeg) {
        ToonFout(GeenTypenBericht(m_soort), QString());
        Tonen = false;
        Geaccepteerd = false;
        bron.TypeSelectie.clear();
    } else if (AantalGevonden == 1 && m_soort != TypeSelectieSoort::Bibliotheek) {
        Tonen = false;
        for (TypeRij& rij : rijen)
            rij.aangevinkt = true;
        UpdateBron(bron);
        Geaccepteerd = true;
    } else {
        Tonen = true;
    }
}

void TypeSelectieModel::ZetVinkje(int rij, bool aan)
{
    if (rij >= 0 && rij < rijen.size())
        rijen[rij].aangevinkt = aan;
}

bool TypeSelectieModel::OKMogelijk() const
{
    for (const TypeRij& rij : rijen)
        if (rij.aangevinkt)
            return true;
    return false;
}

QString TypeSelectieModel::SelectieTekst() const
{
    QStringList nummers;
    for (const TypeRij& rij : rijen)
        if (rij.aangevinkt)
            nummers << QString::number(rij.nummer);
    return nummers.join(u';');
}

void TypeSelectieModel::UpdateBron(clsBron2& bron) const
{
    bron.TypeSelectie = SelectieTekst();
}

} // namespace supplink
