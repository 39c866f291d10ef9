// The report window: lines in call order, each ended by a line break, the
// "Sluiten" button that hides the window, and its place kept between uses.

#include "support/testenvironment.h"
#include "wizard/ui/frmreport.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace supplink;

class ReportTest : public QObject
{
    Q_OBJECT
private slots:
    void regelsInVolgorde()
    {
        test::TestEnvironment env;
        frmReport rapport;
        QCOMPARE(rapport.cmdOK->text(), QStringLiteral("Sluiten"));
        rapport.AddLine(QStringLiteral("Bestand: artikelen.csv"));
        rapport.AddLine(QString());
        rapport.AddLine(QStringLiteral("Importdefinitie:\t1\tCode"));
        QCOMPARE(rapport.rt->toPlainText(),
                 QStringLiteral("Bestand: artikelen.csv\n\nImportdefinitie:\t1\tCode\n"));
        QVERIFY(rapport.rt->isReadOnly());
    }

    void sluitenVerbergtEnBewaartDePlaats()
    {
        test::TestEnvironment env;
        QRect plaats;
        {
            frmReport rapport;
            rapport.show();
            QVERIFY(QTest::qWaitForWindowExposed(&rapport));
            rapport.setGeometry(40, 60, 450, 300);
            plaats = rapport.geometry();
            QTest::mouseClick(rapport.cmdOK, Qt::LeftButton);
            QVERIFY(!rapport.isVisible());
        }
        frmReport opnieuw;
        QCOMPARE(opnieuw.size(), plaats.size());
        QCOMPARE(opnieuw.pos(), plaats.topLeft());
    }
};

QTEST_MAIN(ReportTest)
#include "test_frmreport.moc"
