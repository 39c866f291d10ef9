// The views of steps 2, 3 and 4 on the offscreen platform: the lists and
// buttons show their models, the user's clicks, checks, keys and
// double-clicks reach them, and the real dialogs (column mapping, article
// types, report, SQL Server connection) open with the source or target and
// give their answer back. Dialogs are filled in and closed through
// setModaalTonen.

#include "database/doelbestand.h"
#include "fixtures/designdatabases.h"
#include "sources/bronnentestutil.h"
#include "sources/clsbron2.h"
#include "sources/ui/frmcolumnselectionwizard.h"
#include "sources/ui/frmtypeselectionwizard.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/sharedroutines.h"
#include "start/ui/modaaltonen.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "database/ui/frmqplsqlconnectiesettings.h"
#include "wizard/ui/frmreport.h"
#include "wizard/ui/usrimportopties.h"
#include "wizard/ui/usrstapselectbronbestanden3.h"
#include "wizard/ui/usrstapselectdoelbestanden.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QTreeWidget>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;
using fixtures::Kind;

namespace {

bool laatste(const QSignalSpy& spy)
{
    return !spy.isEmpty() && spy.last().at(0).toBool();
}

// A click on a check box or option button lands on its box.
void klik(QAbstractButton* knop)
{
    QTest::mouseClick(knop, Qt::LeftButton, {}, QPoint(knop->height() / 2, knop->height() / 2));
}

QPoint midden(QTreeWidget* lijst, int rij)
{
    return lijst->visualItemRect(lijst->topLevelItem(rij)).center();
}

} // namespace

class StapWeergavenTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_ui = std::make_unique<RecordingUiServices>();
        ProgramState& g = globals();
        g.gBronnen.clear();
        g.gBronnenGeselecteerd.clear();
        g.gDoelBestanden.clear();
        g.gImportOpties.reset();
        g.gBibliotheekModus = false;
        g.gLeverancier = std::make_shared<clsLeverancier>();
        g.gLeverancier->Code = QStringLiteral("LEV1");
        VulVeldCatalogus();
    }
    void cleanup()
    {
        setModaalTonen({});
        globals().gLeverancier.reset();
        globals().gBronnen.clear();
        globals().gBronnenGeselecteerd.clear();
        globals().gDoelBestanden.clear();
        globals().gImportOpties.reset();
        m_ui.reset();
        m_env.reset();
    }

    void bronnenLijst();
    void bronTypeDialoog();
    void doelenLijst();
    void importOpties();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<RecordingUiServices> m_ui;
};

