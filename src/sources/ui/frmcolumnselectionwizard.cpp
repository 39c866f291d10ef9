#include "sources/ui/frmcolumnselectionwizard.h"

#include "sources/clsbron2.h"
#include "start/ui/formstate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace supplink {

namespace {

// A column's width in pixels when the grid is filled.
constexpr int kKolomBreedte = 200;

QString kleurStijl(QRgb kleur)
{
    return QStringLiteral("QComboBox { background-color: rgb(%1, %2, %3); }")
        .arg(qRed(kleur))
        .arg(qGreen(kleur))
        .arg(qBlue(kleur));
}

} // namespace

frmColumnSelectionWizard::frmColumnSelectionWizard(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmColumnSelectionWizard"));
    setWindowTitle(QStringLiteral("Onbekende Bestandindeling"));

    Label1 = new QLabel(QStringLiteral("Bestand:"), this);
    txtFile = new QLineEdit(this);
    txtFile->setReadOnly(true);
    Label2 = new QLabel(QStringLiteral("Type:"), this);
    cbBestandTypes = new QComboBox(this);
    Label3 = new QLabel(QStringLiteral("Artikeltype:"), this);
    cbArtikelTypes = new QComboBox(this);
    Label4 = new QLabel(QStringLiteral("Combitype:"), this);
    cbCombiTypes = new QComboBox(this);
    ckNietEersteRijImporteren = new QCheckBox(QStringLiteral("Eerste regel niet importeren"), this);
    wndReport = new QTableWidget(this);
    wndReport->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cmdFileAll = new QPushButton(QStringLiteral("Toon Gehele bestand"), this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setEnabled(false);
    cmdAnnuleren = new QPushButton(QStringLiteral("Annuleren"), this);

    cbArtikelTypes->addItems(KolomToewijzing::ArtikelTypeNamen());
    cbArtikelTypes->setCurrentIndex(-1);
    cbCombiTypes->addItems(KolomToewijzing::CombiTypeNamen());
    cbCombiTypes->setCurrentIndex(-1);

    auto* frame = new QGridLayout;
    frame->addWidget(Label1, 0, 0);
    frame->addWidget(txtFile, 0, 1, 1, 3);
    frame->addWidget(Label2, 1, 0);
    frame->addWidget(cbBestandTypes, 1, 1);
    frame->addWidget(ckNietEersteRijImporteren, 1, 2, 1, 2);
    frame->addWidget(Label3, 2, 0);
    frame->addWidget(cbArtikelTypes, 2, 1);
    frame->addWidget(Label4, 2, 2);
    frame->addWidget(cbCombiTypes, 2, 3);
    auto* knoppen = new QHBoxLayout;
    knoppen->addStretch();
    knoppen->addWidget(cmdFileAll);
    knoppen->addWidget(cmdOK);
    knoppen->addWidget(cmdAnnuleren);
    auto* hoofd = new QVBoxLayout(this);
    hoofd->addLayout(frame);
    hoofd->addWidget(wndReport, 1);
    hoofd->addLayout(knoppen);
    resize(800, 500);

    connect(cbBestandTypes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_bezig)
            cbBestandTypes_Click(index);
    });
    connect(cbArtikelTypes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_bezig)
            return;
        model.artikelType = index;
        cmdOK->setEnabled(true);
    });
    connect(cbCombiTypes, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_bezig)
            model.combiType = index;
    });
    connect(ckNietEersteRijImporteren, &QCheckBox::toggled, this, [this](bool aan) {
        if (m_bezig)
            return;
        model.nietEersteRijImporteren = aan;
        KleurEersteRegel();
    });
    connect(cmdOK, &QPushButton::clicked, this, &frmColumnSelectionWizard::cmdOK_Click);
    connect(cmdAnnuleren, &QPushButton::clicked, this, &frmColumnSelectionWizard::cmdAnnuleren_Click);
    connect(cmdFileAll, &QPushButton::clicked, this, &frmColumnSelectionWizard::cmdFileAll_Click);

    CentreerForm(this);
    LoadFormState(this);
}

void frmColumnSelectionWizard::SetFile(clsBron2* bron)
{
    m_bron = bron;
    if (!bron)
        return;
    setWindowTitle(QStringLiteral("Import Definitie: ") + bron->BestandsNaam);
    txtFile->setText(bron->BronPad);
    model = KolomToewijzing();
    model.LeesBron(*bron);
    VulGrid();

    m_bezig = true;
    cbBestandTypes->clear();
    cbBestandTypes->addItems(KolomToewijzing::BestandTypeNamen());
    cbBestandTypes->setCurrentIndex(-1);
    m_bezig = false;
    cbBestandTypes->setCurrentIndex(bron->Soort == 1 ? 1 : 0);
    cmdOK->setEnabled(true);
}

void frmColumnSelectionWizard::cbBestandTypes_Click(int index)
{
    if (!m_bron || index < 0)
        return;
    model.KiesBestandType(index, *m_bron);
    ToonKoppen();
    ToonTypes();
    KleurEersteRegel();
    cmdOK->setEnabled(true);
}

