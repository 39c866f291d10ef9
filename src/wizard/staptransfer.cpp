#include "wizard/staptransfer.h"

#include "database/backendopeners.h"
#include "database/databaseroutines.h"
#include "database/doelbestand.h"
#include "database/history.h"
#include "platform/uiservices.h"
#include "sources/clsbron2.h"
#include "start/dialogs.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace supplink {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString titel()
{
    return QString::fromUtf8(kProgramTitle);
}

QString geenWijzigingen()
{
    return QStringLiteral("Er zijn geen wijzigingen aangebracht in uw bestanden!");
}

QString nietSuccesvol()
{
    return QStringLiteral("Actie 'Importen leveranciers bestand' niet succesvol!");
}

bool isDatabase(const clsBron2& bron)
{
    return bron.IsJetDatabase || bron.IsSQLite;
}

// The canonical form of an existing file's path (two spellings of one file compare equal).
QString canoniek(const QString& pad)
{
    const QString pad2 = QFileInfo(pad).canonicalFilePath();
    return pad2.isEmpty() ? QFileInfo(pad).absoluteFilePath() : pad2;
}

} // namespace

// Every error window shown while a run lasts is also an error of the run: the window is shown as always
// and the run's flag is set.
class StapTransfer::FoutTeller final : public UiServices
{
public:
    FoutTeller(StapTransfer& stap) : m_stap(stap), m_onder(ui()) { setUiServices(this); }
    ~FoutTeller() override { setUiServices(&m_onder); }

    int messageBox(const QString& text, int style, const QString& title) override
    {
        return m_onder.messageBox(text, style, title);
    }
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override
    {
        return m_onder.inputBox(prompt, title, defaultText);
    }
    QStringList fileDialog(const FileDialogRequest& request) override { return m_onder.fileDialog(request); }
    std::optional<QString> browseForFolder(const QString& title, const QString& startFolder) override
    {
        return m_onder.browseForFolder(title, startFolder);
    }
    std::optional<QColor> chooseColor(const QColor& initial) override { return m_onder.chooseColor(initial); }
    std::optional<qint32> pickOne(const PickOneRequest& request) override { return m_onder.pickOne(request); }
    void showErrorWindow(const ErrorWindowContent& content) override
    {
        m_stap.TelFout();
        // An error of the running worker counts in its "Fouten:" row too.
        if (m_stap.m_werker) {
            const QString fout = QStringLiteral("fout");
            m_stap.m_toestand.Zet(fout, QString::number(m_stap.m_toestand.Waarde(fout).toInt() + 1));
        }
        m_onder.showErrorWindow(content);
    }

private:
    StapTransfer& m_stap;
    UiServices& m_onder;
};

StapTransfer::StapTransfer(QObject* parent)
    : TransferStap(parent), m_run(std::make_shared<RunContext>()), m_werkers(EchteWerkers()),
      m_bewerkingen(std::make_shared<DoelBewerkingen>())
{
}

StapTransfer::~StapTransfer() = default;

void StapTransfer::ZetWerkers(std::shared_ptr<WerkerFabriek> werkers)
{
    m_werkers = werkers ? std::move(werkers) : EchteWerkers();
}

void StapTransfer::ZetBewerkingen(std::shared_ptr<DoelBewerkingen> bewerkingen)
{
    m_bewerkingen = bewerkingen ? std::move(bewerkingen) : std::make_shared<DoelBewerkingen>();
}

void StapTransfer::moment(TransferMoment wat, const TransferDoel* doel)
{
    if (BijMoment)
        BijMoment(wat, doel);
}

TransferDoel* StapTransfer::doel(DoelSoort soort)
{
    for (TransferDoel& d : m_doelen) {
        if (d.soort == soort)
            return &d;
    }
    return nullptr;
}

void StapTransfer::TelFout()
{
    m_foutGemeld = true;
    m_werkerFout = true;
}

// A failure that ends the run outside the workers counts in the "Fouten:" row and the logs too.
void StapTransfer::TelEindFout()
{
    const QString fout = QStringLiteral("fout");
    m_foutGemeld = true;
    m_toestand.Zet(fout, QString::number(m_toestand.Waarde(fout).toInt() + 1));
    m_logs.SchrijfLog(QLatin1Char('-') + m_toestand.Tekst(fout) + QLatin1Char(' ') + m_toestand.Waarde(fout));
}

