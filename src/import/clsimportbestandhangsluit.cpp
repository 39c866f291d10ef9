#include "import/clsimportbestandhangsluit.h"

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/clsopt.h"
#include "database/codevergelijking.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"
#include "transfer/jsonmerge.h"
#include "json/json.h"

#include <QScopeGuard>

namespace supplink {

namespace {

constexpr qint32 kCombinaties = 0;
constexpr qint32 kKeuzes = 1;
const QString kRoutineOverzetten = QStringLiteral("clsImportBestandHangSluit.OverzettenBestand");

} // namespace

clsImportBestandHangSluit::clsImportBestandHangSluit()
    : m_run(std::make_shared<RunContext>()), m_lezer(m_melder),
      m_verplicht(std::make_shared<ItemCollection>())
{
    m_lezer.SetRunContext(m_run);
}

clsImportBestandHangSluit::~clsImportBestandHangSluit() = default;

void clsImportBestandHangSluit::SetOntvanger(VoortgangOntvanger* ontvanger)
{
    m_ontvanger = ontvanger;
    m_melder.SetOntvanger(ontvanger);
}

void clsImportBestandHangSluit::SetRunContext(RunContextPtr run)
{
    m_run = run ? std::move(run) : std::make_shared<RunContext>();
    m_lezer.SetRunContext(m_run);
}

bool clsImportBestandHangSluit::InlezenBestand(clsBron2& bron, bool distinct)
{
    m_bron = &bron;
    m_distinctModus = distinct;
    return InlezenBronBestand(!m_distinctModus   ? HangSluitBestandLezer::Modus::Overzetten
                              : m_verplichtModus ? HangSluitBestandLezer::Modus::Verplicht
                                                 : HangSluitBestandLezer::Modus::Distinct);
}

bool clsImportBestandHangSluit::LocksHingesArtikelVerplichtDistinct(
    clsBron2& bron, std::shared_ptr<ItemCollection> combinaties)
{
    if (!combinaties || combinaties->isEmpty())
        return false;
    m_bron = &bron;
    m_distinctModus = true;
    m_verplichtModus = true;
    m_verplicht = std::move(combinaties);
    return InlezenBronBestand(HangSluitBestandLezer::Modus::Verplicht);
}

bool clsImportBestandHangSluit::InlezenBronBestand(HangSluitBestandLezer::Modus modus)
{
    RunScope scope(*m_run);
    return m_lezer.Lees(*m_bron, modus, colItemsDistinct(), *m_verplicht);
}

// ---- The transfer ----------------------------------------------------------------------------------

bool clsImportBestandHangSluit::OverzettenBestand(clsBron2& bron, const QString& doelPad)
{
    RunScope scope(*m_run);
    m_bron = &bron;
    // The selection as codes compare, once for the run.
    m_geselecteerd.clear();
    m_geselecteerdVan = ColItemsGeselecteerd;
    if (ColItemsGeselecteerd) {
        for (const auto& item : *ColItemsGeselecteerd) {
            if (item)
                m_geselecteerd.insert(CodeSleutel(item->Code));
        }
    }
    const auto vergeet = qScopeGuard([this] {
        m_geselecteerdVan.reset();
        m_geselecteerd.clear();
    });

    bool result = false;
    if (InlezenBronBestand(HangSluitBestandLezer::Modus::Overzetten)) {
        m_melder.HoofdActieDone();
        result = globals().gBibliotheekModus ? OverzettenBibliotheek(doelPad) : OverzettenOpties(doelPad);
    }
    m_melder.HoofdActieDone();
    return result;
}

bool clsImportBestandHangSluit::OverzettenBibliotheek(const QString& pad)
{
    bool result = false;
    if (ConnectLIB(pad)) {
        try {
            Fix_Bemating_30_31();
            m_melder.HoofdActieDone();
            switch (m_bron->CombiType) {
            case kCombinaties:
                result = AanmakenCombiesInLibrary();
                break;
            case kKeuzes:
                result = AanmakenKeuzesInLibrary();
                break;
            default:
                result = OnbekendCombiType();
                break;
            }
        } catch (const std::exception& e) {
            SchrijfFout(kRoutineOverzetten, e);
            result = false;
        }
    }
    SluitenLIB();
    return result;
}

bool clsImportBestandHangSluit::OverzettenOpties(const QString& pad)
{
    bool result = false;
    if (ConnectOPT(pad)) {
        try {
            const bool sqlite = m_opt->DatabaseIsSQLiteFormat();
            if (sqlite || m_opt->NieuweFormaatCombies()) {
                Fix_Bemating_30_31();
                m_melder.HoofdActieDone();
                switch (m_bron->CombiType) {
                case kCombinaties:
                    result = sqlite ? AanmakenCombiesInSQLiteOptions() : AanmakenCombiesInOptPVC();
                    break;
                case kKeuzes:
                    result = sqlite ? AanmakenKeuzesInSQLiteOptions() : AanmakenKeuzesInOptPVC();
                    break;
                default:
                    result = OnbekendCombiType();
                    break;
                }
            } else {
                // The older format takes the lines as read: its dimensioning codes are the file's own.
                result = OverzettenOPTOudFormaat();
            }
        } catch (const std::exception& e) {
            SchrijfFout(kRoutineOverzetten, e);
            result = false;
        }
    }
    SluitenOPT();
    return result;
}

bool clsImportBestandHangSluit::ConnectOPT(const QString& pad)
{
    return OpenenDoel(pad, QStringLiteral("Openen onderhoud"),
                      QStringLiteral("Openen onderhoudsbestand mislukt! '"), [&] {
                          m_opt = std::make_unique<clsOPT>();
                          return m_opt->Connect(pad);
                      });
}

bool clsImportBestandHangSluit::ConnectLIB(const QString& pad)
{
    return OpenenDoel(pad, QStringLiteral("Openen bibliotheek"),
                      QStringLiteral("Openen bibliotheekbestand mislukt! '"), [&] {
                          m_lib = std::make_unique<clsLIB>();
                          return m_lib->Connect(pad);
                      });
}

bool clsImportBestandHangSluit::OpenenDoel(const QString& pad, const QString& kop, const QString& mislukt,
                                           const std::function<bool()>& openen)
{
    m_melder.HoofdActie(kop);
    m_melder.Voortgang(QStringLiteral("Doel bestand"), pad);
    const QString melding = mislukt + pad + QLatin1Char('\'');
    try {
        // A Jet file this system can only read is refused before it is opened.
        const QString weigering = jetTargetRefusal(pad);
        if (!weigering.isEmpty()) {
            m_melder.MeldFout(melding, weigering);
            return false;
        }
        if (openen())
            return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("clsImportBestandHangSluit.OpenenDoel"), e);
    }
    m_melder.MeldFout(melding);
    return false;
}

