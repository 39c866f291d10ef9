// The column-selection window driven offscreen through its public members.

#include "bronnentestutil.h"
#include "sources/clsbron2.h"
#include "sources/ui/frmcolumnselectionwizard.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;

class MappingDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { VulVeldCatalogus(); }
    void toontVoorstel();
    void bestandTypeWisselen();
    void kopKiezenEnOK();
    void typeKolomGeweigerd();
    void annuleren();
    void geheleBestand();
    void kolommenBreedGenoeg_data();
    void kolommenBreedGenoeg();

private:
    std::unique_ptr<clsBron2> bron(const QByteArray& inhoud, qint32 soort = 0)
    {
        const QString pad = m_dir.filePath(QStringLiteral("bron%1.csv").arg(++m_nummer));
        schrijfBestand(pad, inhoud);
        auto b = std::make_unique<clsBron2>();
        b->BronPad = pad;
        b->BestandsNaam = QFileInfo(pad).fileName();
        b->IsCSV = true;
        b->MetAanhalingstekens = true;
        b->Soort = soort;
        b->ArtikelType = -1;
        b->KolomSoorten.clear();
        return b;
    }
    static void kies(frmColumnSelectionWizard& venster, int kolom, const QString& tekst)
    {
        QComboBox* keuze = venster.KopKeuze(kolom);
        QVERIFY(keuze);
        const int index = keuze->findText(tekst);
        QVERIFY(index >= 0);
        keuze->setCurrentIndex(index);
        emit keuze->activated(index);
    }

    TestEnvironment m_env;
    QTemporaryDir m_dir;
    int m_nummer = 0;
};

void MappingDialogTest::toontVoorstel()
{
    auto b = bron("Code;Omschrijving;q\r\nA1;Deur;\r\nA2;Raam;\r\n");
    frmColumnSelectionWizard venster;
    QVERIFY(!venster.cmdOK->isEnabled());
    venster.SetFile(b.get());
    venster.show();
    QCOMPARE(venster.windowTitle(), QStringLiteral("Import Definitie: ") + b->BestandsNaam);
    QCOMPARE(venster.txtFile->text(), b->BronPad);
    QCOMPARE(venster.wndReport->columnCount(), 3);
    QCOMPARE(venster.wndReport->horizontalHeaderItem(2)->text(), QStringLiteral("C"));
    QCOMPARE(venster.wndReport->rowCount(), 4); // header record and three data records
    QCOMPARE(venster.KopKeuze(0)->currentText(), QStringLiteral("Code"));
    QCOMPARE(venster.KopKeuze(2)->currentText(), QStringLiteral("(Niet importeren)"));
    QCOMPARE(venster.KopKeuze(0)->count(), globals().gVeldCatalogusArtikelen.size());
    QVERIFY(venster.ckNietEersteRijImporteren->isChecked());
    QCOMPARE(venster.wndReport->item(1, 0)->background().color(), QColor(KolomKleur::EersteRegelOverslaan));
    venster.ckNietEersteRijImporteren->setChecked(false);
    QCOMPARE(venster.wndReport->item(1, 0)->background().color(), QColor(KolomKleur::Data));
    QVERIFY(!venster.cbArtikelTypes->isHidden());
    QVERIFY(venster.cbCombiTypes->isHidden());
    QVERIFY(venster.cmdOK->isEnabled());
}

void MappingDialogTest::bestandTypeWisselen()
{
    auto b = bron("a;b;c\r\n1;2;3\r\n");
    frmColumnSelectionWizard venster;
    venster.SetFile(b.get());
    venster.cbBestandTypes->setCurrentIndex(1);
    QCOMPARE(venster.KopKeuze(0)->count(), globals().gVeldCatalogusHangSluit.size());
    QVERIFY(venster.cbArtikelTypes->isHidden());
    QVERIFY(!venster.cbCombiTypes->isHidden());
    QCOMPARE(venster.cbCombiTypes->currentIndex(), -1); // the description still says articles
}