QList<StapTransfer::GeplandeRun> StapTransfer::MaakPlan()
{
    QList<GeplandeRun> plan;
    const ProgramState& g = globals();
    const std::shared_ptr<clsImportOpties> opties = g.gImportOpties;
    if (!opties)
        return plan;
    const DoelSoort hangSluitDoel = g.gBibliotheekModus ? DoelSoort::Lib : DoelSoort::Opt;
    const auto pass = [&](const QString& naam, auto neemt) {
        for (const std::shared_ptr<clsBron2>& bron : g.gBronnenGeselecteerd) {
            if (!bron)
                continue;
            if (const std::optional<std::pair<WerkerSoort, DoelSoort>> run = neemt(*bron))
                plan << GeplandeRun{naam, run->first, bron, run->second};
        }
    };
    using Run = std::optional<std::pair<WerkerSoort, DoelSoort>>;
    if (opties->ImporterenOpt()) {
        pass(QStringLiteral("A1"), [](const clsBron2& b) -> Run {
            if (b.Soort == BronSoort::TabellenCombies && isDatabase(b))
                return std::pair{WerkerSoort::Opt, DoelSoort::Opt};
            return std::nullopt;
        });
        for (const qint32 combiType : {0, 1}) {
            pass(combiType == 0 ? QStringLiteral("A2") : QStringLiteral("A3"), [&](const clsBron2& b) -> Run {
                if (b.Soort == BronSoort::TabellenCombies && !isDatabase(b) && b.CombiType == combiType)
                    return std::pair{WerkerSoort::BestandHangSluit, hangSluitDoel};
                return std::nullopt;
            });
        }
    }
    if (opties->ImporterenArtikelen) {
        pass(QStringLiteral("B"), [](const clsBron2& b) -> Run {
            if (b.Soort != BronSoort::Artikelen)
                return std::nullopt;
            return std::pair{isDatabase(b) ? WerkerSoort::PT : WerkerSoort::Bestand, DoelSoort::PT};
        });
    }
    if (opties->ImporterenLIB()) {
        const bool bibliotheekModus = g.gBibliotheekModus;
        pass(QStringLiteral("C"), [bibliotheekModus](const clsBron2& b) -> Run {
            if (b.Soort == BronSoort::Bibliotheek && isDatabase(b))
                return std::pair{WerkerSoort::LIB, DoelSoort::Lib};
            if (b.Soort == BronSoort::TabellenCombies && !isDatabase(b) && bibliotheekModus &&
                (b.CombiType == 0 || b.CombiType == 1))
                return std::pair{WerkerSoort::BestandHangSluit, DoelSoort::Lib};
            return std::nullopt;
        });
    }
    if (opties->ImporterenShapes) {
        pass(QStringLiteral("D"), [](const clsBron2& b) -> Run {
            if (b.Soort == BronSoort::WKV && isDatabase(b))
                return std::pair{WerkerSoort::Shapes, DoelSoort::Wkv};
            return std::nullopt;
        });
    }
    return plan;
}

// ---- The run --------------------------------------------------------------------------------------------

void StapTransfer::StartTransfer()
{
    m_run = std::make_shared<RunContext>();
    m_run->setYieldFunction(m_yieldFunctie);
    RunScope live(*m_run);
    FoutTeller teller(*this);
    m_doelen.clear();
    m_locks.clear();
    m_foutGemeld = false;
    m_werkerFout = false;
    m_geannuleerd = false;
    m_serverGewijzigd = false;
    m_eindmelding.clear();
    m_werker = nullptr;
    m_tijden = {};
    m_toestand.Herstel();
    QElapsedTimer totaal;
    totaal.start();
    try {
        Uitvoeren();
    } catch (const std::exception& fout) {
        // The targets are untouched unless the replacement had begun, which reports its own outcome.
        ShowError(QStringLiteral("StartTransfer"), fout);
        Afronden();
    }
    m_tijden.totaal = totaal.elapsed();
    moment(TransferMoment::Klaar);
}

