#pragma once
// What every synchronisation engine shares: the one listener of its progress
// events, the cancel flag, and the running row count of the progress bar.
//
// An engine raises the eight events of progressevents.h to its listener. The
// copiers it drives report to a VoortgangDoorgever that the engine points at
// its own listener and row counter, so the listener sees one stream of events
// per engine, whatever copier works underneath. Cancel may arrive re-entrantly
// from inside any event or yield: it only sets flags, on the engine and on
// every copier the engine holds at that moment.

#include "transfer/progressevents.h"

#include <QString>
#include <QtGlobal>

namespace supplink {

class SyncEngine
{
public:
    SyncEngine() = default;
    virtual ~SyncEngine() = default;
    SyncEngine(const SyncEngine&) = delete;
    SyncEngine& operator=(const SyncEngine&) = delete;

    // The listener of the progress events (none: the events go nowhere).
    void SetOntvanger(VoortgangOntvanger* ontvanger) { m_ontvanger = ontvanger; }

    // Asks the running operation to stop at its next test; a second call changes nothing.
    void Cancel();
    bool Geannuleerd() const { return m_cancel; }

    // Rows handled by all copiers of this engine so far (never reset).
    qint32 Voortgangsteller() const { return m_voortgangTeller; }

protected:
    // Tells every copier the engine holds to stop after the row in hand.
    virtual void cancelKopieerders() {}

    void RaiseVoortgang(const QString& actie, const QString& omschrijving);
    void RaiseFoutOpgetreden(qint32 aantal);
    void RaiseHuidigeHoofdActie(const QString& actie);
    void RaiseHuidigeHoofdActieDone();
    void RaiseVoortgangTotaal(qint32 totaal);

    VoortgangOntvanger* m_ontvanger = nullptr;
    bool m_cancel = false;
    qint32 m_voortgangTeller = 0;
};

} // namespace supplink