void StapWeergavenTest::bronnenLijst()
{
    const QString pad = m_env->path(QStringLiteral("prijslijst.csv"));
    QVERIFY(schrijfBestand(pad, "Code;Omschrijving;Prijs;Eenheid\r\nA1;Deur;12,50;st\r\nA2;Raam;8,00;st\r\n"));
    usrStapSelectBronBestanden3 weergave(nullptr);
    weergave.resize(900, 500);
    weergave.show();
    QVERIFY(QTest::qWaitForWindowExposed(&weergave));
    QSignalSpy kanVerder(&weergave.stap(), &Stap::KanVerder);
    weergave.stap().Init();
    QCOMPARE(weergave.lvBestanden->topLevelItemCount(), 0);
    QCOMPARE(weergave.lvBestanden->headerItem()->text(0), QStringLiteral("Bestand"));
    QCOMPARE(weergave.lvBestanden->headerItem()->text(1), QStringLiteral("Folder"));
    QCOMPARE(weergave.lvBestanden->headerItem()->text(2), QStringLiteral("Type"));
    QCOMPARE(weergave.cmdSetup->toolTip(), QStringLiteral("Wijzig de kolom indeling voor importeren van het bestand."));
    QCOMPARE(weergave.cmdProperties->toolTip(), QStringLiteral("Toon de eigenschappen van het bestand."));
    // The buttons in a row at the bottom right: Eigenschappen, Import Definitie, Toevoegen.
    QVERIFY(weergave.cmdProperties->x() < weergave.cmdSetup->x());
    QVERIFY(weergave.cmdSetup->x() < weergave.cmdBlader->x());
    QVERIFY(weergave.cmdBlader->geometry().bottom() > weergave.lvBestanden->geometry().bottom());
    // The columns share the list's width less 60 twips: 40, 50 and 10 per cent.
    const int breedte = PixelsNaarTwips(weergave.lvBestanden->width()) - 60;
    QCOMPARE(weergave.lvBestanden->columnWidth(0), TwipsNaarPixels(breedte * 40 / 100));
    QCOMPARE(weergave.lvBestanden->columnWidth(1), TwipsNaarPixels(breedte * 50 / 100));
    QCOMPARE(weergave.lvBestanden->columnWidth(2), TwipsNaarPixels(breedte * 10 / 100));

    // "&Toevoegen": the column mapping opens with the file; its article type chosen, OK takes the file.
    QStringList dialogen;
    setModaalTonen([&](QDialog& dialoog) {
        dialogen << dialoog.objectName();
        if (auto* kolommen = qobject_cast<frmColumnSelectionWizard*>(&dialoog)) {
            QCOMPARE(kolommen->txtFile->text(), pad);
            kolommen->cbArtikelTypes->setCurrentIndex(0);
            kolommen->KopGewijzigd(2, QStringLiteral("Prijs/Eenheid"));
            kolommen->KopGewijzigd(3, QStringLiteral("(Niet importeren)"));
            kolommen->cmdOK_Click();
        } else if (auto* rapport = qobject_cast<frmReport*>(&dialoog)) {
            QCOMPARE(rapport->windowTitle(), QStringLiteral("Eigenschappen prijslijst.csv"));
            const QStringList regels = rapport->rt->toPlainText().split(QLatin1Char('\n'));
            QCOMPARE(regels.value(0), QStringLiteral("Bestand: ") + pad);
            QCOMPARE(regels.value(1), QStringLiteral("Type: CSV"));
            QVERIFY(regels.contains(QStringLiteral("Importdefinitie:")));
            QVERIFY(regels.contains(QStringLiteral("\t1:1")));
            QVERIFY(regels.contains(QStringLiteral("\t3:10")));
            QVERIFY(regels.contains(QStringLiteral("Omschrijving: Artikelen")));
            rapport->cmdOK->click();
        }
    });
    m_ui->fileAnswers << QStringList{pad};
    QTest::mouseClick(weergave.cmdBlader, Qt::LeftButton);
    QCOMPARE(dialogen, QStringList{QStringLiteral("frmColumnSelectionWizard")});
    QCOMPARE(weergave.lvBestanden->topLevelItemCount(), 1);
    QTreeWidgetItem* rij = weergave.lvBestanden->topLevelItem(0);
    QCOMPARE(rij->text(0), QStringLiteral("prijslijst.csv"));
    QCOMPARE(rij->text(1), pad);
    QCOMPARE(rij->text(2), QStringLiteral("CSV"));
    QCOMPARE(rij->checkState(0), Qt::Checked);
    QVERIFY(rij->isSelected());
    QVERIFY(weergave.cmdSetup->isEnabled());
    QVERIFY(laatste(kanVerder));
    QVERIFY(m_ui->messages.isEmpty());

    QTest::mouseClick(weergave.cmdProperties, Qt::LeftButton);
    QCOMPARE(dialogen.last(), QStringLiteral("frmReport"));

    // Unchecking the row disables Next; a column the user widens is kept.
    rij->setCheckState(0, Qt::Unchecked);
    QVERIFY(!laatste(kanVerder));
    rij->setCheckState(0, Qt::Checked);
    QVERIFY(laatste(kanVerder));
    weergave.lvBestanden->header()->resizeSection(1, 321);
    QCOMPARE(weergave.stap().kolomBreedtes().at(1), PixelsNaarTwips(321));

    // Delete in the list removes the selected row.
    weergave.lvBestanden->setFocus();
    QTest::keyClick(weergave.lvBestanden, Qt::Key_Delete);
    QCOMPARE(weergave.lvBestanden->topLevelItemCount(), 0);
    QVERIFY(!laatste(kanVerder));
}