void StapTransfer::Uitvoeren()
{
    if (!m_logs.Open()) {
        emit KanVerder(true);
        return;
    }
    if (!ControleerBronnen() || !InitTargets()) {
        Afronden();
        return;
    }
    LogImportOpties();
    m_toestand.InitBronnen(int(globals().gBronnenGeselecteerd.size()));

    const QList<GeplandeRun> plan = MaakPlan();
    const std::shared_ptr<clsImportOpties> opties = globals().gImportOpties;
    QElapsedTimer klok;
    klok.start();
    bool verder = true;
    if (opties->ImporterenOpt())
        verder = Fase(plan, {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3")});
    if (verder && opties->ImporterenArtikelen)
        verder = Fase(plan, {QStringLiteral("B")});
    if (verder && opties->ImporterenLIB())
        verder = Fase(plan, {QStringLiteral("C")});
    if (verder && opties->ImporterenShapes)
        verder = Fase(plan, {QStringLiteral("D")});
    m_tijden.werkers = klok.elapsed();
    if (!verder) {
        Afronden();
        return;
    }

    // The history goes into every work copy (and into the product table on the server) first.
    klok.restart();
    QStringList bronPaden;
    for (const std::shared_ptr<clsBron2>& bron : globals().gBronnenGeselecteerd) {
        if (bron)
            bronPaden << bron->BronPad;
    }
    for (const DoelSoort soort : kDoelVolgorde) {
        TransferDoel* d = doel(soort);
        if (!d || !d->gemarkeerd)
            continue;
        SaveImportHistoryForDoel(d->werkPad, DoelBestandSoort(soort), bronPaden);
        moment(TransferMoment::HistorieGeschreven, d);
    }
    m_tijden.historie = klok.elapsed();
    if (m_foutGemeld) {
        ToonEindMelding(nietSuccesvol() + kCrLf + QStringLiteral("Er zijn fouten opgetreden tijdens het importeren!") +
                        kCrLf + geenWijzigingen());
        Afronden();
        return;
    }
    VervangDoelen();
    Afronden();
}

void StapTransfer::Afronden()
{
    VerwijderWerkkopieen();
    // The run's files are gone: another transfer may use the folders now.
    m_locks.clear();
    m_logs.Sluit();
    emit KanVerder(true);
}

void StapTransfer::VerwijderWerkkopieen()
{
    for (const TransferDoel& d : std::as_const(m_doelen))
        VerwijderTransferBestanden(d);
    for (TransferDoel& d : m_doelen)
        d.gefaseerdPad.clear();
}

// ---- Sources and targets --------------------------------------------------------------------------------

// A selected database without a kind contributes nothing to any phase. That is right for a sound file
// without a version record, but one that cannot be read now (held by another program, damaged) would be
// left out without a word: the run ends before it makes anything, and the failure counts as an error.
bool StapTransfer::ControleerBronnen()
{
    for (const std::shared_ptr<clsBron2>& bron : globals().gBronnenGeselecteerd) {
        if (!bron || !bron->DatabaseZonderSoort())
            continue;
        const QString weigering = SQLiteBestandWeigering(bron->BronPad);
        if (weigering.isEmpty())
            continue;
        m_logs.SchrijfLog(QStringLiteral("Bron bestand niet leesbaar : ") + bron->BronPad);
        TelEindFout();
        ToonEindMelding(nietSuccesvol() + kCrLf + weigering + kCrLf + geenWijzigingen());
        return false;
    }
    return true;
}

bool StapTransfer::InitTargets()
{
    QElapsedTimer klok;
    klok.start();
    const ProgramState& g = globals();
    const std::shared_ptr<clsImportOpties> opties = g.gImportOpties;
    // A kind is needed when its import option is set, or when a worker of the run writes into it (a
    // hardware file in library mode writes into the library in phase A too).
    QList<DoelSoort> nodig;
    if (opties) {
        if (opties->ImporterenOpt())
            nodig << DoelSoort::Opt;
        if (opties->ImporterenArtikelen)
            nodig << DoelSoort::PT;
        if (opties->ImporterenShapes)
            nodig << DoelSoort::Wkv;
        if (opties->ImporterenLIB())
            nodig << DoelSoort::Lib;
        for (const GeplandeRun& run : MaakPlan()) {
            if (!nodig.contains(run.doel))
                nodig << run.doel;
        }
    }

    const auto kies = [&g](DoelSoort soort) {
        for (const std::shared_ptr<clsDoelBestand>& kandidaat : g.gDoelBestanden) {
            if (kandidaat && kandidaat->Soort == DoelBestandSoort(soort) && !kandidaat->Path().isEmpty() &&
                kandidaat->Geselecteerd)
                return kandidaat;
        }
        return std::shared_ptr<clsDoelBestand>();
    };

    // The folders of the file targets are locked before anything is made or removed in them.
    QString reden;
    QStringList mappen;
    for (const DoelSoort soort : kDoelVolgorde) {
        const std::shared_ptr<clsDoelBestand> gekozen = nodig.contains(soort) ? kies(soort) : nullptr;
        if (!gekozen || (soort == DoelSoort::PT && IsSQLServerPad(gekozen->Path())))
            continue;
        const QFileInfo info(gekozen->Path());
        if (info.isFile() && !mappen.contains(canoniek(info.absolutePath())))
            mappen << canoniek(info.absolutePath());
    }
    if (!NeemMappen(mappen, reden)) {
        m_tijden.werkkopieen = klok.elapsed();
        m_foutGemeld = true;
        ToonEindMelding(nietSuccesvol() + kCrLf + reden + kCrLf + geenWijzigingen());
        return false;
    }

    QStringList gebruikt;   // canonical paths of the targets taken so far
    bool inGebruik = false; // a target that another program holds
    for (const DoelSoort soort : kDoelVolgorde) {
        if (!nodig.contains(soort))
            continue;
        const std::shared_ptr<clsDoelBestand> gekozen = kies(soort);
        if (!gekozen) {
            reden = QStringLiteral("Er is geen doelbestand gekozen voor '%1'!").arg(DoelOmschrijving(soort));
            break;
        }
        const QString pad = gekozen->Path();
        TransferDoel d;
        d.soort = soort;
        if (soort == DoelSoort::PT && IsSQLServerPad(pad)) {
            d.server = true;
            d.werkPad = pad;
            m_logs.SchrijfLog(QStringLiteral("Doel bestand : ") + SQLServerOmschrijving(pad));
            m_doelen << d;
            continue;
        }
        if (!QFileInfo(pad).isFile()) {
            m_logs.SchrijfLog(QStringLiteral("Niet gevonden : ") + pad);
            reden = QStringLiteral("Bestand '") + pad + QStringLiteral("' niet gevonden!");
            break;
        }
        const QString sleutel = canoniek(pad);
        if (gebruikt.contains(sleutel)) {
            // Two kinds in one file: the second replacement would undo the first.
            reden = QStringLiteral("Het bestand '%1' is voor meer dan één soort als doelbestand gekozen!").arg(pad);
            break;
        }
        gebruikt << sleutel;
        const bool gelukt = InitTarget(d, pad, reden, inGebruik);
        d.doelPad = pad;
        m_logs.SchrijfLog(QStringLiteral("Doel bestand : ") + pad);
        m_doelen << d;
        if (!gelukt)
            break;
    }
    if (reden.isEmpty() && m_doelen.isEmpty())
        reden = QStringLiteral("Er is niets gekozen om te importeren!");
    m_tijden.werkkopieen = klok.elapsed();
    if (reden.isEmpty())
        return true;
    m_foutGemeld = true;
    if (inGebruik)
        TelEindFout();
    ToonEindMelding(nietSuccesvol() + kCrLf + reden + kCrLf + geenWijzigingen());
    return false;
}

bool StapTransfer::NeemMappen(const QStringList& mappen, QString& reden)
{
    // One fixed order (by path), so that two runs that share folders ask for them alike.
    QStringList volgorde = mappen;
    volgorde.sort();
    for (const QString& map : std::as_const(volgorde)) {
        MapLock lock;
        const MapLock::Uitkomst uitkomst = lock.Neem(map);
        if (uitkomst != MapLock::Uitkomst::Genomen) {
            reden =
                uitkomst == MapLock::Uitkomst::Bezet
                    ? QStringLiteral("De map '%1' wordt op dit moment bijgewerkt door een andere overdracht. "
                                     "Probeer het later opnieuw.")
                          .arg(QDir::toNativeSeparators(map))
                    : QStringLiteral("De map '%1' kan niet voor deze overdracht worden vastgelegd: %2")
                          .arg(QDir::toNativeSeparators(map), lock.Reden());
            m_locks.clear();
            return false;
        }
        m_locks.push_back(std::move(lock));
    }
    // Under the lock, what an earlier transfer left in the folder belongs to no live run.
    for (const MapLock& lock : m_locks)
        RuimRestantenOp(lock);
    return true;
}

bool StapTransfer::InitTarget(TransferDoel& d, const QString& pad, QString& reden, bool& inGebruik)
{
    const QFileInfo info(pad);
    if (!info.isFile()) {
        reden = QStringLiteral("Bestand '") + pad + QStringLiteral("' niet gevonden!");
        return false;
    }
    const QString jet = jetTargetRefusal(pad);
    if (!jet.isEmpty()) {
        reden = jet;
        return false;
    }
    // The read-only attribute: no write right for the file's owner (also when the program could write it
    // all the same, as an administrator can).
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner)) {
        reden = QStringLiteral("Het doelbestand '") + pad + QStringLiteral("' is 'Alleen lezen'!");
        return false;
    }
    QString werkPad;
    const auto tussendoor = [run = m_run] { run->yield(); };
    if (!MaakWerkkopie(pad, werkPad, reden, tussendoor, &inGebruik))
        return false;
    d.werkPad = werkPad;
    // The kind and schema of the target as it was copied: the target itself may be in use again by now.
    d.sqlite = IsSQLiteBestand(werkPad);
    if (d.sqlite)
        d.schema = LeesSchema(werkPad);
    VoegHulpIndexenToe(d);
    return true;
}

