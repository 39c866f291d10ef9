// The windows of the dedicated selection steps in the main window, on the
// offscreen platform: the article-group and article steps over a product
// table (the groups reach the article step's group selector, required rows
// silver, Next follows the ticks, the status line is empty once the step is
// filled), the groove-figure step with its preview (a click draws the
// figure), and the hardware steps in their places.

#include "fixtures/jetstandin.h"
#include "fixtures/profilefixtures.h"
#include "selectiestaptest.h"
#include "selection/clsprofile.h"
#include "selection/ui/usreigenselectiestap.h"
#include "selection/ui/usrinformatielinks.h"
#include "selection/ui/usrlistview.h"
#include "selection/ui/usrlistviewcombo.h"
#include "selection/ui/usrprofilepreview.h"
#include "start/registryfuncties.h"
#include "start/sharedroutines.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"
#include "wizard/vasteinvoer.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTreeView>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// The main window walked forward to a step (the fixed input of steps 1 to 4 lets it go on).
bool naarStap(frmImportBvqNaarBvq& window, int stap)
{
    while (window.besturing().HuidigeStap() < stap && window.cmdVolgende->isEnabled())
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    return window.besturing().HuidigeStap() == stap;
}

// An article source (a product table) with the groups "Beslag" and "Profielen" and an article in each, and
// the extra articles (code, description) in "Beslag"; chosen in step 2, articles to be imported.
bool artikelBron(StapOmgeving& omgeving, fixtures::JetStandIns& jet,
                 const QList<std::pair<QString, QString>>& extra = {})
{
    const QString ptDb = omgeving.env.path(QStringLiteral("pt.db"));
    if (!fixtures::makeJetDatabase(ptDb, fixtures::Kind::ProductTable, {3, 40}))
        return false;
    {
        fixtures::FixtureDb db(ptDb);
        const qint64 g1 = db.insert("ArtGroup", {{"Code", "BES"}, {"Description", "Beslag"}});
        const qint64 g2 = db.insert("ArtGroup", {{"Code", "PRO"}, {"Description", "Profielen"}});
        db.insert("Article",
                  {{"Code", "SCH-1"}, {"Description", "Scharnier"}, {"fkType", 1}, {"fkGroup", g1}});
        db.insert("Article",
                  {{"Code", "PR-L"}, {"Description", "Profiel links"}, {"fkType", 1}, {"fkGroup", g2}});
        for (const auto& [code, omschrijving] : extra)
            db.insert("Article",
                      {{"Code", code}, {"Description", omschrijving}, {"fkType", 1}, {"fkGroup", g1}});
    }
    auto pt = database(QStringLiteral("pt.mdb"), BronSoort::Artikelen, Opslag::Jet, 40, jet.add(ptDb));
    pt->DBType = QStringLiteral("PT");
    pt->TypeSelectie = QStringLiteral("1");
    globals().gBronnenGeselecteerd = {pt};
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenArtikelen = true;
    globals().gImportOpties = opties;
    return true;
}

} // namespace

class TestStapVensters : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void articleStepsInTheWizard();
    void articleDescriptionsTakeTheRoomLeft_data();
    void articleDescriptionsTakeTheRoomLeft();
    void grooveFigureStepWithPreview();
    void hardwareStepsInTheirPlaces();

private:
    std::unique_ptr<StapOmgeving> m_omgeving;
};

void TestStapVensters::init()
{
    m_omgeving = std::make_unique<StapOmgeving>();
}

void TestStapVensters::cleanup()
{
    m_omgeving.reset();
}