void frmColumnSelectionWizard::VulGrid()
{
    wndReport->clear();
    const int kolommen = qMax(0, model.kolomAantal);
    wndReport->setColumnCount(kolommen);
    QStringList titels;
    for (int i = 0; i < kolommen; ++i)
        titels << KolomToewijzing::KolomTitel(i);
    wndReport->setHorizontalHeaderLabels(titels);
    wndReport->setRowCount(model.heeftKopRegel ? 1 : 0);
    for (int kolom = 0; kolom < kolommen; ++kolom) {
        wndReport->setColumnWidth(kolom, kKolomBreedte);
        auto* keuze = new QComboBox(wndReport);
        keuze->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        connect(keuze, &QComboBox::activated, this,
                [this, kolom, keuze](int) { KopGewijzigd(kolom, keuze->currentText()); });
        wndReport->setCellWidget(kKopRij, kolom, keuze);
    }
    VulDataRijen();
}

void frmColumnSelectionWizard::VulDataRijen()
{
    const int eerste = model.heeftKopRegel ? 1 : 0;
    wndReport->setRowCount(eerste + int(model.rijen.size()));
    for (int r = 0; r < model.rijen.size(); ++r) {
        const QStringList& cellen = model.rijen.at(r);
        for (int kolom = 0; kolom < cellen.size() && kolom < wndReport->columnCount(); ++kolom) {
            auto* item = new QTableWidgetItem(cellen.at(kolom));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setBackground(QColor(model.DataKleur(r)));
            wndReport->setItem(eerste + r, kolom, item);
        }
    }
}

QComboBox* frmColumnSelectionWizard::KopKeuze(int kolom) const
{
    return qobject_cast<QComboBox*>(wndReport->cellWidget(kKopRij, kolom));
}

void frmColumnSelectionWizard::ToonKoppen()
{
    m_bezig = true;
    QStringList namen;
    if (model.catalogus)
        for (const clsProperty& entry : *model.catalogus)
            namen << entry.name;
    for (int kolom = 0; kolom < model.koppen.size(); ++kolom) {
        QComboBox* keuze = KopKeuze(kolom);
        if (!keuze)
            continue;
        if (keuze->count() != namen.size() || keuze->itemText(0) != namen.value(0)) {
            keuze->clear();
            keuze->addItems(namen);
        }
        const QString& tekst = model.koppen.at(kolom);
        int index = keuze->findText(tekst);
        if (index < 0 && !tekst.isEmpty()) {
            // A saved field of the other catalogue: shown as it is.
            keuze->addItem(tekst);
            index = keuze->count() - 1;
        }
        keuze->setCurrentIndex(index);
        keuze->setStyleSheet(kleurStijl(model.kopKleuren.at(kolom)));
        // The column shows the longest name of its choices whole; a wider column stays as it is.
        const int nodig = keuze->sizeHint().width();
        if (wndReport->columnWidth(kolom) < nodig)
            wndReport->setColumnWidth(kolom, nodig);
    }
    m_bezig = false;
}

void frmColumnSelectionWizard::ToonTypes()
{
    m_bezig = true;
    Label3->setVisible(model.artikelTypeZichtbaar);
    cbArtikelTypes->setVisible(model.artikelTypeZichtbaar);
    Label4->setVisible(model.combiTypeZichtbaar);
    cbCombiTypes->setVisible(model.combiTypeZichtbaar);
    cbArtikelTypes->setCurrentIndex(model.artikelType);
    cbCombiTypes->setCurrentIndex(model.combiType);
    ckNietEersteRijImporteren->setChecked(model.nietEersteRijImporteren);
    m_bezig = false;
}

void frmColumnSelectionWizard::KleurEersteRegel()
{
    const int rij = model.heeftKopRegel ? 1 : 0;
    if (model.rijen.isEmpty())
        return;
    for (int kolom = 0; kolom < wndReport->columnCount(); ++kolom)
        if (QTableWidgetItem* item = wndReport->item(rij, kolom))
            item->setBackground(QColor(model.DataKleur(0)));
}

void frmColumnSelectionWizard::KopGewijzigd(int kolom, const QString& tekst)
{
    if (m_bezig || tekst.isEmpty())
        return;
    const bool staat = model.KopGewijzigd(kolom, tekst);
    ToonKoppen();
    ToonTypes();
    if (staat)
        cmdOK->setEnabled(true);
}

void frmColumnSelectionWizard::cmdFileAll_Click()
{
    if (!m_bron)
        return;
    model.LeesGeheleBestand(*m_bron);
    VulDataRijen();
    KleurEersteRegel();
}

void frmColumnSelectionWizard::cmdOK_Click()
{
    if (!m_bron)
        return;
    if (!model.Bevestig(*m_bron))
        return;
    Geaccepteerd = true;
    accept();
}

void frmColumnSelectionWizard::cmdAnnuleren_Click()
{
    Geaccepteerd = false;
    reject();
}

void frmColumnSelectionWizard::done(int result)
{
    SaveFormState(this);
    QDialog::done(result);
}

} // namespace supplink