// ---- Phases and workers ---------------------------------------------------------------------------------

bool StapTransfer::Fase(const QList<GeplandeRun>& plan, const QStringList& passes)
{
    for (const QString& pass : passes) {
        for (const GeplandeRun& run : plan) {
            // After a confirmed cancel the pass starts no further worker.
            if (run.pass == pass && !m_geannuleerd)
                Draai(run);
        }
        if (m_geannuleerd) {
            ToonEindMelding(QStringLiteral("Actie 'Importeren bestand' voortijdig afgebroken.") + kCrLf +
                            geenWijzigingen());
            return false;
        }
        if (m_foutGemeld) {
            ToonEindMelding(nietSuccesvol() + kCrLf + QStringLiteral("Er zijn fouten opgetreden tijdens het importeren!") +
                            kCrLf + geenWijzigingen());
            return false;
        }
    }
    return true;
}

void StapTransfer::Draai(const GeplandeRun& run)
{
    TransferDoel* d = doel(run.doel);
    if (!d) {
        // InitTargets prepared every kind the plan writes into; a run without one would write nowhere.
        TelFout();
        return;
    }
    m_werkerFout = false;
    // Each worker's counts are its own: nothing carries over from the worker before.
    for (const char* rij : {"nieuw", "bestaand", "fout"})
        m_toestand.Zet(QString::fromLatin1(rij), QString());
    m_toestand.Zet(QStringLiteral("bron"), run.bron->BronPad);
    m_toestand.Zet(QStringLiteral("doel"), d->server ? QStringLiteral("(server)") : d->doelPad);
    m_logs.SchrijfLog(m_toestand.Tekst(QStringLiteral("bron")) + QLatin1Char(' ') +
                      m_toestand.Waarde(QStringLiteral("bron")));
    m_toestand.ZetAnnulerenZichtbaar(true);
    moment(TransferMoment::WerkerGestart, d);

    WerkerOpdracht opdracht;
    opdracht.doelPad = d->werkPad;
    opdracht.types = run.bron->TypeSelectie;
    opdracht.bron = run.bron.get();
    const ProgramState& g = globals();
    QString kopie;
    bool uitvoeren = true;
    switch (run.soort) {
    case WerkerSoort::Opt:
        opdracht.bronPad = run.bron->Path();
        break;
    case WerkerSoort::PT:
    case WerkerSoort::LIB:
    case WerkerSoort::Shapes:
        // These engines make a scratch table in their source: they read a copy of it.
        kopie = Broncopie(run.bron->Path());
        opdracht.bronPad = kopie;
        if (kopie.isEmpty()) {
            uitvoeren = false;
            Voortgang(WerkerActie(run.soort), QStringLiteral("Van het bronbestand '%1' kan geen tijdelijke kopie "
                                                            "worden gemaakt!")
                                                  .arg(run.bron->BronPad));
            qint32 fouten = 1;
            FoutOpgetreden(fouten);
        }
        break;
    case WerkerSoort::Bestand:
        opdracht.bronPad = run.bron->BronPad;
        opdracht.selectie = std::make_shared<ItemCollection>(g.gColArtikelenGeselecteerd);
        break;
    case WerkerSoort::BestandHangSluit:
        opdracht.bronPad = run.bron->BronPad;
        if (run.bron->CombiType != 0)
            opdracht.selectie = std::make_shared<ItemCollection>(g.gColHSKeuzesGeselecteerd);
        else if (g.gColHSTabellenGeselecteerd.isEmpty())
            opdracht.selectie = std::make_shared<ItemCollection>(g.gColHSCombiesGeselecteerd);
        else
            opdracht.selectie = std::make_shared<ItemCollection>(g.gColHSTabellenGeselecteerd);
        break;
    }

    if (uitvoeren) {
        std::unique_ptr<TransferWerker> werker = m_werkers->Maak(run.soort, this, m_run);
        if (werker) {
            m_werker = werker.get();
            m_werkerSoort = run.soort;
            d->gemarkeerd = true;
            bool gelukt = false;
            try {
                gelukt = werker->Uitvoeren(opdracht);
            } catch (const std::exception& fout) {
                ShowError(WerkerRoutine(run.soort), fout);
            }
            m_werker = nullptr;
            werker.reset();
            if (!gelukt && !m_geannuleerd) {
                // A run that failed without saying so is an error of the run all the same.
                TelFout();
                if (m_toestand.Waarde(QStringLiteral("fout")).isEmpty())
                    m_toestand.Zet(QStringLiteral("fout"), QStringLiteral("1"));
            }
            if (d->server && gelukt && !m_werkerFout && !m_geannuleerd)
                m_serverGewijzigd = true;
        } else {
            TelFout();
        }
    }
    if (!kopie.isEmpty())
        VerwijderBestand(kopie);
    m_toestand.ZetAnnulerenZichtbaar(false);
    LogTellingen();
    m_toestand.VolgendeBron();
    moment(TransferMoment::WerkerKlaar, d);
}

