// The filters of the file dialogs as the widget UI services hand them to Qt:
// "caption|patterns" pairs, a caption that shows its patterns taken as it is.

#include "start/ui/widgetuiservices.h"

#include <QtTest>

using namespace supplink;

class TestBestandsfilters : public QObject
{
    Q_OBJECT

private slots:
    void filters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("caption without patterns") << "Productentabel|*.pt" << "Productentabel (*.pt)";
        QTest::newRow("caption that shows them") << "Productentabel (*.pt)|*.pt" << "Productentabel (*.pt)";
        QTest::newRow("two patterns shown with ;")
            << "Excel (*.xls;*.xlsx)|*.xls;*.xlsx" << "Excel (*.xls;*.xlsx)";
        QTest::newRow("other words in brackets")
            << "Excel (oud en nieuw)|*.xls;*.xlsx" << "Excel (oud en nieuw) (*.xls *.xlsx)";
        QTest::newRow("two pairs") << "SQLite|*.db|Alle bestanden (*.*)|*.*"
                                   << "SQLite (*.db);;Alle bestanden (*.*)";
        QTest::newRow("empty") << "" << "";
    }
    void filters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(ToQtFileFilter(filter), qt);
    }
};

QTEST_MAIN(TestBestandsfilters)
#include "test_bestandsfilters.moc"
