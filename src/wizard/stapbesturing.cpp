#include "wizard/stapbesturing.h"

#include "database/doelbestand.h"
#include "platform/runcontext.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/leverancier.h"
#include "sources/voorwaarden.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace supplink {

namespace {

using Verzameling = ItemCollection ProgramState::*;

// A step's pair of item collections: all candidates, then the selected ones.
struct Paar
{
    Verzameling alle = nullptr;
    Verzameling geselecteerd = nullptr;
};

// The generic selection step's arguments for one of its five steps.
struct AlgemeneStap
{
    int stap;
    Paar paar;
    qint32 historyId;
    const char* query;
    const char* naam;
    bool eerstLegen; // Clear before Init
};

constexpr qint32 kBronBibliotheek = BronSoort::Bibliotheek;

const std::array<AlgemeneStap, 5> kAlgemeneStappen = {{
    {5, {&ProgramState::gColLaagrelief, &ProgramState::gColLaagreliefGeselecteerd}, 8,
     "SELECT DISTINCT ID, Code, Description FROM TreshHoldCombi", "Laagrelief", false},
    {6, {&ProgramState::gColNeuten, &ProgramState::gColNeutenGeselecteerd}, 9,
     "SELECT DISTINCT ID, Code, Description FROM TreshHoldCombiExt", "Neuten", false},
    {12, {&ProgramState::gColVaksponningen, &ProgramState::gColVaksponningenGeselecteerd}, 5,
     "SELECT DISTINCT ID, Code, Description FROM PaneGrooveTable", "Vaksponningen", true},
    {13, {&ProgramState::gColRandsponningen, &ProgramState::gColRandsponningenGeselecteerd}, 6,
     "SELECT DISTINCT ID, Code, Description FROM EdgeGroove", "Randsponningen", true},
    {14, {&ProgramState::gColElementsponningen, &ProgramState::gColElementsponningenGeselecteerd}, 7,
     "SELECT DISTINCT ID, Code, Description FROM OuterGrooveTable", "Elementsponningen", true},
}};

const AlgemeneStap* AlgemeneGegevens(int stap)
{
    for (const auto& gegevens : kAlgemeneStappen) {
        if (gegevens.stap == stap)
            return &gegevens;
    }
    return nullptr;
}

// The pair a dedicated selection step empties when it is left backward.
Paar TerugLegen(int stap)
{
    switch (stap) {
    case 7:
        return {&ProgramState::gColHSTabellen, &ProgramState::gColHSTabellenGeselecteerd};
    case 8:
        return {&ProgramState::gColHSKeuzes, &ProgramState::gColHSKeuzesGeselecteerd};
    case 9:
        return {&ProgramState::gColHSCombies, &ProgramState::gColHSCombiesGeselecteerd};
    case 10:
        return {&ProgramState::gColArtikelGroepen, &ProgramState::gColArtikelGroepenGeselecteerd};
    case 11:
        return {&ProgramState::gColArtikelen, &ProgramState::gColArtikelenGeselecteerd};
    case 15:
        return {&ProgramState::gColSponningfiguren, &ProgramState::gColSponningfigurenGeselecteerd};
    default:
        return {};
    }
}

// All eleven pairs.
const std::array<Paar, 11> kAlleParen = {{
    {&ProgramState::gColLaagrelief, &ProgramState::gColLaagreliefGeselecteerd},
    {&ProgramState::gColNeuten, &ProgramState::gColNeutenGeselecteerd},
    {&ProgramState::gColHSTabellen, &ProgramState::gColHSTabellenGeselecteerd},
    {&ProgramState::gColHSKeuzes, &ProgramState::gColHSKeuzesGeselecteerd},
    {&ProgramState::gColHSCombies, &ProgramState::gColHSCombiesGeselecteerd},
    {&ProgramState::gColArtikelGroepen, &ProgramState::gColArtikelGroepenGeselecteerd},
    {&ProgramState::gColArtikelen, &ProgramState::gColArtikelenGeselecteerd},
    {&ProgramState::gColVaksponningen, &ProgramState::gColVaksponningenGeselecteerd},
    {&ProgramState::gColRandsponningen, &ProgramState::gColRandsponningenGeselecteerd},
    {&ProgramState::gColElementsponningen, &ProgramState::gColElementsponningenGeselecteerd},
    {&ProgramState::gColSponningfiguren, &ProgramState::gColSponningfigurenGeselecteerd},
}};

const char* const kTitels[StapBesturing::kLaatsteStap] = {
    "Selecteer de gewenste Leverancier",
    "Selecteer bronbestanden",
    "Selecteer doelbestanden",
    "Importeer mogelijkheden",
    "Selecteer Laagreliëf Dorpel Combi's",
    "Selecteer Neut Combi's",
    "Selecteer Hang en Sluitwerk Tabellen",
    "Selecteer Hang en Sluitwerk Keuzes",
    "Selecteer Hang en Sluitwerk Combi's",
    "Selecteer Artikelgroepen",
    "Selecteer Artikelen",
    "Selecteer Vak Sponningen",
    "Selecteer Rand Sponningen",
    "Selecteer Element Sponningen",
    "Selecteer Sponningfiguren",
    "Backup doelbestanden",
    "Importeren gegevens",
    "Resultaat",
};

const QString kNogBezig =
    QStringLiteral("Er wordt nog gewerkt. Wacht tot het overzetten klaar is of annuleer het eerst.");

QString ProgrammaTitel()
{
    return QString::fromUtf8(kProgramTitle);
}

QString Waarde(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}

// The chosen sources by value: every field that decides what a selection step reads from them.
QStringList BronnenWaarde()
{
    QStringList waarde;
    for (const auto& bron : globals().gBronnenGeselecteerd) {
        if (!bron) {
            waarde << QString();
            continue;
        }
        QStringList kolommen;
        for (const qint32 soort : bron->KolomSoorten)
            kolommen << QString::number(soort);
        waarde << QStringList{bron->BronPad,
                              Waarde(bron->Geselecteerd),
                              QString::number(bron->Soort),
                              Waarde(bron->IsOnbekend),
                              Waarde(bron->IsSQLite),
                              Waarde(bron->IsJetDatabase),
                              Waarde(bron->IsExcel),
                              Waarde(bron->IsCSV),
                              bron->Grootte.toString(),
                              bron->LaatstGewijzigd.toString(Qt::ISODateWithMs),
                              bron->Scheidingsteken,
                              Waarde(bron->MetAanhalingstekens),
                              bron->KolomKoppen,
                              bron->SheetNamen,
                              bron->AppType,
                              bron->DBType,
                              QString::number(bron->VerMajor),
                              QString::number(bron->VerMinor),
                              Waarde(bron->EersteRijImporteren),
                              kolommen.join(QLatin1Char(',')),
                              QString::number(bron->ArtikelType),
                              bron->TypeSelectie,
                              QString::number(bron->CombiType)}
                      .join(QChar(0x1f));
    }
    return waarde;
}

QStringList DoelenWaarde()
{
    QStringList waarde{Waarde(globals().gBibliotheekModus)};
    for (const auto& doel : globals().gDoelBestanden) {
        if (doel)
            waarde << QString::number(doel->Soort) + QChar(0x1f) + doel->Path() + QChar(0x1f) +
                          Waarde(doel->Geselecteerd);
        else
            waarde << QString();
    }
    return waarde;
}

QStringList OptiesWaarde()
{
    const auto& o = globals().gImportOpties;
    if (!o)
        return {};
    return {Waarde(o->ImporterenArtikelen),        Waarde(o->ImporterenTabellen),
            Waarde(o->ImporterenHSKeuzes),         Waarde(o->DoorvoerenPrijsWijzigingen),
            Waarde(o->NieuweArtikelenToevoegen),   Waarde(o->ImporterenShapes),
            Waarde(o->DoorvoerenShapeWijzigingen),
            Waarde(o->ImporterenVaksponningen),    Waarde(o->ImporterenRandsponningen),
            Waarde(o->ImporterenElementsponningen), Waarde(o->ImporterenLaagrelief),
            Waarde(o->ImporterenNeuten),           Waarde(o->ImporterenLIBHSCombies),
            Waarde(o->ImporterenLIBHSKeuzes)};
}

// Deletes a folder with everything in it, also what is write-protected; what cannot be deleted stays.
void VerwijderMapGeforceerd(const QString& map)
{
    if (map.isEmpty() || !QFileInfo(map).isDir())
        return;
    const auto schrijfbaar = [](const QString& pad) {
        QFile::setPermissions(pad, QFile::permissions(pad) | QFile::ReadOwner | QFile::WriteOwner |
                                       (QFileInfo(pad).isDir() ? QFile::ExeOwner : QFile::Permissions()));
    };
    schrijfbaar(map);
    QDirIterator it(map, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString pad = it.next();
        if (!it.fileInfo().isSymLink())
            schrijfbaar(pad);
    }
    QDir(map).removeRecursively();
}

// Counts a Next or Back call in progress, also when a step throws.
class Overgang
{
public:
    explicit Overgang(int& diepte) : m_diepte(diepte) { ++m_diepte; }
    ~Overgang() { --m_diepte; }
    Overgang(const Overgang&) = delete;
    Overgang& operator=(const Overgang&) = delete;

private:
    int& m_diepte;
};

} // namespace