QString StapTransfer::Broncopie(const QString& bronPad)
{
    const QString kopie = GetTempFileNaam(GetTempFolder());
    if (kopie.isEmpty())
        return QString();
    VerwijderBestand(kopie);
    if (!QFile::copy(bronPad, kopie) || !QFileInfo::exists(kopie)) {
        VerwijderBestand(kopie);
        return QString();
    }
    // MakeFileWriteAble: the engine writes its scratch table into the copy.
    QFile::setPermissions(kopie, QFile::permissions(kopie) | QFileDevice::WriteOwner);
    return kopie;
}

void StapTransfer::LogTellingen()
{
    for (const char* sleutel : {"nieuw", "bestaand", "fout"}) {
        const QString s = QString::fromLatin1(sleutel);
        const QString waarde = m_toestand.Waarde(s);
        if (!waarde.isEmpty())
            m_logs.SchrijfLog(QLatin1Char('-') + m_toestand.Tekst(s) + QLatin1Char(' ') + waarde);
    }
    for (const StatusRij& rij : m_toestand.Rijen())
        m_logs.SchrijfDetail(rij.tekst + QLatin1Char(' ') + rij.waarde);
}

void StapTransfer::LogImportOpties()
{
    const clsImportOpties& o = *globals().gImportOpties;
    const auto jaNee = [](bool waarde) { return waarde ? QStringLiteral("Ja") : QStringLiteral("Nee"); };
    if (o.ImporterenArtikelen) {
        m_toestand.Zet(QStringLiteral("artupdateprijs"), jaNee(o.DoorvoerenPrijsWijzigingen));
        m_toestand.Zet(QStringLiteral("artimportnieuw"), jaNee(o.NieuweArtikelenToevoegen));
        m_logs.SchrijfLog(QStringLiteral("- Artikelen importeren"));
        m_logs.SchrijfLog(o.DoorvoerenPrijsWijzigingen ? QStringLiteral("- Prijswijzigingen doorvoeren")
                                                       : QStringLiteral("- Geen prijswijzigingen doorvoeren"));
        m_logs.SchrijfLog(o.NieuweArtikelenToevoegen ? QStringLiteral("- Nieuwe Artikelen toevoegen")
                                                     : QStringLiteral("- Geen nieuwe Artikelen toevoegen"));
    } else {
        m_toestand.Verwijder(QStringLiteral("artupdateprijs"));
        m_toestand.Verwijder(QStringLiteral("artimportnieuw"));
        m_logs.SchrijfLog(QStringLiteral("- Geen Artikelen importeren"));
    }
    if (o.ImporterenOpt()) {
        m_logs.SchrijfLog(o.ImporterenTabellen && o.ImporterenHSKeuzes
                              ? QStringLiteral("- Hang en Sluitwerk Combi's en Keuzes importeren")
                              : QStringLiteral("- Hang en Sluitwerk Selectie Tabellen importeren"));
    } else {
        m_toestand.Verwijder(QStringLiteral("taboverschrijf"));
        m_logs.SchrijfLog(QStringLiteral("- Geen Hang en Sluitwerk Selectie Tabellen importeren"));
    }
    if (o.ImporterenShapes) {
        m_toestand.Zet(QStringLiteral("sponimport"), QStringLiteral("Sponningfiguren importeren"));
        m_logs.SchrijfLog(QStringLiteral("- Sponningfiguren importeren"));
    } else {
        m_toestand.Verwijder(QStringLiteral("sponimport"));
        m_logs.SchrijfLog(QStringLiteral("- Geen Sponningfiguren importeren"));
    }
    if (o.ImporterenLIB()) {
        m_toestand.Zet(QStringLiteral("bibimport"), QStringLiteral("Bibliotheek importeren"));
        m_logs.SchrijfLog(QStringLiteral("- Bibliotheek importeren"));
    } else {
        m_toestand.Verwijder(QStringLiteral("bibimport"));
        m_logs.SchrijfLog(QStringLiteral("- Geen Bibliotheek importeren"));
    }
}

