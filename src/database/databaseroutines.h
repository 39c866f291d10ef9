#pragma once
// Database routines that the whole program shares: counting rows, the SQL IN
// list of the selected items, field and table tests, SQL Server target paths,
// the SQLite file test, and the entries of a pick-one list read from a recordset.

#include "database/databasebackend.h"
#include "platform/uiservices.h"
#include "start/items.h"

#include <optional>

namespace supplink {

class clsConnectie;

// The value of "SELECT Count(<field>) AS Tot FROM <table> [WHERE <condition>]": the count, 0 when
// no row comes back, an invalid QVariant after an error (which the error window shows).
QVariant TelRecords(clsConnectie& connection, const QString& field, const QString& table,
                    const QString& condition);

// The codes of the selected items as an SQL IN list: 'A', 'B''s' (quotes doubled); "''" when none is
// selected.
QString MaakInLijst(const ItemCollection& items);

// The recordset has a field of that name (compared in upper case).
bool VeldBestaat(const Recordset& recordset, const QString& name);
bool VeldBestaat(const RecordsetPtr& recordset, const QString& name);

// The table can be read ("SELECT * FROM <table> WHERE 1=0" runs); never shows a message.
bool TabelBestaat(clsConnectie& connection, const QString& table);

// The target path is an SQL Server description ("*" followed by the description).
bool IsSQLServerPad(const QString& path);
// Connects to the SQL Server the path describes and closes again; messages when that is not possible.
bool sqlserverconnectionok(const QString& path);
// "* server=<server>  database=<database>  gebruiker=<user>" for an SQL Server path; any other path
// unchanged.
QString SQLServerOmschrijving(const QString& path);

// The file exists, opens as an SQLite database and passes the database check. Creates nothing.
bool IsSQLiteBestand(const QString& path);
// Why a file that starts as an SQLite database cannot be taken now, in one message that names it: another
// program holds it, or it is damaged. Empty for a sound SQLite file and for every other file. Waits for
// another program's lock as long as every connection does.
QString SQLiteBestandWeigering(const QString& path);

// The entries of a pick-one list (ui().pickOne) from the rows of a recordset, read from its first row:
// "<Geen>" with key -1 first when asked, then one entry per row (text field, key field). Rows that
// cannot be read are left out. No value (reported) without a recordset.
std::optional<QList<PickOneEntry>> KeuzeLijst(const RecordsetPtr& recordset, const QString& textField,
                                              const QString& keyField, bool metGeen);

} // namespace supplink
