// The welcome step's view on the offscreen platform: the tree (nine bold
// categories in order, suppliers under them, category 8 current, collapse
// undone), choosing a supplier shows its page and enables Next in the main
// window, a double-click goes on, links open only what they may, and the
// splitter takes the stored share of the width.

#include "start/globals.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"
#include "wizard/ui/usrwelkom.h"
#include "wizard/welkomopstelling.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace supplink;
using namespace supplink::test;

namespace {

// A suppliers folder of two suppliers, named by the machine-wide setting.
QString leveranciers(const TestEnvironment& env)
{
    const QString map = env.path(QStringLiteral("leveranciers"));
    schrijfBestand(map + QStringLiteral("/acme/index"), "ACME\r\nAcme Beslag\r\n1\r\n");
    schrijfBestand(map + QStringLiteral("/acme/leverancier.xml"),
            "<?xml version=\"1.0\"?><?xml-stylesheet type=\"text/xsl\" href=\"pagina.xsl\"?><l><n>Acme</n></l>");
    schrijfBestand(map + QStringLiteral("/acme/pagina.xsl"),
            "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
            "<xsl:template match=\"/l\"><html><body><p>Welkom bij <xsl:value-of select=\"n\"/></p>"
            "<a href=\"https://www.example.com/\">web</a></body></html></xsl:template></xsl:stylesheet>");
    schrijfBestand(map + QStringLiteral("/glas/index"), "GLAS\r\nGlas & Co\r\n7\r\n");
    zetLeveranciersMap(map);
    return map;
}

usrWelkom* welkomView(frmImportBvqNaarBvq& window)
{
    return qobject_cast<usrWelkom*>(window.StapWeergave(1));
}

} // namespace

class UsrWelkomTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { globals() = ProgramState(); }
    void cleanup() { globals() = ProgramState(); }

    void boom()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        leveranciers(env);
        usrWelkom view(nullptr);
        view.stap().setProgrammaMap(env.path(QStringLiteral("programma")));
        view.stap().Init();
        QCOMPARE(view.tv->topLevelItemCount(), 9);
        for (int i = 0; i < 9; ++i) {
            QTreeWidgetItem* categorie = view.tv->topLevelItem(i);
            QCOMPARE(categorie->text(0), StapWelkom::CategorieTeksten().at(i));
            QVERIFY(categorie->font(0).bold());
            QVERIFY(categorie->isExpanded());
        }
        QCOMPARE(view.tv->topLevelItem(0)->child(0)->text(0), QStringLiteral("Acme Beslag"));
        QCOMPARE(view.tv->topLevelItem(6)->child(0)->text(0), QStringLiteral("Glas & Co"));
        QCOMPARE(view.tv->currentItem(), view.tv->topLevelItem(7));

        view.tv->collapseItem(view.tv->topLevelItem(0));
        QVERIFY(view.tv->topLevelItem(0)->isExpanded());

        QSignalSpy verder(&view.stap(), &Stap::GaVerder);
        emit view.tv->itemDoubleClicked(view.tv->topLevelItem(0)->child(0), 0);
        QCOMPARE(verder.size(), 1);
    }

    // In the main window: the welcome step holds step 1; choosing a supplier shows its page (through its
    // stylesheet) and enables Next; choosing a category disables it again; a double-click on a supplier
    // goes on to step 2.
    void inHetHoofdvenster()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        leveranciers(env);
        frmImportBvqNaarBvq window;
        usrWelkom* view = welkomView(window);
        QVERIFY(view);
        QCOMPARE(window.stepArea->currentWidget(), view);
        QVERIFY(!window.cmdVolgende->isEnabled());

        view->tv->setCurrentItem(view->Knoop(QStringLiteral("ACME")));
        QVERIFY(window.cmdVolgende->isEnabled());
        QCOMPARE(globals().gLeverancier->Code, QStringLiteral("ACME"));
        QVERIFY2(view->WebBrowser->toPlainText().contains(QStringLiteral("Welkom bij Acme")),
                 qPrintable(view->WebBrowser->toPlainText()));

        view->tv->setCurrentItem(view->Knoop(QStringLiteral("CAT3")));
        QVERIFY(!window.cmdVolgende->isEnabled());
        QVERIFY(!globals().gLeverancier);

        QTreeWidgetItem* glas = view->Knoop(QStringLiteral("GLAS"));
        view->tv->setCurrentItem(glas);
        emit view->tv->itemDoubleClicked(glas, 0);
        QCOMPARE(window.besturing().HuidigeStap(), 2);
        QCOMPARE(window.lbStap->text(), QStringLiteral("Huidige leverancier is Glas & Co."));
        // Back to step 1: the choice is kept and Next enabled at once.
        QTest::mouseClick(window.cmdVorige, Qt::LeftButton);
        QCOMPARE(window.besturing().HuidigeStap(), 1);
        QVERIFY(window.cmdVolgende->isEnabled());
        QCOMPARE(view->tv->currentItem(), glas);
    }

    // Web addresses go to the desktop, programs never; a local page is shown in place.
    void koppelingen()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        const QString map = leveranciers(env);
        schrijfBestand(map + QStringLiteral("/acme/setup.exe"), "MZ");
        schrijfBestand(map + QStringLiteral("/acme/meer.html"), "<html><body>Meer over Acme</body></html>");
        usrWelkom view(nullptr);
        QList<QUrl> geopend;
        view.OpenExtern = [&geopend](const QUrl& url) { geopend << url; };
        view.stap().setProgrammaMap(env.path(QStringLiteral("programma")));
        view.stap().Init();
        view.tv->setCurrentItem(view.Knoop(QStringLiteral("ACME")));

        emit view.WebBrowser->anchorClicked(QUrl(QStringLiteral("https://www.example.com/")));
        QCOMPARE(geopend, QList<QUrl>{QUrl(QStringLiteral("https://www.example.com/"))});
        emit view.WebBrowser->anchorClicked(QUrl(QStringLiteral("setup.exe")));
        QCOMPARE(geopend.size(), 1);
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY(ui.messages.at(0).text.contains(QStringLiteral("setup.exe")));
        emit view.WebBrowser->anchorClicked(QUrl(QStringLiteral("meer.html")));
        QCOMPARE(geopend.size(), 1);
        QVERIFY(view.WebBrowser->toPlainText().contains(QStringLiteral("Meer over Acme")));
        QCOMPARE(globals().gLeverancier->Code, QStringLiteral("ACME"));
    }

    void splitter()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        CurrentUser_BrengWeg(QStringLiteral("Splitter"), QStringLiteral("welkomsplitter1pos"), QStringLiteral("40"));
        usrWelkom view(nullptr);
        view.stap().setProgrammaMap(env.path(QStringLiteral("programma")));
        view.resize(1000, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.stap().Init();
        const QList<int> maten = view.Splitter1->sizes();
        QVERIFY2(qAbs(maten.at(0) * 100 / (maten.at(0) + maten.at(1)) - 40) <= 1,
                 qPrintable(QStringLiteral("%1 %2").arg(maten.at(0)).arg(maten.at(1))));
        // A move of the splitter is what Finish stores.
        view.Splitter1->setSizes({250, 750 - view.Splitter1->handleWidth()});
        emit view.Splitter1->splitterMoved(250, 1);
        view.stap().Finish();
        QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Splitter"), QStringLiteral("welkomsplitter1pos"), QString()),
                 QString::number(view.stap().SplitterPositie()));
        QVERIFY(qAbs(view.stap().SplitterPositie() - 25) <= 1);
    }
};

QTEST_MAIN(UsrWelkomTest)
#include "test_usrwelkom.moc"
