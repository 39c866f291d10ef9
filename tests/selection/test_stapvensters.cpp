// The windows of the dedicated selection steps in the main window, on the
// offscreen platform: the article-group and article steps over a product
// table (the groups reach the article step's group selector, required rows
// silver, Next follows the ticks, the status line is empty once the step is
// filled), the groove-figure step with its preview (a click draws the
// figure), and the hardware steps in their places.

#include "database/backendopeners.h"
#include "fixtures/jetstandin.h"
#include "fixtures/profilefixtures.h"
#include "selection/clsprofile.h"
#include "selection/ui/usreigenselectiestap.h"
#include "selection/ui/usrinformatielinks.h"
#include "selection/ui/usrlistview.h"
#include "selection/ui/usrlistviewcombo.h"
#include "selection/ui/usrprofilepreview.h"
#include "selectiestaptest.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTreeView>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// The main window walked forward to a step (the placeholders of steps 1 to 4 let it go on).
bool naarStap(frmImportBvqNaarBvq& window, int stap)
{
    while (window.besturing().HuidigeStap() < stap && window.cmdVolgende->isEnabled())
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    return window.besturing().HuidigeStap() == stap;
}

QStringList rijen(QTreeView* lv)
{
    QStringList codes;
    for (int rij = 0; rij < lv->model()->rowCount(); ++rij)
        codes << lv->model()->index(rij, 0).data().toString();
    return codes;
}

} // namespace

class TestStapVensters : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void articleStepsInTheWizard();
    void grooveFigureStepWithPreview();
    void hardwareStepsInTheirPlaces();

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<RecordingUiServices> m_ui;
};

void TestStapVensters::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_ui = std::make_unique<RecordingUiServices>();
    globals() = ProgramState();
}

void TestStapVensters::cleanup()
{
    globals() = ProgramState();
    resetBackendOpeners();
    m_ui.reset();
    m_env.reset();
}

void TestStapVensters::articleStepsInTheWizard()
{
    const QString ptDb = m_env->path(QStringLiteral("pt.db"));
    QVERIFY(fixtures::makeJetDatabase(ptDb, fixtures::Kind::ProductTable, {3, 40}));
    {
        fixtures::FixtureDb db(ptDb);
        const qint64 g1 = db.insert("ArtGroup", {{"Code", "BES"}, {"Description", "Beslag"}});
        const qint64 g2 = db.insert("ArtGroup", {{"Code", "PRO"}, {"Description", "Profielen"}});
        db.insert("Article", {{"Code", "SCH-1"}, {"Description", "Scharnier"}, {"fkType", 1}, {"fkGroup", g1}});
        db.insert("Article", {{"Code", "PR-L"}, {"Description", "Profiel links"}, {"fkType", 1}, {"fkGroup", g2}});
    }
    fixtures::JetStandIns jet;
    auto pt = database(QStringLiteral("pt.mdb"), BronSoort::Artikelen, Opslag::Jet, 40, jet.add(ptDb));
    pt->DBType = QStringLiteral("PT");
    pt->TypeSelectie = QStringLiteral("1");
    globals().gBronnenGeselecteerd = {pt};
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenArtikelen = true;
    globals().gImportOpties = opties;

    frmImportBvqNaarBvq window;
    window.resize(1000, 760);
    window.show();
    QVERIFY(naarStap(window, 10));
    auto* groepen = dynamic_cast<usrStapSelectArtikelGroepen*>(window.stepArea->currentWidget());
    QVERIFY(groepen);
    QCOMPARE(rijen(groepen->lijst->lijst->lv), (QStringList{"BES", "PRO"}));
    QVERIFY(window.cmdVolgende->isEnabled());
    groepen->stap().sjabloon().lijst().lijst().ZetVinkje(0, true);

    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    QCOMPARE(window.besturing().HuidigeStap(), 11);
    QCOMPARE(window.lbLeverancer->text(), QStringLiteral("Selecteer Artikelen"));
    auto* artikelen = dynamic_cast<usrStapSelectArtikelen*>(window.stepArea->currentWidget());
    QVERIFY(artikelen);
    QCOMPARE(rijen(artikelen->lijst->lijst->lv), (QStringList{"PR-L", "SCH-1"}));
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
    QVERIFY(m_ui->errors.isEmpty());
}

void TestStapVensters::grooveFigureStepWithPreview()
{
    const QString wkv = m_env->path(QStringLiteral("wkv.sqlite"));
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

    frmImportBvqNaarBvq window;
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
    QVERIFY(m_ui->messages.isEmpty() && m_ui->errors.isEmpty());
}

void TestStapVensters::hardwareStepsInTheirPlaces()
{
    frmImportBvqNaarBvq window;
    QVERIFY(dynamic_cast<usrStapSelectHSTabellen*>(window.StapWeergave(7)));
    QVERIFY(dynamic_cast<usrStapSelectHSKeuzes*>(window.StapWeergave(8)));
    QVERIFY(dynamic_cast<usrStapSelectHSCombies*>(window.StapWeergave(9)));
    QVERIFY(dynamic_cast<usrStapSelectArtikelGroepen*>(window.StapWeergave(10)));
    QVERIFY(dynamic_cast<usrStapSelectArtikelen*>(window.StapWeergave(11)));
    QVERIFY(dynamic_cast<usrStapSelectSponningFiguren*>(window.StapWeergave(15)));
}

QTEST_MAIN(TestStapVensters)
#include "test_stapvensters.moc"
