#pragma once
// A small supplier product table and a user's product table for the tests of
// the product-table synchronisation: types 4 (2D prices) and 8 (1D prices),
// suppliers, article groups and calculation groups whose IDs differ between
// the two files, so that every foreign key must be carried over by code.

#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "start/globals.h"
#include "support/testenvironment.h"

#include <QtTest>
#include <memory>

namespace supplink::test {

// Records the events in order as well ("H:caption", "D", "V:action", "F:n", ...).
class PtLog : public fixtures::EventLog
{
public:
    QStringList volgorde;
    std::function<void()> bijNieuw;

    void Voortgang(const QString& a, const QString& d) override
    {
        EventLog::Voortgang(a, d);
        volgorde << QStringLiteral("V:") + a;
    }
    void NieuwOnderdeel(qint32& n) override
    {
        EventLog::NieuwOnderdeel(n);
        volgorde << QStringLiteral("N:%1").arg(n);
        if (bijNieuw)
            bijNieuw();
    }
    void FoutOpgetreden(qint32& n) override
    {
        EventLog::FoutOpgetreden(n);
        volgorde << QStringLiteral("F:%1").arg(n);
    }
    void HuidigeHoofdActie(const QString& a) override
    {
        EventLog::HuidigeHoofdActie(a);
        volgorde << QStringLiteral("H:") + a;
    }
    void HuidigeHoofdActieDone() override
    {
        EventLog::HuidigeHoofdActieDone();
        volgorde << QStringLiteral("D");
    }
};

inline void zetOpties(bool nieuw, bool prijzen)
{
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenArtikelen = true;
    opties->NieuweArtikelenToevoegen = nieuw;
    opties->DoorvoerenPrijsWijzigingen = prijzen;
    globals().gImportOpties = opties;
    globals().gColArtikelenGeselecteerd.clear();
}

struct PtPaar
{
    QString bron;
    QString doel;
    std::unique_ptr<fixtures::FixtureDb> src;
    std::unique_ptr<fixtures::FixtureDb> dst;

    PtPaar(const TestEnvironment& env, fixtures::Version bronVersie = {3, 40},
           fixtures::Version doelVersie = {3, 40}, bool serverDoel = false)
        : bron(env.path(QStringLiteral("bron.db"))), doel(env.path(QStringLiteral("doel.db")))
    {
        fixtures::makeDatabase(bron, fixtures::Kind::ProductTable, bronVersie);
        if (serverDoel)
            fixtures::makeServerDatabase(doel, fixtures::Kind::ProductTable, doelVersie);
        else
            fixtures::makeDatabase(doel, fixtures::Kind::ProductTable, doelVersie);
        src = std::make_unique<fixtures::FixtureDb>(bron);
        dst = std::make_unique<fixtures::FixtureDb>(doel);
        for (auto* db : {src.get(), dst.get()}) {
            db->exec(QStringLiteral("INSERT INTO ArtType (ID, Type, Description) VALUES (4, 'T4', 'm2'), "
                                    "(8, 'T8', 'm1'), (6, 'T6', 'geen')"));
        }
        // The target's own rows push its IDs away from the source's.
        dst->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("EIGEN")}});
        dst->insert(QStringLiteral("ArtGroup"),
                    {{QStringLiteral("Code"), QStringLiteral("EIGEN")}, {QStringLiteral("OrderNr"), 5}});
        dst->insert(QStringLiteral("CalculationGroup"),
                    {{QStringLiteral("Code"), QStringLiteral("EIGEN")}, {QStringLiteral("OrderNr"), 2}});
        dst->insert(QStringLiteral("Article"),
                    {{QStringLiteral("Code"), QStringLiteral("EIGEN")}, {QStringLiteral("fkType"), 6}});
    }

    qint64 bronArtikel(const QString& code, int type, qint64 groep, qint64 calc, qint64 lev,
                       const QVariantMap& extra = {})
    {
        QVariantMap v = extra;
        v[QStringLiteral("Code")] = code;
        v[QStringLiteral("Description")] = QStringLiteral("Omschrijving ") + code;
        v[QStringLiteral("fkType")] = type;
        v[QStringLiteral("fkGroup")] = groep;
        v[QStringLiteral("fkCalcGroup")] = calc;
        v[QStringLiteral("fkSupplier")] = lev;
        v[QStringLiteral("OrderCode")] = QStringLiteral("OC-") + code;
        return src->insert(QStringLiteral("Article"), v);
    }
    void prijs1(fixtures::FixtureDb& db, qint64 art, int w, double p)
    {
        db.insert(
            QStringLiteral("PriceData1D"),
            {{QStringLiteral("fkArticle"), art}, {QStringLiteral("W"), w}, {QStringLiteral("Price"), p}});
    }
    void prijs2(fixtures::FixtureDb& db, qint64 art, int w, int h, double p)
    {
        db.insert(QStringLiteral("PriceData2D"), {{QStringLiteral("fkArticle"), art},
                                                  {QStringLiteral("W"), w},
                                                  {QStringLiteral("H"), h},
                                                  {QStringLiteral("Price"), p}});
    }
    // The standard content: supplier LEV, groups G1 (type 4 and 8) and G2 (type 4), calc group K1,
    // article A4 (type 4, two 2D rows) and B8 (type 8, two 1D rows).
    void standaard()
    {
        const qint64 lev =
            src->insert(QStringLiteral("Supplier"), {{QStringLiteral("Code"), QStringLiteral("LEV")}});
        const qint64 g1 =
            src->insert(QStringLiteral("ArtGroup"),
                        {{QStringLiteral("Code"), QStringLiteral("G1")}, {QStringLiteral("OrderNr"), 40}});
        const qint64 g2 =
            src->insert(QStringLiteral("ArtGroup"),
                        {{QStringLiteral("Code"), QStringLiteral("G2")}, {QStringLiteral("OrderNr"), 41}});
        const qint64 k1 =
            src->insert(QStringLiteral("CalculationGroup"), {{QStringLiteral("Code"), QStringLiteral("K1")}});
        const qint64 a4 = bronArtikel(QStringLiteral("A4"), 4, g2, k1, lev);
        const qint64 a4b = bronArtikel(QStringLiteral("A4b"), 4, g1, k1, lev);
        const qint64 b8 = bronArtikel(QStringLiteral("B8"), 8, g1, k1, lev);
        prijs2(*src, a4, 100, 200, 12.5);
        prijs2(*src, a4, 100, 300, 13.5);
        prijs2(*src, a4b, 50, 50, 1.25);
        prijs1(*src, b8, 1000, 7.25);
        prijs1(*src, b8, 2000, 9.75);
    }

    QVariant doelWaarde(const QString& sql, const QVariantList& params = {})
    {
        return dst->scalar(sql, params);
    }
    qint64 doelId(const QString& tabel, const QString& code)
    {
        return dst->scalar(QStringLiteral("SELECT ID FROM %1 WHERE Code = ?").arg(tabel), {code})
            .toLongLong();
    }
};

} // namespace supplink::test