void TestStapVensters::articleStepsInTheWizard()
{
    fixtures::JetStandIns jet;
    QVERIFY(artikelBron(*m_omgeving, jet));

    frmImportBvqNaarBvq window(nullptr, test::RegisterMetVasteInvoer());
    window.resize(1000, 760);
    window.show();
    QVERIFY(naarStap(window, 10));
    auto* groepen = dynamic_cast<usrStapSelectArtikelGroepen*>(window.stepArea->currentWidget());
    QVERIFY(groepen);
    QCOMPARE(groepen->lijst->lijst->lv->model()->rowCount(), 2);
    QCOMPARE(rijCodes(groepen->stap().sjabloon()), (QStringList{"BES", "PRO"}));
    QVERIFY(window.cmdVolgende->isEnabled());
    groepen->stap().sjabloon().lijst().lijst().ZetVinkje(0, true);

    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    QCOMPARE(window.besturing().HuidigeStap(), 11);
    QCOMPARE(window.lbLeverancer->text(), QStringLiteral("Selecteer Artikelen"));
    auto* artikelen = dynamic_cast<usrStapSelectArtikelen*>(window.stepArea->currentWidget());
    QVERIFY(artikelen);
    QCOMPARE(artikelen->lijst->lijst->lv->model()->rowCount(), 2);
    QCOMPARE(rijCodes(artikelen->stap().sjabloon()), (QStringList{"PR-L", "SCH-1"}));
    // The article of the chosen group is ticked, so Next is enabled; the status line was emptied.
    QVERIFY(window.cmdVolgende->isEnabled());
    QCOMPARE(window.Label1->text(), QString());
    QCOMPARE(artikelen->lijst->cbGroups->count(), 9);
    artikelen->stap().sjabloon().lijst().lijst().NietsSelecteren();
    QVERIFY(!window.cmdVolgende->isEnabled());

    // Back to step 10 empties the article step's pair; the group step keeps its list.
    QTest::mouseClick(window.cmdVorige, Qt::LeftButton);
    QCOMPARE(window.besturing().HuidigeStap(), 10);
    QVERIFY(globals().gColArtikelen.isEmpty());
    QVERIFY(groepen->stap().sjabloon().lijst().lijst().Rij(0).Aangevinkt);
    QVERIFY(m_omgeving->ui.errors.isEmpty());
}

void TestStapVensters::articleDescriptionsTakeTheRoomLeft_data()
{
    QTest::addColumn<QString>(
        "opgeslagen"); // the stored width of the description column (twips), empty: none
    QTest::newRow("no stored width: the room left") << QString();
    QTest::newRow("stored width kept") << QStringLiteral("2500");
}

// At the main window's own size, with a list wider than its columns, the description column takes the room
// the other columns leave, also when the window grows. A width the user stored stays as it is, and the
// width that only fills the room is not stored.
void TestStapVensters::articleDescriptionsTakeTheRoomLeft()
{
    QFETCH(QString, opgeslagen);
    if (!opgeslagen.isEmpty())
        CurrentUser_BrengWeg(QStringLiteral("Columns"), QStringLiteral("Artikelen2width"), opgeslagen);
    // The user gave the list more of the splitter than its columns need.
    CurrentUser_BrengWeg(QStringLiteral("Splitter"), QStringLiteral("artikelensplitter1pos"),
                         QStringLiteral("12500"));
    fixtures::JetStandIns jet;
    QVERIFY(
        artikelBron(*m_omgeving, jet,
                    {{QStringLiteral("VUR-104"), QStringLiteral("Vuren kozijnhout 104 x 67 mm (serie 4)")}}));

    frmImportBvqNaarBvq window(nullptr, test::RegisterMetVasteInvoer());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(naarStap(window, 11));
    auto* artikelen = dynamic_cast<usrStapSelectArtikelen*>(window.stepArea->currentWidget());
    QVERIFY(artikelen);
    QTreeView* lv = artikelen->lijst->lijst->lv;
    QCoreApplication::processEvents();
    const QHeaderView* kop = lv->header();
    QCOMPARE(kop->count(), 7);
    QCOMPARE(artikelen->Splitter1->sizes().value(0), TwipsNaarPixels(12500));
    if (opgeslagen.isEmpty()) {
        int totaal = 0;
        for (int kolom = 0; kolom < kop->count(); ++kolom)
            totaal += kop->sectionSize(kolom);
        // No room left on the right, and the description column is wider than its default.
        QCOMPARE(totaal, lv->viewport()->width());
        QVERIFY2(kop->sectionSize(1) > TwipsNaarPixels(3000),
                 qPrintable(QString::number(kop->sectionSize(1))));
        // Every column shows.
        QVERIFY(!lv->horizontalScrollBar()->isVisible());
        // A wider window gives the column more room.
        const int eerst = kop->sectionSize(1);
        window.resize(window.width() + 100, window.height());
        QCoreApplication::processEvents();
        QVERIFY(kop->sectionSize(1) > eerst);
    } else {
        QCOMPARE(kop->sectionSize(1), TwipsNaarPixels(opgeslagen.toInt()));
    }
    // Leaving the step stores the widths: the user's as it was, no width that only filled the room.
    artikelen->stap().sjabloon().lijst().lijst().ZetVinkje(0, true);
    QVERIFY(window.cmdVolgende->isEnabled());
    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    QVERIFY(window.besturing().HuidigeStap() > 11);
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("Artikelen2width"), {}),
             opgeslagen);
    QVERIFY(m_omgeving->ui.errors.isEmpty());
}

