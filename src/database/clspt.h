#pragma once
// The product-table handle: a thin handle on the product-table database
// (a Jet or SQLite file, or an SQL Server description) for the supplier file
// import. It opens whole tables as updatable recordsets, finds rows by a
// field value or a filter, reads the highest article-group sort number, sets
// the group and supplier keys of the current article row, and asks the user
// which article group and which supplier new articles get.
//
// On SQL Server every table is addressed in schema [PT], and the article
// group's sort column is SortOrder there, OrderNr in a file. Statements in the
// Jet dialect run on an SQLite product table through the Jet translator.

#include "database/clsconnectie.h"
#include "database/databasebackend.h"

#include <QString>
#include <memory>

namespace supplink {

// A plain article record for the article operations of clsPT. The fields stand for the article table's
// columns: pkArticle ID, ArtCode Code, Description, fkArtGroup fkGroup, fkArtType fkType, OrderCode,
// PriceUnit and fkSupplier.
class clsBvqArtikel
{
public:
    qint32 pkArticle = 0;
    QString ArtCode;
    QString Description;
    qint32 fkArtGroup = -1;
    qint32 fkArtType = 0;
    QString OrderCode;
    double PriceUnit = 0;   // an amount with at most four decimals
    qint32 fkSupplier = -1; // -1: no supplier
};

class clsPT
{
public:
    clsPT() = default;
    // Closes the connection.
    ~clsPT();
    clsPT(const clsPT&) = delete;
    clsPT& operator=(const clsPT&) = delete;

    std::shared_ptr<clsConnectie> cnPT; // the open connection, none when not connected
    RecordsetPtr rsPT;                  // the table opened by OpenTabel or OpenArtikelTabel
    bool IsSQLServer = false;

    // Connects to a product table: a file path or "*" + an SQL Server description. Failures are shown.
    bool Connect(const QString& path);
    // rsPT = all rows of the table; on SQL Server the name becomes "[PT].[<name>]" in place.
    bool OpenTabel(QString& table);
    bool OpenTabel(const QString& table);
    bool OpenArtikelTabel();
    bool OpenArtikelGroepTabel();
    bool OpenLeverancierTabel();
    // The highest article-group sort number, 0 when there are no groups.
    qint32 HoogsteOrderNrArtGroup();
    // Finds the article by code in rsPT and stores its key in the record.
    bool BestaatArtikel(clsBvqArtikel& artikel);
    // Assign fkGroup / fkSupplier of the current rsPT row; the caller writes the row.
    void RecSetArtSetArtGroupID(qint32 id);
    void RecSetArtSetSupplierID(qint32 id);
    // Updates the article row of that code, or adds one.
    bool ToevoegenArtikel(clsBvqArtikel& artikel);
    bool UpdateArtikelPrijs(clsBvqArtikel& artikel);
    // fkMirroredArticle of the current row: the mirrored article's key for an integer column, else its code.
    bool UpdateArtikelGespiegeld(const clsBvqArtikel& gespiegeld);
    // Ask the user for the article group / supplier of new articles. id -1 when cancelled (then
    // geannuleerd) or when "<Geen>" supplier is chosen. False when the list could not be shown.
    bool SelecteerArtikelGroepUI(qint32& id, bool& geannuleerd);
    bool SelecteerLeverancierUI(qint32& id, bool& geannuleerd);
    // Searches rsPT, from its first row or from the row after the current one, for field = value (a
    // number unquoted, a text quoted); true when found, rsPT then standing on that row.
    bool BestaatUniekeWaarde(const QString& field, const QString& value, bool numeric, bool fromNext);
    // Sets the filter of rsPT (it stays set); true when any row passes.
    bool BestaatRegel(const QString& filter);

private:
    void Disconnect();
    RecordsetPtr OpenSQL(const QString& sql);
    static void MoveFirstQuiet(const RecordsetPtr& recordset);
    bool selecteerUI(const RecordsetPtr& list, const QString& uitleg, const QString& onderdeel, bool metGeen,
                     const QString& lijstFout, qint32& id, bool& geannuleerd);

    RecordsetPtr rsLeverancier;
    RecordsetPtr rsArtikelGroep;
};

} // namespace supplink