void StapWeergavenTest::bronTypeDialoog()
{
    const QString pt = m_env->path(QStringLiteral("pt.sqlite"));
    QVERIFY(fixtures::makeDatabase(pt, Kind::ProductTable, {3, 40}));
    {
        fixtures::FixtureDb db(pt);
        db.insert(QStringLiteral("Article"), {{"Code", "A1"}, {"Description", "x"}, {"fkType", 2}});
        db.insert(QStringLiteral("Article"), {{"Code", "A2"}, {"Description", "x"}, {"fkType", 3}});
    }
    usrStapSelectBronBestanden3 weergave(nullptr);
    weergave.stap().Init();
    int keer = 0;
    bool accepteren = false;
    setModaalTonen([&](QDialog& dialoog) {
        auto* typen = qobject_cast<frmArticleTypeSelectionWizard*>(&dialoog);
        QVERIFY(typen);
        ++keer;
        QCOMPARE(typen->windowTitle(), QStringLiteral("Artikeltype Selectie : pt.sqlite"));
        QCOMPARE(typen->lbTypes->count(), 2);
        if (accepteren) {
            typen->lbTypes->item(1)->setCheckState(Qt::Checked);
            typen->cmdOK->click();
        } else {
            typen->cmdAnnuleren->click();
        }
    });
    // Cancelled: the source is not taken.
    m_ui->fileAnswers << QStringList{pt};
    QTest::mouseClick(weergave.cmdBlader, Qt::LeftButton);
    QCOMPARE(keer, 1);
    QCOMPARE(weergave.lvBestanden->topLevelItemCount(), 0);
    // Accepted with the second type.
    accepteren = true;
    m_ui->fileAnswers << QStringList{pt};
    QTest::mouseClick(weergave.cmdBlader, Qt::LeftButton);
    QCOMPARE(keer, 2);
    QCOMPARE(weergave.lvBestanden->topLevelItemCount(), 1);
    QCOMPARE(weergave.lvBestanden->topLevelItem(0)->text(2), QStringLiteral("Bvq"));
    QCOMPARE(globals().gBronnen.last()->TypeSelectie, QStringLiteral("3"));
    // "&Import Definitie" opens the dialog again.
    QTest::mouseClick(weergave.cmdSetup, Qt::LeftButton);
    QCOMPARE(keer, 3);
}

void StapWeergavenTest::doelenLijst()
{
    const QString opt = m_env->path(QStringLiteral("opties.opt"));
    QVERIFY(fixtures::makeDatabase(opt, Kind::Options, {3, 40}));
    auto artikelen = std::make_shared<clsBron2>();
    artikelen->Soort = BronSoort::Artikelen;
    auto hangSluit = std::make_shared<clsBron2>();
    hangSluit->Soort = BronSoort::TabellenCombies;
    globals().gBronnenGeselecteerd = {artikelen, hangSluit};
    m_ui->messageAnswers << MsgBox::No;

    // Entered before it is shown, as the main window enters a step: the columns take their shares once
    // the list is on screen.
    usrStapSelectDoelBestanden weergave(nullptr);
    QSignalSpy kanVerder(&weergave.stap(), &Stap::KanVerder);
    weergave.stap().Init();
    weergave.resize(900, 500);
    weergave.show();
    QVERIFY(QTest::qWaitForWindowExposed(&weergave));
    QCOMPARE(weergave.lv->topLevelItemCount(), 2);
    QCOMPARE(weergave.lv->topLevelItem(0)->text(0), QStringLiteral("Productentabel"));
    QCOMPARE(weergave.lv->topLevelItem(1)->text(0), QStringLiteral("Onderhoudsbestand"));
    QVERIFY(weergave.lv->topLevelItem(0)->isSelected());
    QVERIFY(weergave.cmdVerbind->isEnabled());
    QVERIFY(weergave.cmdBlader->isEnabled());
    QVERIFY(weergave.cmdVerbind->x() < weergave.cmdBlader->x());
    QVERIFY(!laatste(kanVerder));
    // The panes: the targets above (35 per cent), the history beside the run's text (25 per cent).
    const QList<int> boven = weergave.Splitter1->sizes();
    QVERIFY(qAbs(boven.at(0) * 100 / (boven.at(0) + boven.at(1)) - 35) <= 1);
    const QList<int> naast = weergave.Splitter2->sizes();
    QVERIFY(qAbs(naast.at(0) * 100 / (naast.at(0) + naast.at(1)) - 25) <= 1);
    QCOMPARE(weergave.lvHistory->columnWidth(0), weergave.lvHistory->width() - TwipsNaarPixels(60));
    const int breedte = PixelsNaarTwips(weergave.lv->width()) - 60;
    QCOMPARE(weergave.lv->columnWidth(0), TwipsNaarPixels(breedte * 25 / 100));

    // The options row cannot go to SQL Server; a double-click opens the file dialog.
    QTest::mouseClick(weergave.lv->viewport(), Qt::LeftButton, {}, midden(weergave.lv, 1));
    QVERIFY(!weergave.cmdVerbind->isEnabled());
    m_ui->fileAnswers << QStringList{opt};
    QTest::mouseDClick(weergave.lv->viewport(), Qt::LeftButton, {}, midden(weergave.lv, 1));
    QCOMPARE(m_ui->fileDialogs.size(), 1);
    QCOMPARE(weergave.lv->topLevelItem(1)->text(1), opt);

    // "&Verbinden" on the product table: the SQL Server dialog with the target's settings.
    const QString beschrijving = QStringList{"srv", "Velmora", "eSQLSecurity", "sa", "geheim"}.join(QChar(8));
    int keer = 0;
    setModaalTonen([&](QDialog& dialoog) {
        auto* sql = qobject_cast<frmQplSQLConnectieSettings*>(&dialoog);
        QVERIFY(sql);
        ++keer;
        if (keer == 2)
            QCOMPARE(sql->SQLAuth(), beschrijving); // shown with what the target has
        sql->setSQLAuth(beschrijving);
        sql->OKGekozen = true;
        sql->hide();
    });
    QTest::mouseClick(weergave.lv->viewport(), Qt::LeftButton, {}, midden(weergave.lv, 0));
    QVERIFY(weergave.cmdVerbind->isEnabled());
    QTest::mouseClick(weergave.cmdVerbind, Qt::LeftButton);
    QCOMPARE(keer, 1);
    QCOMPARE(weergave.lv->topLevelItem(0)->text(1), QStringLiteral("* server=srv  database=Velmora  gebruiker=sa"));
    QVERIFY(laatste(kanVerder));
    QTest::mouseDClick(weergave.lv->viewport(), Qt::LeftButton, {}, midden(weergave.lv, 0));
    QCOMPARE(keer, 2);
    QCOMPARE(globals().gDoelBestanden.at(0)->Path(), QLatin1Char('*') + beschrijving);
}

