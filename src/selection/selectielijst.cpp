#include "selection/selectielijst.h"

#include "start/errors.h"
#include "start/registryfuncties.h"

#include <QBrush>
#include <QFont>

#include <algorithm>
#include <optional>

namespace supplink {

namespace {

const QString kSortSectie = QStringLiteral("Sort");
const QString kKolomSectie = QStringLiteral("Columns");

// A setting read as a whole number; none when it is not one.
std::optional<int> LeesGetal(const QString& sectie, const QString& naam, int standaard)
{
    bool ok = false;
    const int waarde = CurrentUser_HaalOp(sectie, naam, QString::number(standaard)).trimmed().toInt(&ok);
    return ok ? std::optional<int>(waarde) : std::nullopt;
}

} // namespace

QString LijstRij::Tekst(int kolom) const
{
    switch (kolom) {
    case 0:
        return Code;
    case 1:
        return Omschrijving;
    default: {
        const int status = kolom - SelectieLijst::kVasteKolommen;
        if (status >= 0 && status < AantalStatussen && Sterren[size_t(status)])
            return QStringLiteral("*");
        return QString();
    }
    }
}

QList<qint32> LijstRij::Tags() const
{
    QList<qint32> tags;
    tags.reserve(ZelfdeCode.size() + 1);
    tags.append(Tag);
    tags.append(ZelfdeCode);
    return tags;
}

const QList<SelectieLijst::Kolom>& SelectieLijst::Kolommen()
{
    static const QList<Kolom> kolommen = {
        {QStringLiteral("Code"), 1400},      {QStringLiteral("Omschrijving"), 3000},
        {QStringLiteral("Verplicht"), 1400}, {QStringLiteral("Optioneel"), 1400},
        {QStringLiteral("Nieuw"), 1400},     {QStringLiteral("Bestaand"), 1400},
        {QStringLiteral("Ongewenst"), 1400},
    };
    return kolommen;
}

SelectieLijst::SelectieLijst(QObject* parent) : QAbstractTableModel(parent) {}

QString SelectieLijst::Sleutel(const QString& code)
{
    return code.toCaseFolded();
}

void SelectieLijst::Init(const QString& strCode, bool bExtraCols)
{
    beginResetModel();
    m_naam = strCode;
    m_extraKolommen = bExtraCols;
    LeegRijen();

    const int aantal = bExtraCols ? int(Kolommen().size()) : kVasteKolommen;
    m_breedtes.clear();
    for (int i = 0; i < aantal; ++i)
        m_breedtes.append(Kolommen().at(i).breedte);

    m_sorteerKolom = 0;
    m_sorteerVolgorde = 0;
    if (const auto kolom = LeesGetal(kSortSectie, m_naam + QStringLiteral("Sort"), 0);
        kolom && *kolom >= 0 && *kolom < aantal)
        m_sorteerKolom = *kolom;
    if (const auto volgorde = LeesGetal(kSortSectie, m_naam + QStringLiteral("SortOrder"), 0);
        volgorde && (*volgorde == 0 || *volgorde == 1))
        m_sorteerVolgorde = *volgorde;
    m_gekozen = QList<bool>(aantal, false);
    m_gepast = QList<bool>(aantal, false);
    for (int i = 0; i < aantal; ++i) {
        const QString naam = m_naam + QString::number(i + 1) + QStringLiteral("width");
        // Nothing stored: the default width.
        if (CurrentUser_HaalOp(kKolomSectie, naam, QString()).trimmed().isEmpty())
            continue;
        if (const auto breedte = LeesGetal(kKolomSectie, naam, m_breedtes.at(i)); breedte && *breedte >= 0) {
            m_breedtes[i] = *breedte;
            m_gekozen[i] = true;
        }
    }
    endResetModel();
    emit KolommenGewijzigd();
}

void SelectieLijst::ClearList()
{
    if (m_vulling == 0)
        beginResetModel();
    LeegRijen();
    if (m_vulling == 0)
        endResetModel();
}

void SelectieLijst::LeegRijen()
{
    m_rijen.clear();
    m_volgorde.clear();
    m_positie.clear();
    m_codes.clear();
    m_aangevinkt = 0;
    m_huidig = -1;
}

int SelectieLijst::AddItem(const clsItem& newItem, qint32 lIndex)
{
    const QString sleutel = Sleutel(newItem.Code);
    if (const auto gevonden = m_codes.constFind(sleutel); gevonden != m_codes.cend()) {
        // The same code again (from another source): the item joins the row that is there.
        const int opslag = *gevonden;
        LijstRij& rij = m_rijen[size_t(opslag)];
        rij.ZelfdeCode.append(lIndex);
        if (newItem.Required && !rij.Verplicht) {
            rij.Verplicht = true;
            rij.Kleur = QColor::fromRgb(LijstKleur::Verplicht);
            if (m_extraKolommen) {
                if (!rij.Aangevinkt)
                    ++m_aangevinkt;
                rij.Aangevinkt = true;
                rij.Sterren[LijstRij::StatusVerplicht] = true;
                rij.Sterren[LijstRij::StatusOptioneel] = false;
            }
            if (m_vulling == 0) {
                const int positie = m_positie[size_t(opslag)];
                emit dataChanged(Index(positie), Index(positie, columnCount() - 1));
            }
        }
        return m_positie[size_t(opslag)];
    }

    LijstRij rij;
    rij.Code = newItem.Code;
    rij.Omschrijving = newItem.Description.trimmed();
    rij.Tag = lIndex;
    rij.Verplicht = newItem.Required;
    if (newItem.Required)
        rij.Kleur = QColor::fromRgb(LijstKleur::Verplicht);
    if (m_extraKolommen) {
        if (newItem.Required) {
            rij.Aangevinkt = true;
            rij.Sterren[LijstRij::StatusVerplicht] = true;
        } else {
            rij.Sterren[LijstRij::StatusOptioneel] = true;
            if (newItem.Selected) {
                rij.Kleur = QColor::fromRgb(LijstKleur::Geselecteerd);
                rij.Aangevinkt = true;
            }
        }
        if (newItem.IsNew() || newItem.Unwanted())
            rij.Sterren[newItem.Unwanted() ? LijstRij::StatusOngewenst : LijstRij::StatusNieuw] = true;
        else
            rij.Sterren[LijstRij::StatusBestaand] = true;
    }

    const int opslag = int(m_rijen.size());
    if (rij.Aangevinkt)
        ++m_aangevinkt;
    m_rijen.push_back(std::move(rij));
    m_codes.insert(sleutel, opslag);

    if (m_vulling > 0) {
        // Sorted once when the fill ends.
        m_positie.push_back(int(m_volgorde.size()));
        m_volgorde.push_back(opslag);
        return m_positie.back();
    }
    const auto plek = std::upper_bound(m_volgorde.begin(), m_volgorde.end(), opslag,
                                       [this](int a, int b) { return Kleiner(a, b); });
    const int positie = int(plek - m_volgorde.begin());
    beginInsertRows(QModelIndex(), positie, positie);
    m_volgorde.insert(plek, opslag);
    m_positie.push_back(0);
    for (int i = positie; i < int(m_volgorde.size()); ++i)
        m_positie[size_t(m_volgorde[size_t(i)])] = i;
    endInsertRows();
    return positie;
}

void SelectieLijst::Finish()
{
    emit ItemClick(HuidigeRij());
    m_dirty = false;
}

void SelectieLijst::SaveSettings()
{
    for (int i = 0; i < m_breedtes.size(); ++i) {
        // A width the window fitted to this list's codes is not the user's: the next list is fitted anew.
        if (m_gepast.value(i) && !m_gekozen.value(i))
            continue;
        CurrentUser_BrengWeg(kKolomSectie, m_naam + QString::number(i + 1) + QStringLiteral("width"),
                             QString::number(m_breedtes.at(i)).trimmed());
    }
}

void SelectieLijst::UpdateCollectionFromList(ItemCollection& xCol, ItemCollection& xColAlleenGeselecteerde,
                                             bool bNietAanmakenCollectieGeselecteerde, bool bIgnoreDirty)
{
    if (!bIgnoreDirty && !m_dirty)
        return;
    if (!bNietAanmakenCollectieGeselecteerde)
        xColAlleenGeselecteerde = ItemCollection();
    for (const int opslag : m_volgorde) {
        const LijstRij& rij = m_rijen[size_t(opslag)];
        const auto zet = [&](qint32 tag) {
            // A position outside the collection names no item: nothing to copy.
            if (tag < 1 || tag > xCol.size() || !xCol.at(tag - 1))
                return;
            const std::shared_ptr<clsItem>& item = xCol.at(tag - 1);
            item->Selected = rij.Aangevinkt;
            if (!bNietAanmakenCollectieGeselecteerde && rij.Aangevinkt)
                xColAlleenGeselecteerde.append(item);
        };
        zet(rij.Tag);
        for (const qint32 tag : rij.ZelfdeCode)
            zet(tag);
    }
}

void SelectieLijst::SetListItemColor(int rij, const QColor& vColor, bool vBold)
{
    if (rij < 0 || rij >= RijAantal())
        return;
    LijstRij& r = m_rijen[size_t(m_volgorde[size_t(rij)])];
    r.Kleur = vColor;
    r.Vet = vBold;
    emit dataChanged(Index(rij), Index(rij, columnCount() - 1), {Qt::ForegroundRole, Qt::FontRole});
}

int SelectieLijst::HuidigeRij() const
{
    return m_huidig < 0 ? -1 : m_positie[size_t(m_huidig)];
}

void SelectieLijst::ZetHuidig(int rij, bool melden)
{
    const int opslag = rij < 0 || rij >= RijAantal() ? -1 : m_volgorde[size_t(rij)];
    if (opslag == m_huidig)
        return;
    m_huidig = opslag;
    if (melden)
        emit HuidigeRijGewijzigd(HuidigeRij());
}

void SelectieLijst::VerwerkVinkje(int rij, bool aan)
{
    LijstRij& r = m_rijen[size_t(m_volgorde[size_t(rij)])];
    const bool was = r.Aangevinkt;
    if (r.Verplicht) {
        // A required row cannot be unticked: it is ticked again at once.
        r.Aangevinkt = true;
    } else {
        r.Aangevinkt = aan;
        r.Kleur = aan ? QColor::fromRgb(LijstKleur::Geselecteerd) : QColor();
        m_dirty = true;
    }
    m_aangevinkt += int(r.Aangevinkt) - int(was);
    if (!m_batch)
        emit dataChanged(Index(rij), Index(rij, columnCount() - 1), {Qt::CheckStateRole, Qt::ForegroundRole});
    ZetHuidig(rij, !m_batch);
    emit ItemCheck(rij);
}

void SelectieLijst::ZetVinkje(int rij, bool aan)
{
    if (rij >= 0 && rij < RijAantal())
        VerwerkVinkje(rij, aan);
}

void SelectieLijst::Omschakelen(int rij)
{
    if (rij >= 0 && rij < RijAantal())
        VerwerkVinkje(rij, !Rij(rij).Aangevinkt);
}

void SelectieLijst::Klik(int rij)
{
    if (rij < 0 || rij >= RijAantal())
        return;
    ZetHuidig(rij, true);
    emit ItemClick(rij);
}

void SelectieLijst::AllesSelecteren()
{
    PasBatchToe(Batch::Alles);
}

void SelectieLijst::NietsSelecteren()
{
    PasBatchToe(Batch::Niets);
}

void SelectieLijst::SelectieOmdraaien()
{
    PasBatchToe(Batch::Omdraaien);
}

void SelectieLijst::PasBatchToe(Batch soort)
{
    if (m_batch)
        return; // a batch is running: a second one would only interleave with it
    m_batch = true;
    for (int rij = 0; rij < RijAantal(); ++rij) {
        bool aan = true;
        switch (soort) {
        case Batch::Alles:
            aan = true;
            break;
        case Batch::Niets:
            aan = false;
            break;
        case Batch::Omdraaien:
            aan = !Rij(rij).Aangevinkt;
            break;
        }
        VerwerkVinkje(rij, aan);
    }
    // The rows are shown anew once, not per row.
    if (RijAantal() > 0)
        emit dataChanged(Index(0), Index(RijAantal() - 1, columnCount() - 1),
                         {Qt::CheckStateRole, Qt::ForegroundRole});
    emit HuidigeRijGewijzigd(HuidigeRij());
    m_batch = false;
    emit BatchUpdateDone();
    m_dirty = true;
}

bool SelectieLijst::Kleiner(int a, int b) const
{
    const LijstRij& ra = m_rijen[size_t(a)];
    const LijstRij& rb = m_rijen[size_t(b)];
    const int verschil = ra.Tekst(m_sorteerKolom).compare(rb.Tekst(m_sorteerKolom), Qt::CaseInsensitive);
    return m_sorteerVolgorde == 0 ? verschil < 0 : verschil > 0;
}

void SelectieLijst::Sorteer()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList oud = persistentIndexList();
    QList<int> oudeOpslag;
    oudeOpslag.reserve(oud.size());
    for (const QModelIndex& index : oud)
        oudeOpslag.append(m_volgorde[size_t(index.row())]);

