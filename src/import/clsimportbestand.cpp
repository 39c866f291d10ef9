#include "import/clsimportbestand.h"

#include "database/clsconnectie.h"
#include "database/clspt.h"
#include "database/recordset.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "sources/tekstbestand.h"
#include "start/csvsplit.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QFileInfo>
#include <QScopeGuard>

namespace supplink {

namespace {

constexpr qint32 kSubscriptOutOfRange = 9;
const QString kCrLf = QStringLiteral("\r\n");

// Field kinds of the column map that the reading uses.
constexpr qint32 kKindCode = 1;
constexpr qint32 kKindOmschrijving = 2;
constexpr qint32 kKindGroep = 4;
constexpr qint32 kKindGespiegeld = 7;
constexpr qint32 kKindOmschrijvingOfferte = 31;

// Column k (1-based) of the line; a column the line lacks is error 9.
const QString& kolom(const ArtikelRegel& regel, qint32 k)
{
    if (k < 1 || k > regel.size())
        throw AppError(kSubscriptOutOfRange, QStringLiteral("Subscript valt buiten het bereik"));
    return regel.at(k - 1);
}

} // namespace

clsImportBestand::clsImportBestand() : ColItemsDistinct(std::make_shared<ItemCollection>()) {}

void clsImportBestand::SetColItemsDistinct(std::shared_ptr<ItemCollection> items)
{
    ColItemsDistinct = items ? std::move(items) : std::make_shared<ItemCollection>();
}

bool clsImportBestand::InlezenBestand(clsBron2& bron, bool alleenLijst)
{
    return inlezen(bron, alleenLijst, false);
}

bool clsImportBestand::InlezenBestandArtikelGroepen(clsBron2& bron, bool alleenLijst)
{
    return inlezen(bron, alleenLijst, true);
}

bool clsImportBestand::inlezen(clsBron2& bron, bool alleenLijst, bool groepen)
{
    m_alleenLijst = alleenLijst;
    m_groepen = groepen;
    m_bron = &bron;
    return LeesBestand();
}

void clsImportBestand::TelFout()
{
    ++m_aantalFouten;
    if (m_ontvanger)
        m_ontvanger->FoutOpgetreden(m_aantalFouten);
}

void clsImportBestand::MeldVoortgang(const QString& actie, const QString& omschrijving)
{
    if (m_ontvanger)
        m_ontvanger->Voortgang(actie, omschrijving);
}

void clsImportBestand::MeldHoofdActie(const QString& actie)
{
    if (m_ontvanger)
        m_ontvanger->HuidigeHoofdActie(actie);
}

void clsImportBestand::MeldTotaal(qint32 totaal)
{
    if (m_ontvanger)
        m_ontvanger->VoortgangTotaal(totaal);
}

bool clsImportBestand::LeesBestand()
{
    if (!m_bron)
        return false;
    clsBron2& bron = *m_bron;
    QString weigering;
    if (bron.IsJetDatabase) {
        weigering = QStringLiteral("Bestandstype Jet fout voor CSV import");
    } else if (bron.IsSQLite) {
        weigering = QStringLiteral("Bestandstype SQLite fout voor CSV import");
    } else if (bron.IsExcel) {
        const QString path = bron.Path();
        if (bron.Holonite()) {
            bron.HoloniteColumns();
            for (const char* sheet : {"dorpels$", "neuten$", "bewerkingen$"}) {
                if (!LeesExcelBestand(path, QString::fromLatin1(sheet)))
                    return false;
            }
            return true;
        }
        if (bron.Deceuninck())
            bron.DeceuninckColumns();
        return LeesExcelBestand(path, QString());
    } else if (bron.IsCSV) {
        return LeesCSVBestand(bron.Path());
    } else {
        weigering = QStringLiteral("Bestandstype niet vastgesteld");
    }
    MeldVoortgang(weigering, bron.Path());
    TelFout();
    return false;
}

bool clsImportBestand::LeesCSVBestand(const QString& path)
{
    MeldHoofdActie(QStringLiteral("Inlezen bestand leverancier"));
    MeldVoortgang(QStringLiteral("Bron bestand"), path);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        MeldVoortgang(QStringLiteral("Niet gevonden"), path);
        ToonFout(QStringLiteral("Bestand '") + path + QStringLiteral("' niet gevonden!"));
        TelFout();
        return false;
    }

