// The error window: with and without details, and the details part that is
// remembered for the next window.

#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "start/ui/frmerror.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace supplink;

class ErrorWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void windowWithoutDetails()
    {
        globals().gDetailsOpen = false;
        frmError window;
        const auto report = BuildErrorReport(QStringLiteral("x"), 1, QStringLiteral("Veld Code is leeg"));
        window.SetImage(report->picture);
        window.setMessage(report->message);
        window.setDetails(report->details);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.cmdDetails->isVisible());
        QVERIFY(!window.txtDetails->isVisible());
        QVERIFY(!window.lblMelding->text().contains(QStringLiteral("Klik op de knop details")));
        QCOMPARE(window.height(), TwipsNaarPixels(frmError::HeightClosedTwips));
        QCOMPARE(window.picture(), 3);
        QVERIFY(window.width() >= TwipsNaarPixels(frmError::MinimumWidthTwips));
        window.SetImage(9);
        QCOMPARE(window.picture(), 1);
        window.close();
    }

    void detailsToggleIsRemembered()
    {
        globals().gDetailsOpen = false;
        const auto report = BuildErrorReport(QStringLiteral("clsBron.Save"), 75, QStringLiteral("Pad niet gevonden"));
        {
            frmError window;
            window.setMessage(report->message);
            window.setDetails(report->details);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QVERIFY(window.cmdDetails->isVisible());
            QVERIFY(window.lblMelding->text().endsWith(
                QStringLiteral("\n\nKlik op de knop details voor meer informatie.")));
            QCOMPARE(window.cmdDetails->text(), QStringLiteral("Details >>"));
            const int closed = window.height();
            QTest::mouseClick(window.cmdDetails, Qt::LeftButton);
            QCOMPARE(window.cmdDetails->text(), QStringLiteral("<< Details"));
            QCOMPARE(window.height(), TwipsNaarPixels(frmError::HeightOpenTwips));
            QVERIFY(window.height() > closed);
            QCOMPARE(window.txtDetails->toPlainText(),
                     QStringLiteral("Procedure = clsBron.Save\nError = 75: Pad niet gevonden"));
            QTest::mouseClick(window.cmdOK, Qt::LeftButton);
        }
        QVERIFY(globals().gDetailsOpen);
        {
            frmError next;
            next.setMessage(report->message);
            next.setDetails(report->details);
            next.show();
            QVERIFY(QTest::qWaitForWindowExposed(&next));
            QCOMPARE(next.height(), TwipsNaarPixels(frmError::HeightOpenTwips));
            QCOMPARE(next.cmdDetails->text(), QStringLiteral("<< Details"));
            QTest::mouseClick(next.cmdDetails, Qt::LeftButton); // closes the details part
            QCOMPARE(next.cmdDetails->text(), QStringLiteral("Details >>"));
            next.close();
        }
        QVERIFY(!globals().gDetailsOpen);
    }
};

QTEST_MAIN(ErrorWindowTest)
#include "test_errorwindow.moc"
