// Lists without duplicates, in the order of first arrival.

#include "import/clsfiltercollectie.h"
#include "start/items.h"

#include <QTest>

using namespace supplink;

namespace {

std::shared_ptr<clsItem> item(const QString& code)
{
    auto i = std::make_shared<clsItem>();
    i->Code = code;
    return i;
}

struct MetCodeFunctie
{
    QString code;
    QString Code() const { return code; }
};

} // namespace

class TestFilterCollectie : public QObject
{
    Q_OBJECT

private slots:
    void partsByCode()
    {
        clsFilterCollectie<std::shared_ptr<clsItem>> lijst;
        const auto a = item(QStringLiteral("A"));
        lijst.ToevoegenOnderdeel(a);
        lijst.ToevoegenOnderdeel(item(QStringLiteral("B")));
        lijst.ToevoegenOnderdeel(item(QStringLiteral("A")));
        QCOMPARE(lijst.Lijst.size(), 2);
        QCOMPARE(lijst.Lijst.first(), a); // the first one stays
        QCOMPARE(lijst.Lijst.at(1)->Code, QStringLiteral("B"));
    }

    void codesCompareWithoutCase()
    {
        // Codes are one code whatever the case of their letters, non-ASCII letters too.
        clsFilterCollectie<std::shared_ptr<clsItem>> lijst;
        lijst.ToevoegenOnderdeel(item(QStringLiteral("a")));
        lijst.ToevoegenOnderdeel(item(QStringLiteral("A")));
        lijst.ToevoegenOnderdeel(item(QStringLiteral("ÄÖ-1")));
        lijst.ToevoegenOnderdeel(item(QStringLiteral("äö-1")));
        lijst.ToevoegenOnderdeel(item(QStringLiteral("äo-1")));
        QCOMPARE(lijst.Lijst.size(), 3);
        QCOMPARE(lijst.Lijst.at(0)->Code, QStringLiteral("a"));
        QCOMPARE(lijst.Lijst.at(1)->Code, QStringLiteral("ÄÖ-1"));
    }

    void codeFromMemberFunction()
    {
        clsFilterCollectie<MetCodeFunctie> lijst;
        lijst.ToevoegenOnderdeel({QStringLiteral("x")});
        lijst.ToevoegenOnderdeel({QStringLiteral("x")});
        lijst.ToevoegenOnderdeel({QStringLiteral("y")});
        QCOMPARE(lijst.Lijst.size(), 2);
    }

    void nullPartIsIgnored()
    {
        clsFilterCollectie<std::shared_ptr<clsItem>> lijst;
        lijst.ToevoegenOnderdeel(nullptr);
        QVERIFY(lijst.Lijst.isEmpty());
    }

    void values()
    {
        clsFilterCollectie<qint32> lijst;
        lijst.ToevoegenWaarde(5);
        lijst.ToevoegenWaarde(7);
        lijst.ToevoegenWaarde(5);
        QCOMPARE(lijst.Lijst, (QList<qint32>{5, 7}));
    }
};

QTEST_GUILESS_MAIN(TestFilterCollectie)
#include "test_filtercollectie.moc"
