#pragma once
// The list with group selector of every selection step, without a window (the
// window, usrListViewCombo, shows the group entries in a drop-down list, the
// counts text beside it and the checkable list below). It holds the checkable
// list (SelectieLijst) and passes its operations and events through, and adds
// the groups: which items of the step's collection the list shows.
//
// Group numbers: -1 "(Alle)" every item, -2 "(Verplicht)" required, -3
// "(Optioneel)" not required, -4 "(Nieuw)" IsNew, -5 "(Bestaand)" Existing,
// -6 "(Ongewenst)" Unwanted, -7 "(Los geselecteerd)" ticked and not required;
// a step adds its own (AddGroup), which show the items whose Groep is the
// number or whose GroepOmschrijving is the entry's caption.
//
// A step fills it as:
//     lijst.Init(naam, true);  lijst.AddGroups();
//     lijst.ToevoegenOnderdelen(alle, -1);       // the rows of "(Alle)"
//     lijst.AddGroup(12, code, "Beslag");         // the step's own groups, if any
//     lijst.Finish();
// and when the user picks an entry (KiesGroep, GroupChange) it shows that
// group with ToevoegenOnderdelen.
//
// The counts text: the selected entry's prefix ("Alle (", "Verplicht (", ...,
// "In groep (" for a step's group), the number of rows and ") - "; empty for
// "(Los geselecteerd)" and when no entry is selected.

#include "selection/selectielijst.h"

#include <QList>
#include <QObject>
#include <QString>

namespace supplink {

namespace Groep {
constexpr qint32 Alle = -1;
constexpr qint32 Verplicht = -2;
constexpr qint32 Optioneel = -3;
constexpr qint32 Nieuw = -4;
constexpr qint32 Bestaand = -5;
constexpr qint32 Ongewenst = -6;
constexpr qint32 LosGeselecteerd = -7;
} // namespace Groep

class GroepenLijst : public QObject
{
    Q_OBJECT
public:
    // One entry of the group selector.
    struct GroepKeuze
    {
        QString Omschrijving;
        qint32 Nummer = 0;
    };

    explicit GroepenLijst(QObject* parent = nullptr);

    // The inner checkable list.
    SelectieLijst& lijst() { return m_lijst; }
    const SelectieLijst& lijst() const { return m_lijst; }

    // Empties the group selector and initialises the list.
    void Init(const QString& strCode, bool bExtraCols);
    int AddItem(const clsItem& newItem, qint32 lIndex) { return m_lijst.AddItem(newItem, lIndex); }
    // Appends a group entry (the second text is not used).
    void AddGroup(qint32 lKey, const QString& code, const QString& strOmschrijving);
    void Finish() { m_lijst.Finish(); }
    void ClearList() { m_lijst.ClearList(); }
    void UpdateCollectionFromList(ItemCollection& xCol, ItemCollection& xColAlleenGeselecteerde,
                                  bool bNietAanmakenCollectieGeselecteerde, bool bIgnoreDirty = false)
    {
        m_lijst.UpdateCollectionFromList(xCol, xColAlleenGeselecteerde, bNietAanmakenCollectieGeselecteerde,
                                         bIgnoreDirty);
    }
    bool SelectionDirty() const { return m_lijst.SelectionDirty(); }
    void SaveSettings() { m_lijst.SaveSettings(); }
    void SetListItemColor(int rij, const QColor& vColor, bool vBold) { m_lijst.SetListItemColor(rij, vColor, vBold); }
    bool BatchUpdateInProgress() const { return m_lijst.BatchUpdateInProgress(); }

    // Removes every row, appends the seven fixed entries and selects the first entry.
    void AddGroups();
    // Shows the items of one group (the selected entry's caption counts too); positions from 1.
    void ToevoegenOnderdelen(const ItemCollection& items, qint32 fkGroup);

    // The group selector and the counts text (rtfInfo).
    const QList<GroepKeuze>& Groepen() const { return m_groepen; }
    // The selected entry, -1 when none.
    int GekozenGroep() const { return m_gekozen; }
    const QString& InfoTekst() const { return m_info; }

    // The user picks an entry: GroupChange with its number, then the counts text.
    void KiesGroep(int index);

    // Whether an item belongs to a fixed group (-1 to -7).
    static bool InVasteGroep(const clsItem& item, qint32 groep);

signals:
    void ItemClick(int rij);
    void ItemCheck(int rij);
    void BatchUpdateDone();
    // The user picked the entry with this group number.
    void GroupChange(qint32 groep);
    // The entries or the selected entry changed.
    void GroepenGewijzigd();
    void InfoTekstGewijzigd(const QString& tekst);

private:
    void VernieuwInfo();

    SelectieLijst m_lijst;
    QList<GroepKeuze> m_groepen;
    int m_gekozen = -1;
    QString m_info;
};

} // namespace supplink