void TestStapVensters::grooveFigureStepWithPreview()
{
    const QString wkv = m_omgeving->env.path(QStringLiteral("wkv.sqlite"));
    QVERIFY(fixtures::makeWorkPreparation(wkv));
    {
        fixtures::FixtureDb db(wkv);
        fixtures::addGrooveShape(db, "VS-12", 200, 150,
                                 {fixtures::fixedNode(0, 0.004), fixtures::fixedNode(0.006, 0.005),
                                  fixtures::formulaNode(0.006, "r")},
                                 0, 1);
    }
    auto bron = database(QStringLiteral("wkv.sqlite"), BronSoort::WKV, Opslag::SQLite, 40, wkv);
    bron->TypeSelectie = QStringLiteral("1");
    globals().gBronnenGeselecteerd = {bron};
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenShapes = true;
    globals().gImportOpties = opties;

    frmImportBvqNaarBvq window(nullptr, test::RegisterMetVasteInvoer());
    window.resize(1000, 760);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(naarStap(window, 15));
    auto* view = dynamic_cast<usrStapSelectSponningFiguren*>(window.stepArea->currentWidget());
    QVERIFY(view);
    QVERIFY(view->informatie->fraPreview->isVisible());
    QVERIFY(!view->informatie->fraLinks->isVisible());
    // The drawing has the room, the one-line description a quarter of it.
    QTRY_VERIFY(view->informatie->fraPreview->height() > 2 * view->informatie->fraOmschrijving->height());
    QCOMPARE(view->lijst->cbGroups->count(), 11);
    QVERIFY(!window.cmdVolgende->isEnabled());

    view->stap().sjabloon().lijst().lijst().ZetVinkje(0, true);
    QVERIFY(window.cmdVolgende->isEnabled());
    usrProfilePreview* preview = view->informatie->Preview;
    QVERIFY(preview->Profile());
    QCOMPARE(preview->Profile()->ProfileName.left(5), QStringLiteral("VS-12"));
    // The outline is drawn in black in the picture.
    const QImage& beeld = preview->picPreview();
    bool zwart = false;
    for (int y = 0; y < beeld.height() && !zwart; ++y) {
        for (int x = 0; x < beeld.width() && !zwart; ++x)
            zwart = beeld.pixelColor(x, y) == Qt::black;
    }
    QVERIFY(zwart);
    QCOMPARE(view->informatie->rtOms->toPlainText(), QStringLiteral("VS-12"));
    QVERIFY(m_omgeving->ui.messages.isEmpty() && m_omgeving->ui.errors.isEmpty());
}

void TestStapVensters::hardwareStepsInTheirPlaces()
{
    frmImportBvqNaarBvq window(nullptr, test::RegisterMetVasteInvoer());
    QVERIFY(dynamic_cast<usrStapSelectHSTabellen*>(window.StapWeergave(7)));
    QVERIFY(dynamic_cast<usrStapSelectHSKeuzes*>(window.StapWeergave(8)));
    QVERIFY(dynamic_cast<usrStapSelectHSCombies*>(window.StapWeergave(9)));
    QVERIFY(dynamic_cast<usrStapSelectArtikelGroepen*>(window.StapWeergave(10)));
    QVERIFY(dynamic_cast<usrStapSelectArtikelen*>(window.StapWeergave(11)));
    QVERIFY(dynamic_cast<usrStapSelectSponningFiguren*>(window.StapWeergave(15)));
}

QTEST_MAIN(TestStapVensters)
#include "test_stapvensters.moc"
