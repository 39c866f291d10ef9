// The transfer run of the article file import: the lines read from the
// supplier's file go into the product table, new articles added and existing
// ones updated as the article mode of the import options says.

#include "import/clsimportbestand.h"

#include "database/clspt.h"
#include "database/recordset.h"
#include "import/standaardimportplan.h"
#include "sources/bronsjablonen.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <array>
#include <charconv>

namespace supplink {

namespace {

constexpr qint32 kKindCode = 1;
constexpr qint32 kTypeMismatch = 13;

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

} // namespace

clsImportBestand::~clsImportBestand() = default;

QString clsImportBestand::DatumTekst(const QString& waarde)
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

const clsImportBestand::GelezenPlan& clsImportBestand::Plan()
{
    static const ScriptBlok geen;
    const ScriptBlok& plan = ImportPlan ? *ImportPlan : geen;
    if (m_plan.van == plan.constData() && m_plan.regels == plan.size())
        return m_plan;
    m_plan = GelezenPlan();
    m_plan.van = plan.constData();
    m_plan.regels = plan.size();
    for (int i = 0; i < 5; ++i)
        m_plan.foreignKeys[i] = ZoekScriptRegel(plan, QStringLiteral("FOREIGNKEY") + QChar(u'A' + i));
    const ScriptRegelPtr uniek = ZoekScriptRegel(plan, QStringLiteral("UNIEKEREGEL"));
    m_plan.uniekeRegel = uniek && HeeftJa(*uniek, 1);
    for (const ScriptRegelPtr& regel : VeldRegels(plan)) {
        PlanVeld veld;
        veld.regel = regel;
        veld.doel = ArgumentOfLeeg(*regel, 2);
        veld.importeren = HeeftJa(*regel, 1);
        veld.verplicht = HeeftJa(*regel, 4);
        veld.sleutel = HeeftJa(*regel, 5);
        veld.bijwerken = HeeftJa(*regel, 6);
        veld.maalTien = HeeftJa(*regel, 7);
        veld.verwijzing = HeeftJa(*regel, 8);
        veld.numeriek = ArgumentOfLeeg(*regel, 3) == QStringLiteral("Numeriek");
        veld.datum = ArgumentOfLeeg(*regel, 3) == QStringLiteral("Datum");
        veld.decimaalTeken = ArgumentOfLeeg(*regel, 9);
        for (int i = 0; i < 5 && veld.foreignKey < 0; ++i) {
            const ScriptRegelPtr& fk = m_plan.foreignKeys[i];
            if (fk && ArgumentOfLeeg(*fk, 4) == veld.doel)
                veld.foreignKey = i;
        }
        for (const QString& deel : veld.doel.split(QLatin1Char('|'))) {
            const bool toevoegen = deel.startsWith(QLatin1Char('+'));
            veld.delen.append({toevoegen ? deel.mid(1) : deel, toevoegen});
        }
        m_plan.velden.append(veld);
    }
    return m_plan;
}

void clsImportBestand::MeldRegel(const QString& actie, const ArtikelRegel& regel)
{
    if (m_ontvanger)
        m_ontvanger->Voortgang(actie, RegelOmschrijving(regel));
}

QString clsImportBestand::RegelOmschrijving(const ArtikelRegel& regel)
{
    static const QString scheiding = QStringLiteral(" ; ");
    qsizetype lengte = 0;
    for (const auto& kolom : regel)
        lengte += kolom.size() + scheiding.size();
    QString tekst;
    tekst.reserve(lengte);
    for (const auto& kolom : regel) {
        tekst += kolom;
        tekst += scheiding;
    }
    return tekst;
}

bool clsImportBestand::OverzettenBestand(clsBron2& bron, const QString& doelPad)
{
    m_groepen = false;
    m_alleenLijst = false;
    m_bron = &bron;
    m_gevondenSleutels.clear();
    bool result = false;
    ImportPlan = CreateImportSetFromBronAndDoel(bron);
    if (ImportPlan) {
        if (m_ontvanger)
            m_ontvanger->HuidigeHoofdActieDone();
        if (LeesBestand()) {
            if (m_ontvanger)
                m_ontvanger->HuidigeHoofdActieDone();
            if (OpenenProductentabel(doelPad)) {
                if (m_ontvanger)
                    m_ontvanger->HuidigeHoofdActieDone();
                result = OverzettenArtikelen();
            }
            SluitenProductentabel();
        }
    }
    if (m_ontvanger)
        m_ontvanger->HuidigeHoofdActieDone();
    return result;
}

bool clsImportBestand::OpenenProductentabel(const QString& doelPad)
{
    MeldHoofdActie(QStringLiteral("Openen productentabel"));
    MeldVoortgang(QStringLiteral("Doel bestand"),
                  doelPad.startsWith(QLatin1Char('*')) ? doelPad.mid(1) : doelPad);
    m_pt = std::make_unique<clsPT>();
    if (!m_pt->Connect(doelPad)) {
        MeldVoortgang(QStringLiteral("Openen productentabel mislukt! '") + doelPad + QStringLiteral("'"),
                      QString());
        TelFout();
        return false;
    }
    return true;
}

void clsImportBestand::SluitenProductentabel()
{
    MeldHoofdActie(QStringLiteral("Sluiten productentabel"));
    try {
        if (m_pt && m_pt->cnPT)
            m_pt->cnPT->SluitenConnectie();
    } catch (const std::exception&) {
    }
}

bool clsImportBestand::OnderdeelGeselecteerd(const QString& code)
{
    if (!ColItemsGeselecteerd)
        return false;
    if (ColItemsGeselecteerd->isEmpty())
        return true;
    for (const auto& item : *ColItemsGeselecteerd) {
        if (item && item->Code == code)
            return true;
    }
    return false;
}

bool clsImportBestand::ControleerRegel(const ArtikelRegel& regel)
{
    const auto& velden = Plan().velden;
    for (qint32 k = 1; k <= velden.size(); ++k) {
        const PlanVeld& veld = velden.at(k - 1);
        if (k > regel.size()) {
            const QString tekst = QStringLiteral("Het leveranciers bestand bevat te weinig kolommen (") +
                                  QString::number(regel.size()) + QStringLiteral(")!");
            ToonFout(tekst);
            MeldRegel(tekst, regel);
            MeldVoortgang(QStringLiteral("Importplan"), ScriptTekst(*ImportPlan));
            TelFout();
            m_cancel = true;
            return false;
        }
        if (veld.verplicht && regel.at(k - 1).isEmpty()) {
            MeldRegel(QStringLiteral("Verplicht veld niet ingevuld!") + veld.doel, regel);
            TelFout();
            m_cancel = true;
            return false;
        }
    }
    return true;
}

bool clsImportBestand::ZoekArtikel(const ArtikelRegel& regel, bool vanafVolgende)
{
    const GelezenPlan& plan = Plan();
    if (plan.uniekeRegel) {
        // The filter holds every article of the line; a further match is the next one in it, so
        // no article is found (and updated) twice.
        const RecordsetPtr& rs = m_pt->rsPT;
        if (vanafVolgende) {
            if (!rs->eof())
                rs->moveNext();
            return !rs->eof();
        }
        const std::optional<QString> filter = UniekeRegelFilter(regel);
        return filter && m_pt->BestaatRegel(*filter);
    }
    static const QString orderCode = QStringLiteral("OrderCode");
    const bool opBestelcode = m_bron && m_bron->MatchArtikelOpBestelcode();
    for (qint32 k = 1; k <= plan.velden.size() && k <= regel.size(); ++k) {
        const PlanVeld& veld = plan.velden.at(k - 1);
        if (veld.sleutel && m_pt->BestaatUniekeWaarde(opBestelcode ? orderCode : veld.doel, regel.at(k - 1),
                                                      veld.numeriek, vanafVolgende))
            return true;
    }
    return false;
}

void clsImportBestand::MeldRegelFout(const QString& veldNaam, qint32 positie, const ArtikelRegel& regel)
{
    MeldVoortgang(QStringLiteral("Veldnaam"), veldNaam);
    MeldVoortgang(QStringLiteral("Positie"), QString::number(positie));
    for (qint32 i = 1; i <= regel.size(); ++i)
        MeldVoortgang(QStringLiteral("xArtikel(%1)(Lengte:%2)").arg(i).arg(regel.at(i - 1).size()),
                      regel.at(i - 1));
}

bool clsImportBestand::BijwerkenArtikel(const ArtikelRegel& regel)
{
    static const QString datumVeldServer = QStringLiteral("Moddified_Date");
    const RecordsetPtr& rs = m_pt->rsPT;
    const auto& velden = Plan().velden;
    QString veldNaam;
    qint32 k = 0;
    try {
        for (k = 1; k <= velden.size() && k <= regel.size(); ++k) {
            const PlanVeld& veld = velden.at(k - 1);
            const QString& waarde = regel.at(k - 1);
            if (!veld.bijwerken || waarde.trimmed().isEmpty())
                continue;
            veldNaam = veld.doel;
            if (veld.maalTien) {
                rs->setValue(veld.doel, maalTien(waarde));
            } else if (veld.datum) {
                const QString datum = DatumTekst(waarde);
                if (!datum.isEmpty())
                    rs->setValue(m_pt->IsSQLServer ? datumVeldServer : veld.doel, datum);
            } else {
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
        // A failed update leaves the record as it was.
        try {
            rs->cancelUpdate();
        } catch (const std::exception&) {
        }
        m_cancel = true;
        ShowError(QString(), e);
        MeldRegelFout(veldNaam, k, regel);
        return false;
    }
}

bool clsImportBestand::VoegArtikelToe(const ArtikelRegel& regel, qint32 groepId, qint32 leverancierId)
{
    static const QString datumVeldServer = QStringLiteral("Moddified_Date");
    static const QString achtergrondKleur = QStringLiteral("fkBackColor");
    const RecordsetPtr& rs = m_pt->rsPT;
    QString veldNaam;
    qint32 positie = 0;
    try {
        rs->addNew();
        const GelezenPlan& plan = Plan();
        const auto& sleutels = plan.foreignKeys;
        bool kleur = false;
        for (const PlanVeld& veld : plan.velden) {
            ++positie;
            if (!veld.importeren)
                continue;
            const QString waarde = positie <= regel.size() ? regel.at(positie - 1) : QString();
            if (veld.foreignKey >= 0) {
                // A field that a foreign key takes gets the key of the row the text names.
                const clsScriptRegel& fk = *sleutels[veld.foreignKey];
                const auto verwerk = [&]() {
                    return VerwerkForeignKey(Argument(fk, 1), Argument(fk, 2), Argument(fk, 3), veld.doel,
                                             waarde);
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
            if (veld.maalTien) {
                if (!waarde.trimmed().isEmpty())
                    rs->setValue(veld.doel, maalTien(waarde));
            } else if (veld.datum) {
                const QString datum = DatumTekst(waarde);
                if (!datum.isEmpty())
                    rs->setValue(m_pt->IsSQLServer ? datumVeldServer : veld.doel, datum);
            } else {
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
        for (const auto& id : *ImportPlan) {
            if (!id || id->Opdracht != QStringLiteral("ID"))
                continue;
            veldNaam = Argument(*id, 1);
            const QString bron = Argument(*id, 2);
            if (bron == QStringLiteral("[BRON]")) {
                if (!rs->value(veldNaam).isValid())
                    rs->setValue(veldNaam, m_bron ? m_bron->ArtikelType : -1);
            } else if (bron == QStringLiteral("[LEVERANCIER]")) {
                const auto sleutel =
                    std::find_if(sleutels.begin(), sleutels.end(), [&veldNaam](const ScriptRegelPtr& fk) {
                        return fk && ArgumentOfLeeg(*fk, 4) == veldNaam;
                    });
                if (sleutel != sleutels.end())
                    VerwerkForeignKey(Argument(**sleutel, 1), Argument(**sleutel, 2), Argument(**sleutel, 3),
                                      veldNaam, HuidigeLeverancierNaam());
            } else {
                rs->setValue(veldNaam, bron);
            }
        }
        if (groepId != -1)
            m_pt->RecSetArtSetArtGroupID(groepId);
        if (leverancierId != -1)
            m_pt->RecSetArtSetSupplierID(leverancierId);
        for (const auto& kopie : *ImportPlan) {
            if (kopie && kopie->Opdracht == QStringLiteral("VELDKOPIE"))
                rs->setValue(Argument(*kopie, 1), rs->value(Argument(*kopie, 2)));
        }
        // A table without the field (an older layout) has nothing to clear.
        if (!kleur && rs->hasField(achtergrondKleur))
            rs->setValue(achtergrondKleur, QVariant());
        rs->update();
        return true;
    } catch (const std::exception& e) {
        // Never a half-saved article: the pending record is dropped.
        try {
            rs->cancelUpdate();
        } catch (const std::exception&) {
        }
        m_cancel = true;
        const AppError fout = AppError::from(e);
        if (fout.number() == 3265) {
            ToonFout(
                QStringLiteral("Een veld uit de definitie is niet gevonden in de doel database! Corrigeer de "
                               "importeer definitie."));
        } else {
            ShowError(QStringLiteral("VoegArtikelToe"), fout);
            MeldVoortgang(QStringLiteral("Fout"),
                          QString::number(fout.number()) + QStringLiteral("-") + fout.description());
        }
        MeldRegelFout(veldNaam, positie, regel);
        return false;
    }
}

bool clsImportBestand::OverzettenArtikelen()
{
    m_plan = GelezenPlan(); // read from the plan of this run
    try {
        const auto opties = globals().gImportOpties;
        const bool prijzen = opties && opties->DoorvoerenPrijsWijzigingen;
        const bool nieuw = opties && opties->NieuweArtikelenToevoegen;
        if (prijzen && nieuw)
            MeldHoofdActie(
                QStringLiteral("Productentabel, nieuwe artikelen toevoegen en prijswijzigingen doorvoeren"));
        else if (nieuw)
            MeldHoofdActie(QStringLiteral("Productentabel, nieuwe artikelen toevoegen"));
        else if (prijzen)
            MeldHoofdActie(QStringLiteral("Productentabel, prijswijzigingen doorvoeren"));
        else
            MeldHoofdActie(QStringLiteral("Productentabel, (Geen acties geselecteerd)"));

        qint32 groepId = -1;
        qint32 leverancierId = -1;
        if (const ScriptRegelPtr ui = ZoekScriptRegel(*ImportPlan, QStringLiteral("UISELECTEREN"))) {
            bool geannuleerd = false;
            if (HeeftJa(*ui, 2) && (!m_pt->SelecteerLeverancierUI(leverancierId, geannuleerd) || geannuleerd))
                return false;
            if (HeeftJa(*ui, 1)) {
                if (!m_pt->SelecteerArtikelGroepUI(groepId, geannuleerd) || geannuleerd)
                    return false;
                if (groepId == -1) {
                    ToonFout(QStringLiteral("Geen geldige artikelgroep geselecteerd!"));
                    return false;
                }
            }
        }

        const QString tabel = EersteArgument(*ImportPlan, QStringLiteral("TABEL"));
        if (!m_pt->OpenTabel(tabel)) {
            // Nothing can be imported: a failure, not an empty success.
            MeldVoortgang(QStringLiteral("Openen tabel mislukt! '") + tabel + QStringLiteral("'"), QString());
            TelFout();
            return false;
        }
        return overzettenInTransactie(groepId, leverancierId, prijzen, nieuw);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        TelFout();
        return false;
    }
}

bool clsImportBestand::overzettenInTransactie(qint32 groepId, qint32 leverancierId, bool prijzen, bool nieuw)
{
    // On SQL Server the import is all or nothing: a cancel or an error rolls every change back. A
    // product-table file (the run's work copy) keeps what was written before the run stopped; the
    // transaction only spares a disk flush per article there.
    const DbConnection db = m_pt->cnPT->Connection();
    const bool transactie = db && (m_pt->IsSQLServer || m_pt->cnPT->isSQLite());
    const qint32 foutenVooraf = m_aantalFouten;
    if (transactie)
        db->beginTrans();
    bool result = false;
    try {
        result = overzettenRegels(groepId, leverancierId, prijzen, nieuw);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        TelFout();
    }
    if (!transactie)
        return result;
    try {
        if (m_pt->IsSQLServer && (!result || m_cancel || m_aantalFouten > foutenVooraf)) {
            db->rollbackTrans();
            MeldVoortgang(QStringLiteral("Wijzigingen in de productentabel teruggedraaid"), QString());
            return false;
        }
        db->commitTrans();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        TelFout();
        return false;
    }
    return result;
}

bool clsImportBestand::overzettenRegels(qint32 groepId, qint32 leverancierId, bool prijzen, bool nieuw)
{
    qint32 voortgang = 0;
    const qint32 codeKolom = m_bron ? m_bron->GetColumnFor(kKindCode) : 0;
    auto codeVan = [codeKolom](const ArtikelRegel& regel) {
        if (codeKolom < 1 || codeKolom > regel.size())
            throw AppError(9, QStringLiteral("Geen kolom voor de artikelcode"));
        return regel.at(codeKolom - 1);
    };

    for (const ArtikelRegel& regel : std::as_const(m_gelezenRegels)) {
        ++voortgang;
        if (m_ontvanger)
            m_ontvanger->VoortgangHuidig(voortgang);
        if (!OnderdeelGeselecteerd(codeVan(regel))) {
            MeldRegel(QStringLiteral("Artikel overgeslagen (niet geselecteerd)"), regel);
            continue;
        }
        if (ControleerRegel(regel)) {
            if (!ZoekArtikel(regel, false)) {
                ++m_aantalNieuw;
                if (m_ontvanger)
                    m_ontvanger->NieuwOnderdeel(m_aantalNieuw);
                if (!nieuw)
                    MeldRegel(QStringLiteral("Geen nieuw artikel toegevoegd (alleen prijswijzigingen)"),
                              regel);
                else if (VoegArtikelToe(regel, groepId, leverancierId))
                    MeldRegel(QStringLiteral("Nieuw artikel"), regel);
                else
                    TelFout();
            } else {
                ++m_aantalBestaand;
                if (m_ontvanger)
                    m_ontvanger->BestaandOnderdeel(m_aantalBestaand);
                if (!prijzen) {
                    MeldRegel(QStringLiteral("Geen prijswijziging doorgevoerd voor bestaand artikel (alleen "
                                             "nieuwe artikelen toevoegen)"),
                              regel);
                } else if (!BijwerkenArtikel(regel)) {
                    TelFout();
                } else {
                    MeldRegel(QStringLiteral("Prijscontrole artikel"), regel);
                    while (!m_cancel && ZoekVolgendArtikel(regel)) {
                        if (BijwerkenArtikel(regel))
                            MeldRegel(QStringLiteral("Prijscontrole artikel"), regel);
                        else
                            TelFout();
                    }
                }
            }
        }
        if (m_cancel)
            return false;
    }

    if (!nieuw) {
        MeldHoofdActie(QStringLiteral(
            "Overgeslagen Links/Rechts verwijzingen aanmaken (alleen prijswijzigingen doorvoeren)"));
        return true;
    }
    MeldHoofdActie(QStringLiteral("Links/Rechts verwijzingen aanmaken"));
    // The links are searched among every article, also those a unique-row lookup filtered out.
    m_pt->rsPT->setFilter(QString());
    for (const ArtikelRegel& regel : std::as_const(m_gelezenRegels)) {
        if (!OnderdeelGeselecteerd(codeVan(regel))) {
            MeldRegel(QStringLiteral("Overgeslagen"), regel);
            continue;
        }
        MeldRegel(QStringLiteral("Links/Rechts controle artikel"), regel);
        ++voortgang;
        if (m_ontvanger)
            m_ontvanger->VoortgangHuidig(voortgang);
        MaakLinksRechtsVerwijzingen(regel);
        if (m_cancel)
            return false;
    }
    return true;
}

} // namespace supplink