// ---- Replacement ----------------------------------------------------------------------------------------

bool StapTransfer::VervangDoelen()
{
    QElapsedTimer klok;
    klok.start();
    // Phase one: every marked file target staged; the first failure leaves every target as it was.
    m_bewerkingen->Tussendoor = [run = m_run] { run->yield(); };
    for (const DoelSoort soort : kDoelVolgorde) {
        TransferDoel* d = doel(soort);
        if (!d || !d->gemarkeerd || d->server)
            continue;
        QString reden;
        const bool gelukt = VerwijderHulpIndexen(*d, reden) && m_bewerkingen->Faseer(*d, reden);
        if (!gelukt) {
            m_tijden.faseren = klok.elapsed();
            m_logs.SchrijfLog(reden);
            TelEindFout();
            ToonEindMelding(nietSuccesvol() + kCrLf + QStringLiteral("Het compacten van de tijdelijke database naar '") +
                            d->doelPad + QStringLiteral("' is mislukt!") + kCrLf + geenWijzigingen());
            return false;
        }
        moment(TransferMoment::Gefaseerd, d);
    }
    m_tijden.faseren = klok.restart();

    // A target that another program holds in a write transaction is not replaced: that program's work would
    // go into the file that the rename takes away. Looked at for every target before the first is replaced.
    for (const DoelSoort soort : kDoelVolgorde) {
        const TransferDoel* d = doel(soort);
        if (!d || !d->gemarkeerd || d->server || !d->sqlite || !InGebruik(d->doelPad))
            continue;
        m_tijden.vervangen = klok.elapsed();
        TelEindFout();
        ToonEindMelding(nietSuccesvol() + kCrLf + InGebruikMelding(d->doelPad) + kCrLf + geenWijzigingen());
        return false;
    }

    // Phase two: each staged file over its target, in the fixed order.
    for (const DoelSoort soort : kDoelVolgorde) {
        TransferDoel* d = doel(soort);
        if (!d || !d->gemarkeerd || d->server)
            continue;
        moment(TransferMoment::VoorVervangen, d);
        QString reden;
        if (!m_bewerkingen->Vervang(*d, reden)) {
            m_tijden.vervangen = klok.elapsed();
            m_logs.SchrijfLog(reden);
            TelEindFout();
            QStringList vervangen;
            QStringList gebleven;
            for (const TransferDoel& ander : std::as_const(m_doelen)) {
                if (!ander.gemarkeerd || ander.server)
                    continue;
                (ander.vervangen ? vervangen : gebleven) << QLatin1Char('\'') + ander.doelPad + QLatin1Char('\'');
            }
            QString tekst = nietSuccesvol() + kCrLf + QStringLiteral("Het vervangen van '") + d->doelPad +
                            QStringLiteral("' door de bijgewerkte versie is mislukt!") + kCrLf;
            if (vervangen.isEmpty())
                tekst += geenWijzigingen();
            else
                tekst += QStringLiteral("Bijgewerkt zijn: ") + vervangen.join(QStringLiteral(", ")) +
                         QLatin1Char('.') + kCrLf + QStringLiteral("Niet gewijzigd zijn: ") +
                         gebleven.join(QStringLiteral(", ")) + QLatin1Char('.');
            ToonEindMelding(tekst);
            return false;
        }
        moment(TransferMoment::Vervangen, d);
    }
    m_tijden.vervangen = klok.elapsed();
    return true;
}