bool StapVoorwaarden::IsDoelNieuweFormaatCombies()
{
    return supplink::IsDoelNieuweFormaatCombies();
}

bool StapVoorwaarden::IsHangSluitKeuzesMogelijk()
{
    return supplink::IsHangSluitKeuzesMogelijk();
}

bool StapVoorwaarden::IsArtikelGroepSelectieMogelijk()
{
    return supplink::IsArtikelGroepSelectieMogelijk();
}

StapBesturing::StapBesturing(QObject* parent)
    : QObject(parent), m_voorwaarden(std::make_shared<StapVoorwaarden>())
{
}

StapBesturing::~StapBesturing() = default;

QString StapBesturing::StapTitel(int stap)
{
    if (stap < kEersteStap || stap > kLaatsteStap)
        return {};
    return QString::fromUtf8(kTitels[stap - 1]);
}

bool StapBesturing::IsAlgemeneStap(int stap)
{
    return AlgemeneGegevens(stap) != nullptr;
}

void StapBesturing::ZetStap(int stap, Stap* model)
{
    if (stap < kEersteStap || stap > kLaatsteStap || !model)
        return;
    const bool alVerbonden = std::find(m_modellen.cbegin(), m_modellen.cend(), model) != m_modellen.cend();
    m_modellen.insert(stap, model);
    if (alVerbonden)
        return;
    connect(model, &Stap::KanVerder, this, [this, model](bool verder) {
        // The result step's Next stays disabled: step 18 is never left.
        if (!IsHuidig(model) || m_stap >= kResultaatStap)
            return;
        m_volgende = verder;
        emit Gewijzigd();
    });
    connect(model, &Stap::StatusTekst, this, [this, model](const QString& tekst) {
        if (!IsHuidig(model))
            return;
        m_status = tekst;
        emit StatusRegelGewijzigd();
    });
    connect(model, &Stap::GaVerder, this, [this, model] {
        if (IsHuidig(model))
            Volgende();
    });
    connect(model, &QObject::destroyed, this, [this, model] {
        for (auto it = m_modellen.begin(); it != m_modellen.end();) {
            if (it.value() == model)
                it = m_modellen.erase(it);
            else
                ++it;
        }
    });
}

