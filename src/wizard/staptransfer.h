#pragma once
// Step 17, the transfer, without a window: the driver that moves the chosen
// supplier data into the user's target databases. StartTransfer
//   1. opens the two logs (transferlogs.h) and checks the selected sources:
//      a database without a kind that cannot be read now (held by another
//      program, damaged) ends the run as an error, naming the file;
//   2. prepares a work copy of every needed target (transferdoelen.h; the
//      product table on SQL Server has none) and writes the options to the
//      status list and the logs;
//   3. runs the workers (transferwerker.h) in four phases over the selected
//      sources: A options (A1 databases, A2 hardware combination files, A3
//      hardware choice files), B articles, C library, D work preparation;
//      after every pass a cancel or any counted error ends the run with its
//      message, the targets untouched;
//   4. records the import history in each work copy, stages every work copy
//      and only then renames the staged files over the targets (opt, pt, wkv,
//      lib);
//   5. deletes the work copies, closes the logs and raises KanVerder(true),
//      whatever the outcome.
//
// One run-level error flag (FoutGemeld) decides whether the targets are
// replaced: every FoutOpgetreden of any worker sets it, and so do a worker
// that answers False, a source copy that could not be made and every error
// window shown while the run lasts (the history included); nothing clears it
// during the run. The whole run is live (RunScope) on the step's run context,
// which every worker shares: the cancel question (Annuleren) stops the running
// worker, and the pass stops there.
//
// The view (wizard/ui/usrtransfer.h) shows Toestand() and passes its cancel
// button to Annuleren. Tests and benchmarks run the step without a window:
//
//     StapTransfer stap;
//     stap.ZetWerkers(nepWerkers);                 // scripted workers in place of the engines
//     stap.StartTransfer();                        // with the program-wide sources, targets and options
//     stap.Eindmelding();                          // the closing message ("" after a success)

#include "start/stap.h"
#include "wizard/transferdoelen.h"
#include "wizard/transferlogs.h"
#include "wizard/transfertoestand.h"
#include "wizard/transferwerker.h"

#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <functional>
#include <memory>
#include <vector>

namespace supplink {

class clsBron2;

// The moments of a run that the step reports to BijMoment.
enum class TransferMoment
{
    WerkerGestart,      // a worker starts (the target it writes into)
    WerkerKlaar,        // a worker has ended
    HistorieGeschreven, // the history is in the work copy of the target
    Gefaseerd,          // the staged file of the target is complete (gefaseerdPad)
    VoorVervangen,      // the staged file is about to take the target's place
    Vervangen,          // it has
    Klaar               // the run is over (no target)
};

class StapTransfer : public TransferStap, private VoortgangOntvanger
{
    Q_OBJECT
public:
    // One worker run of the plan.
    struct GeplandeRun
    {
        QString pass; // "A1", "A2", "A3", "B", "C", "D"
        WerkerSoort soort = WerkerSoort::Opt;
        std::shared_ptr<clsBron2> bron;
        DoelSoort doel = DoelSoort::Opt; // the target the worker writes into
    };

    // Where the time of the last run went, in milliseconds.
    struct Tijden
    {
        qint64 werkkopieen = 0; // work copies (and the leftovers of earlier runs)
        qint64 werkers = 0;     // the workers, source copies included
        qint64 historie = 0;
        qint64 faseren = 0;     // staged files, checks included
        qint64 vervangen = 0;
        qint64 totaal = 0;
    };

    explicit StapTransfer(QObject* parent = nullptr);
    ~StapTransfer() override;

    void StartTransfer() override;
    // The cancel button: while a worker runs, the question "Wilt u het importeren annuleren?"; on Yes the
    // cancel line, the worker's Cancel and the run's cancel flag. Nothing while no worker runs.
    void Annuleren() override;

    TransferToestand& Toestand() { return m_toestand; }
    const TransferToestand& Toestand() const { return m_toestand; }

    // The workers a run makes (default: the program's engines).
    void ZetWerkers(std::shared_ptr<WerkerFabriek> werkers);
    // The file operations of the replacement (default: DoelBewerkingen).
    void ZetBewerkingen(std::shared_ptr<DoelBewerkingen> bewerkingen);
    // The clock of the remaining-time estimate.
    void ZetKlok(TransferToestand::Klok klok) { m_toestand.ZetKlok(std::move(klok)); }
    // What a turn of the event loop does in a run (default: pending events are processed).
    void ZetYieldFunctie(RunContext::YieldFunction functie) { m_yieldFunctie = std::move(functie); }
    // Told at each moment of a run (the kill test and the benchmark look in here).
    std::function<void(TransferMoment, const TransferDoel*)> BijMoment;

    // The worker runs that the program-wide sources and options give, in the order the phases run them.
    static QList<GeplandeRun> MaakPlan();

    // The outcome of the last run.
    bool FoutGemeld() const { return m_foutGemeld; }
    bool Geannuleerd() const { return m_geannuleerd; }
    const QString& Eindmelding() const { return m_eindmelding; }
    const QList<TransferDoel>& Doelen() const { return m_doelen; }
    const Tijden& Tijdsbesteding() const { return m_tijden; }
    // Whether a worker runs now.
    bool WerkerActief() const { return m_werker != nullptr; }

private:
    class FoutTeller;

    void Uitvoeren();
    bool ControleerBronnen();
    bool InitTargets();
    bool NeemMappen(const QStringList& mappen, QString& reden);
    bool InitTarget(TransferDoel& doel, const QString& pad, QString& reden, bool& inGebruik);
    void LogImportOpties();
    bool Fase(const QList<GeplandeRun>& plan, const QStringList& passes);
    void Draai(const GeplandeRun& run);
    QString Broncopie(const QString& bronPad);
    void LogTellingen();
    bool VervangDoelen();
    void ToonEindMelding(const QString& tekst);
    void Afronden();
    void VerwijderWerkkopieen();
    TransferDoel* doel(DoelSoort soort);
    void TelFout();
    void TelEindFout();
    void moment(TransferMoment moment, const TransferDoel* doel = nullptr);

    // The eight progress events of the running worker.
    void Voortgang(const QString& actie, const QString& omschrijving) override;
    void NieuwOnderdeel(qint32& aantal) override;
    void BestaandOnderdeel(qint32& aantal) override;
    void FoutOpgetreden(qint32& aantal) override;
    void HuidigeHoofdActie(const QString& actie) override;
    void HuidigeHoofdActieDone() override;
    void VoortgangTotaal(qint32& totaal) override;
    void VoortgangHuidig(qint32& huidig) override;

    TransferToestand m_toestand;
    TransferLogs m_logs;
    RunContextPtr m_run;
    RunContext::YieldFunction m_yieldFunctie;
    std::shared_ptr<WerkerFabriek> m_werkers;
    std::shared_ptr<DoelBewerkingen> m_bewerkingen;

    QList<TransferDoel> m_doelen;
    std::vector<MapLock> m_locks; // the folders of the file targets, from InitTargets to the clean-up
    bool m_foutGemeld = false;    // the run's error flag, never cleared during a run
    bool m_werkerFout = false;    // an error while the current worker runs
    bool m_geannuleerd = false;
    bool m_serverGewijzigd = false; // a run committed into the product table on SQL Server
    QString m_eindmelding;
    TransferWerker* m_werker = nullptr;
    WerkerSoort m_werkerSoort = WerkerSoort::Opt;
    Tijden m_tijden;
};

} // namespace supplink