void clsImportBestandHangSluit::SluitenOPT()
{
    m_melder.HoofdActie(QStringLiteral("Sluiten onderhoud"));
    // Closing never reports: the handle is released whatever happens.
    if (m_opt)
        m_opt->Disconnect();
    m_opt.reset();
}

void clsImportBestandHangSluit::SluitenLIB()
{
    m_melder.HoofdActie(QStringLiteral("Sluiten bibliotheek"));
    if (m_lib)
        m_lib->Disconnect();
    m_lib.reset();
}

clsConnectie& clsImportBestandHangSluit::Doel() const
{
    clsConnectie* cn = m_lib ? m_lib->cnLIB.get() : m_opt ? m_opt->cnOPT.get() : nullptr;
    if (!cn || !cn->Connection())
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("Er is geen verbinding met het doelbestand."));
    return *cn;
}

bool clsImportBestandHangSluit::OnbekendCombiType()
{
    m_melder.MeldFout(
        QStringLiteral("Onbekend soort hang- en sluitwerkbestand (%1): kies \"Hang en Sluitwerk "
                       "Combi's\" of \"Hang en Sluitwerk Keuzes\".")
            .arg(m_bron->CombiType),
        m_bron->BronPad);
    return false;
}

bool clsImportBestandHangSluit::HeeftTabellen(DatabaseBackend& db, const QStringList& nodig)
{
    for (const QString& naam : nodig) {
        const QString tabel = naam.section(QLatin1Char('.'), 0, 0);
        const QString kolom = naam.section(QLatin1Char('.'), 1);
        const std::optional<TableSchema> schema = db.tableSchema(tabel);
        if (!schema) {
            m_melder.MeldFout(QStringLiteral("Het doelbestand heeft geen tabel '") + tabel +
                                  QStringLiteral("', er is niets geschreven."),
                              db.path());
            return false;
        }
        if (!kolom.isEmpty() && schema->columnIndex(kolom) < 0) {
            m_melder.MeldFout(QStringLiteral("De tabel '") + tabel +
                                  QStringLiteral("' van het doelbestand heeft geen kolom '") + kolom +
                                  QStringLiteral("', er is niets geschreven."),
                              db.path());
            return false;
        }
    }
    return true;
}

