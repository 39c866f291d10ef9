#pragma once
// The keys of an article import run: a text of the supplier's file that names
// an article group, a supplier, a generic profile or a colour becomes the key
// of that row (the row is made, under a generated code, where the table allows
// it); mirrored articles are linked both ways; and an existing article is
// found by the whole line when the plan says UNIEKEREGEL. Every value is
// bound as a parameter; table and field names come from the import plan.
// Texts are matched as codes compare (without regard to case, for every
// letter: platform/codecompare.h); SQL Server compares by its own collation.
//
// One object serves one run, on the product table the run holds open; it
// keeps the keys it has found, since the same group or supplier text comes
// on many lines:
//
//     ArtikelSleutels sleutels(pt, plan, melder);
//     sleutels.SetCijferBron(...);                       // tests: fixed digits for generated codes
//     sleutels.VerwerkForeignKey("ArtGroup", "Description", "ID", "fkGroup", "Deuren");
//
// Failures are shown through the error reporter and counted; only the
// mirrored-article link stops the run (ImportMelder::Stop).

#include "database/databasebackend.h"
#include "import/artikelimportplan.h"
#include "import/importmelder.h"

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

namespace supplink {

class clsPT;

class ArtikelSleutels
{
public:
    // The product table (its current recordset is the article table) and the plan outlive this object.
    ArtikelSleutels(clsPT& pt, const ArtikelImportPlan& plan, ImportMelder& melder);
    ArtikelSleutels(const ArtikelSleutels&) = delete;
    ArtikelSleutels& operator=(const ArtikelSleutels&) = delete;

    // Draws one digit (0-9) of a generated code; random when none is set.
    void SetCijferBron(std::function<int()> bron) { m_cijferBron = std::move(bron); }

    // Writes the key of the row whose lookup field holds the text (made when missing and allowed) into
    // the target field of the article record in hand; false when nothing was written.
    bool VerwerkForeignKey(const QString& tabel, const QString& zoekVeld, const QString& sleutelVeld,
                           const QString& doelVeld, const QString& tekst);
    // The key (as text) of the first row whose lookup field equals the text (as codes compare, without
    // regard to case: platform/codecompare.h); empty when none.
    QString ZoekForeignKey(const QString& tabel, const QString& zoekVeld, const QString& sleutelVeld,
                           const QString& tekst);
    // Adds a row for the text under a generated code and returns its key; empty when none was made.
    QString MaakForeignKey(const QString& tabel, const QString& zoekVeld, const QString& sleutelVeld,
                           const QString& doelVeld, const QString& tekst);
    // The code of a new row: the text itself up to 10 characters, else its first 7 and three digits.
    QString NieuweCode(const QString& tekst);
    // Links the line's article and its mirrored article both ways; false when the plan has no reference
    // line.
    bool MaakLinksRechtsVerwijzingen(const ArtikelRegel& regel);
    // The filter that finds an existing article by every non-price field of the line; none when a
    // foreign key of the filter cannot be resolved (the user has been told).
    std::optional<QString> UniekeRegelFilter(const ArtikelRegel& regel);

private:
    // The product table's connection; throws AppError when it is closed.
    DbConnection verbinding() const;
    // Inserts the row of a new foreign key (both supplier rows or neither) and returns its key.
    QString voegForeignKeyRijToe(const DbConnection& db, const QString& tabel, const QString& zoekVeld,
                                 const QString& sleutelVeld, const QString& code, const QString& tekst);
    // A product table in a file: the key of the text's row (none when there is no such row) from the lookup
    // table read into the program (SQLite's index knows no case folding, and a statement per line would read
    // the whole table each time). False when this does not apply (SQL Server, a lookup field that is no text
    // field): the statement compares then.
    bool zoekInTabel(const DbConnection& db, const QString& tabel, const QString& zoekVeld,
                     const QString& sleutelVeld, const QString& tekst, std::optional<QString>& sleutel);

    clsPT& m_pt;
    const ArtikelImportPlan& m_plan;
    ImportMelder& m_melder;
    std::function<int()> m_cijferBron;
    // The keys found in this run, by table, fields and text (SQL Server).
    QHash<QString, QString> m_gevondenSleutels;
    // The lookup tables of a file's product table, by table and fields (lower case).
    struct Opzoektabel
    {
        QHash<QString, QString> sleutels; // folded lookup text -> key of its first row
        qint64 laatsteRij = 0;            // the highest rowid read
        bool tekstVeld = false;
        bool gelezen = false;
    };
    QHash<QString, Opzoektabel> m_opzoektabellen;
};

} // namespace supplink
