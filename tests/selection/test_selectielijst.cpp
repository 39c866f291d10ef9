// The checkable list without a window: rows and marks from the items, the
// tick rules (required rows, batches, one row per code), copying ticks back,
// and the sort and column widths kept in the settings.

#include "selection/selectielijst.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QSignalSpy>
#include <QtTest>

using namespace supplink;

namespace {

std::shared_ptr<clsItem> item(const QString& code, const QString& omschrijving = QString(), bool selected = false,
                              bool required = false)
{
    auto result = std::make_shared<clsItem>();
    result->Code = code;
    result->Description = omschrijving.isEmpty() ? QStringLiteral("Omschrijving ") + code : omschrijving;
    result->Selected = selected;
    result->Required = required;
    return result;
}

// Fills the list with the items, positions from 1, as the group selector does.
void vul(SelectieLijst& lijst, const ItemCollection& items)
{
    SelectieLijst::Vulling vulling(lijst);
    for (qsizetype i = 0; i < items.size(); ++i)
        lijst.AddItem(*items.at(i), qint32(i + 1));
}

QStringList codes(const SelectieLijst& lijst)
{
    QStringList result;
    for (int rij = 0; rij < lijst.RijAantal(); ++rij)
        result << lijst.Rij(rij).Code;
    return result;
}

} // namespace

class TestSelectieLijst : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowMarks_data();
    void rowMarks();
    void withoutStatusColumnsNothingIsTicked();
    void sameCodeJoinsOneRow();
    void requiredRowCannotBeUnticked();
    void batchKeepsRequiredRowsAndEndsOnce();
    void invertFlipsEveryOptionalRow();
    void updateRightAfterFillChangesNothing();
    void updateCopiesTicksInListOrder();
    void sortedRowsMapBackToTheirItems();
    void headerClickedTwiceSortsBothWaysAndIsStored();
    void unknownListStartsWithDefaults();
    void storedSettingsAreApplied();
    void badSettingsLeaveDefaults();

private:
    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
};

void TestSelectieLijst::init()
{
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
}

void TestSelectieLijst::cleanup()
{
    QVERIFY2(m_ui->errors.isEmpty(), "no error window");
    m_ui.reset();
    m_env.reset();
}

void TestSelectieLijst::rowMarks_data()
{
    QTest::addColumn<bool>("required");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("unwanted");
    QTest::addColumn<QString>("sterren"); // "*" or " " for Verplicht Optioneel Nieuw Bestaand Ongewenst
    QTest::addColumn<bool>("aangevinkt");
    QTest::addColumn<QRgb>("kleur"); // 0: the list's own

    QTest::newRow("optional new") << false << false << false << false << " **  " << false << QRgb(0);
    QTest::newRow("optional ticked existing") << false << true << true << false << " * * " << true
                                              << LijstKleur::Geselecteerd;
    QTest::newRow("unwanted") << false << false << false << true << " *  *" << false << QRgb(0);
    QTest::newRow("required new") << true << false << false << false << "* *  " << true << LijstKleur::Verplicht;
    // A required part is never unwanted: it counts as new.
    QTest::newRow("required unwanted") << true << false << false << true << "* *  " << true
                                       << LijstKleur::Verplicht;
    QTest::newRow("required existing") << true << true << true << false << "*  * " << true
                                        << LijstKleur::Verplicht;
}

