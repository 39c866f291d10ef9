#include "wizard/transferpakket.h"

#include "database/doelbestand.h"
#include "database/sqlitebackend.h"
#include "fixtures/designdatabases.h"
#include "sources/clsbron2.h"
#include "start/globals.h"

#include <QDir>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace supplink::test {

namespace {

using Db = std::shared_ptr<SqliteBackend>;

void voerUit(const Db& db, const QString& sql, const QVariantList& waarden)
{
    const std::unique_ptr<Statement> s = db->prepare(sql);
    for (int i = 0; i < waarden.size(); ++i)
        s->bind(i, waarden.at(i));
    s->execute();
}

// ---- Product table ---------------------------------------------------------------------------------------

QString artikelCode(int i)
{
    return QStringLiteral("ART-%1").arg(i, 6, 10, QLatin1Char('0'));
}

// bron: the supplier's table; otherwise the user's, which numbers the look-ups the other way round, holds every
// odd article with other prices and order data, and articles of its own.
void vulProducten(const Db& db, int artikelen, bool bron)
{
    Transaction t(db);
    voerUit(db, QStringLiteral("INSERT INTO ArtType (ID, Type, Description) VALUES (4, 'T4', 'Profielen m2'), "
                               "(8, 'T8', 'Profielen m1')"),
            {});
    voerUit(db, QStringLiteral("INSERT INTO Supplier (ID, Code, Description) VALUES (?, 'LEV', 'Leverancier')"),
            {bron ? 1 : 7});
    voerUit(db, QStringLiteral("INSERT INTO CalculationGroup (ID, Code, Description) VALUES (?, 'K1', 'Kalk')"),
            {bron ? 1 : 3});
    const auto groep = db->prepare(QStringLiteral("INSERT INTO ArtGroup (ID, Code, Description, OrderNr) VALUES (?, ?, ?, ?)"));
    for (int g = 1; g <= 200; ++g) {
        groep->bind(0, bron ? g : 201 - g);
        groep->bind(1, QStringLiteral("G%1").arg(g));
        groep->bind(2, QStringLiteral("Groep %1").arg(g));
        groep->bind(3, g);
        groep->execute();
    }
    const auto artikel = db->prepare(QStringLiteral(
        "INSERT INTO Article (Code, Description, fkType, fkGroup, fkCalcGroup, fkSupplier, OrderCode, PriceOrder, "
        "PriceUnit, w, H) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const auto prijs1 = db->prepare(QStringLiteral("INSERT INTO PriceData1D (fkArticle, W, Price) VALUES (?, ?, ?)"));
    const auto prijs2 =
        db->prepare(QStringLiteral("INSERT INTO PriceData2D (fkArticle, W, H, Price) VALUES (?, ?, ?, ?)"));
    const auto schrijf = [&](const QString& code, int i, int type, double factor) {
        const int g = 1 + i % 200;
        artikel->bind(0, code);
        artikel->bind(1, QStringLiteral("Artikel %1").arg(i));
        artikel->bind(2, type);
        artikel->bind(3, bron ? g : 201 - g);
        artikel->bind(4, bron ? 1 : 3);
        artikel->bind(5, bron ? 1 : 7);
        artikel->bind(6, QStringLiteral("BC%1-%2").arg(i).arg(bron ? 1 : 0));
        artikel->bind(7, 1.5 * factor);
        artikel->bind(8, 2.25 * factor);
        artikel->bind(9, 56 + i % 30);
        artikel->bind(10, 80 + i % 50);
        artikel->execute();
        const qint64 id = artikel->lastInsertId();
        for (int n = 1; n <= 2; ++n) {
            if (type == 4) {
                prijs2->bind(0, id);
                prijs2->bind(1, 100 * n);
                prijs2->bind(2, 200);
                prijs2->bind(3, i * 0.5 * n * factor);
                prijs2->execute();
            } else {
                prijs1->bind(0, id);
                prijs1->bind(1, 1000 * n);
                prijs1->bind(2, i * 0.25 * n * factor);
                prijs1->execute();
            }
        }
    };
    for (int i = 1; i <= artikelen; ++i) {
        if (bron || i % 2 == 1)
            schrijf(artikelCode(i), i, i % 2 ? 4 : 8, bron ? 1.0 : 0.8);
    }
    if (!bron) {
        for (int j = 1; j <= artikelen / 4; ++j)
            schrijf(QStringLiteral("EIGEN-%1").arg(j), j, j % 2 ? 4 : 8, 1.1);
    }
    t.commit();
}

// ---- Options ---------------------------------------------------------------------------------------------

QString compact(const QJsonValue& waarde)
{
    return QString::fromUtf8(waarde.isArray() ? QJsonDocument(waarde.toArray()).toJson(QJsonDocument::Compact)
                                              : QJsonDocument(waarde.toObject()).toJson(QJsonDocument::Compact));
}

// The Data of an options combination: four lists, each held in a text; every article an object in a text.
QString combiData(int combi, const QString& prefix, const QString& ref)
{
    QJsonArray artikelen;
    for (int a = 0; a < 10; ++a) {
        const QString n = QString::number(a);
        artikelen.append(compact(QJsonObject{{QStringLiteral("fkArticle"), QStringLiteral("%1-%2-%3").arg(prefix).arg(combi).arg(a)},
                                             {QStringLiteral("Position"), n},
                                             {QStringLiteral("Polygon"), QStringLiteral("0,0;10,0;10,") + n},
                                             {QStringLiteral("Origin"), QStringLiteral("1")},
                                             {QStringLiteral("YPos"), QStringLiteral("12.5")},
                                             {QStringLiteral("Draw"), QStringLiteral("1")},
                                             {QStringLiteral("RealLength"), QStringLiteral("100")},
                                             {QStringLiteral("Type"), QStringLiteral("2")},
                                             {QStringLiteral("WFrom"), QStringLiteral("0")},
                                             {QStringLiteral("WTo"), QStringLiteral("3000")}}));
    }
    return compact(QJsonObject{{QStringLiteral("RefUsages"), compact(QJsonArray{ref})},
                               {QStringLiteral("ArtUsages"), QStringLiteral("[]")},
                               {QStringLiteral("ActUsages"), QStringLiteral("[]")},
                               {QStringLiteral("LHArticles"), compact(artikelen)}});
}

// bron: every combination and choice; otherwise every even one with other data, and some of the user's own.
void vulOpties(const Db& db, int combies, int keuzes, bool bron)
{
    Transaction t(db);
    const auto combi = db->prepare(QStringLiteral(
        "INSERT INTO LocksHingesCombi (Code, Description, Polygon, Lim_min_W, Lim_min_H, Lim_min_A, Lim_max_W, "
        "Lim_max_H, Lim_max_A, Data) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QHash<QString, qint64> combiId;
    const auto schrijfCombi = [&](const QString& code, int i, bool nieuw) {
        const double basis = nieuw ? 1 : 100;
        combi->bind(0, code);
        combi->bind(1, QStringLiteral("Combi %1").arg(i));
        combi->bind(2, nieuw ? QStringLiteral("0,0;1,1") : QStringLiteral("oud"));
        for (int k = 0; k < 6; ++k)
            combi->bind(3 + k, basis + k);
        combi->bind(9, combiData(i, nieuw ? QStringLiteral("ART") : QStringLiteral("OUD"),
                                 nieuw ? QStringLiteral("R-bron") : QStringLiteral("R-doel")));
        combi->execute();
        combiId.insert(code, combi->lastInsertId());
    };
    for (int i = 0; i < combies; ++i) {
        if (bron || i % 2 == 0)
            schrijfCombi(QStringLiteral("HS-%1").arg(i), i, bron);
    }
    if (!bron) {
        for (int j = 0; j < combies / 10; ++j)
            schrijfCombi(QStringLiteral("EIGEN-HS-%1").arg(j), j, false);
    }
    const auto keuze = db->prepare(QStringLiteral("INSERT INTO CustomLHCombi (Code, Description) VALUES (?, ?)"));
    const auto rij =
        db->prepare(QStringLiteral("INSERT INTO CustomLH (fkCustomLHCombi, fkLockHingeCombi) VALUES (?, ?)"));
    for (int k = 0; k < keuzes; ++k) {
        if (!bron && k % 2 == 1)
            continue;
        keuze->bind(0, QStringLiteral("K-%1").arg(k));
        keuze->bind(1, QStringLiteral("Keuze %1").arg(k));
        keuze->execute();
        const qint64 id = keuze->lastInsertId();
        for (int r = 0; r < 3; ++r) {
            // The user's choices hold other (existing) combinations.
            const int c = bron ? (k * 7 + r * 11) % combies : ((k * 7 + r * 13) % combies) / 2 * 2;
            rij->bind(0, id);
            rij->bind(1, combiId.value(QStringLiteral("HS-%1").arg(c)));
            rij->execute();
        }
    }
    t.commit();
}

// ---- Library ---------------------------------------------------------------------------------------------

struct Familie
{
    QString tabel;
    QStringList extra; // the main table's own columns besides Code and Description
    QString kind;
    QString koppeling;
    QStringList velden;
};

QList<Familie> families()
{
    const QStringList gebruik{QStringLiteral("fkArtAct"),      QStringLiteral("Count"),
                              QStringLiteral("Polygon"),       QStringLiteral("OverlengthDim1"),
                              QStringLiteral("CR_Length"),     QStringLiteral("OverlengthDim2"),
                              QStringLiteral("UsageDescription")};
    return {
        {QStringLiteral("PaneGrooveTable"), {}, QStringLiteral("PaneGroove"), QStringLiteral("fkPaneGrooveTable"),
         {QStringLiteral("GrooveDepth"), QStringLiteral("GlassDepth"), QStringLiteral("WindowDepth"),
          QStringLiteral("DoorDepth"), QStringLiteral("RackDepth"), QStringLiteral("GrooveShape"),
          QStringLiteral("CornerleadPentable"), QStringLiteral("SideleadPentable"), QStringLiteral("DeepestGroove"),
          QStringLiteral("PaneSide")}},
        {QStringLiteral("EdgeGroove"), {QStringLiteral("GrooveShape")}, {}, {}, {}},
        {QStringLiteral("OuterGrooveTable"), {}, QStringLiteral("OuterGroove"), QStringLiteral("fkOuterGrooveTable"),
         {QStringLiteral("WindowOverlap"), QStringLiteral("DoorOverlap"), QStringLiteral("GrooveShape"),
          QStringLiteral("PaneSide")}},
        {QStringLiteral("TreshHoldCombi"),
         {QStringLiteral("ArtCode"), QStringLiteral("PaneGrooveShape"), QStringLiteral("EdgeGrooveShape")},
         QStringLiteral("TreshHoldArticleUsage"), QStringLiteral("fkCombi"), gebruik},
        {QStringLiteral("TreshHoldCombiExt"), {QStringLiteral("ArtCode")}, QStringLiteral("TreshHoldExtArticleUsage"),
         QStringLiteral("fkCombi"), gebruik},
    };
}

QVariant bibliotheekWaarde(const QString& veld, int rij, int k, bool bron)
{
    static const QStringList gehele{QStringLiteral("PaneSide"), QStringLiteral("Count")};
    static const QStringList getallen{QStringLiteral("GrooveDepth"),   QStringLiteral("GlassDepth"),
                                      QStringLiteral("WindowDepth"),   QStringLiteral("DoorDepth"),
                                      QStringLiteral("RackDepth"),     QStringLiteral("DeepestGroove"),
                                      QStringLiteral("WindowOverlap"), QStringLiteral("DoorOverlap"),
                                      QStringLiteral("OverlengthDim1"), QStringLiteral("CR_Length"),
                                      QStringLiteral("OverlengthDim2")};
    if (gehele.contains(veld))
        return rij % 7 + k;
    if (getallen.contains(veld))
        return rij * 0.5 + k + (bron ? 0 : 1000);
    return QStringLiteral("%1-%2-%3%4").arg(veld).arg(rij).arg(k).arg(bron ? QString() : QStringLiteral("-oud"));
}

QString bibliotheekCode(const Familie& f, int r)
{
    return QStringLiteral("%1-%2").arg(f.tabel.left(3)).arg(r, 5, 10, QLatin1Char('0'));
}

// bron: every row with five children; otherwise every even row (with children of its own) and rows of its own.
void vulBibliotheek(const Db& db, int rijen, bool bron)
{
    Transaction t(db);
    for (const Familie& f : families()) {
        const QStringList hoofd = QStringList{QStringLiteral("Code"), QStringLiteral("Description")} + f.extra;
        const auto ouder = db->prepare(QStringLiteral("INSERT INTO %1 (%2, fkCategory) VALUES (%3, 4)")
                                           .arg(f.tabel, hoofd.join(QStringLiteral(", ")),
                                                QStringList(hoofd.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
        std::unique_ptr<Statement> kind;
        if (!f.kind.isEmpty())
            kind = db->prepare(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, %4)")
                                   .arg(f.kind, f.koppeling, f.velden.join(QStringLiteral(", ")),
                                        QStringList(f.velden.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
        const auto schrijf = [&](const QString& code, int r) {
            ouder->bind(0, code);
            ouder->bind(1, QStringLiteral("Omschrijving %1%2").arg(r).arg(bron ? QString() : QStringLiteral(" (oud)")));
            for (int i = 2; i < hoofd.size(); ++i)
                ouder->bind(i, bibliotheekWaarde(hoofd.at(i), r, 0, bron));
            ouder->execute();
            const qint64 id = ouder->lastInsertId();
            for (int k = 1; kind && k <= (bron ? 5 : 3); ++k) {
                kind->bind(0, id);
                for (int i = 0; i < f.velden.size(); ++i)
                    kind->bind(i + 1, bibliotheekWaarde(f.velden.at(i), r, k, bron));
                kind->execute();
            }
        };
        for (int r = 1; r <= rijen; ++r) {
            if (bron || r % 2 == 0)
                schrijf(bibliotheekCode(f, r), r);
        }
        if (!bron) {
            for (int j = 1; j <= rijen / 10; ++j)
                schrijf(QStringLiteral("EIGEN-%1-%2").arg(f.tabel.left(3)).arg(j), j);
        }
    }
    t.commit();
}

// ---- Work preparation ------------------------------------------------------------------------------------

QString vormCode(int i)
{
    return QStringLiteral("SF%1").arg(i, 5, 10, QLatin1Char('0'));
}

// bron: every shape; otherwise every even one (with geometry of its own) and shapes of its own.
void vulWerkvoorbereiding(const Db& db, int vormen, bool bron)
{
    Transaction t(db);
    const auto vorm = db->prepare(QStringLiteral(
        "INSERT INTO GrooveShape (Code, Description, Type, Priority, fkCategory) VALUES (?, ?, ?, ?, 3)"));
    const auto geometrie = db->prepare(QStringLiteral(
        "INSERT INTO GrooveShapeGeom (fkGrooveShape, bContra, PreviewWidth, PreviewHeight) VALUES (?, ?, ?, ?)"));
    const auto node = db->prepare(QStringLiteral(
        "INSERT INTO GrooveShapeNodes (fkGrooveShapeGeom, OrderNr, DeltaX, DeltaZType, DeltaZFormula, RoundingType, "
        "RoundingValue, DeltaZ, Angle, AngleRule, Reference) VALUES (?, ?, ?, ?, ?, 0, 0.5, ?, ?, 1, 0)"));
    const auto naam = db->prepare(QStringLiteral("INSERT INTO GrooveShapeNames (fkGrooveShape, Width, Name) VALUES (?, ?, ?)"));
    const auto schrijf = [&](const QString& code, int i) {
        vorm->bind(0, code);
        vorm->bind(1, QStringLiteral("Sponningfiguur %1").arg(i));
        vorm->bind(2, 1 + i % 4);
        vorm->bind(3, i % 10);
        vorm->execute();
        const qint64 vormId = vorm->lastInsertId();
        for (const int contra : {0, -1}) {
            geometrie->bind(0, vormId);
            geometrie->bind(1, contra);
            geometrie->bind(2, 100 + i % 50 + (bron ? 0 : 7));
            geometrie->bind(3, 80 + i % 30);
            geometrie->execute();
            const qint64 geometrieId = geometrie->lastInsertId();
            for (int n = 6; n >= 1; --n) {
                node->bind(0, geometrieId);
                node->bind(1, n * 10);
                node->bind(2, n * 0.001 + i * 1e-6);
                node->bind(3, n % 2);
                node->bind(4, n % 2 ? QVariant(QStringLiteral("b/%1").arg(n)) : QVariant());
                node->bind(5, n * 0.002);
                node->bind(6, contra ? 45.0 : 0.0);
                node->execute();
            }
        }
        for (const int breedte : {56, 68}) {
            naam->bind(0, vormId);
            naam->bind(1, breedte);
            naam->bind(2, QStringLiteral("Naam %1 %2").arg(i).arg(breedte));
            naam->execute();
        }
    };
    for (int i = 0; i < vormen; ++i) {
        if (bron || i % 2 == 0)
            schrijf(vormCode(i), i);
    }
    if (!bron) {
        for (int j = 0; j < vormen / 10; ++j)
            schrijf(QStringLiteral("EIGEN-SF%1").arg(j), j);
    }
    t.commit();
}

ItemCollection selectie(const QStringList& codes)
{
    ItemCollection items;
    for (const QString& code : codes) {
        auto item = std::make_shared<clsItem>();
        item->Code = code;
        item->Description = code;
        item->Selected = true;
        items << item;
    }
    return items;
}

} // namespace

PakketMaten PakketMaten::Geschaald(double factor)
{
    const PakketMaten basis;
    const auto maat = [factor](int n) { return qMax(1, int(n * factor + 0.5)); };
    return {maat(basis.artikelen), maat(basis.combies), maat(basis.keuzes), maat(basis.bibliotheekRijen),
            maat(basis.vormen)};
}

QString TransferPakket::bron(DoelSoort soort) const
{
    return QDir(map).filePath(QStringLiteral("bronnen/") + DatabaseNaam(soort));
}

QString TransferPakket::doel(DoelSoort soort) const
{
    return QDir(map).filePath(QStringLiteral("doelen/") + DatabaseNaam(soort));
}

TransferPakket SchrijfTransferPakket(const QString& map, const PakketMaten& maten)
{
    TransferPakket pakket{map, maten};
    QDir(map).mkpath(QStringLiteral("bronnen"));
    QDir(map).mkpath(QStringLiteral("doelen"));
    for (const DoelSoort soort : kDoelVolgorde) {
        for (const bool bron : {true, false}) {
            const QString pad = bron ? pakket.bron(soort) : pakket.doel(soort);
            fixtures::makeDatabase(pad, FixtureSoort(soort), {3, 40});
            const Db db = SqliteBackend::open(pad);
            switch (soort) {
            case DoelSoort::PT:
                vulProducten(db, maten.artikelen, bron);
                break;
            case DoelSoort::Opt:
                vulOpties(db, maten.combies, maten.keuzes, bron);
                break;
            case DoelSoort::Lib:
                vulBibliotheek(db, maten.bibliotheekRijen, bron);
                break;
            case DoelSoort::Wkv:
                vulWerkvoorbereiding(db, maten.vormen, bron);
                break;
            }
            db->close();
        }
    }
    return pakket;
}

void KiesTransferPakket(const TransferPakket& pakket)
{
    ProgramState& g = globals();
    g = ProgramState();
    auto opties = std::make_shared<clsImportOpties>();
    opties->ImporterenArtikelen = true;
    opties->DoorvoerenPrijsWijzigingen = true;
    opties->NieuweArtikelenToevoegen = true;
    opties->ImporterenTabellen = true;
    opties->ImporterenHSKeuzes = true;
    opties->ImporterenShapes = true;
    opties->ImporterenVaksponningen = true;
    opties->ImporterenRandsponningen = true;
    opties->ImporterenElementsponningen = true;
    opties->ImporterenLaagrelief = true;
    opties->ImporterenNeuten = true;
    g.gImportOpties = opties;

    const struct
    {
        DoelSoort soort;
        qint32 bronSoort;
        const char* types;
    } bronnen[] = {{DoelSoort::Opt, BronSoort::TabellenCombies, ""},
                   {DoelSoort::PT, BronSoort::Artikelen, "4;8"},
                   {DoelSoort::Lib, BronSoort::Bibliotheek, "1;2;3;4;5"},
                   {DoelSoort::Wkv, BronSoort::WKV, "1;2;3;4"}};
    for (const auto& b : bronnen) {
        auto bron = std::make_shared<clsBron2>();
        bron->BronPad = pakket.bron(b.soort);
        bron->BestandsNaam = DatabaseNaam(b.soort);
        bron->Soort = b.bronSoort;
        bron->IsSQLite = true;
        bron->TypeSelectie = QString::fromLatin1(b.types);
        g.gBronnen << bron;
        g.gBronnenGeselecteerd << bron;
        auto doel = std::make_shared<clsDoelBestand>();
        doel->Soort = DoelBestandSoort(b.soort);
        doel->setPath(pakket.doel(b.soort));
        doel->Geselecteerd = true;
        g.gDoelBestanden << doel;
    }

    const PakketMaten& m = pakket.maten;
    QStringList codes;
    for (int i = 1; i <= m.artikelen; ++i)
        codes << artikelCode(i);
    g.gColArtikelenGeselecteerd = selectie(codes);
    g.gColArtikelen = g.gColArtikelenGeselecteerd;
    codes.clear();
    for (int i = 0; i < m.combies; ++i)
        codes << QStringLiteral("HS-%1").arg(i);
    g.gColHSCombiesGeselecteerd = selectie(codes);
    codes.clear();
    for (int k = 0; k < m.keuzes; ++k)
        codes << QStringLiteral("K-%1").arg(k);
    g.gColHSKeuzesGeselecteerd = selectie(codes);
    ItemCollection* const familieSelecties[] = {&g.gColVaksponningenGeselecteerd, &g.gColRandsponningenGeselecteerd,
                                        &g.gColElementsponningenGeselecteerd, &g.gColLaagreliefGeselecteerd,
                                        &g.gColNeutenGeselecteerd};
    const QList<Familie> alle = families();
    for (int f = 0; f < alle.size(); ++f) {
        codes.clear();
        for (int r = 1; r <= m.bibliotheekRijen; ++r)
            codes << bibliotheekCode(alle.at(f), r);
        *familieSelecties[f] = selectie(codes);
    }
    codes.clear();
    for (int i = 0; i < m.vormen; ++i)
        codes << vormCode(i);
    g.gColSponningfigurenGeselecteerd = selectie(codes);
}

} // namespace supplink::test
