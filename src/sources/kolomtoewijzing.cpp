#include "sources/kolomtoewijzing.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "sources/tekstbestand.h"
#include "start/csvsplit.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <cmath>

namespace supplink {

namespace {

constexpr qint32 kCodeNietImporteren = 0;
constexpr qint32 kCodeCode = 1;
constexpr qint32 kCodeOmschrijving = 2;
constexpr qint32 kCodePrijs = 10;
constexpr qint32 kCodeArtikelType = 24;
constexpr qint32 kCodeKleurVoorzijde = 28;
constexpr qint32 kCodeKleurAchterzijde = 29;
constexpr qint32 kCodeOmschrijvingOfferte = 31;

const VeldCatalogus kLeeg;

// The leading number of a text, as a whole number (an empty text or one without digits gives 0).
double LeidendGetal(const QString& tekst)
{
    const QString t = tekst.trimmed();
    int eind = 0;
    if (eind < t.size() && (t[eind] == u'-' || t[eind] == u'+'))
        ++eind;
    bool punt = false;
    while (eind < t.size() && (t[eind].isDigit() || (t[eind] == u'.' && !punt))) {
        punt = punt || t[eind] == u'.';
        ++eind;
    }
    bool ok = false;
    const double waarde = t.left(eind).toDouble(&ok);
    return ok ? waarde : 0.0;
}

} // namespace

const QStringList& KolomToewijzing::BestandTypeNamen()
{
    static const QStringList namen{QStringLiteral("Artikelen"), QStringLiteral("Hang en Sluitwerk Tabellen")};
    return namen;
}

const QStringList& KolomToewijzing::ArtikelTypeNamen()
{
    static const QStringList namen{QStringLiteral("Bruto Houten Profielen"),
                                   QStringLiteral("Panelen"),
                                   QStringLiteral("Glas"),
                                   QStringLiteral("Dubbel Glas"),
                                   QStringLiteral("Veiligheids Glas"),
                                   QStringLiteral("Rabat/Schrootjes"),
                                   QStringLiteral("Hang en Sluitwerk (Stuks)"),
                                   QStringLiteral("Hang en Sluitwerk (Lengte)"),
                                   QStringLiteral("Ventilatieroosters"),
                                   QStringLiteral("Inkoopdeuren"),
                                   QStringLiteral("Diverse Lengte Materialen"),
                                   QStringLiteral("Diverse Oppervlakte Materialen"),
                                   QStringLiteral("Diverse Stuks Materialen"),
                                   QStringLiteral("Conserveringen"),
                                   QStringLiteral("Laagrelief Dorpels"),
                                   QStringLiteral("Neuten"),
                                   QStringLiteral("Folie"),
                                   QStringLiteral("T-Verbinders"),
                                   QStringLiteral("Staal (Lengte)"),
                                   QStringLiteral("Kunststof Profielen"),
                                   QStringLiteral("Roede Beglazing"),
                                   QStringLiteral("Laagrelief Dorpels met vaste Neuten"),
                                   QStringLiteral("Staal (Stuks)")};
    return namen;
}

const QStringList& KolomToewijzing::CombiTypeNamen()
{
    static const QStringList namen{QStringLiteral("Hang en Sluitwerk Combi's"),
                                   QStringLiteral("Hang en Sluitwerk Keuzes")};
    return namen;
}

QString KolomToewijzing::KolomTitel(int index)
{
    return QString(QChar(char16_t(65 + index)));
}

void KolomToewijzing::MaakKolommen(int aantal)
{
    kolomAantal = aantal;
}

void KolomToewijzing::LeesCSV(const QString& path, bool metAanhalingstekens, bool alles)
{
    try {
        kolomAantal = -1;
        const std::optional<QString> tekst = LeesTekstBestand(path);
        if (!tekst)
            return;
        QStringList regels = tekst->split(u'\n');
        if (!regels.isEmpty() && regels.last().isEmpty())
            regels.removeLast(); // the line break that ends the last line
        int gelezen = 0;
        for (QString regel : regels) {
            ++gelezen;
            if (regel.endsWith(u'\r'))
                regel.chop(1);
            if (!regel.trimmed().isEmpty()) {
                bool ok = false;
                QString fout;
                const std::optional<QStringList> velden =
                    SplitCSVRegel(regel, ok, fout, !metAanhalingstekens);
                if (velden && !velden->isEmpty()) {
                    if (kolomAantal < 0)
                        MaakKolommen(int(velden->size()));
                    rijen.append(*velden);
                }
            }
            if (!alles && gelezen >= kVoorbeeldRegels)
                break;
        }
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("SetupReportCSVControl"), error);
    }
}

