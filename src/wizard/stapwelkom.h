#pragma once
// The welcome step (step 1) without a window: on its first entry it makes the
// program's temporary folder (TempMap, globals().gWelkomMap), unpacks every
// content package of the program folder into it (every file whose extension
// in lower case is "dat", a zip archive), appends the table of supplier logos
// to the default page "welkom.html" and reads the suppliers folder into a
// tree of nine categories. Clicking a supplier makes it the current supplier
// (globals().gLeverancier) and shows its page; clicking a category shows the
// default page and clears the choice. The view (wizard/ui/usrwelkom.h) draws
// the tree and the page and passes its clicks on:
//
//     StapWelkom welkom;                       // the main window calls Init on every entry
//     welkom.Init();                           // first time: folder, packages, logos, tree
//     for (const WelkomCategorie& c : welkom.Boom()) ...   // "CAT1".."CAT9" with their suppliers
//     welkom.KnoopGeklikt(QStringLiteral("VOORBEELD"), false);  // KanVerder(true), page changes
//     welkom.KnoopGeklikt(QStringLiteral("CAT6"), true);        // KanVerder(false), default page
//
// The suppliers folder is the machine-wide setting "settings"/"leveranciers",
// by default TempMap itself: one subfolder per supplier with a text file
// `index` (line 1 the supplier's code, line 2 its display name, an optional
// line 3 its category digit 1 to 9, else 6), its page "leverancier.xml" and
// optionally "logo.jpg". A supplier whose category is no digit 1 to 9 is
// listed under category 6; a second supplier with the code of one already
// listed (compared without regard to case) is left out of the tree; a
// supplier without a code is read but not listed. Neither stops the others.
// Package entries that would land outside TempMap are refused, the rest of
// the package is still unpacked (platform/zipextract.h).
//
// Later entries (after Back) keep the folder, the tree and the chosen
// supplier. The main window deletes TempMap when the program closes. The
// splitter position (the tree's share of the width, in per cent) is the
// per-user setting "Splitter"/"welkomsplitter1pos", default 30, stored by
// Finish.

#include "start/leverancier.h"
#include "start/stap.h"

#include <QList>
#include <QString>
#include <memory>

namespace supplink {

// One category node of the tree with the suppliers listed under it, sorted by display name.
struct WelkomCategorie
{
    QString sleutel; // "CAT" and the digit
    QString tekst;
    QList<std::shared_ptr<clsLeverancier>> leveranciers;
};

class StapWelkom : public Stap
{
    Q_OBJECT
public:
    // The nine categories, digit 1 to 9, in the order of the tree.
    static const QStringList& CategorieTeksten();
    // The category a supplier is listed under: its trimmed category when that is a digit 1 to 9, else 6.
    static int CategorieVan(const clsLeverancier& leverancier);

    explicit StapWelkom(QObject* parent = nullptr);
    ~StapWelkom() override;

    // The folder whose content packages are unpacked; the program's own folder unless set.
    void setProgrammaMap(const QString& map) { m_programmaMap = map; }
    QString ProgrammaMap() const;

    void Init() override;
    // Stores the splitter position.
    void Finish() override;

    // The tree: nine categories (empty before the first Init).
    const QList<WelkomCategorie>& Boom() const { return m_boom; }
    // The key of the node the tree shows as selected: "CAT8" after filling, then the clicked node's.
    const QString& GeselecteerdeSleutel() const { return m_geselecteerd; }
    // The page the view shows: the default page of TempMap or the chosen supplier's page.
    const QString& HuidigePagina() const { return m_pagina; }

    // A node of the tree was clicked: a category (or a node without key) shows the default page, a
    // supplier its own page.
    void KnoopGeklikt(const QString& sleutel, bool categorie);
    // A double-click in the tree: the window goes on when it can (GaVerder).
    void KnoopDubbelGeklikt();

    // The tree's share of the width in per cent (5 to 95).
    int SplitterPositie() const { return m_splitter; }
    void ZetSplitterPositie(int procent);

    // The parts of the first entry, each usable alone (the tests call them on their own folders).
    // Makes a new, unique TempMap in the temporary folder and unpacks the packages into it.
    void VoorbereidenTempMap();
    // Appends the logo table and the closing tags to "welkom.html" of the folder (created when missing);
    // a failure to write is ignored: the page then only lacks logos.
    static void VoegLogoTabelToe(const QString& map);
    // Reads the `index` file of a supplier folder; none when the folder has no `index`.
    static std::shared_ptr<clsLeverancier> LeesIndex(const QString& map);
    // Reads the suppliers folder into gLeveranciers and builds the tree from it.
    void VullenTreeView();

    void ToonStandaardWelkom();
    void ToonWelkom(const QString& code);

signals:
    // The tree was filled anew.
    void BoomGewijzigd();
    // The page to show changed (also when the same page is shown again).
    void PaginaGewijzigd(const QString& pad);
    // Init restored the splitter position.
    void SplitterHersteld(int procent);

private:
    void AnalyzeFolder(const QString& map);
    void BouwBoom();

    QString m_programmaMap;
    QList<WelkomCategorie> m_boom;
    QString m_geselecteerd;
    QString m_pagina;
    int m_splitter = 30;
};

} // namespace supplink
