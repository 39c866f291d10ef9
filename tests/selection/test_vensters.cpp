// The selection windows on the offscreen platform: the checkable list (header
// clicks, buttons, popup, clicks and double clicks, column widths), the group
// selector, the information panel (links, Open, Ctrl+C, the preview form),
// the generic step's window with its splitter, and the generic step in the
// main window over a fixture library.

#include "database/backendopeners.h"
#include "fixtures/designdatabases.h"
#include "selection/clsprofile.h"
#include "selection/groepenlijst.h"
#include "selection/informatiepaneel.h"
#include "selection/selectielijst.h"
#include "selection/ui/usrinformatielinks.h"
#include "selection/ui/usrlistview.h"
#include "selection/ui/usrlistviewcombo.h"
#include "selection/ui/usrprofilepreview.h"
#include "selection/ui/usrstapselectalgemeen.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/registryfuncties.h"
#include "start/sharedroutines.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "sources/ui/frmtypeselectionwizard.h"
#include "start/ui/modaaltonen.h"
#include "wizard/kiesleverancier.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"
#include "wizard/ui/usrstapselectbronbestanden3.h"
#include "wizard/ui/usrstapselectdoelbestanden.h"

#include <QAction>
#include <QListWidget>
#include <QScopeGuard>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

using namespace supplink;

namespace {

std::shared_ptr<clsItem> item(const QString& code, const QString& omschrijving, bool required = false)
{
    auto result = std::make_shared<clsItem>();
    result->Code = code;
    result->Description = omschrijving;
    result->Required = required;
    return result;
}

ItemCollection voorbeeld()
{
    return {item(QStringLiteral("B2"), QStringLiteral("Anker")), item(QStringLiteral("A1"), QStringLiteral("Zaag"), true),
            item(QStringLiteral("C3"), QStringLiteral("Moer"))};
}

// The list of a step after its fill: the example under "(Alle)".
void Vul(GroepenLijst& model, const QString& naam)
{
    model.Init(naam, true);
    model.AddGroups();
    model.ToevoegenOnderdelen(voorbeeld(), Groep::Alle);
}

QStringList rijen(const QTreeView* lv)
{
    QStringList codes;
    for (int rij = 0; rij < lv->model()->rowCount(); ++rij)
        codes << lv->model()->index(rij, 0).data().toString();
    return codes;
}

} // namespace

class TestVensters : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void headerClickSortsAndShowsTheIndicator();
    void buttonsAndPopupChangeEveryRow();
    void clickAndDoubleClick();
    void columnWidthsSurviveANewFill();
    void codeColumnFitsTheLongestCode_data();
    void codeColumnFitsTheLongestCode();
    void codeColumnGrowsWithAddedRowsUntilTheUserSizesIt();
    void groupSelector();
    void informationPanelLinks();
    void informationPanelPreview();
    void genericStepWindowAndSplitter();
    void genericStepInTheWizard();

private:
    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
};

void TestVensters::init()
{
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
    globals() = ProgramState();
}

void TestVensters::cleanup()
{
    globals() = ProgramState();
    resetBackendOpeners();
    m_ui.reset();
    m_env.reset();
}