void TestSelectieLijst::rowMarks()
{
    QFETCH(bool, required);
    QFETCH(bool, selected);
    QFETCH(bool, existing);
    QFETCH(bool, unwanted);
    QFETCH(QString, sterren);
    QFETCH(bool, aangevinkt);
    QFETCH(QRgb, kleur);

    auto onderdeel = item(QStringLiteral("A1"), QStringLiteral("  Deur  "), selected, required);
    onderdeel->Existing = existing;
    onderdeel->setUnwanted(unwanted);
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Laagrelief"), true);
    QCOMPARE(lijst.AddItem(*onderdeel, 7), 0);

    const LijstRij& rij = lijst.Rij(0);
    QCOMPARE(rij.Tag, 7);
    QCOMPARE(rij.Tekst(1), QStringLiteral("Deur"));
    QString gezien;
    for (int kolom = 2; kolom < 7; ++kolom)
        gezien += rij.Tekst(kolom).isEmpty() ? QStringLiteral(" ") : rij.Tekst(kolom);
    QCOMPARE(gezien, sterren);
    QCOMPARE(rij.Aangevinkt, aangevinkt);
    QCOMPARE(rij.Verplicht, required);
    QCOMPARE(rij.Kleur.isValid() ? rij.Kleur.rgba() : QRgb(0), kleur);
    QCOMPARE(lijst.data(lijst.index(0, 0), Qt::CheckStateRole).toInt(), aangevinkt ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(lijst.data(lijst.index(0, 0), SelectieLijst::VerplichtRol).toBool(), required);
    QCOMPARE(lijst.AantalAangevinkt(), aangevinkt ? 1 : 0);
}

void TestSelectieLijst::withoutStatusColumnsNothingIsTicked()
{
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Kaal"), false);
    QCOMPARE(lijst.columnCount(), 2);
    vul(lijst, {item(QStringLiteral("A"), {}, true), item(QStringLiteral("B"), {}, false, true)});
    QVERIFY(!lijst.Rij(0).Aangevinkt);
    QVERIFY(!lijst.Rij(1).Aangevinkt);
    QCOMPARE(lijst.Rij(1).Kleur.rgba(), LijstKleur::Verplicht);
    // Ticked by the user, the required row stays ticked.
    lijst.ZetVinkje(1, true);
    lijst.ZetVinkje(1, false);
    QVERIFY(lijst.Rij(1).Aangevinkt);
}

void TestSelectieLijst::sameCodeJoinsOneRow()
{
    // Two sources hold "L1" (once in another case); the second source's copy is required.
    const ItemCollection items{item(QStringLiteral("L1")), item(QStringLiteral("L2")),
                               item(QStringLiteral("l1"), {}, false, true)};
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Laagrelief"), true);
    vul(lijst, items);
    QCOMPARE(codes(lijst), (QStringList{QStringLiteral("L1"), QStringLiteral("L2")}));
    const LijstRij& rij = lijst.Rij(0);
    QCOMPARE(rij.Tags(), (QList<qint32>{1, 3}));
    QVERIFY(rij.Verplicht && rij.Aangevinkt);
    QVERIFY(rij.Sterren[LijstRij::StatusVerplicht]);

    // Every item with the code follows the row's tick.
    ItemCollection geselecteerd;
    lijst.UpdateCollectionFromList(const_cast<ItemCollection&>(items), geselecteerd, false, true);
    QVERIFY(items.at(0)->Selected && items.at(2)->Selected && !items.at(1)->Selected);
    QCOMPARE(geselecteerd, (ItemCollection{items.at(0), items.at(2)}));

    // An optional duplicate of an unticked row: one row, both items follow the user's tick.
    const ItemCollection tweede{item(QStringLiteral("M1")), item(QStringLiteral("M1"), {}, true)};
    lijst.Init(QStringLiteral("Neuten"), true);
    vul(lijst, tweede);
    QCOMPARE(lijst.RijAantal(), 1);
    QVERIFY(!lijst.Rij(0).Aangevinkt);
    lijst.ZetVinkje(0, true);
    lijst.UpdateCollectionFromList(const_cast<ItemCollection&>(tweede), geselecteerd, false);
    QVERIFY(tweede.at(0)->Selected && tweede.at(1)->Selected);
}

void TestSelectieLijst::requiredRowCannotBeUnticked()
{
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("HSCombies"), true);
    vul(lijst, {item(QStringLiteral("C1"), {}, false, true), item(QStringLiteral("C2"))});
    QSignalSpy checks(&lijst, &SelectieLijst::ItemCheck);

    // Through the view's check box (setData) and directly.
    QVERIFY(lijst.setData(lijst.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
    QVERIFY(lijst.Rij(0).Aangevinkt);
    QCOMPARE(lijst.Rij(0).Kleur.rgba(), LijstKleur::Verplicht);
    QCOMPARE(checks.size(), 1);
    QCOMPARE(checks.at(0).at(0).toInt(), 0);
    QVERIFY(!lijst.SelectionDirty());
    QCOMPARE(lijst.HuidigeRij(), 0);

    // A bold or coloured required row is still required: the flag decides, not the colour.
    lijst.SetListItemColor(0, QColor(Qt::red), true);
    lijst.Omschakelen(0);
    QVERIFY(lijst.Rij(0).Aangevinkt);

    lijst.ZetVinkje(1, true);
    QCOMPARE(lijst.Rij(1).Kleur.rgba(), LijstKleur::Geselecteerd);
    lijst.Omschakelen(1);
    QVERIFY(!lijst.Rij(1).Aangevinkt);
    QVERIFY(!lijst.Rij(1).Kleur.isValid());
    QVERIFY(lijst.SelectionDirty());
    QCOMPARE(lijst.AantalAangevinkt(), 1);
}

void TestSelectieLijst::batchKeepsRequiredRowsAndEndsOnce()
{
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Artikelen"), true);
    vul(lijst, {item(QStringLiteral("A"), {}, true), item(QStringLiteral("B"), {}, false, true),
                item(QStringLiteral("C"), {}, true), item(QStringLiteral("D"))});
    QStringList gebeurd;
    connect(&lijst, &SelectieLijst::ItemCheck, this, [&](int rij) {
        gebeurd << QStringLiteral("check %1 %2").arg(rij).arg(lijst.BatchUpdateInProgress());
    });
    connect(&lijst, &SelectieLijst::BatchUpdateDone, this, [&] {
        gebeurd << QStringLiteral("done %1").arg(lijst.BatchUpdateInProgress());
    });
    QSignalSpy rijen(&lijst, &QAbstractItemModel::dataChanged);

    lijst.NietsSelecteren();
    QCOMPARE(gebeurd, (QStringList{QStringLiteral("check 0 1"), QStringLiteral("check 1 1"),
                                   QStringLiteral("check 2 1"), QStringLiteral("check 3 1"),
                                   QStringLiteral("done 0")}));
    QCOMPARE(rijen.size(), 1); // the rows are shown anew once
    QVERIFY(!lijst.Rij(0).Aangevinkt);
    QVERIFY(lijst.Rij(1).Aangevinkt);
    QVERIFY(!lijst.Rij(2).Aangevinkt);
    QCOMPARE(lijst.AantalAangevinkt(), 1);
    QCOMPARE(lijst.HuidigeRij(), 3);
    QVERIFY(lijst.SelectionDirty());

    gebeurd.clear();
    lijst.AllesSelecteren();
    QCOMPARE(gebeurd.size(), 5);
    QCOMPARE(lijst.AantalAangevinkt(), 4);
}

void TestSelectieLijst::invertFlipsEveryOptionalRow()
{
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Artikelen"), true);
    vul(lijst, {item(QStringLiteral("A"), {}, true), item(QStringLiteral("B"), {}, false, true),
                item(QStringLiteral("C"))});
    lijst.SelectieOmdraaien();
    QVERIFY(!lijst.Rij(0).Aangevinkt);
    QVERIFY(lijst.Rij(1).Aangevinkt);
    QVERIFY(lijst.Rij(2).Aangevinkt);
    QCOMPARE(lijst.Rij(2).Kleur.rgba(), LijstKleur::Geselecteerd);
}

void TestSelectieLijst::updateRightAfterFillChangesNothing()
{
    const ItemCollection items{item(QStringLiteral("A"), {}, true), item(QStringLiteral("B"))};
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Artikelen"), false); // rows unticked although A is selected
    vul(lijst, items);
    QSignalSpy klik(&lijst, &SelectieLijst::ItemClick);
    lijst.Finish();
    QCOMPARE(klik.size(), 1);
    QCOMPARE(klik.at(0).at(0).toInt(), -1); // no current row
    ItemCollection geselecteerd{items.at(1)};
    lijst.UpdateCollectionFromList(const_cast<ItemCollection&>(items), geselecteerd, false);
    QVERIFY(items.at(0)->Selected);
    QCOMPARE(geselecteerd, ItemCollection{items.at(1)});
    // Asked to ignore that nothing changed, the ticks are copied.
    lijst.UpdateCollectionFromList(const_cast<ItemCollection&>(items), geselecteerd, false, true);
    QVERIFY(!items.at(0)->Selected);
    QVERIFY(geselecteerd.isEmpty());
}

void TestSelectieLijst::updateCopiesTicksInListOrder()
{
    ItemCollection items{item(QStringLiteral("B")), item(QStringLiteral("A")), item(QStringLiteral("C"))};
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Artikelen"), true);
    vul(lijst, items);
    lijst.AllesSelecteren();
    ItemCollection geselecteerd{items.at(2)};
    // Keeping the selected collection: it is not made anew.
    lijst.UpdateCollectionFromList(items, geselecteerd, true);
    QCOMPARE(geselecteerd, ItemCollection{items.at(2)});
    lijst.UpdateCollectionFromList(items, geselecteerd, false);
    QCOMPARE(geselecteerd, (ItemCollection{items.at(1), items.at(0), items.at(2)}));
    QVERIFY(lijst.SelectionDirty()); // not reset by copying
}

void TestSelectieLijst::sortedRowsMapBackToTheirItems()
{
    ItemCollection items{item(QStringLiteral("K2"), QStringLiteral("zaag")), item(QStringLiteral("k1"), QStringLiteral("Anker")),
                         item(QStringLiteral("K3"), QStringLiteral("boor"))};
    CurrentUser_BrengWeg(QStringLiteral("Sort"), QStringLiteral("VaksponningenSort"), QStringLiteral("1"));
    CurrentUser_BrengWeg(QStringLiteral("Sort"), QStringLiteral("VaksponningenSortOrder"), QStringLiteral("0"));
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Vaksponningen"), true);
    vul(lijst, items);
    // Sorted on the description, without regard to case.
    QCOMPARE(codes(lijst), (QStringList{QStringLiteral("k1"), QStringLiteral("K3"), QStringLiteral("K2")}));
    // A row added on its own goes to its sorted place.
    const auto los = item(QStringLiteral("K4"), QStringLiteral("Beitel"));
    items.append(los);
    QCOMPARE(lijst.AddItem(*los, 4), 1);

    lijst.ZetVinkje(lijst.RijAantal() - 1, true); // "zaag"
    lijst.ZetVinkje(1, true);                     // "Beitel"
    ItemCollection geselecteerd;
    lijst.UpdateCollectionFromList(items, geselecteerd, false);
    QVERIFY(items.at(0)->Selected);
    QVERIFY(items.at(3)->Selected);
    QVERIFY(!items.at(1)->Selected && !items.at(2)->Selected);
    QCOMPARE(lijst.data(lijst.index(1, 0), SelectieLijst::TagRol).toInt(), 4);
}

void TestSelectieLijst::headerClickedTwiceSortsBothWaysAndIsStored()
{
    CurrentUser_BrengWeg(QStringLiteral("Sort"), QStringLiteral("NeutenSortOrder"), QStringLiteral("1"));
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Neuten"), true);
    QCOMPARE(lijst.SorteerVolgorde(), 1);
    vul(lijst, {item(QStringLiteral("B"), QStringLiteral("twee")), item(QStringLiteral("A"), QStringLiteral("drie")),
                item(QStringLiteral("C"), QStringLiteral("een"))});
    QCOMPARE(codes(lijst), (QStringList{QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")}));
    lijst.Klik(0); // "C" is the current row
    QSignalSpy layout(&lijst, &QAbstractItemModel::layoutChanged);

    lijst.KolomKlik(1);
    QCOMPARE(lijst.SorteerKolom(), 1);
    QCOMPARE(lijst.SorteerVolgorde(), 0);
    QCOMPARE(codes(lijst), (QStringList{QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("B")}));
    QCOMPARE(lijst.HuidigeRij(), 1); // the current row moved with its row
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Sort"), QStringLiteral("NeutenSort"), {}), QStringLiteral("1"));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Sort"), QStringLiteral("NeutenSortOrder"), {}), QStringLiteral("0"));

    lijst.KolomKlik(1);
    QCOMPARE(lijst.SorteerVolgorde(), 1);
    QCOMPARE(codes(lijst), (QStringList{QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("A")}));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Sort"), QStringLiteral("NeutenSortOrder"), {}), QStringLiteral("1"));
    QCOMPARE(layout.size(), 2);

    // The next list of that name starts as it was left.
    SelectieLijst volgende;
    volgende.Init(QStringLiteral("Neuten"), true);
    QCOMPARE(volgende.SorteerKolom(), 1);
    QCOMPARE(volgende.SorteerVolgorde(), 1);
}

void TestSelectieLijst::unknownListStartsWithDefaults()
{
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("NooitGezien"), true);
    QCOMPARE(lijst.SorteerKolom(), 0);
    QCOMPARE(lijst.SorteerVolgorde(), 0);
    QCOMPARE(lijst.columnCount(), 7);
    QCOMPARE(lijst.KolomBreedte(0), 1400);
    QCOMPARE(lijst.KolomBreedte(1), 3000);
    QCOMPARE(lijst.KolomBreedte(6), 1400);
    QCOMPARE(lijst.headerData(6, Qt::Horizontal).toString(), QStringLiteral("Ongewenst"));
    vul(lijst, {item(QStringLiteral("b")), item(QStringLiteral("A")), item(QStringLiteral("C"))});
    QCOMPARE(codes(lijst), (QStringList{QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("C")}));
}

void TestSelectieLijst::storedSettingsAreApplied()
{
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Randsponningen"), true);
    lijst.ZetKolomBreedte(1, 4500);
    lijst.SaveSettings();
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("Randsponningen2width"), {}),
             QStringLiteral("4500"));
    QCOMPARE(CurrentUser_HaalOp(QStringLiteral("Columns"), QStringLiteral("Randsponningen7width"), {}),
             QStringLiteral("1400"));
    SelectieLijst volgende;
    volgende.Init(QStringLiteral("Randsponningen"), true);
    QCOMPARE(volgende.KolomBreedte(1), 4500);
}

void TestSelectieLijst::badSettingsLeaveDefaults()
{
    CurrentUser_BrengWeg(QStringLiteral("Sort"), QStringLiteral("FoutSort"), QStringLiteral("x"));
    CurrentUser_BrengWeg(QStringLiteral("Sort"), QStringLiteral("FoutSortOrder"), QStringLiteral("7"));
    CurrentUser_BrengWeg(QStringLiteral("Columns"), QStringLiteral("Fout1width"), QStringLiteral("breed"));
    // A stored sort column the list does not have (no status columns now).
    CurrentUser_BrengWeg(QStringLiteral("Sort"), QStringLiteral("SmalSort"), QStringLiteral("5"));
    SelectieLijst lijst;
    lijst.Init(QStringLiteral("Fout"), true);
    QCOMPARE(lijst.SorteerKolom(), 0);
    QCOMPARE(lijst.SorteerVolgorde(), 0);
    QCOMPARE(lijst.KolomBreedte(0), 1400);
    lijst.Init(QStringLiteral("Smal"), false);
    QCOMPARE(lijst.SorteerKolom(), 0);
}

QTEST_GUILESS_MAIN(TestSelectieLijst)
#include "test_selectielijst.moc"