void StapTransfer::ToonEindMelding(const QString& tekst)
{
    QString melding = tekst;
    if (m_serverGewijzigd)
        melding += kCrLf + QStringLiteral("De productentabel op de SQL Server is wel bijgewerkt!");
    m_eindmelding = melding;
    m_logs.SchrijfLog(melding);
    if (m_foutGemeld)
        ui().messageBox(melding + kCrLf + kCrLf + QStringLiteral("Bekijk het log bestand voor meer informatie!"),
                        MsgBox::OkOnly | MsgBox::Critical, titel());
    else
        ui().messageBox(melding, MsgBox::OkOnly | MsgBox::Information, titel());
}

// ---- Cancel and the progress events ---------------------------------------------------------------------

void StapTransfer::Annuleren()
{
    if (!m_werker)
        return;
    if (ui().messageBox(QStringLiteral("Wilt u het importeren annuleren?"), MsgBox::YesNo | MsgBox::Question,
                        titel()) != MsgBox::Yes)
        return;
    if (!m_werker)
        return;
    const QString actie = WerkerActie(m_werkerSoort);
    const QString omschrijving = QStringLiteral("Import geannulleerd door gebruiker.");
    m_toestand.Zet(QStringLiteral("huidigeactie"), actie);
    m_toestand.Zet(QStringLiteral("artikelomschrijving"), omschrijving);
    m_logs.SchrijfDetail(actie + QLatin1Char(':') + omschrijving);
    m_werker->Cancel();
    m_run->cancel();
    m_geannuleerd = true;
}

