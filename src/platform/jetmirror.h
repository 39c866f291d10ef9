#pragma once
// Reads a Jet database (.mdb, Jet 3 and Jet 4) through libmdb into a private
// SQLite mirror (see sqlitemirror.h), which the database layer then queries.
//
// Every user table is copied with its name, its column names and its rows,
// in the order the database keeps them. Columns keep their kind through the
// declared types below; the side table __supplink_columns keeps the Jet type,
// the ADO type and the defined size of each column.
//
//   Jet type            declared SQLite type          stored values
//   Yes/No              BIT                           -1 (True) or 0 (False), as Jet returns them
//   Byte                BYTE                          integer
//   Integer             SMALLINT                      integer
//   Long Integer        INTEGER                       integer ("INTEGER PRIMARY KEY" when it is
//                                                     the table's one-column primary key)
//   Currency            CURRENCY                      the exact amount as a number
//   Single              SINGLE                        the shortest decimal form of the single
//   Double              DOUBLE                        the stored double
//   Date/Time           DATETIME                      text 'yyyy-mm-dd hh:mm:ss' (seconds rounded)
//   Binary              BINARY(n)                     blob
//   Text(n)             TEXT(n) COLLATE JETNOCASE     text; n in characters
//   Memo                LONGTEXT COLLATE JETNOCASE    text
//   OLE Object          LONGBINARY                    blob
//   Replication ID      GUID                          text '{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}'
//   Decimal(p,s)        DECIMAL(p,s)                  the exact value as a number
//
// Text columns compare case-insensitively for every letter, as Jet does (the
// collation of codes, platform/codecompare.h). The primary key becomes the table's primary key; the
// other indexes become indexes named "<table>.<index>".

#include "platform/sqlitemirror.h"

#include <QString>

namespace supplink {

// Reads mdbPath into a new SQLite file at sqlitePath (an existing file there
// is replaced only when the read succeeds). On failure nothing is left at
// sqlitePath's place and the result's error tells the user why, in Dutch.
MirrorResult mirrorJetDatabase(const QString& mdbPath, const QString& sqlitePath);

// libmdb trusts the file it reads; a damaged database can make it crash or
// loop. The read therefore runs isolated (see isolatedread.h): a reader that
// dies, or shows no progress for a while, gives the message for a damaged
// database.

// The same read in this process, without a child process around it: for the
// fuzz target of the reader, which must see the read's crashes and coverage.
// The program reads through mirrorJetDatabase.
MirrorResult mirrorJetDatabaseInProcess(const QString& mdbPath, const QString& sqlitePath);

// True when the file starts as a Jet (or ACE) database does.
bool hasJetSignature(const QString& path);

} // namespace supplink
