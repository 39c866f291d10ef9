#pragma once
// The checkable list of a selection step, without a window (the window,
// usrListView, is a QTreeView over this model with three buttons and a popup).
// One row per code: its description, the status columns "Verplicht",
// "Optioneel", "Nieuw", "Bestaand" and "Ongewenst" with a "*" where they
// apply, a tick, and a colour (silver for a required row, green for a ticked
// one). Each row points back to its item by the item's 1-based position in the
// step's collection (Tag); ticks go back into the items on request.
//
//     SelectieLijst lijst;
//     lijst.Init("Laagrelief", true);          // columns, sort and widths from the settings
//     {
//         SelectieLijst::Vulling vulling(lijst); // many rows: sorted once at the end
//         for (int i = 0; i < items.size(); ++i)
//             lijst.AddItem(*items[i], i + 1);
//     }
//     lijst.Finish();                            // ItemClick with the current row, not dirty
//     ...                                        // the user ticks (ItemCheck per row)
//     lijst.UpdateCollectionFromList(alle, geselecteerd, false, true);
//
// Rules:
//   - A required row is known by its data flag (Verplicht), never by its
//     colour: it is ticked and cannot be unticked, not even by a batch.
//   - Codes are compared as the program compares codes (without regard to
//     case). A second item with a code that is already listed gets no row of
//     its own and no message: it joins the first one's row (ZelfdeCode) and
//     follows that row's tick; a required item makes the row required.
//   - A batch ("Alles Selecteren", "Niets Selecteren", "Selectie Omdraaien")
//     raises ItemCheck for every row while BatchUpdateInProgress is set, then
//     BatchUpdateDone once; hosts do their per-row work once, at the end.
//   - The list is kept sorted on its sort column and order; a column-header
//     click (KolomKlik) chooses the column and flips the order.
//
// Settings (section, value name; text values): "Sort", <list name>"Sort" (the
// 0-based sort column, default "0") and <list name>"SortOrder" (0 ascending,
// 1 descending, default "0"); "Columns", <list name><column from 1>"width"
// (the width in twips, default the column's current width). A value that is
// not a number leaves the setting as it was. A column without a stored width
// keeps its default here; the window may widen the code column to its longest
// code (usrListView) and passes that width back; SaveSettings does not store
// such a fitted width, so the next list is fitted to its own codes, until the
// user sets a width.

#include "start/items.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QString>
#include <array>
#include <vector>

namespace supplink {

namespace LijstKleur {
constexpr QRgb Verplicht = 0xffc0c0c0;    // silver: a required row
constexpr QRgb Geselecteerd = 0xff008000; // green: a ticked row
} // namespace LijstKleur

// One row of the list.
struct LijstRij
{
    // The status columns, in column order.
    enum Status
    {
        StatusVerplicht,
        StatusOptioneel,
        StatusNieuw,
        StatusBestaand,
        StatusOngewenst,
        AantalStatussen
    };

    QString Code;
    QString Omschrijving; // the item's description, trimmed
    qint32 Tag = 0;       // 1-based position of the row's item in the step's collection
    // Positions of the further items with the same code; they follow the row's tick.
    QList<qint32> ZelfdeCode;
    std::array<bool, AantalStatussen> Sterren{};
    bool Aangevinkt = false;
    bool Verplicht = false; // required: stays ticked
    QColor Kleur;           // invalid: the list's own text colour
    bool Vet = false;

    // The text of a column (0 code, 1 description, 2..6 "*" or "").
    QString Tekst(int kolom) const;
    // Tag followed by ZelfdeCode: every item the row stands for.
    QList<qint32> Tags() const;
};

class SelectieLijst : public QAbstractTableModel
{
    Q_OBJECT
public:
    // Roles beside the usual ones (DisplayRole, CheckStateRole on column 0, ForegroundRole, FontRole).
    enum Rol
    {
        VerplichtRol = Qt::UserRole + 1, // bool
        TagRol                           // qint32
    };

    struct Kolom
    {
        QString titel;
        int breedte; // twips
    };
    // The columns, in order; the last five only with the status columns.
    static const QList<Kolom>& Kolommen();
    static constexpr int kVasteKolommen = 2;

    explicit SelectieLijst(QObject* parent = nullptr);

