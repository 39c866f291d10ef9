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
#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace supplink {

namespace {

constexpr qint32 kTypeMismatch = 13;
constexpr qint32 kOverloop = 6;
constexpr qint32 kVeldOnbekend = 3265;

[[noreturn]] void geenGetal(const QString& tekst)
{
    throw AppError(kTypeMismatch, QStringLiteral("Geen getal: '") + tekst + QStringLiteral("'"));
}

[[noreturn]] void overloop(const QString& tekst)
{
    throw AppError(kOverloop, QStringLiteral("Overloop: '") + tekst + QStringLiteral("'"));
}

// A price or other decimal for a double or currency field, as TekstNaarGetal reads it; a text without
// a number is an error of the line (never a price of 0). A plan line without its decimal sign
// (argument 9) fails as the plan's own fault.
double planGetal(const QString& tekst, const QString& decimaalTeken)
{
    if (decimaalTeken.isEmpty())
        throw AppError(9, QStringLiteral("Geen decimaalteken in het importplan"));
    if (const std::optional<double> getal = GetalUitTekst(tekst))
        return *getal;
    geenGetal(tekst);
}

// The value of a yes/no-sized number field (unsigned byte): a whole number of 16 bits.
qint16 kortGetal(const QString& tekst)
{
    const std::optional<double> getal = LeesGetal(tekst);
    if (!getal)
        geenGetal(tekst);
    const std::optional<qint32> geheel = AfrondenLong(*getal);
    if (!geheel || *geheel < std::numeric_limits<qint16>::min() ||
        *geheel > std::numeric_limits<qint16>::max())
        overloop(tekst);
    return qint16(*geheel);
}

// The value for a number field other than a double, currency or byte field: a decimal ("2,5") by the
// program's number rules, a whole number as its digits (exact beyond a double's 53 bits), any other
// text as it stands, for the field's own conversion to judge.
QVariant veldWaarde(const QString& tekst, int type)
{
    static const QRegularExpression geheel(QStringLiteral("^[+-]?[0-9]+$"));
    const bool getalVeld = type == adType::SmallInt || type == adType::Integer || type == adType::BigInt ||
                           type == adType::Single || type == adType::Numeric;
    if (!getalVeld || geheel.match(tekst).hasMatch())
        return tekst;
    if (const std::optional<double> getal = LeesGetal(tekst))
        return *getal;
    return tekst;
}

// A key compared as a number ("Numeriek") in the form the search reads: "12,5" as 12.5. A text that is
// no number is searched as it stands.
QString sleutelWaarde(const PlanVeld& veld, const QString& waarde)
{
    if (veld.numeriek) {
        if (const std::optional<double> getal = LeesGetal(waarde))
            return QString::number(*getal, 'g', QLocale::FloatingPointShortest);
    }
    return waarde;
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

namespace {

// The month names a Dutch date text may carry, full and short.
std::optional<int> maandVanNaam(const QString& naam)
{
    static const QList<QStringList> namen{
        {QStringLiteral("januari"), QStringLiteral("jan")},
        {QStringLiteral("februari"), QStringLiteral("feb")},
        {QStringLiteral("maart"), QStringLiteral("mrt"), QStringLiteral("mar")},
        {QStringLiteral("april"), QStringLiteral("apr")},
        {QStringLiteral("mei")},
        {QStringLiteral("juni"), QStringLiteral("jun")},
        {QStringLiteral("juli"), QStringLiteral("jul")},
        {QStringLiteral("augustus"), QStringLiteral("aug")},
        {QStringLiteral("september"), QStringLiteral("sep"), QStringLiteral("sept")},
        {QStringLiteral("oktober"), QStringLiteral("okt")},
        {QStringLiteral("november"), QStringLiteral("nov")},
        {QStringLiteral("december"), QStringLiteral("dec")}};
    const QString klein = naam.toLower();
    for (qsizetype m = 0; m < namen.size(); ++m) {
        if (namen.at(m).contains(klein))
            return int(m + 1);
    }
    return std::nullopt;
}

// A year of two digits as a date reader takes it: 00-29 in this century, 30-99 in the last.
int volledigJaar(const QString& jaar)
{
    const int j = jaar.toInt();
    return jaar.size() > 2 ? j : (j < 30 ? 2000 + j : 1900 + j);
}

bool geldigeTijd(const QRegularExpressionMatch& m, int uur)
{
    if (!m.hasCaptured(uur))
        return true;
    return m.captured(uur).toInt() < 24 && m.captured(uur + 1).toInt() < 60 &&
           (!m.hasCaptured(uur + 2) || m.captured(uur + 2).toInt() < 60);
}

// A date text in the forms a supplier's file or a workbook gives, read as a Dutch reader reads it:
// year first ("2024-03-05", "2024/3/5"), else day first ("05.03.2024", "5-3-2024", "5 maart 2024"),
// each with or without a time ("2024-03-05 10:00:00", "2024-03-05T10:00:00Z").
std::optional<QDate> leesDatumTekst(const QString& tekst)
{
    static const QString tijd = QStringLiteral(
        R"((?:(?:T|\s+)(\d{1,2}):(\d{2})(?::(\d{2})(?:[.,]\d+)?)?(?:\s*(?:Z|[+-]\d{2}:?\d{2}))?)?)");
    static const QRegularExpression cijfers(QStringLiteral(R"(^(\d{1,4})([-/.])(\d{1,2})\2(\d{1,4}))") +
                                            tijd + QLatin1Char('$'));
    static const QRegularExpression maandNaam(
        QStringLiteral(R"(^(\d{1,2})[-\s.]+(\p{L}+)\.?[-\s.]+(\d{2}|\d{4}))") + tijd + QLatin1Char('$'));

    int jaar = 0, maand = 0, dag = 0;
    if (const QRegularExpressionMatch m = cijfers.match(tekst); m.hasMatch()) {
        if (!geldigeTijd(m, 5))
            return std::nullopt;
        if (m.captured(1).size() == 4 && m.captured(4).size() <= 2) {
            jaar = m.captured(1).toInt();
            maand = m.captured(3).toInt();
            dag = m.captured(4).toInt();
        } else if (m.captured(1).size() <= 2 && (m.captured(4).size() == 4 || m.captured(4).size() == 2)) {
            dag = m.captured(1).toInt();
            maand = m.captured(3).toInt();
            jaar = volledigJaar(m.captured(4));
        } else {
            return std::nullopt;
        }
    } else if (const QRegularExpressionMatch n = maandNaam.match(tekst); n.hasMatch()) {
        const std::optional<int> m = maandVanNaam(n.captured(2));
        if (!m || !geldigeTijd(n, 4))
            return std::nullopt;
        dag = n.captured(1).toInt();
        maand = *m;
        jaar = volledigJaar(n.captured(3));
    } else {
        return std::nullopt;
    }
    const QDate datum(jaar, maand, dag);
    if (!datum.isValid() || jaar < 1)
        return std::nullopt;
    return datum;
}

} // namespace

QString ArtikelSchrijver::DatumTekst(const QString& waarde)
{
    const QString w = waarde.trimmed();
    if (LeesGetal(w)) {
        // Eight digits (or more) as year, month and day: 20240305 is 2024/3/5.
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
    if (const std::optional<QDate> datum = leesDatumTekst(w))
        return datum->toString(QStringLiteral("yyyy/MM/dd"));
    return {};
}

std::optional<QDate> ArtikelSchrijver::Datum(const QString& datumTekst)
{
    const QStringList delen = datumTekst.split(QLatin1Char('/'));
    if (delen.size() != 3)
        return std::nullopt;
    bool okJ = false, okM = false, okD = false;
    const QDate datum(delen.at(0).toInt(&okJ), delen.at(1).toInt(&okM), delen.at(2).toInt(&okD));
    if (!okJ || !okM || !okD || !datum.isValid())
        return std::nullopt;
    return datum;
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
        if (veld.sleutel &&
            m_pt.BestaatUniekeWaarde(opBestelcode ? orderCode : veld.doel,
                                     sleutelWaarde(veld, regel.at(k - 1)), veld.numeriek, vanafVolgende))
            return true;
    }
    return false;
}

bool ArtikelSchrijver::schrijfMaatOfDatum(Recordset& rs, const PlanVeld& veld, const QString& waarde)
{
    if (veld.maalTien) {
        if (!waarde.trimmed().isEmpty())
            rs.setValue(veld.doel, MaalTien(waarde, rs.field(veld.doel).type()));
        return true;
    }
    if (veld.datum) {
        const QString tekst = DatumTekst(waarde);
        if (tekst.isEmpty())
            return true;
        const QString& naam = m_pt.IsSQLServer ? datumVeldServer() : veld.doel;
        if (rs.field(naam).type() != adType::Date) {
            rs.setValue(naam, tekst);
            return true;
        }
        // A date field takes a date, as the database converts a date text: read back it is that day.
        const std::optional<QDate> datum = Datum(tekst);
        if (!datum)
            throw AppError(kTypeMismatch, QStringLiteral("Geen datum: '") + waarde + QStringLiteral("'"));
        rs.setValue(naam, QDateTime(*datum, QTime(0, 0)));
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
                        rs->setValue(naam, kortGetal(waarde));
                    } else if (type != adType::VarWChar && type != adType::LongVarWChar) {
                        // A number, date or yes/no field takes the value by its type: a text that
                        // is none is an error of the line, and a number is never cut short.
                        rs->setValue(naam, veldWaarde(waarde.trimmed(), type));
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