QStringList StapBesturing::ControleerStappen() const
{
    QStringList fouten;
    for (int stap = kEersteStap; stap <= kLaatsteStap; ++stap) {
        Stap* model = m_modellen.value(stap);
        if (!model)
            fouten << QStringLiteral("Stap %1 heeft geen model.").arg(stap);
        else if (IsAlgemeneStap(stap) && !qobject_cast<AlgemeneSelectieStap*>(model))
            fouten << QStringLiteral("Stap %1 moet de algemene selectiestap zijn.").arg(stap);
        else if (stap == kTransferStap && !qobject_cast<TransferStap*>(model))
            fouten << QStringLiteral("Stap %1 moet de transferstap zijn.").arg(stap);
    }
    return fouten;
}

void StapBesturing::setVoorwaarden(std::shared_ptr<StapVoorwaarden> voorwaarden)
{
    m_voorwaarden = voorwaarden ? std::move(voorwaarden) : std::make_shared<StapVoorwaarden>();
}

bool StapBesturing::IsHuidig(const Stap* model) const
{
    return model && m_stap >= kEersteStap && m_modellen.value(m_stap) == model;
}

void StapBesturing::zetBezig(bool bezig)
{
    if (m_bezig == bezig)
        return;
    m_bezig = bezig;
    emit Gewijzigd();
}

void StapBesturing::Start()
{
    if (m_stap != 0 || m_overgang > 0)
        return;
    volgendeIntern();
}

void StapBesturing::Volgende()
{
    // A step that yields while it is entered or left, or the running transfer, lets the user click
    // again: such a click waits for nothing and is dropped.
    if (!m_volgende || m_overgang > 0 || m_transferLoopt || m_stap >= kResultaatStap)
        return;
    volgendeIntern();
}

void StapBesturing::Vorige()
{
    if (!m_vorige || m_overgang > 0 || m_transferLoopt || m_stap <= kEersteStap)
        return;
    vorigeIntern();
}

