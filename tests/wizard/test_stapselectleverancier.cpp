// The supplier list step: the suppliers of a product table (an SQLite file
// and a Jet database through the Jet stand-in), sorted by description, with
// KanVerder following the ticks, GetSelected giving the IDs as text, and the
// view's list with its one column "Zuzedavezive".

#include "fixtures/designdatabases.h"
#include "fixtures/jetstandin.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapselectleverancier.h"
#include "wizard/ui/usrstapselectleverancier.h"

#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace supplink;
using namespace supplink::test;

namespace {

// A product table with the suppliers given (ID, description; an invalid description is Null).
QString productTabel(const TestEnvironment& env, bool jet, const QList<QPair<int, QVariant>>& leveranciers,
                     fixtures::JetStandIns& standIns)
{
    const QString pad = env.path(jet ? QStringLiteral("pt-jet.db") : QStringLiteral("pt.db"));
    if (jet)
        fixtures::makeJetDatabase(pad, fixtures::Kind::ProductTable, {3, 30});
    else
        fixtures::makeDatabase(pad, fixtures::Kind::ProductTable, {3, 40});
    fixtures::FixtureDb db(pad);
    for (const auto& [id, omschrijving] : leveranciers)
        db.insert(QStringLiteral("Supplier"), {{QStringLiteral("ID"), id},
                                               {QStringLiteral("Code"), QStringLiteral("L%1").arg(id)},
                                               {QStringLiteral("Description"), omschrijving}});
    return jet ? standIns.add(pad) : pad;
}

} // namespace

class StapSelectLeverancierTest : public QObject
{
    Q_OBJECT
private slots:
    void lijst_data()
    {
        QTest::addColumn<bool>("jet");
        QTest::newRow("sqlite") << false;
        QTest::newRow("jet") << true;
    }
    void lijst()
    {
        QFETCH(bool, jet);
        TestEnvironment env;
        RecordingUiServices ui;
        fixtures::JetStandIns standIns;
        const QString pad = productTabel(env, jet,
                                         {{17, QStringLiteral("Zagerij Noord")},
                                          {3, QStringLiteral("Beslaghandel")},
                                          {8, QVariant()}},
                                         standIns);
        StapSelectLeverancier stap;
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.Init(pad);
        QCOMPARE(kanVerder.size(), 1);
        QVERIFY(!kanVerder.last().at(0).toBool());
        QStringList rijen;
        for (const auto& rij : stap.Rijen())
            rijen << rij.sleutel + QLatin1Char('=') + rij.tekst;
        QCOMPARE(rijen, (QStringList{QStringLiteral("L8="), QStringLiteral("L3=Beslaghandel"),
                                     QStringLiteral("L17=Zagerij Noord")}));

        stap.ZetAangevinkt(2, true);
        QVERIFY(kanVerder.last().at(0).toBool());
        QCOMPARE(stap.GetSelected(), QStringList{QStringLiteral("17")});
        stap.ZetAangevinkt(1, true);
        QCOMPARE(stap.GetSelected(), (QStringList{QStringLiteral("3"), QStringLiteral("17")}));
        stap.ZetAangevinkt(1, false);
        QVERIFY(kanVerder.last().at(0).toBool());
        // Unticking the last ticked row.
        stap.ZetAangevinkt(2, false);
        QVERIFY(!kanVerder.last().at(0).toBool());
        QVERIFY(stap.GetSelected().isEmpty());
        QVERIFY(ui.errors.isEmpty() && ui.messages.isEmpty());
    }

    void legeTabel()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        fixtures::JetStandIns standIns;
        StapSelectLeverancier stap;
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.Init(productTabel(env, false, {}, standIns));
        QVERIFY(stap.Rijen().isEmpty());
        QCOMPARE(kanVerder.size(), 1);
        QVERIFY(!kanVerder.last().at(0).toBool());
    }

    // A file that is no database: the connection says so, the list stays empty.
    void geenDatabase()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        QFile bestand(env.path(QStringLiteral("tekst.mdb")));
        QVERIFY(bestand.open(QIODevice::WriteOnly));
        bestand.write("geen database");
        bestand.close();
        StapSelectLeverancier stap;
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.Init(bestand.fileName());
        QVERIFY(stap.Rijen().isEmpty());
        QVERIFY(!kanVerder.last().at(0).toBool());
        QVERIFY(!ui.messages.isEmpty() || !ui.errors.isEmpty());
    }

    void view()
    {
        TestEnvironment env;
        RecordingUiServices ui;
        fixtures::JetStandIns standIns;
        usrStapSelectLeverancier view(nullptr);
        view.resize(400, 300);
        QCOMPARE(view.lvLeveranciers->headerItem()->text(0), QStringLiteral("Zuzedavezive"));
        QSignalSpy kanVerder(&view.stap(), &Stap::KanVerder);
        view.stap().Init(productTabel(env, false, {{17, QStringLiteral("Zagerij")}, {4, QStringLiteral("Glas")}},
                                      standIns));
        QCOMPARE(view.lvLeveranciers->topLevelItemCount(), 2);
        QTreeWidgetItem* zagerij = view.lvLeveranciers->topLevelItem(1);
        QCOMPARE(zagerij->text(0), QStringLiteral("Zagerij"));
        zagerij->setCheckState(0, Qt::Checked);
        QVERIFY(kanVerder.last().at(0).toBool());
        QCOMPARE(view.stap().GetSelected(), QStringList{QStringLiteral("17")});
        zagerij->setCheckState(0, Qt::Unchecked);
        QVERIFY(!kanVerder.last().at(0).toBool());
        QSignalSpy verder(&view.stap(), &Stap::GaVerder);
        emit view.lvLeveranciers->itemDoubleClicked(zagerij, 0);
        QCOMPARE(verder.size(), 1);
    }
};

QTEST_MAIN(StapSelectLeverancierTest)
#include "test_stapselectleverancier.moc"
