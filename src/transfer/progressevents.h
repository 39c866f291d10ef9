#pragma once
// The progress events of the long operations of a transfer. The table copiers
// raise five of them (Voortgang, NieuwOnderdeel, BestaandOnderdeel,
// FoutOpgetreden, VoortgangPlus1); the synchronisation and import engines
// raise eight (the four without VoortgangPlus1, plus the main-step and
// progress-bar events) to the transfer driver. Both report to the same
// listener interface, so an engine passes its copier's events on unchanged and
// the driver listens to every engine alike.
//
// Events are plain synchronous calls on the user-interface thread. A listener
// may call Cancel on the running operation from inside any event (or from
// inside a yield of the operation's run context); the operation sees the flag
// at its next test. Counts are the raiser's own running counts, handed by reference;
// listeners only read them.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace supplink {

class VoortgangOntvanger
{
public:
    virtual ~VoortgangOntvanger() = default;

    // One progress or log line; either text may be empty.
    virtual void Voortgang(const QString& actie, const QString& omschrijving)
    {
        Q_UNUSED(actie);
        Q_UNUSED(omschrijving);
    }
    // A row new to the target was handled (added, or passed over because adding is off).
    virtual void NieuwOnderdeel(qint32& aantal) { Q_UNUSED(aantal); }
    // A row the target already holds was handled (updated, or passed over because updating is off).
    virtual void BestaandOnderdeel(qint32& aantal) { Q_UNUSED(aantal); }
    // An error occurred; the running number of errors.
    virtual void FoutOpgetreden(qint32& aantal) { Q_UNUSED(aantal); }
    // A copier took one source row in hand.
    virtual void VoortgangPlus1() {}

    // Engines only: a main step begins / has ended.
    virtual void HuidigeHoofdActie(const QString& actie) { Q_UNUSED(actie); }
    virtual void HuidigeHoofdActieDone() {}
    // Engines only: what the progress bar counts up to, and how far it is.
    virtual void VoortgangTotaal(qint32& totaal) { Q_UNUSED(totaal); }
    virtual void VoortgangHuidig(qint32& huidig) { Q_UNUSED(huidig); }
};

// Passes the events of a copier on as an engine's own: Voortgang and the three
// counts unchanged, and each VoortgangPlus1 as one more processed row, raised
// as VoortgangHuidig with the engine's running row count. An engine keeps one
// relay per copier member, pointed at its own row counter, and hands it to
// each copier it creates for that member.
class VoortgangDoorgever final : public VoortgangOntvanger
{
public:
    // rijTeller: the engine's processed-row count, which outlives the relay.
    VoortgangDoorgever(VoortgangOntvanger*& ontvanger, qint32& rijTeller)
        : m_ontvanger(ontvanger), m_rijTeller(rijTeller)
    {
    }

    // False: the rows of this member do not move the engine's progress (VoortgangPlus1 is dropped).
    bool RijenTellen = true;
    // Called before a FoutOpgetreden is passed on (for an engine that keeps its own error count).
    std::function<void()> BijFout;

    void Voortgang(const QString& actie, const QString& omschrijving) override;
    void NieuwOnderdeel(qint32& aantal) override;
    void BestaandOnderdeel(qint32& aantal) override;
    void FoutOpgetreden(qint32& aantal) override;
    void VoortgangPlus1() override;

private:
    VoortgangOntvanger*& m_ontvanger; // the engine's listener, which may be set or changed later
    qint32& m_rijTeller;
};

} // namespace supplink