    std::stable_sort(m_volgorde.begin(), m_volgorde.end(), [this](int a, int b) { return Kleiner(a, b); });
    for (int i = 0; i < int(m_volgorde.size()); ++i)
        m_positie[size_t(m_volgorde[size_t(i)])] = i;

    QModelIndexList nieuw;
    nieuw.reserve(oud.size());
    for (int i = 0; i < oud.size(); ++i)
        nieuw.append(Index(m_positie[size_t(oudeOpslag.at(i))], oud.at(i).column()));
    changePersistentIndexList(oud, nieuw);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void SelectieLijst::KolomKlik(int kolom)
{
    if (kolom < 0 || kolom >= columnCount())
        return;
    try {
        m_sorteerKolom = kolom;
        m_sorteerVolgorde = m_sorteerVolgorde == 0 ? 1 : 0;
        CurrentUser_BrengWeg(kSortSectie, m_naam + QStringLiteral("Sort"),
                             QString::number(m_sorteerKolom).trimmed());
        CurrentUser_BrengWeg(kSortSectie, m_naam + QStringLiteral("SortOrder"),
                             QString::number(m_sorteerVolgorde).trimmed());
        Sorteer();
        emit KolommenGewijzigd();
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("lv_ColumnClick"), fout);
    }
}

void SelectieLijst::ZetKolomBreedte(int kolom, int breedte)
{
    if (kolom >= 0 && kolom < m_breedtes.size() && breedte >= 0) {
        m_breedtes[kolom] = breedte;
        m_gekozen[kolom] = true;
    }
}

