#include "import/artikelschrijver.h"

#include "database/clspt.h"
#include "database/recordset.h"
#include "import/artikelsleutels.h"
#include "sources/bronsjablonen.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <charconv>

namespace supplink {

namespace {

constexpr qint32 kTypeMismatch = 13;
constexpr qint32 kVeldOnbekend = 3265;

// A text as a number by the system's number rules; a text that is no number is an error of the line.
double regionaalGetal(const QString& tekst)
{
    bool ok = false;
    double getal = QLocale::system().toDouble(tekst.trimmed(), &ok);
    if (!ok)
        getal = QLocale::c().toDouble(tekst.trimmed(), &ok);
    if (!ok)
        throw AppError(kTypeMismatch, QStringLiteral("Geen getal: '") + tekst + QStringLiteral("'"));
    return getal;
}

// A plain decimal ("-12.50": digits, at most one decimal sign between digits) read without the
// locale machinery, correctly rounded as that reads it; none for any other form.
std::optional<double> gewoonGetal(QStringView tekst, QChar decimaalTeken)
{
    char buffer[64];
    if (tekst.isEmpty() || tekst.size() >= qsizetype(sizeof buffer))
        return std::nullopt;
    qsizetype n = 0;
    bool punt = false;
    bool cijferVoor = false;
    for (qsizetype i = 0; i < tekst.size(); ++i) {
        const QChar c = tekst.at(i);
        if (c >= u'0' && c <= u'9') {
            buffer[n++] = char(c.unicode());
            cijferVoor = true;
        } else if (c == u'-' && i == 0) {
            buffer[n++] = '-';
        } else if (c == decimaalTeken && !punt && cijferVoor && i + 1 < tekst.size()) {
            buffer[n++] = '.';
            punt = true;
        } else {
            return std::nullopt;
        }
    }
    double getal = 0;
    const auto [einde, fout] = std::from_chars(buffer, buffer + n, getal);
    if (fout != std::errc() || einde != buffer + n)
        return std::nullopt;
    return getal;
}

// A decimal text by the plan's decimal sign; a text that is no number is an error of the line.
double planGetal(const QString& tekst, const QString& decimaalTeken)
{
    if (decimaalTeken.isEmpty())
        throw AppError(9, QStringLiteral("Geen decimaalteken in het importplan"));
    if (const auto getal = gewoonGetal(QStringView(tekst).trimmed(), decimaalTeken.at(0)))
        return *getal;
    QString t = tekst.trimmed();
    t.replace(decimaalTeken.at(0), QLatin1Char('.'));
    bool ok = false;
    const double getal = QLocale::c().toDouble(t, &ok);
    if (!ok)
        throw AppError(kTypeMismatch, QStringLiteral("Geen getal: '") + tekst + QStringLiteral("'"));
    return getal;
}

// A centimetre dimension as the whole number of millimetres; the same on insert and on update.
qint32 maalTien(const QString& tekst)
{
    return qint32(qRound(regionaalGetal(tekst))) * 10;
}

const QString& datumVeldServer()
{
    static const QString veld = QStringLiteral("Moddified_Date");
    return veld;
}

} // namespace

ArtikelSchrijver::ArtikelSchrijver(clsPT& pt, const ArtikelImportPlan& plan, const clsBron2& bron,
                                   ArtikelSleutels& sleutels, ImportMelder& melder)
    : m_pt(pt), m_plan(plan), m_bron(bron), m_sleutels(sleutels), m_melder(melder)
{
}

QString ArtikelSchrijver::DatumTekst(const QString& waarde)
{
    const QString w = waarde.trimmed();
    bool numeriek = false;
    w.toDouble(&numeriek);
    if (numeriek) {
        if (w.size() <= 7)
            return {};
        bool okJ = false, okM = false, okD = false;
        const int jaar = w.left(4).toInt(&okJ);
        const int maand = w.mid(4, 2).toInt(&okM);
        const int dag = w.mid(6, 2).toInt(&okD);
        if (okJ && okM && okD && jaar > 0 && maand >= 1 && maand <= 12 && dag >= 1 && dag <= 31)
            return QStringLiteral("%1/%2/%3").arg(jaar).arg(maand).arg(dag);
        return {};
    }
    for (const auto& patroon : {QStringLiteral("yyyy-MM-dd"), QStringLiteral("yyyy/MM/dd"),
                                QStringLiteral("d-M-yyyy"), QStringLiteral("d/M/yyyy")}) {
        const QDate datum = QDate::fromString(w, patroon);
        if (datum.isValid())
            return datum.toString(QStringLiteral("yyyy/MM/dd"));
    }
    return {};
}

bool ArtikelSchrijver::ZoekArtikel(const ArtikelRegel& regel, bool vanafVolgende)
{
    if (m_plan.UniekeRegel()) {
        // The filter holds every article of the line; a further match is the next one in it, so
        // no article is found (and updated) twice.
        const RecordsetPtr& rs = m_pt.rsPT;
        if (vanafVolgende) {
            if (!rs->eof())
                rs->moveNext();
            return !rs->eof();
        }
        const std::optional<QString> filter = m_sleutels.UniekeRegelFilter(regel);
        return filter && m_pt.BestaatRegel(*filter);
    }
    static const QString orderCode = QStringLiteral("OrderCode");
    const bool opBestelcode = m_bron.MatchArtikelOpBestelcode();
    const auto& velden = m_plan.Velden();
    for (qint32 k = 1; k <= velden.size() && k <= regel.size(); ++k) {
        const PlanVeld& veld = velden.at(k - 1);
        if (veld.sleutel && m_pt.BestaatUniekeWaarde(opBestelcode ? orderCode : veld.doel, regel.at(k - 1),
                                                     veld.numeriek, vanafVolgende))
            return true;
    }
    return false;
}

bool ArtikelSchrijver::schrijfMaatOfDatum(Recordset& rs, const PlanVeld& veld, const QString& waarde)
{
    if (veld.maalTien) {
        if (!waarde.trimmed().isEmpty())
            rs.setValue(veld.doel, maalTien(waarde));
        return true;
    }
    if (veld.datum) {
        const QString datum = DatumTekst(waarde);
        if (!datum.isEmpty())
            rs.setValue(m_pt.IsSQLServer ? datumVeldServer() : veld.doel, datum);
        return true;
    }
    return false;
}

void ArtikelSchrijver::MeldRegelFout(const QString& veldNaam, qint32 positie, const ArtikelRegel& regel)
{
    m_melder.Voortgang(QStringLiteral("Veldnaam"), veldNaam);
    m_melder.Voortgang(QStringLiteral("Positie"), QString::number(positie));
    for (qint32 i = 1; i <= regel.size(); ++i)
        m_melder.Voortgang(QStringLiteral("xArtikel(%1)(Lengte:%2)").arg(i).arg(regel.at(i - 1).size()),
                           regel.at(i - 1));
}

bool ArtikelSchrijver::BijwerkenArtikel(const ArtikelRegel& regel)
{
    const RecordsetPtr& rs = m_pt.rsPT;
    const auto& velden = m_plan.Velden();
    QString veldNaam;
    qint32 k = 0;
    try {
        for (k = 1; k <= velden.size() && k <= regel.size(); ++k) {
            const PlanVeld& veld = velden.at(k - 1);
            const QString& waarde = regel.at(k - 1);
            if (!veld.bijwerken || waarde.trimmed().isEmpty())
                continue;
            veldNaam = veld.doel;
            if (!schrijfMaatOfDatum(*rs, veld, waarde)) {
                const int type = rs->field(veld.doel).type();
                if (type == adType::Double || type == adType::Currency)
                    rs->setValue(veld.doel, planGetal(waarde, veld.decimaalTeken));
                else
                    rs->setValue(veld.doel, waarde);
            }
        }
        rs->update();
        return true;
    } catch (const std::exception& e) {
        // A failed update leaves the record as it was (dropping the pending changes never fails).
        rs->cancelUpdate();
        m_melder.Stop();
        ShowError(QString(), e);
        MeldRegelFout(veldNaam, k, regel);
        return false;
    }
}

bool ArtikelSchrijver::VoegArtikelToe(const ArtikelRegel& regel, qint32 groepId, qint32 leverancierId)
{
    static const QString achtergrondKleur = QStringLiteral("fkBackColor");
    const RecordsetPtr& rs = m_pt.rsPT;
    QString veldNaam;
    qint32 positie = 0;
    try {
        rs->addNew();
        const auto& sleutels = m_plan.ForeignKeys();
        bool kleur = false;
        for (const PlanVeld& veld : m_plan.Velden()) {
            ++positie;
            if (!veld.importeren)
                continue;
            const QString waarde = positie <= regel.size() ? regel.at(positie - 1) : QString();
            if (veld.foreignKey >= 0) {
                // A field that a foreign key takes gets the key of the row the text names.
                const clsScriptRegel& fk = *sleutels[veld.foreignKey];
                const auto verwerk = [&]() {
                    return m_sleutels.VerwerkForeignKey(Argument(fk, 1), Argument(fk, 2), Argument(fk, 3),
                                                        veld.doel, waarde);
                };
                switch (veld.foreignKey) {
                case 0: // article group
                case 1: // supplier
                    verwerk();
                    break;
                case 2: // generic profile: an article without its profile is not stored
                    if (!waarde.isEmpty() && !verwerk()) {
                        rs->cancelUpdate();
                        return true;
                    }
                    break;
                default: // colours
                    if (!waarde.isEmpty()) {
                        verwerk();
                        kleur = true;
                    }
                    break;
                }
                continue;
            }
            if (veld.verwijzing)
                continue;
            veldNaam = veld.doel;
            if (!schrijfMaatOfDatum(*rs, veld, waarde)) {
                for (const auto& [naam, toevoegen] : veld.delen) {
                    veldNaam = naam;
                    const Field veldInfo = rs->field(naam);
                    const int grootte = veldInfo.definedSize();
                    if (waarde.trimmed().isEmpty())
                        continue;
                    const int type = veldInfo.type();
                    if (type == adType::Double || type == adType::Currency) {
                        rs->setValue(naam, planGetal(waarde, veld.decimaalTeken));
                    } else if (type == adType::UnsignedTinyInt) {
                        rs->setValue(naam, qint16(qRound(regionaalGetal(waarde))));
                    } else if (type != adType::VarWChar && type != adType::LongVarWChar) {
                        // A number, date or yes/no field takes the value by its type: a text that
                        // is none is an error of the line, and a number is never cut short.
                        rs->setValue(naam, waarde.trimmed());
                    } else if (toevoegen) {
                        const QString tekst =
                            (NzString(rs->value(naam)).trimmed() + QLatin1Char(' ') + waarde.trimmed())
                                .trimmed();
                        rs->setValue(naam, grootte > 0 ? tekst.left(grootte) : tekst);
                    } else {
                        const int maximum = grootte > 0 ? qMin(grootte, 32000) : 32000;
                        rs->setValue(naam, waarde.trimmed().left(maximum));
                    }
                }
            }
        }
        for (const ScriptRegelPtr& id : m_plan.IdRegels()) {
            veldNaam = Argument(*id, 1);
            const QString bron = Argument(*id, 2);
            if (bron == QStringLiteral("[BRON]")) {
                if (!rs->value(veldNaam).isValid())
                    rs->setValue(veldNaam, m_bron.ArtikelType);
            } else if (bron == QStringLiteral("[LEVERANCIER]")) {
                const auto sleutel =
                    std::find_if(sleutels.begin(), sleutels.end(), [&veldNaam](const ScriptRegelPtr& fk) {
                        return fk && ArgumentOfLeeg(*fk, 4) == veldNaam;
                    });
                if (sleutel != sleutels.end())
                    m_sleutels.VerwerkForeignKey(Argument(**sleutel, 1), Argument(**sleutel, 2),
                                                 Argument(**sleutel, 3), veldNaam, HuidigeLeverancierNaam());
            } else {
                rs->setValue(veldNaam, bron);
            }
        }
        if (groepId != -1)
            m_pt.RecSetArtSetArtGroupID(groepId);
        if (leverancierId != -1)
            m_pt.RecSetArtSetSupplierID(leverancierId);
        for (const ScriptRegelPtr& kopie : m_plan.VeldKopieen())
            rs->setValue(Argument(*kopie, 1), rs->value(Argument(*kopie, 2)));
        // A table without the field (an older layout) has nothing to clear.
        if (!kleur && rs->hasField(achtergrondKleur))
            rs->setValue(achtergrondKleur, QVariant());
        rs->update();
        return true;
    } catch (const std::exception& e) {
        // Never a half-saved article: the pending record is dropped (which never fails).
        rs->cancelUpdate();
        m_melder.Stop();
        const AppError fout = AppError::from(e);
        if (fout.number() == kVeldOnbekend) {
            ToonFout(
                QStringLiteral("Een veld uit de definitie is niet gevonden in de doel database! Corrigeer de "
                               "importeer definitie."));
        } else {
            ShowError(QStringLiteral("VoegArtikelToe"), fout);
            m_melder.Voortgang(QStringLiteral("Fout"),
                               QString::number(fout.number()) + QStringLiteral("-") + fout.description());
        }
        MeldRegelFout(veldNaam, positie, regel);
        return false;
    }
}

} // namespace supplink
