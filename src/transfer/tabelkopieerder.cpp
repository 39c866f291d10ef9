#include "transfer/tabelkopieerder.h"

#include "database/clsconnectie.h"
#include "database/criteria.h"
#include "platform/codecompare.h"
#include "platform/jetsql.h"
#include "start/sharedroutines.h"
#include "transfer/jsonmerge.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QStringBuilder>
#include <cmath>

namespace supplink {

namespace {

bool zelfdeNaam(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The position of the first entry equal to the name (case-insensitive), -1 when none.
int positieIn(const QStringList& lijst, const QString& naam)
{
    for (int i = 0; i < lijst.size(); ++i) {
        if (zelfdeNaam(lijst.at(i), naam))
            return i;
    }
    return -1;
}

// The position of the first record whose field has the name (case-insensitive), -1 when none.
template <typename Record> int positieIn(const std::vector<Record>& lijst, const QString& naam)
{
    for (size_t i = 0; i < lijst.size(); ++i) {
        if (zelfdeNaam(lijst[i].veld, naam))
            return int(i);
    }
    return -1;
}

bool isLeeg(const QVariant& waarde)
{
    return !waarde.isValid() || waarde.isNull();
}

// Whether two values read as the same text (NzString), without writing them as texts where their types
// tell already: texts as they are, whole numbers and reals of one type by their value (a real's text is
// the shortest that reads back as it, so two reals have one text exactly when they are one value; a
// minus zero and a not-a-number are left to their texts).
bool zelfdeTekst(const QVariant& a, const QVariant& b)
{
    const bool leegA = isLeeg(a);
    const bool leegB = isLeeg(b);
    if (leegA && leegB)
        return true;
    const int type = a.typeId();
    if (!leegA && !leegB && type == b.typeId()) {
        switch (type) {
        case QMetaType::QString:
            return *static_cast<const QString*>(a.constData()) == *static_cast<const QString*>(b.constData());
        case QMetaType::LongLong:
        case QMetaType::Int:
            return a.toLongLong() == b.toLongLong();
        case QMetaType::Double: {
            const double x = *static_cast<const double*>(a.constData());
            const double y = *static_cast<const double*>(b.constData());
            if (std::isnan(x) || std::isnan(y) || (x == 0 && y == 0))
                break;
            return x == y;
        }
        default:
            break;
        }
    }
    return NzString(a) == NzString(b);
}

[[noreturn]] void veldOntbreekt(const QString& naam)
{
    throw AppError(DbErrorNumber::ItemNotFound, QStringLiteral("Veld '%1' niet gevonden.").arg(naam));
}

// The search criterion "field = value": a number as it is when asked for and the value reads as one,
// else a text. Made as a criterion directly: a search per row then writes and parses no criterion text.
Criteria criterium(const QString& veld, const QVariant& waarde, bool numeriek)
{
    if (numeriek) {
        if (const auto getal = CriteriaValueNumber(waarde))
            return Criteria::equalToNumber(veld, *getal);
    }
    return *Criteria::equalTo(veld, CriteriaValueText(waarde), false);
}

// Stores the pending row; a row that cannot be stored is forgotten before the error goes on.
void opslaan(Recordset& doel)
{
    try {
        doel.update();
    } catch (...) {
        doel.cancelUpdate();
        throw;
    }
}

} // namespace

// How one source field is handled, worked out once per call.
struct TabelKopieerder::VeldPlan
{
    QString naam;
    int bron = -1;
    int doel = -1;   // the target field, -1 when the target has none of that name
    int ophoog = -1; // position in the numbered fields
    int opzoek = -1; // position in the lookups
    bool overslaan = false;
    bool bijwerken = false;
    bool json = false;
    bool fkType = false;
    bool opBestaand = false; // written on an existing row

    int doelIndex() const
    {
        if (doel < 0)
            veldOntbreekt(naam);
        return doel;
    }
};

// ---- Targets ----------------------------------------------------------------

// A recordset the caller opened: the key is searched from its first row, as Find does it.
class TabelKopieerder::RecordsetDoel final : public TabelKopieerder::Doel
{
public:
    RecordsetDoel(RecordsetPtr rs, QString sleutel, bool numeriek)
        : m_rs(std::move(rs)), m_sleutel(std::move(sleutel)), m_numeriek(numeriek)
    {
    }

    void voorRij() override
    {
        try {
            if (m_rs)
                m_rs->moveFirst();
        } catch (const std::exception&) {
            // Only an empty target fails here; the key search that follows starts from the first row itself.
        }
    }

