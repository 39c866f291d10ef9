// The demo package's databases: the supplier's product table, options,
// library and work-preparation databases and the user's own four, all SQLite
// of version 3.40 (the layout with child rows and groove-shape geometry),
// made by the fixture builders and filled from the content description.
//
// The user's databases hold part of the supplier's content in an older form
// (other prices, fewer articles in a combination, families without or with
// fewer child rows) and some content of their own, so that a transfer both
// changes existing rows and adds new ones.

#include "voorbeeld/voorbeeldschrijvers.h"

#include "voorbeeld/voorbeeldpakket.h"

#include "database/recordset.h"
#include "fixtures/designdatabases.h"
#include "fixtures/profilefixtures.h"
#include "sources/typeselectie.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <cmath>
#include <stdexcept>

namespace supplink::voorbeeld {

namespace {

using fixtures::FixtureDb;
using fixtures::Kind;

constexpr fixtures::Version kVersie{3, 40};

QString s(const char* tekst)
{
    return QString::fromUtf8(tekst);
}

void nieuw(const QString& pad, Kind soort)
{
    if (!fixtures::makeDatabase(pad, soort, kVersie))
        throw std::runtime_error(
            QStringLiteral("De database '%1' kan niet worden gemaakt.").arg(pad).toStdString());
}

double tweeDecimalen(double waarde)
{
    return std::round(waarde * 100.0) / 100.0;
}

qint64 id(FixtureDb& db, const QString& tabel, const QString& code)
{
    return db.scalar(QStringLiteral("SELECT ID FROM \"%1\" WHERE Code = ?").arg(tabel), {code}).toLongLong();
}

// ---------------------------------------------------------------------------
// Product tables

// The article types by the names the type selection shows, the ID being the type's number.
void artTypes(FixtureDb& db)
{
    for (int t = 0;; ++t) {
        const QString naam = TypeSelectieModel::TypeNaam(TypeSelectieSoort::Artikelen, t);
        if (naam.isEmpty())
            break;
        db.insert(
            s("ArtType"),
            {{s("ID"), t}, {s("Type"), QString::number(t)}, {s("Description"), naam}, {s("OrderNr"), t + 1}});
    }
}

void vasteTabellen(FixtureDb& db)
{
    const QList<QPair<QString, QString>> kleuren{{s("RAL9010"), s("Gebroken wit")},
                                                 {s("RAL9001"), s("Crèmewit")},
                                                 {s("RAL7016"), s("Antracietgrijs")},
                                                 {s("RAL6009"), s("Dennengroen")}};
    for (const auto& [code, omschrijving] : kleuren)
        db.insert(s("Colors"), {{s("Code"), code}, {s("Description"), omschrijving}});
    db.insert(s("Genericprofile"), {{s("Code"), s("GP-KOZIJN")}, {s("Description"), s("Kozijnprofiel")}});
    db.insert(s("Genericprofile"), {{s("Code"), s("GP-RAAM")}, {s("Description"), s("Raamprofiel")}});
    const QList<QPair<QString, QString>> calculatie{{s("VB-CALC-HOUT"), s("Houtbewerking")},
                                                    {s("VB-CALC-GLAS"), s("Glaszetten")},
                                                    {s("VB-CALC-BESLAG"), s("Beslag monteren")}};
    int volgorde = 1;
    for (const auto& [code, omschrijving] : calculatie)
        db.insert(s("CalculationGroup"),
                  {{s("Code"), code}, {s("Description"), omschrijving}, {s("OrderNr"), volgorde++}});
}

QString calculatieGroep(int type)
{
    switch (type) {
    case 0:
    case 1:
        return s("VB-CALC-HOUT");
    case 2:
    case 3:
    case 4:
        return s("VB-CALC-GLAS");
    default:
        return s("VB-CALC-BESLAG");
    }
}

// One article row; the price factor and the date make the user's older copy.
qint64 artikelRij(FixtureDb& db, const Artikel& a, qint64 groep, qint64 leverancier, double prijsFactor,
                  const QDate& gewijzigd)
{
    QVariantMap rij{{s("Code"), a.code},
                    {s("Description"), a.omschrijving},
                    {s("DisplayDescription"), a.omschrijving},
                    {s("OfferDescr"), a.omschrijving},
                    {s("fkType"), a.type},
                    {s("fkGroup"), groep > 0 ? QVariant(groep) : QVariant()},
                    {s("fkCalcGroup"), id(db, s("CalculationGroup"), calculatieGroep(a.type))},
                    {s("fkSupplier"), leverancier},
                    {s("OrderCode"), a.bestelcode},
                    {s("PriceOrder"), tweeDecimalen(a.prijs * prijsFactor)},
                    {s("PriceUnit"), tweeDecimalen(a.prijs * prijsFactor)},
                    {s("Unity"), a.eenheid},
                    {s("LastModified"), QDateTime(gewijzigd, QTime(8, 0))},
                    {s("LastSynchronized"), QVariant()},
                    {s("Limited"), 0},
                    {s("FixedLength"), a.type == 0 ? 0 : 1},
                    {s("Deprecated"), 0},
                    {s("w"), a.breedte},
                    {s("H"), a.hoogte},
                    {s("t"), a.dikte},
                    {s("TradeLength"), a.handelslengte},
                    {s("TradeLengthCalc"), a.handelslengte},
                    {s("GarbagePerc"), a.type == 0 ? 5.0 : 0.0},
                    {s("Remark"), a.opmerking.isEmpty() ? QVariant() : QVariant(a.opmerking)}};
    if (!a.gespiegeld.isEmpty())
        rij.insert(s("fkMirroredArticle"), a.gespiegeld);
    if (a.type == 0)
        rij.insert(s("fkGenericProfile"), id(db, s("Genericprofile"), s("GP-KOZIJN")));
    return db.insert(s("Article"), rij);
}

// The price tables, only for the article types that carry them (the product-table synchronisation replaces
// the price rows of those types alone): by length for ventilation grilles and sills (types 8 and 14), by
// width and height for safety glass (type 4).
void prijzen(FixtureDb& db, const Artikel& a, qint64 artikelId, double prijsFactor)
{
    const double prijs = a.prijs * prijsFactor;
    if (a.type == 8 || a.type == 14) {
        for (int lengte = 1000; lengte <= 3000; lengte += 500)
            db.insert(s("PriceData1D"), {{s("fkArticle"), artikelId},
                                         {s("W"), lengte},
                                         {s("Price"), tweeDecimalen(prijs * lengte / 1000.0)}});
    } else if (a.type == 4 || a.type == 9) {
        for (int breedte = 1000; breedte <= 3000; breedte += 1000)
            for (int hoogte = 1000; hoogte <= 2000; hoogte += 500)
                db.insert(s("PriceData2D"), {{s("fkArticle"), artikelId},
                                             {s("W"), breedte},
                                             {s("H"), hoogte},
                                             {s("Price"), tweeDecimalen(prijs * breedte * hoogte / 1.0e6)}});
    }
}

qint64 leverancierRij(FixtureDb& db, const QString& code, const QString& omschrijving)
{
    return db.insert(s("Supplier"), {{s("Code"), code}, {s("Description"), omschrijving}});
}

// An article exists in the user's product table in an older form: every third, of the groups the user has.
bool bestaatInDoel(int index, const Artikel& a)
{
    return index % 3 == 0 && a.groep <= 8;
}

// ---------------------------------------------------------------------------
// Options

QString jsonTekst(const QString& tekst)
{
    const QByteArray lijst = QJsonDocument(QJsonArray{tekst}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(lijst.mid(1, lijst.size() - 2));
}

// An object with its members in the order given, every value a text.
QString jsonObject(const QList<QPair<QString, QString>>& leden)
{
    QStringList delen;
    for (const auto& [sleutel, waarde] : leden)
        delen << jsonTekst(sleutel) + QLatin1Char(':') + jsonTekst(waarde);
    return QLatin1Char('{') + delen.join(QLatin1Char(',')) + QLatin1Char('}');
}

QString getal(double waarde)
{
    return QString::number(waarde, 'g', 10);
}

// The Data of an options combination: the three usage lists and the articles, each list a text holding
// an array, each article a text holding an object of texts.
QString optieData(const Combinatie& c, int aantalArtikelen)
{
    QStringList artikelen;
    for (int m = 0; m < c.artikelen.size() && m < aantalArtikelen; ++m) {
        const CombiArtikel& a = c.artikelen.at(m);
        const bool breedte = a.breedteVan > 0 || a.breedteTot > 0;
        const bool hoogte = a.hoogteVan > 0 || a.hoogteTot > 0;
        const int type = breedte && hoogte ? 3 : breedte ? 1 : hoogte ? 2 : 0;
        artikelen << jsonTekst(jsonObject({{s("fkArticle"), a.artikel},
                                           {s("Position"), QString::number(a.positie)},
                                           {s("Polygon"), s("0")},
                                           {s("Origin"), QString::number(a.oorsprong)},
                                           {s("YPos"), getal(a.y * 10)},
                                           {s("CR_X"), a.x},
                                           {s("Draw"), a.x.isEmpty() ? s("0") : s("1")},
                                           {s("RealLength"), getal(a.lengte)},
                                           {s("DrawLength"), QString()},
                                           {s("DrawWidth"), QString()},
                                           {s("Misc1"), QString()},
                                           {s("Misc2"), QString()},
                                           {s("Misc3"), QString()},
                                           {s("Misc4"), QString()},
                                           {s("Misc5"), QString()},
                                           {s("Type"), QString::number(type)},
                                           {s("WFrom"), QString::number(breedte ? a.breedteVan * 10 : 0)},
                                           {s("WTo"), QString::number(breedte ? a.breedteTot * 10 : 0)},
                                           {s("HFrom"), QString::number(hoogte ? a.hoogteVan * 10 : 0)},
                                           {s("HTo"), QString::number(hoogte ? a.hoogteTot * 10 : 0)}}));
    }
    return QStringLiteral("{") + jsonTekst(s("ArtUsages")) + s(":") + jsonTekst(s("[]")) + s(",") +
           jsonTekst(s("ActUsages")) + s(":") + jsonTekst(s("[]")) + s(",") + jsonTekst(s("RefUsages")) +
           s(":") + jsonTekst(s("[]")) + s(",") + jsonTekst(s("LHArticles")) + s(":") +
           jsonTekst(QLatin1Char('[') + artikelen.join(QLatin1Char(',')) + QLatin1Char(']')) +
           QStringLiteral("}");
}

qint64 combinatieRij(FixtureDb& db, const Combinatie& c, int aantalArtikelen, const QString& omschrijving)
{
    return db.insert(s("LocksHingesCombi"), {{s("Code"), c.code},
                                             {s("Description"), omschrijving},
                                             {s("Polygon"), QString()},
                                             {s("Lim_min_W"), 400.0},
                                             {s("Lim_min_H"), 600.0},
                                             {s("Lim_min_A"), 0.0},
                                             {s("Lim_max_W"), c.maxBreedte},
                                             {s("Lim_max_H"), c.maxHoogte},
                                             {s("Lim_max_A"), 0.0},
                                             {s("Data"), optieData(c, aantalArtikelen)}});
}

void combinatieTabellen(FixtureDb& db, const Inhoud& inhoud, const Combinatie& c, qint64 combiId)
{
    for (int t : c.tabellen) {
        const qint64 tabel = id(db, s("LocksHingesTable"), inhoud.tabellen.at(t).code);
        if (tabel > 0)
            db.insert(s("LocksHingesType"), {{s("fkLocksHingesTable"), tabel},
                                             {s("fkLocksHingesCombi"), combiId},
                                             {s("MaxHeight"), c.maxHoogte},
                                             {s("MaxWidth"), c.maxBreedte}});
    }
}

void keuzeRij(FixtureDb& db, const Keuze& k, int aantalCombinaties, const QString& omschrijving)
{
    const qint64 keuze =
        db.insert(s("CustomLHCombi"), {{s("Code"), k.code}, {s("Description"), omschrijving}});
    for (int m = 0; m < k.combinaties.size() && m < aantalCombinaties; ++m) {
        const qint64 combi = id(db, s("LocksHingesCombi"), k.combinaties.at(m));
        if (combi > 0)
            db.insert(s("CustomLH"), {{s("fkCustomLHCombi"), keuze}, {s("fkLockHingeCombi"), combi}});
    }
}

// ---------------------------------------------------------------------------
// Library

struct FamilieSoort
{
    const char* hoofd;
    const char* kind;      // empty: no child table
    const char* koppeling; // the child's link column
};

const FamilieSoort kVak{"PaneGrooveTable", "PaneGroove", "fkPaneGrooveTable"};
const FamilieSoort kRand{"EdgeGroove", "", ""};
const FamilieSoort kElement{"OuterGrooveTable", "OuterGroove", "fkOuterGrooveTable"};
const FamilieSoort kLaagrelief{"TreshHoldCombi", "TreshHoldArticleUsage", "fkCombi"};
const FamilieSoort kNeut{"TreshHoldCombiExt", "TreshHoldExtArticleUsage", "fkCombi"};

void familieRij(FixtureDb& db, const FamilieSoort& soort, const Familie& f, const QString& omschrijving,
                int aantalKinderen)
{
    QVariantMap hoofd = f.velden;
    hoofd.insert(s("Code"), f.code);
    hoofd.insert(s("Description"), omschrijving);
    hoofd.insert(s("fkCategory"), f.categorie);
    const qint64 hoofdId = db.insert(QString::fromLatin1(soort.hoofd), hoofd);
    if (!*soort.kind)
        return;
    for (int m = 0; m < f.kinderen.size() && m < aantalKinderen; ++m) {
        QVariantMap kind = f.kinderen.at(m);
        kind.insert(QString::fromLatin1(soort.koppeling), hoofdId);
        db.insert(QString::fromLatin1(soort.kind), kind);
    }
}

// ---------------------------------------------------------------------------
// Work preparation

void vormRij(FixtureDb& db, const Sponningvorm& v, const QString& omschrijving, bool metContra, int namen)
{
    fixtures::addGrooveShape(db, v.code, v.breedte, v.hoogte, v.knopen, 0, v.type);
    if (metContra)
        fixtures::addGrooveShape(db, v.code, v.breedte, v.hoogte, v.contraKnopen, 1, v.type);
    const qint64 vorm = id(db, s("GrooveShape"), v.code);
    db.exec(s("UPDATE GrooveShape SET Description = ?, Priority = ?, fkCategory = ? WHERE ID = ?"),
            {omschrijving, v.type * 10, v.type, vorm});
    for (int m = 0; m < v.namen.size() && m < namen; ++m)
        db.insert(s("GrooveShapeNames"), {{s("fkGrooveShape"), vorm},
                                          {s("Width"), v.namen.at(m).first},
                                          {s("Name"), v.namen.at(m).second}});
}

// Runs the filling of one database in one transaction.
// While a database is filled, every table with a Code column gets an index on it, so that the
// writers' look-ups by code (id) do not read the whole table for every row; the indexes go again before
// the file is done, which leaves the design product's own layout.
QStringList codeIndexen(FixtureDb& db)
{
    QStringList namen;
    const RecordsetPtr tabellen = db.connection()->openRecordset(QStringLiteral(
        "SELECT m.name FROM sqlite_master m WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite_%' "
        "AND EXISTS (SELECT 1 FROM pragma_table_info(m.name) WHERE name = 'Code') ORDER BY m.name"));
    for (tabellen->moveFirst(); !tabellen->eof(); tabellen->moveNext()) {
        const QString tabel = tabellen->value(0).toString();
        const QString naam = QStringLiteral("voorbeeld_code_") + tabel;
        db.exec(QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" (Code)").arg(naam, tabel));
        namen << naam;
    }
    return namen;
}

template <class Vullen> void vul(const QString& pad, Kind soort, Vullen vullen)
{
    nieuw(pad, soort);
    FixtureDb db(pad);
    Transaction transactie(db.connection());
    const QStringList indexen = codeIndexen(db);
    vullen(db);
    for (const QString& naam : indexen)
        db.exec(QStringLiteral("DROP INDEX \"%1\"").arg(naam));
    transactie.commit();
}

} // namespace

void SchrijfBronProducten(const Inhoud& inhoud, const QString& pad)
{
    vul(pad, Kind::ProductTable, [&](FixtureDb& db) {
        const qint64 leverancier =
            leverancierRij(db, QString::fromLatin1(kLeverancierCode), QString::fromLatin1(kLeverancierNaam));
        leverancierRij(db, s("HOUTHANDEL"), s("Houthandel De Eik"));
        leverancierRij(db, s("GLASHANDEL"), s("Glashandel Helder"));
        artTypes(db);
        vasteTabellen(db);
        QList<qint64> groepen;
        int volgorde = 1;
        for (const Groep& g : inhoud.groepen)
            groepen << db.insert(
                s("ArtGroup"),
                {{s("Code"), g.code}, {s("Description"), g.omschrijving}, {s("OrderNr"), volgorde++}});
        for (const Artikel& a : inhoud.artikelen) {
            const qint64 artikel = artikelRij(db, a, groepen.at(a.groep), leverancier, 1.0, a.gewijzigd);
            prijzen(db, a, artikel, 1.0);
        }
    });
}

void SchrijfDoelProducten(const Inhoud& inhoud, const QString& pad)
{
    vul(pad, Kind::ProductTable, [&](FixtureDb& db) {
        // The user's own supplier and group come first, so that the IDs differ from the supplier's.
        const qint64 eigen = leverancierRij(db, s("EIGEN"), s("Eigen inkoop"));
        const qint64 leverancier =
            leverancierRij(db, QString::fromLatin1(kLeverancierCode), QString::fromLatin1(kLeverancierNaam));
        artTypes(db);
        vasteTabellen(db);
        const qint64 eigenGroep =
            db.insert(s("ArtGroup"),
                      {{s("Code"), s("EIGEN")}, {s("Description"), s("Eigen artikelen")}, {s("OrderNr"), 1}});
        QList<qint64> groepen;
        for (int g = 0; g < inhoud.groepen.size(); ++g)
            groepen << (g <= 8
                            ? db.insert(s("ArtGroup"), {{s("Code"), inhoud.groepen.at(g).code},
                                                        {s("Description"), inhoud.groepen.at(g).omschrijving},
                                                        {s("OrderNr"), g + 2}})
                            : 0);
        const QList<Artikel> eigenArtikelen = NieuweArtikelen(inhoud, s("EIGEN-"), 12, 13);
        for (Artikel a : eigenArtikelen) {
            a.omschrijving.replace(s(" (nieuw)"), QString());
            prijzen(db, a, artikelRij(db, a, eigenGroep, eigen, 1.0, QDate(2023, 6, 1)), 1.0);
        }
        for (int i = 0; i < inhoud.artikelen.size(); ++i) {
            const Artikel& a = inhoud.artikelen.at(i);
            if (!bestaatInDoel(i, a))
                continue;
            // Last year's price list.
            const qint64 artikel =
                artikelRij(db, a, groepen.at(a.groep), leverancier, 0.92, QDate(2023, 3, 1));
            prijzen(db, a, artikel, 0.92);
        }
    });
}

void SchrijfBronOnderhoud(const Inhoud& inhoud, const QString& pad)
{
    vul(pad, Kind::Options, [&](FixtureDb& db) {
        for (const Tabel& t : inhoud.tabellen)
            db.insert(s("LocksHingesTable"), {{s("Code"), t.code}, {s("Description"), t.omschrijving}});
        for (const Combinatie& c : inhoud.combinaties)
            combinatieTabellen(db, inhoud, c, combinatieRij(db, c, int(c.artikelen.size()), c.omschrijving));
        for (const Keuze& k : inhoud.keuzes)
            keuzeRij(db, k, int(k.combinaties.size()), k.omschrijving);
    });
}

void SchrijfDoelOnderhoud(const Inhoud& inhoud, const QString& pad)
{
    vul(pad, Kind::Options, [&](FixtureDb& db) {
        db.insert(s("LocksHingesTable"),
                  {{s("Code"), s("EIGEN-TAB")}, {s("Description"), s("Eigen beslag")}});
        for (int t = 0; t < 3 && t < inhoud.tabellen.size(); ++t)
            db.insert(s("LocksHingesTable"), {{s("Code"), inhoud.tabellen.at(t).code},
                                              {s("Description"), inhoud.tabellen.at(t).omschrijving}});
        // The user's own combinations, in their own table.
        for (int k = 0; k < 3; ++k) {
            Combinatie eigen = inhoud.combinaties.at(k);
            eigen.code = QStringLiteral("EIGEN-HC-%1").arg(k + 1);
            eigen.tabellen.clear();
            const qint64 combi =
                combinatieRij(db, eigen, 2, QStringLiteral("Eigen combinatie %1").arg(k + 1));
            db.insert(s("LocksHingesType"),
                      {{s("fkLocksHingesTable"), id(db, s("LocksHingesTable"), s("EIGEN-TAB"))},
                       {s("fkLocksHingesCombi"), combi},
                       {s("MaxHeight"), 2000.0},
                       {s("MaxWidth"), 1000.0}});
        }
        // Every third combination of the database and every fourth of the files, with one article only.
        for (int k = 0; k < inhoud.combinaties.size(); k += 3) {
            const Combinatie& c = inhoud.combinaties.at(k);
            combinatieTabellen(db, inhoud, c, combinatieRij(db, c, 1, c.omschrijving + s(" (oud)")));
        }
        for (int k = 0; k < inhoud.bestandCombinaties.size(); k += 4) {
            const Combinatie& c = inhoud.bestandCombinaties.at(k);
            combinatieRij(db, c, 1, c.omschrijving + s(" (oud)"));
        }
        for (int k = 0; k < 2 && k < inhoud.keuzes.size(); ++k)
            keuzeRij(db, inhoud.keuzes.at(k), 1, inhoud.keuzes.at(k).omschrijving + s(" (oud)"));
    });
}

void SchrijfBronBibliotheek(const Inhoud& inhoud, const QString& pad)
{
    vul(pad, Kind::Library, [&](FixtureDb& db) {
        const auto alle = [&db](const FamilieSoort& soort, const QList<Familie>& families) {
            for (const Familie& f : families)
                familieRij(db, soort, f, f.omschrijving, int(f.kinderen.size()));
        };
        alle(kVak, inhoud.vaksponningen);
        alle(kRand, inhoud.randsponningen);
        alle(kElement, inhoud.elementsponningen);
        alle(kLaagrelief, inhoud.laagrelief);
        alle(kNeut, inhoud.neuten);
        for (const Sponningvorm& v : inhoud.vormen)
            db.insert(s("GrooveShape"), {{s("Code"), v.code}, {s("Description"), v.omschrijving}});
    });
}

void SchrijfDoelBibliotheek(const Inhoud& inhoud, const QString& pad)
{
    vul(pad, Kind::Library, [&](FixtureDb& db) {
        // Every second family; of those every fourth without child rows (it receives the supplier's),
        // the others with one.
        const auto deel = [&db](const FamilieSoort& soort, const QList<Familie>& families,
                                const QString& eigen) {
            Familie eigenFamilie = families.value(0);
            eigenFamilie.code = eigen;
            familieRij(db, soort, eigenFamilie, s("Eigen ") + eigenFamilie.omschrijving.toLower(), 1);
            for (int k = 0; k < families.size(); k += 2) {
                const Familie& f = families.at(k);
                familieRij(db, soort, f, f.omschrijving + s(" (oud)"), k % 8 == 0 ? 0 : 1);
            }
        };
        deel(kVak, inhoud.vaksponningen, s("EIGEN-VS-1"));
        deel(kRand, inhoud.randsponningen, s("EIGEN-RS-1"));
        deel(kElement, inhoud.elementsponningen, s("EIGEN-ES-1"));
        deel(kLaagrelief, inhoud.laagrelief, s("EIGEN-LR-1"));
        deel(kNeut, inhoud.neuten, s("EIGEN-NT-1"));
        for (int k = 0; k < inhoud.vormen.size(); k += 2)
            db.insert(s("GrooveShape"), {{s("Code"), inhoud.vormen.at(k).code},
                                         {s("Description"), inhoud.vormen.at(k).omschrijving}});
    });
}

void SchrijfBronWerkvoorbereiding(const Inhoud& inhoud, const QString& pad)
{
    vul(pad, Kind::WorkPreparation, [&](FixtureDb& db) {
        for (const Sponningvorm& v : inhoud.vormen)
            vormRij(db, v, v.omschrijving, true, int(v.namen.size()));
    });
}

void SchrijfDoelWerkvoorbereiding(const Inhoud& inhoud, const QString& pad)
{
    vul(pad, Kind::WorkPreparation, [&](FixtureDb& db) {
        Sponningvorm eigen = inhoud.vormen.value(0);
        eigen.code = s("EIGEN-SF-001");
        eigen.namen = {{50.0, s("Eigen sponning")}};
        vormRij(db, eigen, s("Eigen sponningfiguur"), false, 1);
        // Every third shape, without its contra geometry and with one name.
        for (int k = 0; k < inhoud.vormen.size(); k += 3)
            vormRij(db, inhoud.vormen.at(k), inhoud.vormen.at(k).omschrijving + s(" (oud)"), false, 1);
    });
}

} // namespace supplink::voorbeeld