    // Stores the list name, removes every row and column, makes the columns (the status columns only with
    // bExtraCols) and reads the sort column, sort order and column widths from the settings.
    void Init(const QString& strCode, bool bExtraCols);
    // Removes every row.
    void ClearList();
    // Adds the row of an item at position lIndex of the step's collection (see the rules above); returns
    // the row it shows in (a joined item: the row it joined), -1 when nothing could be added.
    int AddItem(const clsItem& newItem, qint32 lIndex);
    // Ends a fill: ItemClick with the current row (-1 when none); SelectionDirty becomes false.
    void Finish();
    // Writes the width of every column to the settings.
    void SaveSettings();
    // Copies the ticks into the items of xCol (every item a row stands for). Without bIgnoreDirty nothing
    // happens while SelectionDirty is false. Unless bNietAanmakenCollectieGeselecteerde,
    // xColAlleenGeselecteerde becomes a new collection of the ticked items, in list order.
    void UpdateCollectionFromList(ItemCollection& xCol, ItemCollection& xColAlleenGeselecteerde,
                                  bool bNietAanmakenCollectieGeselecteerde, bool bIgnoreDirty = false);
    // Sets a row's text colour (invalid: the list's own) and bold state.
    void SetListItemColor(int rij, const QColor& vColor, bool vBold);

    // The rows in list order (ListItems).
    int RijAantal() const { return int(m_volgorde.size()); }
    const LijstRij& Rij(int rij) const { return m_rijen[size_t(m_volgorde[size_t(rij)])]; }
    // The number of ticked rows.
    int AantalAangevinkt() const { return m_aangevinkt; }

    const QString& LijstNaam() const { return m_naam; }
    bool SelectionDirty() const { return m_dirty; }
    bool BatchUpdateInProgress() const { return m_batch; }
    // The current (selected) row, -1 when none.
    int HuidigeRij() const;
    int SorteerKolom() const { return m_sorteerKolom; }
    // 0 ascending, 1 descending.
    int SorteerVolgorde() const { return m_sorteerVolgorde; }
    int KolomBreedte(int kolom) const { return m_breedtes.value(kolom); }
    // Whether the column's width is the user's: read from the settings by Init, or set since by the user.
    bool KolomBreedteGekozen(int kolom) const { return m_gekozen.value(kolom); }

    // What the window passes on.
    // A row's tick was set or cleared (the check box, space).
    void ZetVinkje(int rij, bool aan);
    // A double click on a row: its tick toggles.
    void Omschakelen(int rij);
    // A click on a row: it becomes current; ItemClick.
    void Klik(int rij);
    void AllesSelecteren();
    void NietsSelecteren();
    void SelectieOmdraaien();
    // A click on the header of a column (0-based): sort on it with the order flipped; both stored.
    void KolomKlik(int kolom);
    // The user changed a column's width (twips).
    void ZetKolomBreedte(int kolom, int breedte);
    // The window fitted a column the user has no width for to its contents (twips); the width is kept but
    // not stored, and stays the window's to fit again.
    void ZetPassendeBreedte(int kolom, int breedte);

    // Many rows at once: while a Vulling lives, AddItem only appends; the list is sorted and shown once
    // when the last one ends.
    class Vulling
    {
    public:
        explicit Vulling(SelectieLijst& lijst);
        ~Vulling();
        Vulling(const Vulling&) = delete;
        Vulling& operator=(const Vulling&) = delete;

    private:
        SelectieLijst& m_lijst;
    };

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // A row was clicked, or a fill ended (-1: no current row).
    void ItemClick(int rij);
    // A row's tick changed, by the user or by a batch.
    void ItemCheck(int rij);
    // A batch has been applied to every row.
    void BatchUpdateDone();
    // The current row changed (the window follows).
    void HuidigeRijGewijzigd(int rij);
    // Init changed the columns, their widths or the sort (the window follows).
    void KolommenGewijzigd();

private:
    enum class Batch
    {
        Alles,
        Niets,
        Omdraaien
    };

    void LeegRijen();
    void VerwerkVinkje(int rij, bool aan);
    void ZetHuidig(int rij, bool melden);
    void PasBatchToe(Batch soort);
    void Sorteer();
    bool Kleiner(int a, int b) const;
    static QString Sleutel(const QString& code);
    QModelIndex Index(int rij, int kolom = 0) const { return index(rij, kolom); }

    QString m_naam;
    bool m_extraKolommen = false;
    QList<int> m_breedtes; // twips, per column
    QList<bool> m_gekozen;  // per column: the width is the user's (KolomBreedteGekozen)
    QList<bool> m_gepast;   // per column: the window fitted the width (ZetPassendeBreedte); not stored
    int m_sorteerKolom = 0;
    int m_sorteerVolgorde = 0;

    std::vector<LijstRij> m_rijen; // in the order they were added
    std::vector<int> m_volgorde;   // list order: indexes into m_rijen
    std::vector<int> m_positie;    // per index into m_rijen: its row in list order
    QHash<QString, int> m_codes;   // code key -> index into m_rijen
    int m_aangevinkt = 0;
    int m_huidig = -1; // the current row, as an index into m_rijen
    bool m_dirty = false;
    bool m_batch = false;
    int m_vulling = 0;
};

} // namespace supplink