void SelectieLijst::ZetPassendeBreedte(int kolom, int breedte)
{
    if (kolom >= 0 && kolom < m_breedtes.size() && breedte >= 0 && !m_gekozen.value(kolom)) {
        m_breedtes[kolom] = breedte;
        m_gepast[kolom] = true;
    }
}

SelectieLijst::Vulling::Vulling(SelectieLijst& lijst) : m_lijst(lijst)
{
    if (m_lijst.m_vulling++ == 0)
        m_lijst.beginResetModel();
}

SelectieLijst::Vulling::~Vulling()
{
    if (--m_lijst.m_vulling > 0)
        return;
    std::stable_sort(m_lijst.m_volgorde.begin(), m_lijst.m_volgorde.end(),
                     [this](int a, int b) { return m_lijst.Kleiner(a, b); });
    for (int i = 0; i < int(m_lijst.m_volgorde.size()); ++i)
        m_lijst.m_positie[size_t(m_lijst.m_volgorde[size_t(i)])] = i;
    m_lijst.endResetModel();
}

int SelectieLijst::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RijAantal();
}

int SelectieLijst::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_breedtes.size());
}

QVariant SelectieLijst::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= RijAantal())
        return {};
    const LijstRij& rij = Rij(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return rij.Tekst(index.column());
    case Qt::CheckStateRole:
        if (index.column() == 0)
            return rij.Aangevinkt ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::ForegroundRole:
        return rij.Kleur.isValid() ? QVariant(QBrush(rij.Kleur)) : QVariant();
    case Qt::FontRole:
        if (rij.Vet) {
            QFont vet;
            vet.setBold(true);
            return vet;
        }
        return {};
    case Qt::TextAlignmentRole:
        // The marks of the status columns stand in the middle of their column.
        if (index.column() >= kVasteKolommen)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    case VerplichtRol:
        return rij.Verplicht;
    case TagRol:
        return rij.Tag;
    default:
        return {};
    }
}

QVariant SelectieLijst::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return Kolommen().at(section).titel;
    return {};
}

Qt::ItemFlags SelectieLijst::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags vlaggen = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        vlaggen |= Qt::ItemIsUserCheckable;
    return vlaggen;
}

bool SelectieLijst::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole)
        return false;
    ZetVinkje(index.row(), value.toInt() == Qt::Checked);
    return true;
}

} // namespace supplink