    try {
        const std::optional<QString> tekst = LeesTekstBestand(path);
        if (!tekst)
            throw AppError(ErrorNumber::General,
                           QStringLiteral("Het bestand '%1' kan niet worden gelezen.").arg(path));

        m_regelNummer = 0;
        const auto vergeetRegel = qScopeGuard([this] { m_huidigeRegel = QStringView(); });
        RegelLezer lezer(*tekst);
        QStringView regel;
        while (lezer.volgende(regel)) {
            ++m_regelNummer;
            m_huidigeRegel = regel;
            // A first line of column titles is passed over.
            if (m_regelNummer == 1 && !m_bron->EersteRijImporteren)
                continue;
            if (regel.trimmed().isEmpty())
                continue;
            bool ok = true;
            QString foutTekst;
            const std::optional<QStringList> velden = SplitCSVRegel(regel, ok, foutTekst);
            if (!ok || !velden) {
                ToonFout(QStringLiteral("Fout in regel:") + kCrLf + kCrLf + m_huidigeRegel.toString() +
                         kCrLf + kCrLf + QStringLiteral("Importeren afgebroken!") + kCrLf + foutTekst);
                TelFout();
                return false;
            }
            // A failing line has been reported and counted.
            if (!AfhandelenArtikelRegel(*velden))
                return false;
        }
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        TelFout();
        return false;
    }

    MeldHoofdActie(QStringLiteral("Sluiten bestand leverancier"));
    return afsluitenLezen(path, false);
}

bool clsImportBestand::LeesExcelBestand(const QString& path, const QString& worksheet)
{
    MeldHoofdActie(QStringLiteral("Inlezen bestand leverancier"));
    MeldVoortgang(QStringLiteral("Bron bestand"), path);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        MeldVoortgang(QStringLiteral("Niet gevonden"), path);
        ToonFout(QStringLiteral("Bestand '") + path + QStringLiteral("' niet gevonden!"));
        TelFout();
        return false;
    }

    clsConnectie cn;
    bool rijenGelezen = false; // the rows ran to their end and at least one was taken
    try {
        // Without the header option the first row comes as data.
        if (!cn.MakenExcelConnectie(path, false)) {
            ToonFout(QStringLiteral("Openen bestand mislukt!") + kCrLf + kCrLf + path);
            TelFout();
            return false;
        }
        const DbConnection db = cn.Connection();
        const QStringList tabellen = db->tableNames();
        if (tabellen.isEmpty()) {
            ToonFout(QStringLiteral("Geen werkboek gevonden!"));
        } else {
            const QString blad = worksheet.isEmpty() ? tabellen.first() : worksheet;
            RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT * FROM [") + blad + QLatin1Char(']'));
            if (rs->eof()) {
                ToonFout(QStringLiteral("Geen records gevonden!"));
            } else {
                if (!m_bron->EersteRijImporteren)
                    rs->moveNext();
                m_regelNummer = 0;
                const int velden = rs->fieldCount();
                for (; !rs->eof(); rs->moveNext()) {
                    ++m_regelNummer;
                    ArtikelRegel regel;
                    regel.reserve(velden);
                    for (int i = 0; i < velden; ++i)
                        regel << NzString(rs->value(i)).trimmed();
                    // A failing row has been reported and counted; the next row follows.
                    AfhandelenArtikelRegel(regel);
                }
                // A sheet whose only row is the title row has no article to give.
                rijenGelezen = m_regelNummer > 0;
            }
        }
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        TelFout();
        cn.SluitenConnectie();
        return false;
    }

    MeldHoofdActie(QStringLiteral("Sluiten bestand leverancier"));
    cn.SluitenConnectie();
    return afsluitenLezen(path, rijenGelezen);
}

bool clsImportBestand::afsluitenLezen(const QString& path, bool gelezen)
{
    if (!m_gelezenRegels.isEmpty() || !ColItemsDistinct->isEmpty()) {
        MeldTotaal(qint32(m_gelezenRegels.size() * 2));
        return true;
    }
    ui().messageBox(QStringLiteral("Geen artikelen aangetroffen in ") + path + QStringLiteral(" !"),
                    MsgBox::OkOnly, QString::fromUtf8(kProgramTitle));
    if (!gelezen)
        TelFout();
    return gelezen;
}

