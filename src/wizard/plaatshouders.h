#pragma once
// The models that hold a step's place in the wizard until the step itself is
// built. They pretend nothing: they choose nothing, change nothing in the
// program-wide state and let the user go on, so that the wizard can be walked
// from the first step to the last; their view (usrStapNietBeschikbaar) says
// "Deze stap is nog niet beschikbaar.". Each is replaced by one line in the
// step register (wizard/ui/stapregister.cpp) when its step is built.

#include "wizard/stap.h"

namespace supplink {

// The text a placeholder's view shows.
QString NietBeschikbaarTekst();

// Any step entered with Init: Next is enabled at once.
class StapNietBeschikbaar : public Stap
{
    Q_OBJECT
public:
    using Stap::Stap;
    void Init() override;
};

// The generic selection step (5, 6, 12, 13, 14): keeps the collections it is given as they are and
// hands them back unchanged.
class AlgemeneStapNietBeschikbaar : public AlgemeneSelectieStap
{
    Q_OBJECT
public:
    using AlgemeneSelectieStap::AlgemeneSelectieStap;
    using AlgemeneSelectieStap::Init;
    void Init(ItemCollection& vCol, ItemCollection& vColGeselecteerd, qint32 vHistoryID,
              const QString& vDistinctQRY, qint32 vBronType, const QString& vName) override;
    void Clear() override;
    ItemCollection ColItems() const override { return m_alle; }
    ItemCollection ColItemsGeselecteerd() const override { return m_geselecteerd; }

private:
    ItemCollection m_alle;
    ItemCollection m_geselecteerd;
};

} // namespace supplink
