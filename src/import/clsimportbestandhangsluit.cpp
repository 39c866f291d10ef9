#include "import/clsimportbestandhangsluit.h"

#include "start/errors.h"
#include "transfer/jsonmerge.h"
#include "json/json.h"

namespace supplink {

clsImportBestandHangSluit::clsImportBestandHangSluit()
    : m_run(std::make_shared<RunContext>()), m_lezer(m_melder),
      m_verplicht(std::make_shared<ItemCollection>())
{
    m_lezer.SetRunContext(m_run);
}

clsImportBestandHangSluit::~clsImportBestandHangSluit() = default;

void clsImportBestandHangSluit::SetRunContext(RunContextPtr run)
{
    m_run = run ? std::move(run) : std::make_shared<RunContext>();
    m_lezer.SetRunContext(m_run);
}

bool clsImportBestandHangSluit::InlezenBestand(clsBron2& bron, bool distinct)
{
    m_bron = &bron;
    m_distinctModus = distinct;
    return InlezenBronBestand();
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
    return InlezenBronBestand();
}

bool clsImportBestandHangSluit::InlezenBronBestand()
{
    RunScope scope(*m_run);
    const auto modus = !m_distinctModus   ? HangSluitBestandLezer::Modus::Overzetten
                       : m_verplichtModus ? HangSluitBestandLezer::Modus::Verplicht
                                          : HangSluitBestandLezer::Modus::Distinct;
    return m_lezer.Lees(*m_bron, modus, colItemsDistinct(), *m_verplicht);
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