ArtikelRegel clsImportBestand::CorrectForSupplier(const ArtikelRegel& regel) const
{
    const qint32 codeKolom = m_bron->GetColumnFor(kKindCode);
    const qint32 gespiegeldKolom = m_bron->GetColumnFor(kKindGespiegeld);
    const bool deceuninck = m_bron->Deceuninck();
    const qint32 deceuninckKolom = deceuninck ? m_bron->DeceuninckType() : 0;
    const QString& prefix = globals().gLeverancierPrefix;

    // Most suppliers need no correction: the line is shared as it is.
    const bool codeKolommen = (codeKolom >= 1 && codeKolom <= regel.size()) ||
                              (gespiegeldKolom >= 1 && gespiegeldKolom <= regel.size());
    if (!deceuninck && (prefix.isEmpty() || !codeKolommen))
        return regel;

    ArtikelRegel gecorrigeerd;
    gecorrigeerd.reserve(regel.size());
    for (qint32 i = 1; i <= regel.size(); ++i) {
        const QString& waarde = regel.at(i - 1);
        if (i != codeKolom && i != gespiegeldKolom)
            gecorrigeerd << waarde;
        else if (deceuninck)
            gecorrigeerd << (i == 1 ? kolom(regel, deceuninckKolom) : waarde);
        else
            gecorrigeerd << (waarde.isEmpty() ? waarde : prefix + waarde);
    }
    return gecorrigeerd;
}

bool clsImportBestand::ZitIncolItemsDistinct(const QString& code) const
{
    return m_distinctCodes.contains(code.toLower());
}

void clsImportBestand::voegToeAanLijst(const std::shared_ptr<clsItem>& item)
{
    if (!ColItemsDistinct)
        ColItemsDistinct = std::make_shared<ItemCollection>();
    ColItemsDistinct->append(item);
    m_distinctCodes.insert(item->Code.toLower());
}

bool clsImportBestand::AfhandelenArtikelRegel(const ArtikelRegel& invoer)
{
    try {
        const ArtikelRegel regel = CorrectForSupplier(invoer);
        if (regel.isEmpty())
            return true;

        if (!m_alleenLijst) {
            m_gelezenRegels.append(regel);
            return true;
        }

        const qint32 groepKolom = m_bron->GetColumnFor(kKindGroep);
        if (m_groepen && groepKolom > 0) {
            const QString groep = kolom(regel, groepKolom);
            if (ZitIncolItemsDistinct(groep) || groep.isEmpty())
                return true;
            auto item = std::make_shared<clsItem>();
            item->Code = groep;
            item->Description = groep;
            voegToeAanLijst(item);
            return true;
        }

        // Articles (also for groups from a source without a group column).
        const qint32 codeKolom = m_bron->GetColumnFor(kKindCode);
        if (codeKolom == 0) {
            MeldVoortgang(m_groepen ? QStringLiteral("Geen veld artikelgroepcode aanwezig in bestand.")
                                    : QStringLiteral("Geen veld artikelcode aanwezig in bestand."),
                          QString());
            TelFout();
            return true;
        }
        const QString code = kolom(regel, codeKolom);
        if (ZitIncolItemsDistinct(code))
            return true;

        auto item = std::make_shared<clsItem>();
        item->Code = code;
        qint32 omschrijvingKolom = m_bron->GetColumnFor(kKindOmschrijving);
        if (omschrijvingKolom == 0)
            omschrijvingKolom = m_bron->GetColumnFor(kKindOmschrijvingOfferte);
        // A source that maps neither description lists its codes without one.
        if (omschrijvingKolom > 0)
            item->Description = kolom(regel, omschrijvingKolom);
        const qint32 gespiegeldKolom = m_bron->GetColumnFor(kKindGespiegeld);
        if (gespiegeldKolom > 0)
            item->CodeGespiegeld = kolom(regel, gespiegeldKolom);
        if (m_bron->ArtikelGroepSelectieMogelijk())
            item->GroepOmschrijving = kolom(regel, groepKolom);
        if (item->Code.isEmpty())
            return true;
        voegToeAanLijst(item);
        return true;
    } catch (const std::exception& e) {
        const AppError fout = AppError::from(e);
        const QString waar =
            fout.number() == kSubscriptOutOfRange
                ? QStringLiteral("Het bronbestand bevat te weinig kolommen op regel (")
                : QStringLiteral("Fout in clsImportBestand.AfhandelenArtikelRegel voor regel (");
        ShowError(waar + QString::number(m_regelNummer) + QStringLiteral(")") + kCrLf +
                      m_huidigeRegel.toString() + kCrLf + kCrLf,
                  fout);
        TelFout();
        return false;
    }
}

} // namespace supplink