void MappingDialogTest::kopKiezenEnOK()
{
    RecordingUiServices ui;
    auto b = bron("x1;x2;x3\r\nA1;Deur;5\r\n");
    frmColumnSelectionWizard venster;
    venster.SetFile(b.get());
    venster.cbArtikelTypes->setCurrentIndex(2);
    kies(venster, 0, QStringLiteral("Code"));
    kies(venster, 1, QStringLiteral("Code"));
    kies(venster, 2, QStringLiteral("Breedte"));
    venster.cmdOK_Click();
    QVERIFY(!venster.Geaccepteerd);
    QCOMPARE(ui.messages.last().text,
             QStringLiteral(
                 "Voor onderstaande kolommen is de definitie fout:\r\n\r\nKolom 2 is gelijk aan kolom 1"));
    kies(venster, 1, QStringLiteral("Omschrijving"));
    venster.cmdOK_Click();
    QVERIFY(venster.Geaccepteerd);
    QCOMPARE(b->KolomSoorten, QList<qint32>({1, 2, 13}));
    QCOMPARE(b->ArtikelType, 2);
    QCOMPARE(b->CombiType, -1);
    QVERIFY(b->EersteRijImporteren);
}

void MappingDialogTest::typeKolomGeweigerd()
{
    RecordingUiServices ui;
    auto b = bron("q;Code\r\nq;A\r\n30;B\r\n");
    frmColumnSelectionWizard venster;
    venster.SetFile(b.get());
    kies(venster, 0, QStringLiteral("(Artikeltype)"));
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(venster.KopKeuze(0)->currentIndex(), -1);
}

void MappingDialogTest::annuleren()
{
    auto b = bron("Code;Omschrijving\r\nA;B\r\n");
    b->ArtikelType = 4;
    frmColumnSelectionWizard venster;
    venster.SetFile(b.get());
    venster.show();
    kies(venster, 0, QStringLiteral("Breedte"));
    venster.cmdAnnuleren_Click();
    QVERIFY(!venster.Geaccepteerd);
    QVERIFY(!venster.isVisible());
    QVERIFY(b->KolomSoorten.isEmpty());
    QCOMPARE(b->ArtikelType, 4);
}

void MappingDialogTest::geheleBestand()
{
    QByteArray inhoud;
    for (int i = 0; i < 70; ++i)
        inhoud += "r" + QByteArray::number(i) + ";v\r\n";
    auto b = bron(inhoud);
    frmColumnSelectionWizard venster;
    venster.SetFile(b.get());
    QCOMPARE(venster.wndReport->rowCount(), 51);
    venster.cmdFileAll_Click();
    QCOMPARE(venster.wndReport->rowCount(), 71);
    QCOMPARE(venster.wndReport->item(70, 0)->text(), QStringLiteral("r69"));
}

void MappingDialogTest::kolommenBreedGenoeg_data()
{
    QTest::addColumn<QByteArray>("inhoud");
    QTest::addColumn<int>("bestandType");
    QTest::newRow("artikelen") << QByteArray("Code;Omschrijving;x;y\r\nA;B;C;D\r\n") << 0;
    QTest::newRow("hang- en sluitwerk") << QByteArray("a;b;c\r\n1;2;3\r\n") << 1;
}

void MappingDialogTest::kolommenBreedGenoeg()
{
    // Every field name a header cell offers shows whole in the cell's text field ("Hang en Sluitwerk Combi
    // Code", "ArtikelOmschrijving", "Omschrijving + Offerte Omschrijving").
    QFETCH(QByteArray, inhoud);
    QFETCH(int, bestandType);
    auto b = bron(inhoud, bestandType);
    frmColumnSelectionWizard venster;
    venster.SetFile(b.get());
    venster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&venster));
    QCOMPARE(venster.cbBestandTypes->currentIndex(), bestandType);
    for (int kolom = 0; kolom < venster.wndReport->columnCount(); ++kolom) {
        QComboBox* keuze = venster.KopKeuze(kolom);
        QVERIFY(keuze && keuze->count() > 10);
        QStyleOptionComboBox optie;
        optie.initFrom(keuze);
        optie.rect = keuze->rect();
        optie.frame = true;
        const QRect tekstVeld =
            keuze->style()->subControlRect(QStyle::CC_ComboBox, &optie, QStyle::SC_ComboBoxEditField, keuze);
        for (int i = 0; i < keuze->count(); ++i) {
            const int nodig = keuze->fontMetrics().horizontalAdvance(keuze->itemText(i));
            if (nodig > tekstVeld.width())
                QFAIL(qPrintable(QStringLiteral("kolom %1: \"%2\" needs %3 pixels, the cell shows %4")
                                     .arg(kolom)
                                     .arg(keuze->itemText(i))
                                     .arg(nodig)
                                     .arg(tekstVeld.width())));
        }
    }
}

QTEST_MAIN(MappingDialogTest)
#include "test_mapping_dialog.moc"