void StapBesturing::volgendeIntern()
{
    const Overgang overgang(m_overgang);
    zetBezig(true);
    try {
        VerlaatStap(m_stap);
        ++m_stap;
        SlaStappenOver(+1);
        BetreedStap(m_stap);
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("Volgende"), fout);
    }
    zetBezig(false);
    emit Gewijzigd();
}

void StapBesturing::vorigeIntern()
{
    const Overgang overgang(m_overgang);
    zetBezig(true);
    try {
        HerstelStap(m_stap);
        --m_stap;
        SlaStappenOver(-1);
        BetreedStap(m_stap);
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("Vorige"), fout);
    }
    zetBezig(false);
    emit Gewijzigd();
}

void StapBesturing::SlaStappenOver(int richting)
{
    while (m_stap >= 5 && m_stap <= 15 && !Getoond(m_stap))
        m_stap += richting;
}

bool StapBesturing::Getoond(int stap)
{
    const std::shared_ptr<clsImportOpties> opties = globals().gImportOpties;
    if (stap < 5 || stap > 15)
        return true;
    if (!opties)
        return false;
    switch (stap) {
    case 5:
        return opties->ImporterenLaagrelief;
    case 6:
        return opties->ImporterenNeuten;
    case 7:
        return !m_voorwaarden->IsDoelNieuweFormaatCombies() && opties->ImporterenTabellen;
    case 8:
        return opties->ImporterenLIBHSKeuzes ||
               (opties->ImporterenHSKeuzes && m_voorwaarden->IsHangSluitKeuzesMogelijk());
    case 9:
        return opties->ImporterenLIBHSCombies ||
               (opties->ImporterenTabellen && m_voorwaarden->IsHangSluitKeuzesMogelijk());
    case 10: {
        const bool artikelen = opties->ImporterenArtikelen;
        const bool groepen = m_voorwaarden->IsArtikelGroepSelectieMogelijk();
        return artikelen && groepen;
    }
    case 11:
        return opties->ImporterenArtikelen;
    case 12:
        return opties->ImporterenVaksponningen;
    case 13:
        return opties->ImporterenRandsponningen;
    case 14:
        return opties->ImporterenElementsponningen;
    case 15:
        return opties->ImporterenShapes;
    default:
        return true;
    }
}

void StapBesturing::BetreedStap(int stap)
{
    Stap* model = m_modellen.value(stap);
    if (!model)
        throw AppError(ErrorNumber::General, QStringLiteral("Stap %1 heeft geen model.").arg(stap));
    m_volgende = false;
    m_vorige = true;
    m_titel = StapTitel(stap);

    if (stap == kTransferStap) {
        StartTransferStap();
        return;
    }
    if (const AlgemeneStap* gegevens = AlgemeneGegevens(stap)) {
        auto* algemeen = qobject_cast<AlgemeneSelectieStap*>(model);
        if (!algemeen)
            throw AppError(ErrorNumber::General,
                           QStringLiteral("Stap %1 moet de algemene selectiestap zijn.").arg(stap));
        if (gegevens->eerstLegen)
            algemeen->Clear();
        // The pair goes by reference: what the step puts in its place is the window's pair at once.
        algemeen->Init(globals().*(gegevens->paar.alle), globals().*(gegevens->paar.geselecteerd),
                       gegevens->historyId, QString::fromUtf8(gegevens->query), kBronBibliotheek,
                       QString::fromUtf8(gegevens->naam));
    } else {
        if (stap == kEersteStap)
            m_subTitel.clear();
        if (stap == kResultaatStap) {
            m_subTitel = QStringLiteral("Overzicht geimporteerde gegevens.");
            m_afsluiten = true;
        }
        model->Init();
        if (stap == kEersteStap)
            m_update = true;
    }
    m_getoond = stap;
    if (stap == kEersteStap || stap == kResultaatStap)
        m_vorige = false;
    emit Gewijzigd();
}

void StapBesturing::StartTransferStap()
{
    auto* transfer = qobject_cast<TransferStap*>(m_modellen.value(kTransferStap));
    if (!transfer)
        throw AppError(ErrorNumber::General, QStringLiteral("Stap 17 moet de transferstap zijn."));
    m_subTitel = QStringLiteral("Overzetten leveranciersgegevens naar Brevanto");
    m_vorige = false;
    m_afsluiten = false;
    m_getoond = kTransferStap;
    zetBezig(false);
    emit Gewijzigd();
    m_transferLoopt = true;
    try {
        transfer->StartTransfer();
    } catch (const std::exception& fout) {
        // The transfer is over all the same: the result step shows what it wrote.
        ShowError(QStringLiteral("StartTransfer"), fout);
    }
    m_transferLoopt = false;
    m_afsluiten = true;
    emit Gewijzigd();
    volgendeIntern();
}

