// The pick-one window (driven offscreen through its fields) and the widget UI
// services that show it for ui().pickOne.

#include "start/ui/frmpickone.h"
#include "start/ui/modaaltonen.h"
#include "start/ui/widgetuiservices.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace supplink;

Q_DECLARE_METATYPE(PickOneEntry)
Q_DECLARE_METATYPE(std::optional<qint32>)

namespace {

PickOneRequest groepen()
{
    PickOneRequest request;
    request.title = QStringLiteral("Importeren artikelen");
    request.explanation = QStringLiteral("Selecteer een artikelgroep.");
    request.label = QStringLiteral("Artikelgroep:");
    request.entries = {{QStringLiteral("Profielen"), 4}, {QStringLiteral("Beslag"), 9}, {QStringLiteral("Glas"), 2}};
    return request;
}

} // namespace

class TestPickOne : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setModaalTonen({}); }

    void dialogOffscreen()
    {
        frmSelecteerGroepofLeverancier dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Form1"));
        QCOMPARE(dialog.cmdOK->text(), QStringLiteral("OK"));
        QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("Annuleren"));
        QCOMPARE(dialog.GeselecteerdID(), -1); // nothing to choose

        dialog.show();
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        QVERIFY(dialog.OKGekozen);
        QVERIFY(!dialog.ExtraVlag);
        QVERIFY(!dialog.isVisible());

        dialog.show();
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        QVERIFY(!dialog.OKGekozen);
        QVERIFY(!dialog.isVisible());
    }

    void dialogListsTheEntries()
    {
        frmSelecteerGroepofLeverancier dialog;
        dialog.VulLijst({});
        QCOMPARE(dialog.cbGroep->count(), 0);
        QCOMPARE(dialog.GeselecteerdID(), -1);

        dialog.VulLijst(groepen().entries);
        QCOMPARE(dialog.cbGroep->count(), 3);
        QCOMPARE(dialog.cbGroep->currentIndex(), 0); // the first entry is chosen
        QCOMPARE(dialog.GeselecteerdID(), 4);
        dialog.cbGroep->setCurrentIndex(2);
        QCOMPARE(dialog.GeselecteerdID(), 2);
    }

    void servicesShowTheDialog_data()
    {
        QTest::addColumn<QList<PickOneEntry>>("entries");
        QTest::addColumn<int>("index"); // the entry chosen; -1: Annuleren
        QTest::addColumn<std::optional<qint32>>("answer");
        const QList<PickOneEntry> entries = groepen().entries;
        QTest::newRow("second entry") << entries << 1 << std::optional<qint32>(9);
        QTest::newRow("first entry as opened") << entries << 0 << std::optional<qint32>(4);
        QTest::newRow("cancelled") << entries << -1 << std::optional<qint32>();
        QTest::newRow("empty list, OK") << QList<PickOneEntry>() << 0 << std::optional<qint32>(-1);
    }

    void servicesShowTheDialog()
    {
        QFETCH(QList<PickOneEntry>, entries);
        QFETCH(int, index);
        QFETCH(std::optional<qint32>, answer);
        QString caption, uitleg, onderdeel;
        setModaalTonen([&](QDialog& shown) {
            auto& dialog = dynamic_cast<frmSelecteerGroepofLeverancier&>(shown);
            caption = dialog.windowTitle();
            uitleg = dialog.lbUitleg->text();
            onderdeel = dialog.lbOnderdeel->text();
            QCOMPARE(dialog.cbGroep->count(), entries.size());
            if (index < 0) {
                dialog.cmdCancel_Click();
            } else {
                if (index < dialog.cbGroep->count())
                    dialog.cbGroep->setCurrentIndex(index);
                dialog.cmdOK_Click();
            }
        });
        PickOneRequest request = groepen();
        request.entries = entries;
        WidgetUiServices services;
        QCOMPARE(services.pickOne(request), answer);
        QCOMPARE(caption, QStringLiteral("Importeren artikelen"));
        QCOMPARE(uitleg, QStringLiteral("Selecteer een artikelgroep."));
        QCOMPARE(onderdeel, QStringLiteral("Artikelgroep:"));
    }
};

QTEST_MAIN(TestPickOne)
#include "test_pickone.moc"