void KolomToewijzing::LeesExcel(const QString& path, bool alles)
{
    clsConnectie cn;
    try {
        if (!cn.MakenExcelConnectie(path, false)) {
            cn.SluitenConnectie();
            return;
        }
        DbConnection db = cn.Connection();
        const QStringList tabellen = db ? db->tableNames() : QStringList();
        if (!tabellen.isEmpty()) {
            RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT * FROM [") + tabellen.first() + u']');
            if (rs && !rs->eof()) {
                MaakKolommen(rs->fieldCount());
                int teller = 1;
                for (; !rs->eof(); rs->moveNext()) {
                    QStringList cellen;
                    for (int i = 0; i < rs->fieldCount(); ++i)
                        cellen << NzString(rs->value(i));
                    rijen.append(cellen);
                    if (!alles && ++teller >= kVoorbeeldRegels)
                        break; // at most 49 rows
                }
            }
        }
    } catch (const std::exception& error) {
        ShowError(QStringLiteral("SetupReportXLSControl"), error);
    }
    cn.SluitenConnectie();
}

void KolomToewijzing::LeesBron(clsBron2& bron, bool alles)
{
    if (bron.IsExcel)
        LeesExcel(bron.Path(), alles);
    else if (bron.IsCSV)
        LeesCSV(bron.Path(), bron.MetAanhalingstekens, alles);
    MaakKopRegel();
}

void KolomToewijzing::LeesGeheleBestand(clsBron2& bron)
{
    const qint32 kolommen = kolomAantal;
    rijen.clear();
    if (bron.IsExcel)
        LeesExcel(bron.Path(), true);
    else if (bron.IsCSV)
        LeesCSV(bron.Path(), bron.MetAanhalingstekens, true);
    if (kolommen >= 0)
        kolomAantal = kolommen; // the columns made by the preview stay
}

void KolomToewijzing::MaakKopRegel()
{
    if (kolomAantal < 0)
        return;
    heeftKopRegel = true;
    koppen = QStringList(kolomAantal, QString());
    kopKleuren = QList<QRgb>(kolomAantal, KolomKleur::KopLeeg);
}

void KolomToewijzing::WisKopRegel()
{
    if (!heeftKopRegel)
        return;
    for (int i = 0; i < koppen.size(); ++i) {
        koppen[i].clear();
        kopKleuren[i] = KolomKleur::KopLeeg;
    }
}

void KolomToewijzing::KiesVeldCatalogus()
{
    if (bestandType == 0)
        catalogus = &globals().gVeldCatalogusArtikelen;
    else if (bestandType == 1)
        catalogus = &globals().gVeldCatalogusHangSluit;
}

const VeldCatalogus& KolomToewijzing::HuidigeCatalogus() const
{
    return catalogus ? *catalogus : kLeeg;
}

qint32 KolomToewijzing::CodeVanNaam(const QString& naam, bool* gevonden) const
{
    for (const clsProperty& entry : HuidigeCatalogus()) {
        if (entry.name == naam) {
            if (gevonden)
                *gevonden = true;
            return entry.Tag;
        }
    }
    if (gevonden)
        *gevonden = false;
    return kCodeNietImporteren;
}

void KolomToewijzing::KiesBestandType(int type, const clsBron2& bron)
{
    bestandType = type;
    KiesVeldCatalogus();
    WisKopRegel();
    if (!bron.KolomSoorten.isEmpty())
        SetImportPlan(bron);
    else
        LoadImportPlan(bron);
    SetArtikelType();
}

void KolomToewijzing::SetImportPlan(const clsBron2& bron)
{
    for (int i = 0; i < koppen.size() && i < bron.KolomSoorten.size(); ++i) {
        koppen[i] = VeldNaam(bron.KolomSoorten.at(i));
        kopKleuren[i] = KolomKleur::KopGekozen;
    }
    nietEersteRijImporteren = !bron.EersteRijImporteren;
    if (bron.Soort == 0 && bron.ArtikelType < ArtikelTypeNamen().size())
        artikelType = bron.ArtikelType < 0 ? -1 : bron.ArtikelType;
    else if (bron.Soort == 1 && bron.CombiType < CombiTypeNamen().size())
        combiType = bron.CombiType < 0 ? -1 : bron.CombiType;
}

void KolomToewijzing::LoadImportPlan(const clsBron2& bron)
{
    const VeldCatalogus& huidig = HuidigeCatalogus();
    VeldCatalogus vrij = huidig;
    bool gevonden = false;
    const QStringList eerste = rijen.isEmpty() ? QStringList() : rijen.first();

    auto neemVrij = [&](qsizetype index, int kolom) {
        koppen[kolom] = vrij.at(index).name;
        kopKleuren[kolom] = KolomKleur::KopGekozen;
        vrij.removeAt(index);
        gevonden = true;
    };

    for (int kolom = 0; kolom < koppen.size(); ++kolom) {
        const QString h = kolom < eerste.size() ? eerste.at(kolom).toUpper() : QString();
        if (!koppen.at(kolom).isEmpty() || h.isEmpty())
            continue;

        qsizetype keuze = -1;
        for (qsizetype i = 0; i < vrij.size() && keuze < 0; ++i)
            if (vrij.at(i).name.toUpper() == h)
                keuze = i;
        for (qsizetype i = 0; i < vrij.size() && keuze < 0; ++i) {
            const QString naam = vrij.at(i).name.toUpper();
            if (naam.contains(h) || h.contains(naam))
                keuze = i;
        }
        if (keuze < 0 && (h.contains(QLatin1String("PRIJS /")) || h.contains(QLatin1String("PRIJS/")) ||
                          h.contains(QLatin1String("PRIJS ")))) {
            for (qsizetype i = 0; i < vrij.size() && keuze < 0; ++i)
                if (vrij.at(i).Tag == kCodePrijs)
                    keuze = i;
        }
        if (keuze >= 0) {
            neemVrij(keuze, kolom);
            continue;
        }

        const QString kleur = h.trimmed().toLower();
        qint32 kleurCode = -1;
        if (kleur == QLatin1String("kleur massa"))
            kleurCode = kCodeNietImporteren;
        else if (kleur == QLatin1String("foly buiten"))
            kleurCode = kCodeKleurVoorzijde;
        else if (kleur == QLatin1String("foly binnen"))
            kleurCode = kCodeKleurAchterzijde;
        if (kleurCode >= 0) {
            // A catalogue without that field (the hardware one) leaves the column to the next rule.
            if (const clsProperty* entry = ZoekItemMetTag(huidig, kleurCode)) {
                koppen[kolom] = entry->name;
                kopKleuren[kolom] = KolomKleur::KopGekozen;
                continue;
            }
        }

        bool heeftData = false;
        for (int r = 1; r < rijen.size() && !heeftData; ++r)
            heeftData = kolom < rijen.at(r).size() && !rijen.at(r).at(kolom).trimmed().isEmpty();
        if (!heeftData) {
            if (const clsProperty* entry = ZoekItemMetTag(huidig, kCodeNietImporteren)) {
                koppen[kolom] = entry->name;
                kopKleuren[kolom] = KolomKleur::KopLeegVoorstel;
            }
        }
    }

    nietEersteRijImporteren = gevonden;
    if (bron.Soort == 1)
        combiType = kolomAantal == 3 ? 1 : 0;
}

void KolomToewijzing::SetArtikelType()
{
    if (bestandType == 0) {
        artikelTypeZichtbaar = !koppen.contains(VeldNaam(kCodeArtikelType));
        combiTypeZichtbaar = false;
    } else {
        artikelTypeZichtbaar = false;
        combiTypeZichtbaar = true;
    }
}

bool KolomToewijzing::KopGewijzigd(int kolom, const QString& tekst)
{
    if (tekst.isEmpty() || kolom < 0 || kolom >= koppen.size())
        return false;
    koppen[kolom] = tekst;
    SetArtikelType();
    if (ZoekItemMetNaamEnTag(HuidigeCatalogus(), tekst, kCodeArtikelType) && !ControleerTypeKolom(kolom)) {
        koppen[kolom].clear();
        kopKleuren[kolom] = KolomKleur::KopLeeg;
        return false;
    }
    kopKleuren[kolom] = KolomKleur::KopGekozen;
    return true;
}

bool KolomToewijzing::ControleerTypeKolom(int kolom)
{
    bool geldig = false;
    for (int r = nietEersteRijImporteren ? 1 : 0; r < rijen.size(); ++r) {
        const QString tekst = kolom < rijen.at(r).size() ? rijen.at(r).at(kolom) : QString();
        if (tekst.size() > 2) {
            ui().messageBox(
                QStringLiteral("Deze kolom bevat geen geldige gegevens voor de kolom artikeltype!\r\n\r\n") +
                    tekst,
                MsgBox::OkOnly, QString::fromLatin1(kProgramTitle));
            return false;
        }
        const double getal = std::nearbyint(LeidendGetal(tekst));
        if (!(getal >= 0 && getal < ArtikelTypeNamen().size())) {
            ui().messageBox(QStringLiteral("Ongeldig type"), MsgBox::OkOnly,
                            QString::fromLatin1(kProgramTitle));
            return false;
        }
        artikelType = int(getal);
        geldig = true;
    }
    return geldig;
}

bool KolomToewijzing::ColumnsOptionsSet(QStringList& regels) const
{
    bool geldig = true;
    for (int i = 0; i < koppen.size(); ++i) {
        if (koppen.at(i).isEmpty()) {
            regels << QStringLiteral("Kolom %1 is leeg").arg(i + 1);
            geldig = false;
            continue;
        }
        for (int j = i + 1; j < koppen.size(); ++j) {
            if (koppen.at(j) == koppen.at(i) &&
                !ZoekItemMetNaamEnTag(HuidigeCatalogus(), koppen.at(i), kCodeNietImporteren)) {
                regels << QStringLiteral("Kolom %1 is gelijk aan kolom %2").arg(j + 1).arg(i + 1);
                geldig = false;
            }
        }
    }
    return geldig;
}

bool KolomToewijzing::VerplichteVeldenSet(QStringList& regels) const
{
    const bool code = koppen.contains(VeldNaam(kCodeCode));
    const bool omschrijving =
        koppen.contains(VeldNaam(kCodeOmschrijving)) || koppen.contains(VeldNaam(kCodeOmschrijvingOfferte));
    if (!code)
        regels << QStringLiteral("Code");
    if (!omschrijving)
        regels << QStringLiteral("Omschrijving");
    return code && omschrijving;
}

QString KolomToewijzing::ControleerKeuzes() const
{
    if (artikelTypeZichtbaar && artikelType < 0)
        return QStringLiteral("Selecteer het gewenste artikeltype!");
    if (combiTypeZichtbaar && combiType < 0)
        return QStringLiteral("Selecteer het gewenste combitype!");
    auto bericht = [](const QString& kop, const QStringList& regels) {
        QString tekst = kop + QStringLiteral("\r\n");
        for (const QString& regel : regels)
            tekst += QStringLiteral("\r\n") + regel;
        return tekst;
    };
    QStringList regels;
    if (!ColumnsOptionsSet(regels))
        return bericht(QStringLiteral("Voor onderstaande kolommen is de definitie fout:"), regels);
    regels.clear();
    if (!VerplichteVeldenSet(regels))
        return bericht(QStringLiteral("Er is geen kolom geselecteerd voor: "), regels);
    return QString();
}

bool KolomToewijzing::Bevestig(clsBron2& bron)
{
    const QString fout = ControleerKeuzes();
    if (!fout.isEmpty()) {
        ui().messageBox(fout, MsgBox::Critical | MsgBox::OkOnly, QString::fromLatin1(kProgramTitle));
        return false;
    }
    UpdateBron(bron);
    return true;
}

void KolomToewijzing::UpdateBron(clsBron2& bron) const
{
    bron.EersteRijImporteren = !nietEersteRijImporteren;
    bron.Soort = bestandType;
    bron.ArtikelType = artikelTypeZichtbaar ? artikelType : -1;
    bron.CombiType = combiTypeZichtbaar ? combiType : -1;
    // One code per column, always: a header that names no field of this catalogue (a saved mapping
    // of the other file type) is stored as not imported, so the codes of later columns keep their
    // positions.
    QList<qint32> soorten;
    soorten.reserve(koppen.size());
    for (const QString& kop : koppen)
        soorten << CodeVanNaam(kop);
    bron.KolomSoorten = soorten;
}

QRgb KolomToewijzing::DataKleur(int rij) const
{
    return rij == 0 && nietEersteRijImporteren ? KolomKleur::EersteRegelOverslaan : KolomKleur::Data;
}

} // namespace supplink