void StapWeergavenTest::importOpties()
{
    auto artikelen = std::make_shared<clsBron2>();
    artikelen->Soort = BronSoort::Artikelen;
    auto wkv = std::make_shared<clsBron2>();
    wkv->Soort = BronSoort::WKV;
    globals().gBronnenGeselecteerd = {artikelen, wkv};

    usrImportOpties weergave(nullptr);
    weergave.show();
    QVERIFY(QTest::qWaitForWindowExposed(&weergave));
    QSignalSpy kanVerder(&weergave.stap(), &Stap::KanVerder);
    weergave.stap().Init();
    QCheckBox* artikelenVak = weergave.vak(StapImportOpties::Artikelen);
    QCheckBox* shapes = weergave.vak(StapImportOpties::Shapes);
    QCOMPARE(artikelenVak->text(), QStringLiteral("Artikelen importeren"));
    QVERIFY(artikelenVak->isEnabled() && artikelenVak->isChecked());
    QVERIFY(shapes->isEnabled() && shapes->isChecked());
    QVERIFY(!weergave.vak(StapImportOpties::LibPane)->isEnabled());
    QVERIFY(weergave.optie(StapImportOpties::ArtBeide)->isChecked());
    QCOMPARE(static_cast<QWidget*>(weergave.kader(StapImportOpties::KaderWerkvoorbereiding)), shapes->parentWidget());

    klik(weergave.optie(StapImportOpties::AlleenPrijzen));
    QVERIFY(weergave.optie(StapImportOpties::AlleenPrijzen)->isChecked());
    QVERIFY(!weergave.optie(StapImportOpties::ArtBeide)->isChecked());
    // A click on the button that is on leaves it on.
    klik(weergave.optie(StapImportOpties::AlleenPrijzen));
    QVERIFY(weergave.optie(StapImportOpties::AlleenPrijzen)->isChecked());

    klik(artikelenVak);
    QVERIFY(!weergave.stap().vak(StapImportOpties::Artikelen).gekozen);
    QVERIFY(!weergave.optie(StapImportOpties::AlleenPrijzen)->isEnabled());
    klik(shapes);
    QVERIFY(!laatste(kanVerder));
    klik(shapes);
    QVERIFY(laatste(kanVerder));
    weergave.stap().Finish();
    QVERIFY(!globals().gImportOpties->ImporterenArtikelen);
    QVERIFY(globals().gImportOpties->ImporterenShapes);
    QVERIFY(globals().gImportOpties->DoorvoerenPrijsWijzigingen);
}

QTEST_MAIN(StapWeergavenTest)
#include "test_stapweergaven.moc"
