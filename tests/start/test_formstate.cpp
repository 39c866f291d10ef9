// A window's position and size kept between runs.

#include "start/ui/formstate.h"
#include "support/testenvironment.h"

#include <QTest>
#include <QWidget>

using namespace supplink;

class FormStateTest : public QObject
{
    Q_OBJECT
    test::TestEnvironment env;

private slots:
    void formStateRoundTrip()
    {
        QWidget window;
        window.setObjectName(QStringLiteral("frmProef"));
        window.setGeometry(40, 50, 300, 200);
        QVERIFY(!LoadFormState(&window)); // never saved: nothing changes
        QCOMPARE(window.geometry(), QRect(40, 50, 300, 200));

        SaveFormState(&window, QStringLiteral("sleutel"));
        QWidget other;
        QVERIFY(LoadFormState(&other, QStringLiteral("sleutel")));
        QCOMPARE(other.size(), QSize(300, 200));
        QCOMPARE(other.pos(), QPoint(40, 50));
    }
};

QTEST_MAIN(FormStateTest)
#include "test_formstate.moc"