void TestVensters::headerClickSortsAndShowsTheIndicator()
{
    GroepenLijst model;
    Vul(model, QStringLiteral("Artikelen"));
    usrListView venster(model.lijst());
    venster.resize(800, 400);
    venster.show();
    QCOMPARE(rijen(venster.lv), (QStringList{QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")}));
    QHeaderView* kop = venster.lv->header();
    QCOMPARE(kop->sortIndicatorSection(), 0);
    QCOMPARE(kop->sortIndicatorOrder(), Qt::AscendingOrder);

    const QPoint omschrijving(kop->sectionViewportPosition(1) + 10, kop->height() / 2);
    QTest::mouseClick(kop->viewport(), Qt::LeftButton, {}, omschrijving);
    QCOMPARE(rijen(venster.lv), (QStringList{QStringLiteral("A1"), QStringLiteral("C3"), QStringLiteral("B2")}));
    QCOMPARE(kop->sortIndicatorSection(), 1);
    QCOMPARE(kop->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Sort"), QStringLiteral("ArtikelenSort"), {}), QStringLiteral("1"));
    QTest::mouseClick(kop->viewport(), Qt::LeftButton, {}, omschrijving);
    QCOMPARE(rijen(venster.lv), (QStringList{QStringLiteral("B2"), QStringLiteral("C3"), QStringLiteral("A1")}));
    QCOMPARE(kop->sortIndicatorOrder(), Qt::AscendingOrder);
}

void TestVensters::buttonsAndPopupChangeEveryRow()
{
    GroepenLijst model;
    Vul(model, QStringLiteral("Artikelen"));
    usrListView venster(model.lijst());
    venster.resize(800, 400);
    venster.show();
    QCOMPARE(venster.cmdSelAlles->text(), QStringLiteral("&Alles Selecteren"));
    QSignalSpy klaar(&model.lijst(), &SelectieLijst::BatchUpdateDone);
    QSignalSpy vinkjes(&model.lijst(), &SelectieLijst::ItemCheck);

    QTest::mouseClick(venster.cmdSelAlles, Qt::LeftButton);
    QCOMPARE(klaar.size(), 1);
    QCOMPARE(vinkjes.size(), 3);
    QCOMPARE(model.lijst().AantalAangevinkt(), 3);
    QCOMPARE(venster.lv->model()->index(2, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(venster.lv->currentIndex().row(), 2);
    QVERIFY(!QGuiApplication::overrideCursor());

    QTest::mouseClick(venster.cmdSelNiets, Qt::LeftButton);
    QCOMPARE(klaar.size(), 2);
    // The required row stays ticked.
    QCOMPARE(model.lijst().AantalAangevinkt(), 1);
    QCOMPARE(venster.lv->model()->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

    // The right mouse button, released over the list, opens the popup.
    QTest::mouseClick(venster.lv->viewport(), Qt::RightButton, {}, QPoint(20, 10));
    QTRY_VERIFY(venster.popupSel->isVisible());
    QCOMPARE(venster.popupSel->title(), QStringLiteral("Selectie"));
    venster.popupSelOmdraaien->trigger();
    venster.popupSel->hide();
    QCOMPARE(klaar.size(), 3);
    QCOMPARE(model.lijst().AantalAangevinkt(), 3);
}

void TestVensters::clickAndDoubleClick()
{
    GroepenLijst model;
    Vul(model, QStringLiteral("Artikelen"));
    usrListView venster(model.lijst());
    venster.resize(800, 400);
    venster.show();
    QSignalSpy klik(&model.lijst(), &SelectieLijst::ItemClick);
    QSignalSpy vinkje(&model.lijst(), &SelectieLijst::ItemCheck);
    const QRect cel = venster.lv->visualRect(model.lijst().index(1, 1));
    QTest::mouseClick(venster.lv->viewport(), Qt::LeftButton, {}, cel.center());
    QVERIFY(!klik.isEmpty());
    QCOMPARE(klik.last().at(0).toInt(), 1);
    QCOMPARE(model.lijst().HuidigeRij(), 1);
    QCOMPARE(vinkje.size(), 0);

    QTest::mouseDClick(venster.lv->viewport(), Qt::LeftButton, {}, cel.center());
    QCOMPARE(vinkje.size(), 1);
    QVERIFY(model.lijst().Rij(1).Aangevinkt);
    QCOMPARE(venster.lv->model()->index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color().rgba(),
             LijstKleur::Geselecteerd);

    // Moving with the keyboard shows the row as a click does.
    venster.lv->setFocus();
    klik.clear();
    QTest::keyClick(venster.lv, Qt::Key_Down);
    QCOMPARE(klik.size(), 1);
    QCOMPARE(klik.at(0).at(0).toInt(), 2);
}

void TestVensters::columnWidthsSurviveANewFill()
{
    CurrentUser_BrengWeg(QStringLiteral("Columns"), QStringLiteral("Neuten2width"), QStringLiteral("4500"));
    GroepenLijst model;
    Vul(model, QStringLiteral("Neuten"));
    usrListView venster(model.lijst());
    venster.show();
    QHeaderView* kop = venster.lv->header();
    QCOMPARE(kop->sectionSize(0), TwipsNaarPixels(1400));
    QCOMPARE(kop->sectionSize(1), TwipsNaarPixels(4500));
    kop->resizeSection(2, 50);
    QCOMPARE(model.lijst().KolomBreedte(2), PixelsNaarTwips(50));
    model.ToevoegenOnderdelen(voorbeeld(), Groep::Verplicht);
    QCOMPARE(kop->sectionSize(1), TwipsNaarPixels(4500));
    QCOMPARE(kop->sectionSize(2), 50);
    QCOMPARE(model.lijst().KolomBreedte(1), 4500);
}

void TestVensters::codeColumnFitsTheLongestCode_data()
{
    QTest::addColumn<QString>("opgeslagen"); // the stored width of the code column (twips), empty: none
    QTest::addColumn<QString>("lang");       // a code added to the example, empty: none
    QTest::addColumn<int>("verwacht");       // twips; 0: as wide as the long code needs
    const QString lang = QStringLiteral("VB-VUR-00012-KOZIJNHOUT-67X114");
    QTest::newRow("no stored width, long code") << QString() << lang << 0;
    QTest::newRow("no stored width, short codes: the default") << QString() << QString() << 1400;
    QTest::newRow("stored width kept") << QStringLiteral("1000") << lang << 1000;
    QTest::newRow("stored width that is no number: as none") << QStringLiteral("breed") << lang << 0;
}

// Without a width of the user's the code column shows the longest code whole, and SaveSettings does not
// store that fitted width (the next list, with longer codes, is fitted anew); a stored width stays as it is.
void TestVensters::codeColumnFitsTheLongestCode()
{
    QFETCH(QString, opgeslagen);
    QFETCH(QString, lang);
    QFETCH(int, verwacht);
    if (!opgeslagen.isEmpty())
        CurrentUser_BrengWeg(QStringLiteral("Columns"), QStringLiteral("Vaksponningen1width"), opgeslagen);
    GroepenLijst model;
    model.Init(QStringLiteral("Vaksponningen"), true);
    model.AddGroups();
    usrListView venster(model.lijst());
    venster.resize(800, 400);
    venster.show();
    ItemCollection items = voorbeeld();
    if (!lang.isEmpty())
        items.append(item(lang, QStringLiteral("Kozijnhout")));
    model.ToevoegenOnderdelen(items, Groep::Alle);
    QHeaderView* kop = venster.lv->header();
    if (verwacht > 0) {
        QCOMPARE(kop->sectionSize(0), TwipsNaarPixels(verwacht));
    } else {
        int rij = 0;
        while (model.lijst().Rij(rij).Code != lang)
            ++rij;
        const QModelIndex index = model.lijst().index(rij, 0);
        QVERIFY(kop->sectionSize(0) > TwipsNaarPixels(1400));
        QVERIFY(kop->sectionSize(0) >= venster.lv->sizeHintForIndex(index).width());
        QVERIFY(kop->sectionSize(0) >= venster.lv->fontMetrics().horizontalAdvance(lang));
        // The text is not cut: the cell shows it whole.
        QVERIFY(venster.lv->visualRect(index).width() >= venster.lv->sizeHintForIndex(index).width());
    }
    model.lijst().SaveSettings();
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("Vaksponningen1width"), {}),
             opgeslagen);
}

// Rows added one by one widen the column too; once the user sizes it, the width is the user's.
void TestVensters::codeColumnGrowsWithAddedRowsUntilTheUserSizesIt()
{
    GroepenLijst model;
    Vul(model, QStringLiteral("Elementsponningen"));
    usrListView venster(model.lijst());
    venster.show();
    QHeaderView* kop = venster.lv->header();
    QCOMPARE(kop->sectionSize(0), TwipsNaarPixels(1400));
    const QString lang = QStringLiteral("VB-ES-ELEMENTSPONNING-0001-BREED");
    model.lijst().AddItem(*item(lang, QStringLiteral("Breed")), 4);
    QVERIFY(kop->sectionSize(0) >= venster.lv->fontMetrics().horizontalAdvance(lang));

    kop->resizeSection(0, 60);
    QVERIFY(model.lijst().KolomBreedteGekozen(0));
    model.lijst().AddItem(*item(lang + QStringLiteral("-NOG-LANGER"), QStringLiteral("Breder")), 5);
    QCOMPARE(kop->sectionSize(0), 60);
    model.ToevoegenOnderdelen(voorbeeld(), Groep::Alle);
    QCOMPARE(kop->sectionSize(0), 60);
    QCOMPARE(model.lijst().KolomBreedte(0), PixelsNaarTwips(60));
}

void TestVensters::groupSelector()
{
    GroepenLijst model;
    Vul(model, QStringLiteral("Artikelen"));
    model.AddGroup(9, {}, QStringLiteral("Beslag"));
    usrListViewCombo venster(model);
    venster.resize(800, 400);
    venster.show();
    QCOMPARE(venster.cbGroups->count(), 8);
    QCOMPARE(venster.cbGroups->currentText(), QStringLiteral("(Alle)"));
    QCOMPARE(venster.cbGroups->itemData(7).toInt(), 9);
    QCOMPARE(venster.txtInfo->toPlainText(), QStringLiteral("Alle (3) - "));

    QSignalSpy groep(&model, &GroepenLijst::GroupChange);
    connect(&model, &GroepenLijst::GroupChange, this,
            [&](qint32 nummer) { model.ToevoegenOnderdelen(voorbeeld(), nummer); });
    venster.cbGroups->setCurrentIndex(1);
    emit venster.cbGroups->activated(1);
    QCOMPARE(groep.size(), 1);
    QCOMPARE(groep.at(0).at(0).value<qint32>(), Groep::Verplicht);
    QCOMPARE(venster.txtInfo->toPlainText(), QStringLiteral("Verplicht (1) - "));
    QCOMPARE(rijen(venster.lijst->lv), QStringList{QStringLiteral("A1")});
}

void TestVensters::informationPanelLinks()
{
    InformatiePaneel model;
    QList<QUrl> geopend;
    model.setOpener([&](const QUrl& adres) {
        geopend << adres;
        return true;
    });
    usrInformatieLinks venster(model);
    venster.resize(400, 500);
    venster.show();
    QVERIFY(venster.fraLinks->isVisible());
    QVERIFY(!venster.fraPreview->isVisible());
    model.SetOmschrijvingTekst(QStringLiteral("Dorpel met kwart"));
    model.SetLink(QStringLiteral("Handleiding"), QStringLiteral("https://voorbeeld.nl/h.pdf"));
    model.SetLink(QStringLiteral("Site"), QStringLiteral("https://voorbeeld.nl"));
    QCOMPARE(venster.rtOms->toPlainText(), QStringLiteral("Dorpel met kwart"));
    QCOMPARE(venster.lvLinks->topLevelItemCount(), 2);
    QTreeWidgetItem* eerste = venster.lvLinks->topLevelItem(0);
    QVERIFY(eerste->font(0).bold());
    QCOMPARE(eerste->foreground(0).color(), QColor(Qt::blue));
    QCOMPARE(eerste->text(1), QStringLiteral("https://voorbeeld.nl/h.pdf"));
    QCOMPARE(venster.lvLinks->toolTip(), QStringLiteral("Dubbelklik om de documentatie te openen."));
    QVERIFY(!venster.cmdOpen->isEnabled());

    const QRect tweede = venster.lvLinks->visualItemRect(venster.lvLinks->topLevelItem(1));
    QTest::mouseClick(venster.lvLinks->viewport(), Qt::LeftButton, {}, tweede.center());
    QVERIFY(venster.cmdOpen->isEnabled());
    QTest::mouseClick(venster.cmdOpen, Qt::LeftButton);
    QCOMPARE(geopend, QList<QUrl>{QUrl(QStringLiteral("https://voorbeeld.nl"))});

    // Ctrl+C puts the chosen row's target on the clipboard.
    QGuiApplication::clipboard()->setText(QStringLiteral("iets anders"));
    QTest::keyClick(venster.lvLinks, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://voorbeeld.nl"));

    const QRect eersteRect = venster.lvLinks->visualItemRect(eerste);
    QTest::mouseClick(venster.lvLinks->viewport(), Qt::LeftButton, {}, eersteRect.center());
    QTest::mouseDClick(venster.lvLinks->viewport(), Qt::LeftButton, {}, eersteRect.center());
    QCOMPARE(geopend.size(), 2);
    QCOMPARE(geopend.last(), QUrl(QStringLiteral("https://voorbeeld.nl/h.pdf")));

    model.ClearLinks();
    QCOMPARE(venster.lvLinks->topLevelItemCount(), 0);
    QVERIFY(!venster.cmdOpen->isEnabled());
}

void TestVensters::informationPanelPreview()
{
    InformatiePaneel model;
    usrInformatieLinks venster(model);
    venster.resize(400, 500);
    venster.show();
    model.SetPreviewIsSponningfiguur();
    QVERIFY(venster.fraPreview->isVisible());
    QVERIFY(!venster.fraLinks->isVisible());
    QCOMPARE(venster.Splitter1->indexOf(venster.fraPreview), 1);
    model.SetPreviewIsSponningfiguur(); // on every entry of the step: nothing changes
    QCOMPARE(venster.Splitter1->count(), 2);

    auto profiel = std::make_shared<clsProfile>();
    profiel->ProfileName = QStringLiteral("SF1");
    model.SetProfilePreview(profiel);
    QCOMPARE(venster.Preview->Profile(), std::shared_ptr<const clsProfile>(profiel));
    QVERIFY(venster.Preview->DrawLabels());
}

void TestVensters::genericStepWindowAndSplitter()
{
    CurrentUser_BrengWeg(QStringLiteral("Splitter"), QStringLiteral("Laagrelief"), QStringLiteral("7500"));
    usrStapSelectAlgemeen venster;
    venster.resize(900, 500);
    venster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&venster));
    StapSelectAlgemeen& stap = venster.stap();
    stap.Init(globals().gColLaagrelief, globals().gColLaagreliefGeselecteerd, 8,
              QStringLiteral("SELECT DISTINCT ID, Code, Description FROM TreshHoldCombi"), BronSoort::Bibliotheek,
              QStringLiteral("Laagrelief"));
    QCOMPARE(venster.Splitter1->sizes().value(0), TwipsNaarPixels(7500));
    QCOMPARE(stap.sjabloon().SplitterPositie(), 7500);
    QCOMPARE(venster.lijst->cbGroups->count(), 7);
    QCOMPARE(venster.lijst->txtInfo->toPlainText(), QStringLiteral("Alle (0) - "));

    // Another use without a stored value keeps the splitter where it is.
    stap.Finish();
    stap.Clear();
    stap.Init(globals().gColNeuten, globals().gColNeutenGeselecteerd, 9,
              QStringLiteral("SELECT DISTINCT ID, Code, Description FROM TreshHoldCombiExt"), BronSoort::Bibliotheek,
              QStringLiteral("Neuten"));
    QCOMPARE(venster.Splitter1->sizes().value(0), TwipsNaarPixels(7500));
    stap.Finish();
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Splitter"), QStringLiteral("Neuten"), {}), QStringLiteral("7500"));
}

void TestVensters::genericStepInTheWizard()
{
    const QString bibliotheek = m_env->path(QStringLiteral("bibliotheek.sqlite"));
    QVERIFY(fixtures::makeDatabase(bibliotheek, fixtures::Kind::Library, {3, 40}));
    {
        fixtures::FixtureDb db(bibliotheek);
        db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "LR-68"}, {"Description", "Laagreliëf 68 mm"}});
        db.insert(QStringLiteral("TreshHoldCombi"), {{"Code", "LR-80"}, {"Description", "Laagreliëf 80 mm"}});
        db.insert(QStringLiteral("PaneGrooveTable"), {{"Code", "VS-1"}, {"Description", "Vaksponning"}});
    }
    const QString doel = m_env->path(QStringLiteral("doel.sqlite"));
    QVERIFY(fixtures::makeDatabase(doel, fixtures::Kind::Library, {3, 40}));

    // The library's type dialog: the kinds that hold parts are taken.
    setModaalTonen([](QDialog& dialoog) {
        auto* typen = qobject_cast<frmTypeSelectionWizard*>(&dialoog);
        QVERIFY(typen);
        for (int i = 0; i < typen->lbTypes->count(); ++i) {
            QListWidgetItem* soort = typen->lbTypes->item(i);
            soort->setCheckState(soort->text().contains(QStringLiteral("(0 onderdelen)")) ? Qt::Unchecked
                                                                                          : Qt::Checked);
        }
        typen->cmdOK->click();
    });
    const auto terug = qScopeGuard([] { setModaalTonen({}); });
    test::LeveranciersMap(*m_env);
    frmImportBvqNaarBvq window;
    window.resize(1000, 760);
    window.show();
    QVERIFY(test::KiesLeverancier(window));
    // Through the program's own steps: the library as source (step 2), another as target (step 3), the
    // options as the step proposes them for a library source (step 4).
    while (window.besturing().HuidigeStap() < 5) {
        const int nu = window.besturing().HuidigeStap();
        if (nu == 2 && !window.cmdVolgende->isEnabled()) {
            m_ui->fileAnswers << QStringList{bibliotheek};
            QTest::mouseClick(qobject_cast<usrStapSelectBronBestanden3*>(window.StapWeergave(2))->cmdBlader,
                              Qt::LeftButton);
        } else if (nu == 3 && !window.cmdVolgende->isEnabled()) {
            m_ui->fileAnswers << QStringList{doel};
            QTest::mouseClick(qobject_cast<usrStapSelectDoelBestanden*>(window.StapWeergave(3))->cmdBlader,
                              Qt::LeftButton);
        }
        QVERIFY2(window.cmdVolgende->isEnabled(), qPrintable(QStringLiteral("stap %1").arg(nu)));
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    }
    QCOMPARE(window.besturing().HuidigeStap(), 5);
    auto* view = qobject_cast<usrStapSelectAlgemeen*>(window.stepArea->currentWidget());
    QVERIFY(view);
    QCOMPARE(window.StapWeergave(12), view);
    QCOMPARE(rijen(view->lijst->lijst->lv), (QStringList{QStringLiteral("LR-68"), QStringLiteral("LR-80")}));
    QVERIFY(!window.cmdVolgende->isEnabled());
    view->stap().sjabloon().lijst().lijst().ZetVinkje(1, true);
    QVERIFY(window.cmdVolgende->isEnabled());

    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    QCOMPARE(window.besturing().HuidigeStap(), 12);
    QCOMPARE(window.lbLeverancer->text(), QStringLiteral("Selecteer Vak Sponningen"));
    QCOMPARE(rijen(view->lijst->lijst->lv), QStringList{QStringLiteral("VS-1")});
    QCOMPARE(globals().gColLaagreliefGeselecteerd.size(), 1);
    QCOMPARE(globals().gColLaagreliefGeselecteerd.at(0)->Code, QStringLiteral("LR-80"));

    // Back to step 5: the kept list with its tick, nothing read again.
    QTest::mouseClick(window.cmdVorige, Qt::LeftButton);
    QCOMPARE(window.besturing().HuidigeStap(), 5);
    QVERIFY(view->stap().sjabloon().lijst().lijst().Rij(1).Aangevinkt);
    QVERIFY(window.cmdVolgende->isEnabled());
    QVERIFY(m_ui->errors.isEmpty());
}

QTEST_MAIN(TestVensters)
#include "test_vensters.moc"
