// The selected-codes table in a source work copy.

#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "support/testenvironment.h"
#include "sync/tmpselected.h"

#include <QtTest>

using namespace supplink;

class TestTmpSelected : public QObject
{
    Q_OBJECT

private slots:
    void onlyMarkedItemsAndRefill();
};

void TestTmpSelected::onlyMarkedItemsAndRefill()
{
    test::TestEnvironment env;
    const QString pad = env.path(QStringLiteral("bron.db"));
    fixtures::makeDatabase(pad, fixtures::Kind::ProductTable, {3, 40});
    auto cn = fixtures::openSqlite(pad);

    ItemCollection items =
        fixtures::items({QStringLiteral("A"), QStringLiteral("O'B; \"c\""), QStringLiteral("C")});
    items[0]->RunActie_Toegevoegd = true;
    items[1]->RunActie_Aangepast = true;
    VulTmpSelected(*cn, items);
    fixtures::FixtureDb db(pad);
    QCOMPARE(db.count(QStringLiteral("tmpSelected")), 2);
    QCOMPARE(
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM tmpSelected WHERE CodeSelected = ?"), {items[1]->Code})
            .toInt(),
        1);

    // A second filling holds only its own codes.
    ItemCollection tweede = fixtures::items({QStringLiteral("Z")});
    tweede[0]->RunActie_Toegevoegd = true;
    VulTmpSelected(*cn, tweede);
    QCOMPARE(db.count(QStringLiteral("tmpSelected")), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT CodeSelected FROM tmpSelected")).toString(),
             QStringLiteral("Z"));

    // Nothing marked: an empty table.
    VulTmpSelected(*cn, fixtures::items({QStringLiteral("Y")}));
    QCOMPARE(db.count(QStringLiteral("tmpSelected")), 0);
}

QTEST_GUILESS_MAIN(TestTmpSelected)
#include "test_tmpselected.moc"
