#include "start/globals.h"
#include "start/items.h"
#include "start/veldcatalogus.h"

#include <QTest>

using namespace supplink;

class RecordsTest : public QObject
{
    Q_OBJECT
private slots:
    void itemStatus_data()
    {
        QTest::addColumn<bool>("required");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("unwanted");
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<bool>("readsUnwanted");
        QTest::newRow("plain new") << false << false << false << true << false;
        QTest::newRow("unwanted is not new") << false << false << true << false << true;
        QTest::newRow("required overrides unwanted") << true << false << true << true << false;
        QTest::newRow("existing never new") << false << true << false << false << false;
        QTest::newRow("existing and required") << true << true << false << false << false;
    }
    void itemStatus()
    {
        QFETCH(bool, required);
        QFETCH(bool, existing);
        QFETCH(bool, unwanted);
        clsItem item;
        item.Required = required;
        item.Existing = existing;
        item.setUnwanted(unwanted);
        QTEST(item.IsNew(), "isNew");
        QTEST(item.Unwanted(), "readsUnwanted");
    }

    void unwantedComesBackWhenNoLongerRequired()
    {
        clsItem item;
        item.Required = true;
        item.setUnwanted(true);
        QVERIFY(!item.Unwanted());
        item.Required = false;
        QVERIFY(item.Unwanted());
    }

    void importOptionGroups()
    {
        clsImportOpties opties;
        QVERIFY(!opties.ImporterenLIB());
        QVERIFY(!opties.ImporterenOpt());
        opties.ImporterenNeuten = true;
        QVERIFY(opties.ImporterenLIB());
        QVERIFY(!opties.ImporterenOpt());

        clsImportOpties keuzes;
        keuzes.ImporterenHSKeuzes = true;
        QVERIFY(keuzes.ImporterenOpt());
        QVERIFY(!keuzes.ImporterenLIB());

        // Each of the seven library kinds counts on its own.
        for (bool clsImportOpties::*field :
             {&clsImportOpties::ImporterenVaksponningen, &clsImportOpties::ImporterenRandsponningen,
              &clsImportOpties::ImporterenElementsponningen, &clsImportOpties::ImporterenLaagrelief,
              &clsImportOpties::ImporterenNeuten, &clsImportOpties::ImporterenLIBHSCombies,
              &clsImportOpties::ImporterenLIBHSKeuzes}) {
            clsImportOpties one;
            one.*field = true;
            QVERIFY(one.ImporterenLIB());
        }
        clsImportOpties artikelen;
        artikelen.ImporterenArtikelen = artikelen.ImporterenShapes = true;
        QVERIFY(!artikelen.ImporterenLIB() && !artikelen.ImporterenOpt());
    }

    void fieldNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << 0 << "(Niet importeren)";
        QTest::newRow("10") << 10 << "Prijs/Eenheid";
        QTest::newRow("31") << 31 << "Omschrijving + Offerte Omschrijving";
        QTest::newRow("103") << 103 << "B >";
        QTest::newRow("118") << 118 << "Hang en Sluitwerk Combi Code";
        for (int code : {3, 12, 21, 22, 114, 116, 38, 100, -1})
            QTest::newRow(qPrintable(QStringLiteral("unnamed %1").arg(code))) << code << QString();
    }
    void fieldNames()
    {
        QFETCH(int, code);
        QTEST(VeldNaam(code), "name");
    }

    void catalogues()
    {
        VulVeldCatalogus();
        const VeldCatalogus& artikelen = globals().gVeldCatalogusArtikelen;
        const VeldCatalogus& hangSluit = globals().gVeldCatalogusHangSluit;
        QCOMPARE(artikelen.size(), 32);
        QCOMPARE(hangSluit.size(), 19);
        QCOMPARE(artikelen.at(0).name, QStringLiteral("(Niet importeren)"));
        QCOMPARE(artikelen.at(0).Tag, 0);
        QCOMPARE(artikelen.at(1).name, QStringLiteral("(Artikeltype)"));
        QCOMPARE(artikelen.at(1).Tag, 24);
        QCOMPARE(hangSluit.at(3).name, QStringLiteral("B >"));
        QCOMPARE(hangSluit.at(3).Tag, 103);
        QCOMPARE(hangSluit.at(1).name, QStringLiteral("Code"));
        for (const clsProperty& entry : artikelen) {
            QCOMPARE(entry.name, VeldNaam(entry.Tag));
            QVERIFY(!entry.name.isEmpty());
        }

        QVERIFY(ZoekItemMetNaamEnTag(hangSluit, QStringLiteral("Code"), 1));
        QVERIFY(!ZoekItemMetNaamEnTag(hangSluit, QStringLiteral("Code"), 2));
        QVERIFY(!ZoekItemMetNaamEnTag(hangSluit, QStringLiteral("Bestaat niet"), 0));
        QVERIFY(ZoekItemMetTag(artikelen, 33) == nullptr); // named, but not offered
        QCOMPARE(ZoekItemMetTag(artikelen, 9)->name, QStringLiteral("BestelCode"));

        VulVeldCatalogus(); // built anew, not appended
        QCOMPARE(globals().gVeldCatalogusArtikelen.size(), 32);
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "test_records.moc"
