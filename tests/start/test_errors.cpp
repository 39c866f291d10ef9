#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "support/recordinguiservices.h"

#include <QTest>

using namespace supplink;

class ErrorsTest : public QObject
{
    Q_OBJECT
private slots:
    void reports_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("routine");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QString>("details");
        QTest::addColumn<int>("picture");
        QTest::newRow("integrity") << -2147217873 << "clsPT.Opslaan"
                                   << "De huidige actie kan niet worden uitgevoerd wegens restricties in de database!"
                                   << "Procedure = clsPT.Opslaan\r\nError = kapot" << 1;
        QTest::newRow("command error") << -2147217900 << "x" << "Invoer onjuist!" << "" << 3;
        QTest::newRow("input error 1") << 1 << "x" << "Invoer onjuist!" << "" << 3;
        QTest::newRow("other, negative number")
            << -2147467259 << "clsBron.Save" << "Er is een fout opgetreden!"
            << "Procedure = clsBron.Save\r\nError = -2147467259: kapot" << 1;
        QTest::newRow("empty routine") << 53 << "" << "Er is een fout opgetreden!"
                                       << "Procedure = \r\nError = 53: kapot" << 1;
    }
    void reports()
    {
        QFETCH(int, number);
        QFETCH(QString, routine);
        const auto report = BuildErrorReport(routine, number, QStringLiteral("kapot"));
        QVERIFY(report);
        const QStringList lines = report->message.split(QStringLiteral("\r\n"));
        QTEST(lines.first(), "firstLine");
        QTEST(report->details, "details");
        QTEST(report->picture, "picture");
        QCOMPARE(report->caption, QStringLiteral("Brevanto Vededuzuduzu Davudi"));
        if (number == 1 || number == -2147217900)
            QCOMPARE(lines.value(1), QStringLiteral("kapot"));
        if (number == -2147217873)
            QCOMPARE(lines.size(), 3);
    }

    void numberZeroShowsNothing()
    {
        test::RecordingUiServices recorder;
        QVERIFY(!BuildErrorReport(QStringLiteral("x"), 0, QString()));
        ShowError(QStringLiteral("x"), 0, QString());
        QVERIFY(recorder.errors.isEmpty());
    }

    void showErrorGoesThroughTheServices()
    {
        test::RecordingUiServices recorder;
        try {
            throw AppError(7, QStringLiteral("Onvoldoende geheugen"));
        } catch (const std::exception& e) {
            ShowError(QStringLiteral("modTest.Proef"), e);
        }
        QCOMPARE(recorder.errors.size(), 1);
        QVERIFY(recorder.errors.first().details.endsWith(QStringLiteral("Error = 7: Onvoldoende geheugen")));

        ToonFout(QStringLiteral("Let op"));
        ToonFout(QStringLiteral("Let op"), QStringLiteral("Eigen titel"));
        QCOMPARE(recorder.messages.size(), 2);
        QCOMPARE(recorder.messages.at(0).title, QStringLiteral("Brevanto Vededuzuduzu Davudi"));
        QCOMPARE(recorder.messages.at(1).title, QStringLiteral("Eigen titel"));
        QCOMPARE(recorder.messages.at(0).style, 16);
    }
};

QTEST_MAIN(ErrorsTest)
#include "test_errors.moc"
