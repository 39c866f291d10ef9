#pragma once
// The target files of a transfer and how they are changed: never in place.
//
// Each needed target gets a work copy, a new file with a recognisable name in
// the target's own folder ("<name>.supplink-werkkopie-XXXXXX"); the workers
// write only into work copies. When every worker has finished without a
// counted error and the history is in every work copy, the replacement runs
// in two phases:
//   1. Faseer: each work copy becomes a staged file beside its target
//      ("<name>.supplink-nieuw-XXXXXX"): for SQLite a copy through the
//      backup API (written and flushed by SQLite), opened again and checked
//      with PRAGMA integrity_check, its schema compared with the target's;
//   2. Vervang: only when every kind is staged, each staged file is renamed
//      over its target in the order opt, pt, wkv, lib: one step, so that a
//      target is at every moment wholly old or wholly new.
// A failure in phase one leaves every target as it was; a failure in phase
// two leaves the targets not yet renamed as they were. Work copies and staged
// files that a killed program left behind are removed at the next transfer
// on that folder (RuimRestantenOp).
//
// A transfer holds the lock of every folder it has a target in (MapLock,
// platform/maplock.h) from before it makes its first file there until its
// files there are gone: a second transfer into such a folder is refused, and
// the clean-up runs only under the lock, so it never removes the files of a
// live run.
//
// A target of the user keeps its own schema: the work copy may get indexes
// that the engines need to be quick (VoegHulpIndexenToe; their names start
// with "supplink_hulp_"), which are dropped again before staging, and a
// staged file whose schema differs from the target's by anything but the
// history tables is refused.
//
// The product table on SQL Server has no work copy: its work path is the "*"
// description itself and the engines commit their own transactions.

#include "platform/maplock.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace supplink {

// The four kinds of target, in the order of the replacement.
enum class DoelSoort
{
    Opt,
    PT,
    Wkv,
    Lib
};

inline constexpr DoelSoort kDoelVolgorde[] = {DoelSoort::Opt, DoelSoort::PT, DoelSoort::Wkv, DoelSoort::Lib};

// The Soort of a clsDoelBestand of the kind (0 pt, 1 opt, 2 lib, 3 wkv); also the history kind.
qint32 DoelBestandSoort(DoelSoort soort);
// The target's description: "Onderhoudsbestand", "Productentabel", "Werkvoorbereidingbestand",
// "Bibliotheekbestand".
QString DoelOmschrijving(DoelSoort soort);

// One row of sqlite_master.
struct SchemaRegel
{
    QString type;
    QString name;
    QString tblName;
    QString sql;
    bool operator==(const SchemaRegel&) const = default;
};

// The schema of an SQLite file (sqlite_master, by name); empty when the file cannot be read.
QList<SchemaRegel> LeesSchema(const QString& pad);
// What the staged schema holds beyond the target's, or lacks of it, apart from the tables the import
// history adds; one line each, empty when the two agree.
QStringList SchemaVerschillen(const QList<SchemaRegel>& doel, const QList<SchemaRegel>& gefaseerd);

struct TransferDoel
{
    DoelSoort soort = DoelSoort::Opt;
    QString doelPad;      // the target file; empty for the product table on SQL Server
    QString werkPad;      // the work copy, or the "*" description for SQL Server
    bool server = false;  // the product table on SQL Server
    bool sqlite = false;  // the target is an SQLite file
    bool gemarkeerd = false; // a worker ran for it: history and replacement
    QString gefaseerdPad; // the staged file, once made
    bool vervangen = false;
    QList<SchemaRegel> schema; // the target's schema when the work copy was made (SQLite)
    QStringList hulpIndexen;   // indexes made in the work copy
};

// Names of the files the transfer makes beside a target.
bool IsTransferRestant(const QString& bestandsNaam);
// Removes the work copies and staged files (with their journals) that an earlier transfer left in the
// folder of the lock; what cannot be removed stays (it is tried again next time). Nothing is removed
// unless the lock is held: only then do the leftovers belong to no live transfer.
void RuimRestantenOp(const MapLock& lock);

// Makes the work copy of the target (a new file beside it, the target's content copied into it, calling
// `tussendoor` between blocks). An SQLite target is copied while this run holds its write lock, so that no
// other program changes it meanwhile; when another program holds it in a write transaction, nothing is
// copied and `inGebruik` is set. False with the reason when that failed (nothing is left behind).
bool MaakWerkkopie(const QString& doelPad, QString& werkPad, QString& reden,
                   const std::function<void()>& tussendoor = {}, bool* inGebruik = nullptr);

// Whether another program holds the SQLite file in a write transaction (or is about to write), or has it
// open in WAL mode with a log beside it: a copy of its bytes would not hold its whole content, and a file put
// in its place would take that program's work away. False for a file that is no SQLite database.
bool InGebruik(const QString& pad);
// What the user is told of a target in use: the file, and what helps.
QString InGebruikMelding(const QString& pad);

// Gives the SQLite work copy the indexes the engines need (where the table lacks one on that column),
// and drops them again. Ignoring a failure is safe: an index only makes the run quicker.
void VoegHulpIndexenToe(TransferDoel& doel);
bool VerwijderHulpIndexen(TransferDoel& doel, QString& reden);

// The file operations of the replacement; tests (and the kill test) put a derived object in place.
class DoelBewerkingen
{
public:
    virtual ~DoelBewerkingen() = default;
    // Phase one for one target: the staged file (doel.gefaseerdPad) as a checked copy of the work copy.
    // False with the reason when that failed; no staged file is then left.
    virtual bool Faseer(TransferDoel& doel, QString& reden);
    // Phase two for one target: the staged file takes the target's place. False with the reason when that
    // failed; the target is then as it was.
    virtual bool Vervang(TransferDoel& doel, QString& reden);

    // Called between the steps of writing a staged file (the transfer gives its yield here).
    std::function<void()> Tussendoor;
};

// Deletes the work copy and the staged file of the target, with their journals (errors ignored: a file
// that stays is removed by the next transfer on that folder).
void VerwijderTransferBestanden(const TransferDoel& doel);

} // namespace supplink