void StapTransfer::Voortgang(const QString& actie, const QString& omschrijving)
{
    m_toestand.Zet(QStringLiteral("huidigeactie"), actie);
    m_toestand.Zet(QStringLiteral("artikelomschrijving"), omschrijving);
    m_logs.SchrijfDetail(actie + QLatin1Char(':') + omschrijving);
    m_run->yield();
}

void StapTransfer::NieuwOnderdeel(qint32& aantal)
{
    m_toestand.Zet(QStringLiteral("nieuw"), QString::number(aantal));
    m_run->yield();
}

void StapTransfer::BestaandOnderdeel(qint32& aantal)
{
    m_toestand.Zet(QStringLiteral("bestaand"), QString::number(aantal));
    m_run->yield();
}

void StapTransfer::FoutOpgetreden(qint32& aantal)
{
    TelFout();
    m_toestand.Zet(QStringLiteral("fout"), QString::number(aantal));
    m_run->yield();
}

void StapTransfer::HuidigeHoofdActie(const QString& actie)
{
    m_toestand.Zet(QStringLiteral("bezigmet"), actie);
    m_logs.SchrijfDetail(QString(80, QLatin1Char('-')));
    m_logs.SchrijfDetail(actie);
    m_run->yield();
}

void StapTransfer::HuidigeHoofdActieDone()
{
    m_toestand.Zet(QStringLiteral("huidigeactie"), QStringLiteral("Gereed."));
    m_toestand.Zet(QStringLiteral("bezigmet"), QStringLiteral("Gereed."));
    m_toestand.Zet(QStringLiteral("artikelomschrijving"), QString());
    m_logs.SchrijfDetail(QString(80, QLatin1Char('-')));
    m_run->yield();
}

void StapTransfer::VoortgangTotaal(qint32& totaal)
{
    m_toestand.ZetTotaal(totaal);
}

void StapTransfer::VoortgangHuidig(qint32& huidig)
{
    if (m_toestand.ZetHuidig(huidig))
        m_run->yield();
}

} // namespace supplink