bool clsImportBestandHangSluit::InTransactie(const std::shared_ptr<DatabaseBackend>& db,
                                             const QString& routine, const std::function<bool()>& schrijver)
{
    const qint32 foutenVooraf = AantalFouten();
    std::optional<Transaction> transactie;
    try {
        transactie.emplace(db);
    } catch (const std::exception& e) {
        // Without its transaction nothing is written.
        SchrijfFout(routine, e);
        return false;
    }
    bool result = false;
    try {
        result = schrijver();
    } catch (const std::exception& e) {
        SchrijfFout(routine, e);
    }
    try {
        if (result && !Geannuleerd() && AantalFouten() == foutenVooraf) {
            transactie->commit();
            return true;
        }
        transactie->rollback();
        m_melder.Voortgang(QStringLiteral("Wijzigingen in het doelbestand teruggedraaid"), QString());
    } catch (const std::exception& e) {
        SchrijfFout(routine, e);
    }
    return false;
}

void clsImportBestandHangSluit::SchrijfFout(const QString& routine, const std::exception& fout)
{
    ShowError(routine, fout);
    m_melder.TelFout();
}

void clsImportBestandHangSluit::MeldFoutNummer(const QString& naam, const AppError& fout)
{
    ++m_foutNummers;
    if (m_ontvanger)
        m_ontvanger->FoutOpgetreden(m_foutNummers);
    m_melder.Voortgang(QStringLiteral("Error (") + naam + QStringLiteral("): ") +
                           QString::number(fout.number()) + QLatin1Char('-') + fout.description(),
                       QString());
}

bool clsImportBestandHangSluit::OnderdeelGeselecteerd(const QString& code) const
{
    if (!ColItemsGeselecteerd)
        return false;
    if (ColItemsGeselecteerd->isEmpty())
        return true;
    if (m_geselecteerdVan == ColItemsGeselecteerd)
        return m_geselecteerd.contains(CodeSleutel(code));
    for (const auto& item : *ColItemsGeselecteerd) {
        if (item && ZelfdeCode(item->Code, code))
            return true;
    }
    return false;
}

bool clsImportBestandHangSluit::BronHeeft9of10() const
{
    for (const HangSluitRegelPtr& regel : m_lezer.HangSluitRegels()) {
        if (regel->Bemating == 9 || regel->Bemating == 10)
            return true;
    }
    return false;
}

void clsImportBestandHangSluit::FixBron()
{
    for (const HangSluitRegelPtr& regel : m_lezer.HangSluitRegels()) {
        switch (regel->Bemating) {
        case 1:
            regel->Bemating = 3;
            break;
        case 2:
            regel->Bemating = 0;
            break;
        case 9:
            regel->Bemating = 2;
            break;
        case 10:
            regel->Bemating = 1;
            break;
        default:
            break;
        }
    }
}

void clsImportBestandHangSluit::Fix_Bemating_30_31()
{
    if (BronHeeft9of10())
        FixBron();
}

