#pragma once
// What the parts of a supplier file import report through: the listener of
// the engine's progress events, the running counts of new and existing parts
// and of errors, and the stop that a failure puts on the run.
//
// The engine owns one reporter and hands it to every part it drives (the file
// reader, the record writer, the key resolution), so the listener sees one
// stream of events and one error count, whichever part reports. A count is
// raised first and then passed to the listener, as the events want:
//
//     ImportMelder melder;
//     melder.SetOntvanger(&listener);         // none: events go nowhere, counts still run
//     melder.Voortgang("Nieuw artikel", ImportMelder::RegelOmschrijving(regel));
//     melder.TelFout();                       // AantalFouten() + 1, FoutOpgetreden
//     melder.Stop();                          // the run ends after the line in hand
//
// The stop belongs to this run alone: a Cancel from outside reaches the run
// through its run context (platform/runcontext.h), which may be shared with
// other engines; a failure of this import must not stop them.

#include "transfer/progressevents.h"

#include <QString>
#include <QStringList>

namespace supplink {

// The column texts of one line of a supplier file; column k at index k-1.
using ArtikelRegel = QStringList;

class ImportMelder
{
public:
    void SetOntvanger(VoortgangOntvanger* ontvanger) { m_ontvanger = ontvanger; }
    // Whether anyone listens (a caller can then spare building a text).
    bool Luistert() const { return m_ontvanger != nullptr; }

    void Voortgang(const QString& actie, const QString& omschrijving) const;
    // A progress line whose detail is the line's description; the text is made only when someone listens.
    void Regel(const QString& actie, const ArtikelRegel& regel) const;
    void HoofdActie(const QString& actie) const;
    void HoofdActieDone() const;
    void Totaal(qint32 totaal) const;
    void Huidig(qint32 huidig) const;

    // A failure as a progress line (the message as action, the detail, often empty) and one more error.
    void MeldFout(const QString& melding, const QString& detail = QString());

    // Each raises its count by one and passes it on.
    void TelNieuw();
    void TelBestaand();
    void TelFout();
    qint32 AantalNieuw() const { return m_nieuw; }
    qint32 AantalBestaand() const { return m_bestaand; }
    qint32 AantalFouten() const { return m_fouten; }

    // A failure ends the run after the line in hand; the stop is never lifted.
    void Stop() { m_gestopt = true; }
    bool Gestopt() const { return m_gestopt; }

    // The column texts in order, each followed by " ; ".
    static QString RegelOmschrijving(const ArtikelRegel& regel);

private:
    VoortgangOntvanger* m_ontvanger = nullptr;
    qint32 m_nieuw = 0;
    qint32 m_bestaand = 0;
    qint32 m_fouten = 0;
    bool m_gestopt = false;
};

} // namespace supplink
