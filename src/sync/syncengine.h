#pragma once
// What every synchronisation engine shares: the one listener of its progress
// events, the run context (cancel flag, throttled yield, live state), and the
// running row count of the progress bar.
//
// An engine raises the eight events of progressevents.h to its listener. The
// copiers it drives report to a VoortgangDoorgever that the engine points at
// its own listener and row counter, so the listener sees one stream of events
// per engine, whatever copier works underneath.
//
// The engine holds one run context and hands it to every copier it creates
// (TabelKopieerder::SetRunContext), so Cancel on the engine, on a copier or
// on the context itself reaches all of them. Cancel may arrive re-entrantly
// from inside any event or yield: it only sets the flag, which the loops test
// at their own points. An operation of the engine marks the run live
// (RunScope) for as long as it lasts. The transfer driver may give the engine
// a context of its own (SetRunContext) to reach every engine of a transfer
// with one cancel.
//
//     engine.SetRunContext(driverRun);               // optional
//     engine.SetOntvanger(&driver);
//     engine.Sync(...);                              // RunScope inside
//     // from a button handler, inside a yield:  engine.Cancel();

#include "platform/runcontext.h"
#include "sync/verbindingsluiten.h"
#include "transfer/progressevents.h"

#include <QString>
#include <QtGlobal>
#include <memory>

namespace supplink {

class clsConnectie;

class SyncEngine
{
public:
    SyncEngine() = default;
    virtual ~SyncEngine() = default;
    SyncEngine(const SyncEngine&) = delete;
    SyncEngine& operator=(const SyncEngine&) = delete;

    // The listener of the progress events (none: the events go nowhere).
    void SetOntvanger(VoortgangOntvanger* ontvanger) { m_ontvanger = ontvanger; }

    // Asks the running operation, and every copier the engine drives, to stop at its next test; a second
    // call changes nothing.
    void Cancel() { m_run->cancel(); }
    bool Geannuleerd() const { return m_run->cancelled(); }

    // The run context the engine and its copiers work in: the engine's own until one is shared (a null
    // pointer gives it a fresh one of its own). Set it before an operation starts.
    void SetRunContext(RunContextPtr run) { m_run = run ? std::move(run) : std::make_shared<RunContext>(); }
    const RunContextPtr& runContext() const { return m_run; }

    // Rows handled by all copiers of this engine so far (never reset).
    qint32 Voortgangsteller() const { return m_voortgangTeller; }

protected:
    void RaiseVoortgang(const QString& actie, const QString& omschrijving);
    void RaiseFoutOpgetreden(qint32 aantal);
    void RaiseHuidigeHoofdActie(const QString& actie);
    void RaiseHuidigeHoofdActieDone();
    void RaiseVoortgangTotaal(qint32 totaal);

    VoortgangOntvanger* m_ontvanger = nullptr;
    RunContextPtr m_run = std::make_shared<RunContext>();
    qint32 m_voortgangTeller = 0;
};

} // namespace supplink