QString clsImportBestandHangSluit::GetArtikelJSON(const clsHangSluitRegel& regel)
{
    const clsHangSluitRegel::Maten maten = regel.MaatGegevens();
    const bool tekenen = regel.Tekenen();
    const auto alsGetekend = [tekenen](const QString& waarde) { return tekenen ? waarde : QString(); };
    const QString leeg;
    // The values in the order of the entry's keys; every value is a text.
    const QStringList waarden{
        regel.ArtikelCode,
        QString::number(regel.Positie),
        alsGetekend(QString::number(regel.Bemating)),
        alsGetekend(QString::number(regel.Oorsprong)),
        alsGetekend(regel.Y),
        alsGetekend(regel.X),
        tekenen ? QStringLiteral("1") : QStringLiteral("0"),
        regel.CalculatieLengte,
        regel.AdrukLengte,
        regel.AfdrukBreedte,
        leeg,
        leeg,
        leeg,
        leeg,
        leeg,
        QString::number(maten.type),
        maten.breedte ? QString::number(maten.wFrom) : leeg,
        maten.breedte ? QString::number(maten.wTo) : leeg,
        maten.hoogte ? QString::number(maten.hFrom) : leeg,
        maten.hoogte ? QString::number(maten.hTo) : leeg,
    };
    const QStringList& sleutels = LocksHingesData::OptionsArticleKeys();
    Q_ASSERT(sleutels.size() == waarden.size());
    QString object = QStringLiteral("{");
    for (qsizetype i = 0; i < sleutels.size(); ++i) {
        if (i > 0)
            object += QLatin1Char(',');
        object += QLatin1Char('"') + sleutels.at(i) + QStringLiteral("\":\"") +
                  JsonTekstInhoud(waarden.at(i)) + QLatin1Char('"');
    }
    object += QLatin1Char('}');
    // The object as an element (a text) of the array that the "LHArticles" text holds.
    return JsonTekstInhoud(QLatin1Char('"') + JsonTekstInhoud(object) + QLatin1Char('"'));
}

QString clsImportBestandHangSluit::MergeJSONFieldOptions(const QString& document, const QString& artikelen)
{
    try {
        const auto ongeldig = [](const QString& waarom) {
            return AppError(ErrorNumber::General,
                            QStringLiteral("De gegevens van de combinatie zijn geen geldige JSON: ") +
                                waarom);
        };
        // A combination without data has nothing to keep.
        const QString tekst = document.trimmed().isEmpty() ? LocksHingesData::OptionsTemplate() : document;
        JsonParser parser;
        const JsonValue gegevens = parser.parse(tekst);
        if (!parser.errors().isEmpty())
            throw ongeldig(parser.errors());
        if (!gegevens.isObject())
            throw ongeldig(QStringLiteral("geen object"));

        QString uit = QStringLiteral("{");
        for (const QString& sleutel : LocksHingesData::OptionsKeys()) {
            if (sleutel == QLatin1String("LHArticles"))
                continue;
            // A list is kept as read: a text holding an array (or an array); a missing one is empty.
            const JsonValue& lijst = gegevens[sleutel];
            JsonValue array{JsonArray()};
            if (lijst.isArray()) {
                array = lijst;
            } else if (lijst.isString() && !lijst.toString().trimmed().isEmpty()) {
                JsonParser lijstParser;
                array = lijstParser.parse(lijst.toString());
                if (!lijstParser.errors().isEmpty() || !array.isArray())
                    throw ongeldig(sleutel + QStringLiteral(": ") + lijstParser.errors());
            } else if (!lijst.isEmpty() && !lijst.isNull() && !lijst.isString()) {
                throw ongeldig(sleutel + QStringLiteral(" is geen lijst"));
            }
            uit += QLatin1Char('"') + sleutel + QStringLiteral("\":\"[") + ToEscapedJson(array) +
                   QStringLiteral("]\",");
        }
        uit += QStringLiteral("\"LHArticles\":\"[") + artikelen + QStringLiteral("]\"}");
        return uit;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("MergeJSONFieldOptions"), e);
        return {};
    }
}

} // namespace supplink