void StapBesturing::VerlaatStap(int stap)
{
    if (stap < kEersteStap || stap > 15)
        return;
    Stap* model = m_modellen.value(stap);
    if (!model)
        return;
    model->Finish();
    if (stap == kEersteStap) {
        const std::shared_ptr<clsLeverancier> leverancier = globals().gLeverancier;
        const QString naam = leverancier ? leverancier->Omschrijving : QString();
        m_subTitel = leverancier ? QStringLiteral("Huidige leverancier is ") + naam + QLatin1Char('.') : QString();
        globals().gLeverancierPrefix = naam == QLatin1String("ROTO") ? QStringLiteral("ROTO_") : QString();
        m_update = false;
    } else if (stap >= 2 && stap <= 4) {
        VergelijkMetBasis(stap);
    } else if (const AlgemeneStap* gegevens = AlgemeneGegevens(stap)) {
        if (auto* algemeen = qobject_cast<AlgemeneSelectieStap*>(model)) {
            globals().*(gegevens->paar.alle) = algemeen->ColItems();
            globals().*(gegevens->paar.geselecteerd) = algemeen->ColItemsGeselecteerd();
        }
    }
}

void StapBesturing::VergelijkMetBasis(int stap)
{
    std::optional<QStringList>* basis = nullptr;
    QStringList nu;
    switch (stap) {
    case 2:
        basis = &m_basisBronnen;
        nu = BronnenWaarde();
        break;
    case 3:
        basis = &m_basisDoelen;
        nu = DoelenWaarde();
        break;
    case 4:
        basis = &m_basisOpties;
        nu = OptiesWaarde();
        break;
    default:
        return;
    }
    if (basis->has_value() && **basis != nu)
        LeegAlleSelecties();
    *basis = nu;
}

void StapBesturing::LeegAlleSelecties()
{
    for (const Paar& paar : kAlleParen) {
        (globals().*(paar.alle)).clear();
        (globals().*(paar.geselecteerd)).clear();
    }
}

void StapBesturing::HerstelStap(int stap)
{
    ProgramState& g = globals();
    switch (stap) {
    case 2:
        g.gBronnen.clear();
        g.gBronnenGeselecteerd.clear();
        break;
    case 3:
        g.gBibliotheekModus = false;
        g.gDoelBestanden.clear();
        break;
    case 4:
        g.gImportOpties.reset();
        break;
    default:
        if (const Paar paar = TerugLegen(stap); paar.alle) {
            (g.*(paar.alle)).clear();
            (g.*(paar.geselecteerd)).clear();
        }
        break;
    }
}

bool StapBesturing::MagSluiten()
{
    if (m_transferLoopt) {
        // Closing would pull the temporary folder and the work copies from under the transfer: the
        // transfer asks whether to cancel, and the window stays.
        if (auto* transfer = qobject_cast<TransferStap*>(m_modellen.value(kTransferStap)))
            transfer->Annuleren();
        return false;
    }
    if (RunContext::anyLive() || m_overgang > 0) {
        ui().messageBox(kNogBezig, MsgBox::OkOnly | MsgBox::Exclamation, ProgrammaTitel());
        return false;
    }
    return true;
}

bool StapBesturing::VraagAfsluiten()
{
    if (!MagSluiten())
        return false;
    if (m_stap >= kResultaatStap)
        return true;
    return ui().messageBox(ProgrammaTitel() + QStringLiteral(" afsluiten?"), MsgBox::YesNo | MsgBox::Question,
                           ProgrammaTitel()) == MsgBox::Yes;
}

void StapBesturing::Afsluiten()
{
    if (m_afgesloten)
        return;
    m_afgesloten = true;
    // Closing leaves the result step: its Finish deletes the transfer's logs.
    if (m_stap == kResultaatStap) {
        if (Stap* resultaat = m_modellen.value(kResultaatStap)) {
            try {
                resultaat->Finish();
            } catch (const std::exception& fout) {
                ShowError(QStringLiteral("Afsluiten"), fout);
            }
        }
    }
    // Whatever of the folder cannot be deleted stays for the system's temporary-folder cleaning;
    // closing goes on.
    VerwijderMapGeforceerd(globals().gWelkomMap);
}

} // namespace supplink
