#pragma once
// What the demo supplier "VOORBEELD" offers, as plain data made from a few
// rules (no randomness: the same scale always gives the same content): article
// groups and articles with prices, hardware tables, combinations and choices,
// groove shapes with their geometry, and the library families. The database
// writers (voorbeelddatabases.cpp) and the file writers
// (voorbeeldbestanden.cpp) all read this one description, so the price
// lists, hardware files and databases of the package speak of the same
// articles, combinations and shapes.
//
//     const Inhoud inhoud = Inhoud::Maak(1);   // 250 articles; Maak(80) gives 20,000
//
// The rules for the targets (which of these the user's own databases already
// hold, and in which older form) live with the writers.

#include "fixtures/profilefixtures.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace supplink::voorbeeld {

struct Groep
{
    QString code;
    QString omschrijving;
    int type = 0;         // the article type of the group's articles (ArtType.ID)
    QString eenheid;      // "m1", "m2" or "st"
    double basisPrijs = 0;
};

struct Artikel
{
    QString code;
    QString omschrijving;
    QString bestelcode;
    int groep = 0; // index in Inhoud::groepen
    int type = 0;
    QString eenheid;
    double prijs = 0;     // per unit, two decimals
    double breedte = 0;   // mm (profiles, glass, panels)
    double hoogte = 0;
    double dikte = 0;
    double handelslengte = 0;
    QString gespiegeld;   // code of the mirrored article (hinges left and right)
    QString opmerking;
    QDate gewijzigd;
};

// One article of a hardware combination, with the frame sizes it applies to (cm, as supplier files give
// them).
struct CombiArtikel
{
    QString artikel; // an article code
    int aantal = 1;
    int positie = 1;
    int breedteVan = 0, breedteTot = 0, hoogteVan = 0, hoogteTot = 0;
    int oorsprong = 0;
    QString x;       // drawing offset, empty when the article is not drawn
    double y = 0;    // cm
    double lengte = 0; // calculation length, mm
};

struct Combinatie
{
    QString code;
    QString omschrijving;
    QList<CombiArtikel> artikelen;
    QList<int> tabellen;  // indexes in Inhoud::tabellen
    double maxBreedte = 0, maxHoogte = 0; // mm
};

struct Tabel
{
    QString code;
    QString omschrijving;
};

struct Keuze
{
    QString code;
    QString omschrijving;
    QStringList combinaties; // combination codes
};

struct Sponningvorm
{
    QString code;
    QString omschrijving;
    int type = 1;             // 1 pane, 2 element, 3 edge, 4 wall groove
    double breedte = 0;       // PreviewWidth (tenths of a mm)
    double hoogte = 0;        // PreviewHeight
    QList<fixtures::ShapeNode> knopen;        // the geometry without contra
    QList<fixtures::ShapeNode> contraKnopen;  // the contra geometry
    QList<QPair<double, QString>> namen;      // width and name
};

// A family of the library: a main row and its child rows (their columns by name).
struct Familie
{
    QString code;
    QString omschrijving;
    int categorie = 0;
    QVariantMap velden;            // further columns of the main row
    QList<QVariantMap> kinderen;   // child rows without their link column
};

struct Inhoud
{
    int schaal = 1;
    QList<Groep> groepen;
    QList<Artikel> artikelen;
    QList<Tabel> tabellen;
    QList<Combinatie> combinaties;      // in the supplier's options database
    QList<Keuze> keuzes;                // in the supplier's options database
    QList<Combinatie> bestandCombinaties; // in the supplier's hardware files
    QList<Keuze> bestandKeuzes;
    QList<Sponningvorm> vormen;
    QList<Familie> vaksponningen;       // PaneGrooveTable with PaneGroove
    QList<Familie> randsponningen;      // EdgeGroove
    QList<Familie> elementsponningen;   // OuterGrooveTable with OuterGroove
    QList<Familie> laagrelief;          // TreshHoldCombi with TreshHoldArticleUsage
    QList<Familie> neuten;              // TreshHoldCombiExt with TreshHoldExtArticleUsage

    static Inhoud Maak(int schaal);

    // The articles of one article type, in order.
    QList<const Artikel*> VanType(int type) const;
};

// The articles a supplier's price list (CSV) and article workbook offer that its product table does not:
// codes of new articles, made like the others.
QList<Artikel> NieuweArtikelen(const Inhoud& inhoud, const QString& voorvoegsel, int aantal, int groep);

} // namespace supplink::voorbeeld
