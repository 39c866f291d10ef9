#pragma once
// The supplier list step without a window: the suppliers of a product-table
// database (table Supplier), each with a tick, and the identifiers of the
// ticked ones. It follows the step protocol (KanVerder: at least one row is
// ticked; GaVerder on a double-click) though no step of the wizard uses it.
// The view is wizard/ui/usrstapselectleverancier.h.
//
//     StapSelectLeverancier lijst;
//     lijst.Init(pad);                  // the Jet database (an SQLite one also opens)
//     lijst.ZetAangevinkt(0, true);     // KanVerder(true)
//     lijst.GetSelected();              // {"17"}: the IDs as text, in list order

#include "start/stap.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace supplink {

class StapSelectLeverancier : public Stap
{
    Q_OBJECT
public:
    struct Rij
    {
        QString sleutel; // "L" and the supplier's ID
        QString tekst;   // its Description (empty for none)
        bool aangevinkt = false;
    };

    using Stap::Stap;

    // Fills the list from the database at the path, sorted by description, and raises KanVerder.
    void Init(const QString& pad);
    // Init with the path of the last Init (an empty list before the first).
    void Init() override { Init(m_pad); }

    const QList<Rij>& Rijen() const { return m_rijen; }
    // Ticks or unticks a row (from 0) and raises KanVerder.
    void ZetAangevinkt(int rij, bool aangevinkt);
    // The IDs of the ticked rows as texts, in list order.
    QStringList GetSelected() const;
    // A double-click in the list.
    void DubbelKlik() { emit GaVerder(); }

signals:
    // The rows were read anew.
    void RijenGewijzigd();

private:
    bool IetsAangevinkt() const;

    QString m_pad;
    QList<Rij> m_rijen;
};

} // namespace supplink