    Recordset& zoek(const QVariant& sleutel, bool& bestaat) override
    {
        if (!m_rs)
            throw AppError(DbErrorNumber::ObjectClosed, QStringLiteral("Er is geen doelrecordset."));
        bestaat = !m_sleutel.isEmpty() && m_rs->findFirst(criterium(m_sleutel, sleutel, m_numeriek));
        return *m_rs;
    }

    Recordset* inHand() const override { return m_rs.get(); }

private:
    RecordsetPtr m_rs;
    QString m_sleutel;
    bool m_numeriek;
};

// A target table on an SQLite connection, given as the query that reads it and the start of the key
// condition ("WHERE Code="). The table is read once; a key is matched as codes compare (without regard to
// case, platform/codecompare.h), and rows are added to and written back through that one recordset. A
// condition of another form is run per row with the key bound as a parameter, compared the same way.
class TabelKopieerder::QueryDoel final : public TabelKopieerder::Doel
{
public:
    // bijgewerkt: the fields written onto existing rows (while the key is not among them, the keys of the
    // table change only by added rows).
    QueryDoel(DbConnection db, QString query, QString where, bool numeriek, const QStringList& bijgewerkt)
        : m_db(std::move(db)), m_query(std::move(query)), m_where(std::move(where)), m_numeriek(numeriek)
    {
        static const QRegularExpression vorm(
            QStringLiteral(R"re(^\s*WHERE\s+(?:\[([^\]]+)\]|"([^"]+)"|([A-Za-z_][\w.]*))\s*=\s*$)re"),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = vorm.match(m_where);
        if (match.hasMatch()) {
            for (int i = 1; i <= 3 && m_sleutelVeld.isEmpty(); ++i)
                m_sleutelVeld = match.captured(i);
        }
        const QString kaleNaam = m_sleutelVeld.section(QLatin1Char('.'), -1);
        m_sleutelLijst = !m_sleutelVeld.isEmpty() && positieIn(bijgewerkt, kaleNaam) < 0;
    }

    Recordset& zoek(const QVariant& sleutel, bool& bestaat) override
    {
        bestaat = false;
        if (sleutel.isValid() && !m_sleutelVeld.isEmpty() && m_sleutelIndex < 0) {
            // A key field the query does not read is searched by the condition itself.
            m_sleutelIndex = heleTabel().fieldIndex(m_sleutelVeld);
            if (m_sleutelIndex < 0)
                m_sleutelVeld.clear();
        }
        if (sleutel.isValid() && m_sleutelVeld.isEmpty())
            return perRij(sleutel, bestaat);
        Recordset& tabel = heleTabel();
        if (!sleutel.isValid())
            return tabel; // no key: every row is new
        const bool getal = m_numeriek && CriteriaValueNumber(sleutel).has_value();
        const QString tekst = CriteriaValueText(sleutel);
        if (m_sleutelLijst && !getal) {
            // The keys of the table are listed once, each with the auto-number of its first row: a new key is
            // told without a search, an existing row is found by its number.
            if (!m_sleutelsGelezen)
                leesSleutels(tabel);
            const auto rij = m_sleutels.constFind(CodeSleutel{tekst});
            if (rij == m_sleutels.cend())
                return tabel;
            if (m_nummerIndex >= 0 &&
                tabel.findFirst(criterium(tabel.column(m_nummerIndex).name, *rij, true)) &&
                codesEqual(CriteriaValueText(tabel.value(m_sleutelIndex)), tekst)) {
                bestaat = true;
                return tabel;
            }
        }
        // The recordset's search compares texts as codes compare.
        bestaat = tabel.findFirst(criterium(tabel.column(m_sleutelIndex).name, sleutel, m_numeriek));
        return tabel;
    }

    Recordset* inHand() const override { return m_inHand; }
    int generatie() const override { return m_generatie; }

    void toegevoegd(Recordset& rs) override
    {
        if (m_sleutelsGelezen && &rs == m_tabel.get())
            noteer(rs);
    }

private:
    // The keys of the table, folded as codes compare; a null key is never found.
    void leesSleutels(Recordset& tabel)
    {
        for (int i = 0; i < tabel.fieldCount() && m_nummerIndex < 0; ++i) {
            if (tabel.column(i).autoNumber)
                m_nummerIndex = i;
        }
        m_sleutels.reserve(tabel.recordCount());
        for (tabel.moveFirst(); !tabel.eof(); tabel.moveNext())
            noteer(tabel);
        m_sleutelsGelezen = true;
    }

    void noteer(Recordset& tabel)
    {
        const QVariant waarde = tabel.value(m_sleutelIndex);
        if (isLeeg(waarde))
            return;
        const CodeSleutel sleutel{CriteriaValueText(waarde)};
        if (!m_sleutels.contains(sleutel))
            m_sleutels.insert(sleutel, m_nummerIndex >= 0 ? tabel.value(m_nummerIndex) : QVariant());
    }

    void vereisVerbinding() const
    {
        if (!m_db)
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("Er is geen verbinding met het doel."));
    }

    Recordset& heleTabel()
    {
        if (!m_tabel) {
            vereisVerbinding();
            m_tabel = m_db->openRecordset(m_query);
            ++m_generatie;
        }
        m_inHand = m_tabel.get();
        return *m_tabel;
    }

    Recordset& perRij(const QVariant& sleutel, bool& bestaat)
    {
        QVariant waarde = CriteriaValueText(sleutel);
        if (m_numeriek) {
            if (const auto getal = CriteriaValueNumber(sleutel))
                waarde = *getal;
        }
        vereisVerbinding();
        m_rij = m_db->openRecordset(m_query + QLatin1Char(' ') + m_where + QLatin1Char('?') +
                                        (m_numeriek ? QString() : m_db->codeCollate()),
                                    {waarde});
        ++m_generatie;
        m_inHand = m_rij.get();
        bestaat = !m_rij->bof() && !m_rij->eof();
        return *m_rij;
    }

    DbConnection m_db;
    QString m_query;
    QString m_where;
    bool m_numeriek;
    QString m_sleutelVeld;
    int m_sleutelIndex = -1;
    bool m_sleutelLijst = false;
    bool m_sleutelsGelezen = false;
    QHash<CodeSleutel, QVariant> m_sleutels; // key -> the auto-number of its first row
    int m_nummerIndex = -1;                  // the auto-number field
    RecordsetPtr m_tabel;
    RecordsetPtr m_rij;
    Recordset* m_inHand = nullptr;
    int m_generatie = 0;
};

std::unique_ptr<TabelKopieerder::Doel> TabelKopieerder::recordsetDoel(const RecordsetPtr& doel) const
{
    return std::make_unique<RecordsetDoel>(doel, strKeyField, strKeyIsNumeriek);
}

std::unique_ptr<TabelKopieerder::Doel>
TabelKopieerder::queryDoel(const DbConnection& db, const QString& query, const QString& where) const
{
    return std::make_unique<QueryDoel>(db, query, where, strKeyIsNumeriek, UpdateFieldsCollection);
}

// ---- The copier -------------------------------------------------------------

TabelKopieerder::TabelKopieerder(Beleid beleid) : m_beleid(std::move(beleid)) {}

TabelKopieerder::~TabelKopieerder() = default;

void TabelKopieerder::SetRunContext(RunContextPtr run)
{
    m_run = run ? std::move(run) : std::make_shared<RunContext>();
}

void TabelKopieerder::VoegOpzoekingToe(const QString& veld, RecordsetPtr bron, RecordsetPtr doel,
                                       const QString& matchVeld, const QString& idVeld)
{
    if (veld.isEmpty() || matchVeld.isEmpty() || idVeld.isEmpty())
        throw AppError(
            ErrorNumber::General,
            QStringLiteral("Een opzoeking heeft een veld, een vergelijkingsveld en een ID-veld nodig."));
    if (!bron || !doel)
        throw AppError(ErrorNumber::General,
                       QStringLiteral("Geen opzoektabel voor het veld '%1'.").arg(veld));
    if (positieIn(m_opzoekingen, veld) >= 0)
        throw AppError(ErrorNumber::General,
                       QStringLiteral("Het veld '%1' heeft al een opzoeking.").arg(veld));
    m_opzoekingen.push_back({veld, std::move(bron), std::move(doel), matchVeld, idVeld});
}

void TabelKopieerder::VoegOphogingToe(const QString& veld, qint32 basis)
{
    if (veld.isEmpty())
        throw AppError(ErrorNumber::General, QStringLiteral("Een genummerd veld heeft een naam nodig."));
    if (positieIn(m_ophogingen, veld) >= 0)
        throw AppError(ErrorNumber::General, QStringLiteral("Het veld '%1' wordt al genummerd.").arg(veld));
    m_ophogingen.push_back({veld, basis});
}

QString TabelKopieerder::AlgemeneDatum()
{
    const QDateTime nu = QDateTime::currentDateTime();
    return QLocale().toString(nu.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           nu.time().toString(QStringLiteral("HH:mm:ss"));
}

void TabelKopieerder::Voortgang(const QString& actie, const QString& omschrijving)
{
    if (m_ontvanger)
        m_ontvanger->Voortgang(actie, omschrijving);
}

void TabelKopieerder::Log(const QString& tekst)
{
    if (m_ontvanger)
        m_ontvanger->Voortgang(tekst, QString());
}

void TabelKopieerder::LogFout(const QString& routine, const AppError& fout)
{
    ++m_fouten;
    if (m_ontvanger)
        m_ontvanger->FoutOpgetreden(m_fouten);
    Log(QStringLiteral("Error (%1): %2-%3").arg(routine, QString::number(fout.number()), fout.description()));
}

void TabelKopieerder::schrijfVast(Transaction& transactie, const QString& routine)
{
    try {
        transactie.commit();
    } catch (const std::exception& e) {
        LogFout(routine, AppError::from(e));
    }
}

void TabelKopieerder::LogVelden(const Recordset* rs)
{
    if (!rs)
        return;
    for (int i = 0; i < rs->fieldCount(); ++i)
        Log(rs->column(i).name);
}

QString TabelKopieerder::RijOmschrijving(Recordset& rs) const
{
    QString tekst;
    for (int i = 0; i < rs.fieldCount(); ++i)
        tekst += QLatin1Char(';') + NzString(rs.value(i)).trimmed();
    return tekst;
}

int TabelKopieerder::bronIndex(const QString& naam)
{
    const int index = m_bron->fieldIndex(naam);
    if (index < 0)
        veldOntbreekt(naam);
    return index;
}

QString TabelKopieerder::sleutelTekst()
{
    if (strKeyField.isEmpty())
        return RijOmschrijving(*m_bron);
    if (m_sleutelIndex < 0)
        m_sleutelIndex = bronIndex(strKeyField);
    return NzString(m_bron->value(m_sleutelIndex));
}

void TabelKopieerder::bereidVoor(Recordset& bron)
{
    // The selection, by code as codes compare: the first item of each code counts.
    m_selectie.clear();
    if (colFilter) {
        m_selectie.reserve(colFilter->size());
        for (const std::shared_ptr<clsItem>& item : *colFilter) {
            if (!item)
                continue;
            const CodeSleutel code{item->Code};
            if (!m_selectie.contains(code))
                m_selectie.insert(code, item);
        }
    }
    m_sleutelIndex = strKeyField.isEmpty() ? -1 : bron.fieldIndex(strKeyField);
    m_filterIndex = strFieldOnderdeelFilter.isEmpty() ? -1 : bron.fieldIndex(strFieldOnderdeelFilter);
    // From a Jet source into SQL Server, hardware articles of type 8 become type 23 when they have no
    // position on the glass line.
    m_fkTypeRegel =
        m_doelCn->IsSQLServer && !m_bronCn->IsSQLServer && bron.hasField(QStringLiteral("fktype"));
    m_plan.clear();
    m_planDoel = nullptr;
    m_planGeneratie = -1;
    m_deleteStatements.clear();
    m_organisatie.reset();
    m_leverancier.reset();
    m_vertalingen.assign(m_opzoekingen.size(), {});
}

const std::vector<TabelKopieerder::VeldPlan>& TabelKopieerder::planVoor(Recordset& doel, int generatie)
{
    if (m_planDoel == &doel && m_planGeneratie == generatie)
        return m_plan;
    m_plan.clear();
    Recordset& bron = *m_bron;
    for (int i = 0; i < bron.fieldCount(); ++i) {
        VeldPlan veld;
        veld.naam = bron.column(i).name;
        veld.bron = i;
        veld.doel = doel.fieldIndex(veld.naam);
        veld.ophoog = positieIn(m_ophogingen, veld.naam);
        veld.opzoek = positieIn(m_opzoekingen, veld.naam);
        veld.overslaan = positieIn(SkipFieldsCollection, veld.naam) >= 0;
        veld.bijwerken = positieIn(UpdateFieldsCollection, veld.naam) >= 0;
        veld.json = m_beleid.jsonVelden && positieIn(*m_beleid.jsonVelden, veld.naam) >= 0;
        veld.fkType = m_fkTypeRegel && zelfdeNaam(veld.naam, QStringLiteral("FKTYPE"));
        veld.opBestaand = veld.bijwerken || veld.json || (m_beleid.sleutelsOpBestaand && veld.opzoek >= 0);
        m_plan.push_back(std::move(veld));
    }
    m_planDoel = &doel;
    m_planGeneratie = generatie;
    return m_plan;
}

void TabelKopieerder::kopieer(const RecordsetPtr& bron, Doel& doel, clsConnectie& bronCn,
                              clsConnectie& doelCn, const QStringList& startRegels, Verwerking verwerking)
{
    m_bron = bron;
    m_doel = &doel;
    m_bronCn = &bronCn;
    m_doelCn = &doelCn;
    m_item.reset();
    const QString routine = m_beleid.routine + (verwerking == Verwerking::Leveranciers
                                                    ? QStringLiteral(".OverzettenRecordSetSQLSuppliers")
                                                    : QStringLiteral(".OverzettenRecordSet"));
    for (const QString& regel : startRegels)
        Log(regel);

    RunScope live(*m_run);
    // The writes of the call on an SQLite target are grouped in one transaction (see the header).
    std::optional<Transaction> bundel;
    bool vastleggen = true; // false once the commit of the normal end has been tried
    try {
        const DbConnection db = doelCn.Connection();
        bundel.emplace(db, db && db->kind() == DatabaseBackend::Kind::SQLite && db->isOpen());
        if (!bron)
            throw AppError(DbErrorNumber::ObjectClosed, QStringLiteral("Er is geen bronrecordset."));
        if (bron->eof()) {
            Log(QStringLiteral("Geen records in source!"));
        } else {
            bereidVoor(*bron);
            // The listener lets the window catch up after its own reports; the copier itself gives the
            // event loop a turn through the run context, which throttles the turns so that the window stays
            // responsive without paying a turn of the event loop for every row.
            do {
                if (m_beleid.doelNaarEersteRij)
                    doel.voorRij();
                if (m_ontvanger)
                    m_ontvanger->VoortgangPlus1();
                m_run->yield();
                verwerkRij(doel, verwerking);
                bron->moveNext();
                if (m_run->cancelled())
                    break;
            } while (!bron->eof());
        }
        vastleggen = false;
        bundel->commit(); // a refused commit is rolled back by the guard and reported below
        Log(QStringLiteral("End = ") + AlgemeneDatum());
    } catch (const std::exception& e) {
        foutpad(routine, AppError::from(e), doel.inHand());
        if (vastleggen && bundel)
            schrijfVast(*bundel, routine);
    }
    bundel.reset();
    m_deleteStatements.clear();
    m_organisatie.reset();
    m_leverancier.reset();
    m_item.reset();
    m_bron.reset();
    m_doel = nullptr;
    m_vertalingen.clear();
}

void TabelKopieerder::foutpad(const QString& routine, const AppError& fout, Recordset* doel)
{
    LogFout(routine, fout);
    Log(QStringLiteral("Key = ") + strKeyField);
    Log(QStringLiteral("ID = ") + strIDField);
    Log(QStringLiteral("Source recordset:"));
    LogVelden(m_bron.get());
    Log(QStringLiteral("Target recordset:"));
    LogVelden(doel);
}

void TabelKopieerder::verwerkRij(Doel& doel, Verwerking verwerking)
{
    if (!OnderdeelGeselecteerd()) {
        ++m_overgeslagen;
        Log(QStringLiteral("Overgeslagen : ") + sleutelTekst());
        return;
    }
    QVariant sleutel;
    if (!strKeyField.isEmpty()) {
        if (m_sleutelIndex < 0)
            m_sleutelIndex = bronIndex(strKeyField);
        sleutel = m_bron->value(m_sleutelIndex);
        if (isLeeg(sleutel))
            sleutel = QStringLiteral(""); // a null key is searched as an empty text
    }
    bool bestaat = false;
    Recordset& rs = doel.zoek(sleutel, bestaat);
    if (verwerking == Verwerking::Leveranciers) {
        if (bestaat) {
            ++m_bestaand;
            if (m_ontvanger)
                m_ontvanger->BestaandOnderdeel(m_bestaand);
        } else {
            nieuweLeverancier();
        }
        return;
    }
    const std::vector<VeldPlan>& plan = planVoor(rs, doel.generatie());
    if (bestaat)
        bestaandeRij(rs, plan);
    else
        nieuweRij(rs, plan);
}

bool TabelKopieerder::OnderdeelGeselecteerd()
{
    m_item.reset();
    try {
        if (!colFilter)
            return false;
        if (colFilter->isEmpty())
            return m_beleid.legeSelectieIsAlles;
        if (strFieldOnderdeelFilter.isEmpty())
            return true;
        if (m_filterIndex < 0)
            m_filterIndex = bronIndex(strFieldOnderdeelFilter);
        const QVariant waarde = m_bron->value(m_filterIndex);
        if (isLeeg(waarde))
            return false;
        const auto gevonden = m_selectie.constFind(CodeSleutel{NzString(waarde)});
        if (gevonden == m_selectie.cend())
            return false;
        m_item = gevonden.value();
        return true;
    } catch (const std::exception& e) {
        LogFout(m_beleid.routine + QStringLiteral(".OnderdeelGeselecteerd"), AppError::from(e));
        Log(QStringLiteral("FieldOnderdeelFilter=") + strFieldOnderdeelFilter);
        return false;
    }
}

void TabelKopieerder::nieuweRij(Recordset& doel, const std::vector<VeldPlan>& plan)
{
    ++m_nieuw;
    if (m_ontvanger)
        m_ontvanger->NieuwOnderdeel(m_nieuw);
    if (!NieuweOnderdelenToevoegen) {
        Log(QStringLiteral("Overgeslagen nieuw onderdeel : ") + sleutelTekst());
        return;
    }
    Log(QStringLiteral("Nieuw onderdeel : ") + sleutelTekst());
    doel.addNew();
    for (const VeldPlan& veld : plan) {
        if (!TransferField(doel, veld, true)) {
            doel.cancelUpdate();
            Log(QStringLiteral("Overgeslagen sub onderdeel: ") + veld.naam);
            return;
        }
    }
    opslaan(doel);
    m_doel->toegevoegd(doel);
    if (m_item)
        m_item->RunActie_Toegevoegd = true;
}

void TabelKopieerder::bestaandeRij(Recordset& doel, const std::vector<VeldPlan>& plan)
{
    ++m_bestaand;
    if (m_ontvanger)
        m_ontvanger->BestaandOnderdeel(m_bestaand);
    const QString sleutel = sleutelTekst();
    if (!WijzigingenDoorvoeren) {
        Log(QStringLiteral("Overgeslagen bestaand onderdeel : ") + sleutel);
        return;
    }
    Log(QStringLiteral("Bestaand onderdeel : ") + sleutel);
    const bool kinderen = !strIDField.isEmpty() && !DeleteLinkedTablesSQL.isEmpty();
    Transaction rij(m_doelCn->Connection(), kinderen);
    if (!strIDField.isEmpty())
        DeleteLinkedTables(NzLong(doel.value(strIDField)));
    for (const VeldPlan& veld : plan) {
        if (!veld.opBestaand)
            continue; // left as it is
        if (!TransferField(doel, veld, false)) {
            doel.cancelUpdate();
            rij.rollback();
            Log(QStringLiteral("Overgeslagen sub onderdeel: ") + veld.naam);
            return;
        }
    }
    opslaan(doel);
    rij.commit();
    if (m_item)
        m_item->RunActie_Aangepast = true;
}

void TabelKopieerder::nieuweLeverancier()
{
    ++m_nieuw;
    if (m_ontvanger)
        m_ontvanger->NieuwOnderdeel(m_nieuw);
    if (!NieuweOnderdelenToevoegen) {
        Log(QStringLiteral("Overgeslagen nieuw onderdeel : ") + sleutelTekst());
        return;
    }
    Log(QStringLiteral("Nieuw onderdeel : ") + sleutelTekst());
    const QString code = NzString(m_bron->value(QStringLiteral("Code")));
    if (!code.trimmed().isEmpty()) {
        const QString omschrijving = NzString(m_bron->value(QStringLiteral("Description")));
        const DbConnection db = m_doelCn->Connection();
        if (!db)
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("Er is geen verbinding met het doel."));
        if (!m_organisatie) {
            m_organisatie = db->prepare(
                QStringLiteral("INSERT INTO [CRM].Organization ( [SearchName], [Name] )  VALUES (?, ?) "));
            m_leverancier = db->prepare(QStringLiteral(
                "INSERT INTO [CRM].Vendor (fkOrganization, eVendorType)  SELECT [CRM].Organization.Oid, 1 as "
                "EnumOPObjectType FROM [CRM].Organization  WHERE [CRM].Organization.SearchName = ?"));
        }
        // The organisation and its vendor row go in together or not at all.
        Transaction samen(db);
        m_organisatie->bind(0, code);
        m_organisatie->bind(1, omschrijving);
        m_organisatie->execute();
        m_leverancier->bind(0, code);
        m_leverancier->execute();
        samen.commit();
    }
    if (m_item)
        m_item->RunActie_Toegevoegd = true;
}

bool TabelKopieerder::TransferField(Recordset& doel, const VeldPlan& veld, bool nieuw)
{
    try {
        Recordset& bron = *m_bron;
        if (nieuw) {
            if (veld.ophoog >= 0) {
                ++m_ophoogTeller;
                doel.setValue(veld.doelIndex(),
                              qint64(m_ophogingen.at(size_t(veld.ophoog)).basis) + m_ophoogTeller);
                return true;
            }
            if (veld.opzoek >= 0)
                return VreemdeSleutel(doel, veld);
            if (veld.overslaan)
                return true;
            if (veld.fkType) {
                const auto type = CriteriaValueNumber(bron.value(veld.bron));
                if (type && *type == 8) {
                    const QVariant positie = bron.value(bronIndex(QStringLiteral("PositionGLVG")));
                    const auto getal = CriteriaValueNumber(positie);
                    doel.setValue(veld.doelIndex(), (!isLeeg(positie) && getal && *getal == 0) ? 23 : 8);
                    return true;
                }
            }
            doel.setValue(veld.doelIndex(), bron.value(veld.bron));
            return true;
        }

        if (m_beleid.sleutelsOpBestaand && veld.opzoek >= 0)
            return VreemdeSleutel(doel, veld);
        if (veld.bijwerken) {
            const QVariant oudeWaarde = doel.value(veld.doelIndex());
            const QVariant nieuweWaarde = bron.value(veld.bron);
            if (!zelfdeTekst(oudeWaarde, nieuweWaarde)) {
                Voortgang(QStringLiteral("Update"), veld.naam % QLatin1Char('(') % NzString(oudeWaarde) %
                                                        QLatin1String("->") % NzString(nieuweWaarde) %
                                                        QLatin1Char(')'));
                doel.setValue(veld.doel, nieuweWaarde);
            }
        }
        if (veld.json) {
            const QString oud = NzString(doel.value(veld.doelIndex()));
            const QString nieuwTekst = NzString(bron.value(veld.bron));
            if (oud != nieuwTekst) {
                Voortgang(QStringLiteral("JSON Merge"), veld.naam + QStringLiteral("([Data]->[Data])"));
                if (oud.isEmpty()) {
                    doel.setValue(veld.doel, nieuwTekst); // nothing stored yet: the incoming data as it is
                } else if (!nieuwTekst.isEmpty()) {
                    QString foutTekst;
                    const QString samen = MergeJSONFieldLibrary(oud, nieuwTekst, foutTekst);
                    if (!foutTekst.isEmpty()) {
                        LogFout(m_beleid.routine + QStringLiteral(".TransferField"), AppError(0, QString()));
                        Log(foutTekst);
                    } else {
                        doel.setValue(veld.doel, samen);
                    }
                }
            }
        }
        return true;
    } catch (const std::exception& e) {
        LogFout(m_beleid.routine + QStringLiteral(".TransferField"), AppError::from(e));
        Log(QStringLiteral("Field=") + veld.naam);
        Log(QStringLiteral("New= ") + (nieuw ? QStringLiteral("True") : QStringLiteral("False")));
        try {
            Log(QStringLiteral("RecSetTarget.Fields(strName).Value = ") + NzString(m_bron->value(veld.bron)));
        } catch (const std::exception&) {
            // The error above is counted and logged already; a value that cannot be read has no line.
        }
        return false;
    }
}

bool TabelKopieerder::VreemdeSleutel(Recordset& doel, const VeldPlan& veld)
{
    const int i = veld.opzoek;
    QString idVeld, matchVeld, code;
    try {
        const QVariant waarde = m_bron->value(veld.bron);
        if (isLeeg(waarde)) {
            doel.setValue(veld.doelIndex(), QVariant());
            return true;
        }
        const Opzoeking& opzoeking = m_opzoekingen.at(size_t(i));
        matchVeld = opzoeking.matchVeld;
        idVeld = opzoeking.idVeld;

        // The lookup tables do not change during a call: a value once translated is taken from the list.
        QHash<QString, Vertaling>& vertalingen = m_vertalingen.at(size_t(i));
        const QString sleutel = CriteriaValueText(waarde);
        auto vertaling = vertalingen.constFind(sleutel);
        if (vertaling == vertalingen.cend()) {
            Recordset& bronOpzoek = *opzoeking.bron;
            Recordset& doelOpzoek = *opzoeking.doel;
            const bool geheelGetal = m_bron->column(veld.bron).type == adType::Integer;
            if (!bronOpzoek.findFirst(criterium(idVeld, waarde, geheelGetal))) {
                Log(idVeld + QStringLiteral(" opzoeken mislukt in bronbestand voor ") + veld.naam +
                    QStringLiteral("='") + NzString(waarde) + QLatin1Char('\''));
                return true;
            }
            code = NzString(bronOpzoek.value(matchVeld));
            if (doelOpzoek.findFirst(criterium(matchVeld, code, false))) {
                const int id = doelOpzoek.fieldIndex(QStringLiteral("ID"));
                const int idIndex = doelOpzoek.fieldIndex(idVeld);
                vertaling =
                    vertalingen.insert(sleutel, {code, id >= 0 ? doelOpzoek.value(id) : QVariant(),
                                                 idIndex >= 0 ? doelOpzoek.value(idIndex) : QVariant(),
                                                 doelOpzoek.value(matchVeld)});
            }
        } else {
            code = vertaling->code;
        }
        const bool gevonden = vertaling != vertalingen.cend();
        // The referenced row in the target; a code the target lacks ends here.
        const auto doelWaarde = [&](const QString& naam) {
            if (!gevonden)
                throw AppError(DbErrorNumber::NoCurrentRecord, QString());
            if (naam.compare(matchVeld, Qt::CaseInsensitive) == 0)
                return vertaling->matchVeld;
            if (naam.compare(idVeld, Qt::CaseInsensitive) == 0)
                return vertaling->idVeld;
            return vertaling->id;
        };

        const int doelIndex = veld.doelIndex();
        const int type = doel.column(doelIndex).type;
        if (type == adType::GUID || type == adType::Integer) {
            if (zelfdeNaam(matchVeld, QStringLiteral("CODE"))) {
                // Only a row with a code of its own can refer to itself (child rows have none).
                const int eigenCode = doel.fieldIndex(QStringLiteral("Code"));
                if (eigenCode >= 0 && codesEqual(NzString(doel.value(eigenCode)), code)) {
                    Log(code + QStringLiteral(" verwijst naar zichzelf."));
                    return true;
                }
                doel.setValue(doelIndex, doelWaarde(QStringLiteral("ID")));
            } else {
                doel.setValue(doelIndex, doelWaarde(idVeld));
            }
        } else {
            doel.setValue(doelIndex, doelWaarde(matchVeld));
        }
        return true;
    } catch (const std::exception&) {
        // A field-level failure (above all a code the target lacks): the line below reports it and the row is
        // abandoned; it is not counted, so a missing reference does not fail the run.
        Log(QStringLiteral("Veld overgeslagen, waarde niet aanwezig in doel: ") + idVeld + QLatin1Char('=') +
            veld.naam + QStringLiteral("->") + matchVeld + QLatin1Char('=') + code);
        return false;
    }
}

void TabelKopieerder::DeleteLinkedTables(qint32 id)
{
    const DbConnection db = m_doelCn->Connection();
    for (int i = 0; i < DeleteLinkedTablesSQL.size(); ++i) {
        const QString& opdracht = DeleteLinkedTablesSQL.at(i);
        try {
            if (!db)
                throw AppError(DbErrorNumber::ObjectClosed,
                               QStringLiteral("Er is geen verbinding met het doel."));
            if (m_deleteStatements.size() <= size_t(i))
                m_deleteStatements.resize(size_t(i) + 1);
            std::unique_ptr<Statement>& statement = m_deleteStatements[size_t(i)];
            if (!statement) {
                // The Jet form ("DELETE * FROM") runs on SQLite as its SQLite form.
                const QString sql =
                    db->kind() == DatabaseBackend::Kind::SQLite ? translateJetSql(opdracht) : opdracht;
                statement = db->prepare(sql + QLatin1Char('?'));
            }
            statement->bind(0, id);
            statement->execute();
            Voortgang(QStringLiteral("Verwijderen"), opdracht + QString::number(id));
        } catch (const std::exception& e) {
            LogFout(QStringLiteral("DeleteLinkedTables"), AppError::from(e));
            Log(opdracht + QString::number(id));
            return;
        }
    }
}

} // namespace supplink
