#include "wizard/transferdoelen.h"

#include "database/backendopeners.h"
#include "database/sqlitebackend.h"
#include "platform/sqlitemirror.h"
#include "start/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <filesystem>
#include <optional>
#include <sqlite3.h>

namespace supplink {

namespace {

const QString kWerkkopie = QStringLiteral(".supplink-werkkopie-");
const QString kGefaseerd = QStringLiteral(".supplink-nieuw-");
const QString kHulpPrefix = QStringLiteral("supplink_hulp_");
// How long a write transaction of another program is waited for before its file counts as in use.
constexpr int kInGebruikWachttijdMs = 1500;

// The columns the engines look rows up by, one statement per row: without an index each look-up reads the
// whole table.
struct HulpIndex
{
    const char* tabel;
    const char* kolom;
};
constexpr HulpIndex kHulpIndexen[] = {
    {"PriceData1D", "fkArticle"},
    {"PriceData2D", "fkArticle"},
    {"LocksHingesArticle", "fkLocksHingesCombi"},
    {"LocksHingesArticle", "fkCombi"},
    {"LocksHingesType", "fkLocksHingesTable"},
    {"LocksHingesType", "fkLocksHingesCombi"},
    {"CustomLH", "fkCustomLHCombi"},
    {"PaneGroove", "fkPaneGrooveTable"},
    {"OuterGroove", "fkOuterGrooveTable"},
    {"TreshHoldArticleUsage", "fkCombi"},
    {"TreshHoldExtArticleUsage", "fkCombi"},
    {"GrooveShapeGeom", "fkGrooveShape"},
    {"GrooveShapeNodes", "fkGrooveShapeGeom"},
    {"GrooveShapeNames", "fkGrooveShape"},
};

QString getoond(const QString& pad)
{
    return QDir::toNativeSeparators(pad);
}

// An SQLite handle closed with its scope.
class Handle
{
public:
    Handle(const QString& pad, int vlaggen)
    {
        m_rc = sqlite3_open_v2(pad.toUtf8().constData(), &m_db, vlaggen, nullptr);
    }
    ~Handle() { sqlite3_close_v2(m_db); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool open() const { return m_rc == SQLITE_OK; }
    sqlite3* db() const { return m_db; }
    QString fout() const
    {
        return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("geen geheugen");
    }
    bool exec(const QString& sql, QString* reden = nullptr)
    {
        char* melding = nullptr;
        const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &melding);
        if (rc != SQLITE_OK && reden)
            *reden = melding ? QString::fromUtf8(melding) : fout();
        sqlite3_free(melding);
        return rc == SQLITE_OK;
    }
    // The rows of a query, every column as text.
    QList<QStringList> rijen(const QString& sql)
    {
        QList<QStringList> resultaat;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            return resultaat;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList rij;
            for (int i = 0; i < sqlite3_column_count(statement); ++i)
                rij << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
            resultaat << rij;
        }
        sqlite3_finalize(statement);
        return resultaat;
    }

private:
    sqlite3* m_db = nullptr;
    int m_rc = SQLITE_ERROR;
};

// A write-ahead log beside the file: another program has it open in WAL mode (or left it so), and part of
// the file's content may be in the log alone. Neither a copy of the file's bytes nor a file renamed into its
// place would then hold that content.
bool heeftWal(const QString& pad)
{
    const QFileInfo wal(pad + QStringLiteral("-wal"));
    return wal.exists() && wal.size() > 0;
}

enum class Schrijfslot
{
    GeenSqlite, // no SQLite database: nothing to take
    Genomen,    // held in `slot` until it is rolled back or closed
    InGebruik,  // another program holds the file (a write transaction, or WAL with a log beside it)
    Mislukt     // the file cannot be opened or locked: `fout` says why
};

// Takes the write lock of an SQLite file (BEGIN IMMEDIATE, waiting a little for a write transaction of
// another program to end): other programs cannot change the file while it is held, readers go on. Nothing
// is written; the caller rolls the transaction back.
Schrijfslot NeemSchrijfslot(const QString& pad, std::optional<Handle>& slot, QString& fout)
{
    // By its first bytes: also while another program holds it locked, when it cannot be opened to look further.
    if (!startsAsSqliteFile(pad))
        return Schrijfslot::GeenSqlite;
    if (heeftWal(pad))
        return Schrijfslot::InGebruik;
    slot.emplace(pad, SQLITE_OPEN_READWRITE);
    if (!slot->open()) {
        fout = slot->fout();
        return Schrijfslot::Mislukt;
    }
    sqlite3_busy_timeout(slot->db(), kInGebruikWachttijdMs);
    if (slot->exec(QStringLiteral("BEGIN IMMEDIATE"), &fout))
        return Schrijfslot::Genomen;
    const int rc = sqlite3_errcode(slot->db());
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED ? Schrijfslot::InGebruik : Schrijfslot::Mislukt;
}

void verwijderMetJournaal(const QString& pad)
{
    if (pad.isEmpty())
        return;
    // What cannot be removed now is a leftover that the next transfer on the folder removes.
    for (const QString& achtervoegsel :
         {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(pad + achtervoegsel);
}

// A new file beside the target, named after it with the given middle part; its path, or empty.
QString nieuwBestandNaast(const QString& doelPad, const QString& middel, QString& reden)
{
    const QFileInfo doel(doelPad);
    QTemporaryFile bestand(doel.absoluteDir().filePath(doel.fileName() + middel + QStringLiteral("XXXXXX")));
    bestand.setAutoRemove(false);
    if (!bestand.open()) {
        reden = QStringLiteral("In de map van '%1' kan geen nieuw bestand worden gemaakt: %2")
                    .arg(getoond(doelPad), bestand.errorString());
        return QString();
    }
    return bestand.fileName();
}

// Copies the file's bytes into a new file beside the target, calling `tussendoor` between blocks; the new
// file's path, or empty (nothing left).
QString kopieerNaast(const QString& bronPad, const QString& doelPad, const QString& middel, QString& reden,
                     const std::function<void()>& tussendoor = {})
{
    const QString pad = nieuwBestandNaast(doelPad, middel, reden);
    if (pad.isEmpty())
        return QString();
    QFile bron(bronPad);
    QFile kopie(pad);
    bool gelukt = bron.open(QIODevice::ReadOnly) && kopie.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QByteArray blok;
    while (gelukt && !bron.atEnd()) {
        blok = bron.read(1 << 20);
        gelukt = !blok.isEmpty() && kopie.write(blok) == blok.size();
        if (tussendoor)
            tussendoor();
    }
    gelukt = gelukt && kopie.flush() && bron.error() == QFileDevice::NoError;
    if (!gelukt)
        reden = QStringLiteral("Het kopiëren van '%1' is mislukt: %2")
                    .arg(getoond(bronPad),
                         bron.error() != QFileDevice::NoError ? bron.errorString() : kopie.errorString());
    kopie.close();
    if (!gelukt) {
        verwijderMetJournaal(pad);
        return QString();
    }
    return pad;
}

bool heeftIndexOp(Handle& db, const QString& tabel, const QString& kolom)
{
    for (const QStringList& index :
         db.rijen(QStringLiteral("PRAGMA index_list(%1)").arg(quoteSqlIdentifier(tabel)))) {
        if (index.size() < 2)
            continue;
        const QList<QStringList> kolommen =
            db.rijen(QStringLiteral("PRAGMA index_info(%1)").arg(quoteSqlIdentifier(index.at(1))));
        for (const QStringList& k : kolommen) {
            // The first column of the index (seqno 0) must be the one looked up.
            if (k.size() >= 3 && k.at(0) == QLatin1String("0") &&
                k.at(2).compare(kolom, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

bool heeftKolom(Handle& db, const QString& tabel, const QString& kolom)
{
    for (const QStringList& k :
         db.rijen(QStringLiteral("PRAGMA table_info(%1)").arg(quoteSqlIdentifier(tabel)))) {
        if (k.size() >= 2 && k.at(1).compare(kolom, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isHistorieObject(const SchemaRegel& regel)
{
    static const QStringList tabellen = {QStringLiteral("ImportHistory"),
                                         QStringLiteral("ImportHistoryDetails"),
                                         QStringLiteral("sqlite_sequence")};
    return tabellen.contains(regel.tblName, Qt::CaseInsensitive);
}

QList<SchemaRegel> leesSchema(Handle& db)
{
    QList<SchemaRegel> schema;
    for (const QStringList& rij :
         db.rijen(QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name")))
        schema << SchemaRegel{rij.value(0), rij.value(1), rij.value(2), rij.value(3)};
    return schema;
}

// Removes the log and index files that opening a file in WAL mode made beside it, once every connection is
// closed. A log that still holds pages is part of the file's content and stays: false then, or when a file
// could not be removed.
bool walBestandenWeg(const QString& pad)
{
    const QString wal = pad + QStringLiteral("-wal");
    const QString shm = pad + QStringLiteral("-shm");
    const QFileInfo log(wal);
    if (log.exists() && (log.size() > 0 || !QFile::remove(wal)))
        return false;
    return !QFileInfo::exists(shm) || QFile::remove(shm);
}

bool faseerSqlite(TransferDoel& doel, DoelBewerkingen& bewerkingen, QString& reden)
{
    const QString pad = nieuwBestandNaast(doel.doelPad, kGefaseerd, reden);
    if (pad.isEmpty())
        return false;
    const auto mislukt = [&](const QString& waarom) {
        reden = waarom;
        verwijderMetJournaal(pad);
        return false;
    };
    {
        Handle bron(doel.werkPad, SQLITE_OPEN_READONLY);
        Handle kopie(pad, SQLITE_OPEN_READWRITE);
        if (!bron.open())
            return mislukt(QStringLiteral("De werkkopie '%1' kan niet worden geopend: %2")
                               .arg(getoond(doel.werkPad), bron.fout()));
        if (!kopie.open())
            return mislukt(QStringLiteral("Het bestand '%1' kan niet worden geopend: %2")
                               .arg(getoond(pad), kopie.fout()));
        // Synchronised to disk when the copy is committed. No journal: a staged file that was not completed
        // is never used (it is removed, now or by the next transfer on the folder).
        kopie.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
        kopie.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        sqlite3_backup* backup = sqlite3_backup_init(kopie.db(), "main", bron.db(), "main");
        if (!backup)
            return mislukt(kopie.fout());
        int rc = SQLITE_OK;
        do {
            rc = sqlite3_backup_step(backup, 256);
            if (bewerkingen.Tussendoor)
                bewerkingen.Tussendoor();
        } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
        const int einde = sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE || einde != SQLITE_OK)
            return mislukt(
                QStringLiteral("Het kopiëren naar '%1' is mislukt: %2").arg(getoond(pad), kopie.fout()));
    }
    QList<SchemaRegel> schema;
    {
        // Opened for writing, though nothing is written: a staged file keeps the target's journal mode, and
        // in WAL mode only the last connection that may write takes the log and index files it made beside
        // the file away again when it closes. They would keep the staged name after the replacement.
        Handle controle(pad, SQLITE_OPEN_READWRITE);
        // The check reads the whole file: the transfer's yields go on meanwhile.
        if (controle.open() && bewerkingen.Tussendoor)
            sqlite3_progress_handler(
                controle.db(), 100000,
                [](void* tussendoor) {
                    (*static_cast<std::function<void()>*>(tussendoor))();
                    return 0;
                },
                &bewerkingen.Tussendoor);
        const QList<QStringList> uitkomst =
            controle.open() ? controle.rijen(QStringLiteral("PRAGMA integrity_check")) : QList<QStringList>();
        if (uitkomst.size() != 1 || uitkomst.first().value(0) != QLatin1String("ok"))
            return mislukt(
                QStringLiteral("Het bestand '%1' is niet in orde: %2")
                    .arg(getoond(pad), uitkomst.isEmpty() ? controle.fout() : uitkomst.first().value(0)));
        schema = leesSchema(controle);
    }
    if (!walBestandenWeg(pad))
        return mislukt(QStringLiteral("Het logbestand naast '%1' kan niet worden verwijderd.").arg(getoond(pad)));
    const QStringList verschillen = SchemaVerschillen(doel.schema, schema);
    if (!verschillen.isEmpty())
        return mislukt(QStringLiteral("De opbouw van '%1' wijkt af van die van het doelbestand: %2")
                           .arg(getoond(pad), verschillen.join(QStringLiteral("; "))));
    // The staged file keeps the target's access rights; failing that it is the user's own file all the same.
    QFile::setPermissions(pad, QFile::permissions(doel.doelPad));
    doel.gefaseerdPad = pad;
    return true;
}

bool faseerJet(TransferDoel& doel, QString& reden)
{
    const QString pad = kopieerNaast(doel.werkPad, doel.doelPad, kGefaseerd, reden);
    if (pad.isEmpty())
        return false;
    try {
        const DbConnection db = backendOpeners().jet(pad, QString());
        if (!db)
            throw AppError(DbErrorNumber::Unspecified, QStringLiteral("geen verbinding"));
        db->close();
    } catch (const std::exception& fout) {
        reden = QStringLiteral("Het bestand '%1' kan niet worden geopend: %2")
                    .arg(getoond(pad), AppError::from(fout).description());
        verwijderMetJournaal(pad);
        return false;
    }
    QFile::setPermissions(pad, QFile::permissions(doel.doelPad));
    doel.gefaseerdPad = pad;
    return true;
}

} // namespace

qint32 DoelBestandSoort(DoelSoort soort)
{
    switch (soort) {
    case DoelSoort::Opt:
        return 1;
    case DoelSoort::PT:
        return 0;
    case DoelSoort::Wkv:
        return 3;
    case DoelSoort::Lib:
        return 2;
    }
    return -1;
}

QString DoelOmschrijving(DoelSoort soort)
{
    switch (soort) {
    case DoelSoort::Opt:
        return QStringLiteral("Onderhoudsbestand");
    case DoelSoort::PT:
        return QStringLiteral("Productentabel");
    case DoelSoort::Wkv:
        return QStringLiteral("Werkvoorbereidingbestand");
    case DoelSoort::Lib:
        return QStringLiteral("Bibliotheekbestand");
    }
    return QString();
}

QList<SchemaRegel> LeesSchema(const QString& pad)
{
    Handle db(pad, SQLITE_OPEN_READONLY);
    return db.open() ? leesSchema(db) : QList<SchemaRegel>();
}

QStringList SchemaVerschillen(const QList<SchemaRegel>& doel, const QList<SchemaRegel>& gefaseerd)
{
    QStringList verschillen;
    for (const SchemaRegel& regel : doel) {
        if (!gefaseerd.contains(regel))
            verschillen << QStringLiteral("'%1' ontbreekt of is gewijzigd").arg(regel.name);
    }
    for (const SchemaRegel& regel : gefaseerd) {
        if (!doel.contains(regel) && !isHistorieObject(regel))
            verschillen << QStringLiteral("'%1' is toegevoegd").arg(regel.name);
    }
    return verschillen;
}

bool IsTransferRestant(const QString& bestandsNaam)
{
    static const QRegularExpression patroon(
        QStringLiteral("^.+\\.supplink-(werkkopie|nieuw)-[A-Za-z0-9]{6,}(-journal|-wal|-shm)?$"));
    return patroon.match(bestandsNaam).hasMatch();
}

void RuimRestantenOp(const MapLock& lock)
{
    if (!lock.Gehouden())
        return;
    const QDir dir(lock.Map());
    for (const QString& naam : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        // A leftover that cannot be removed now is tried again at the next transfer.
        if (IsTransferRestant(naam))
            QFile::remove(dir.filePath(naam));
    }
}

bool MaakWerkkopie(const QString& doelPad, QString& werkPad, QString& reden,
                   const std::function<void()>& tussendoor, bool* inGebruik)
{
    if (inGebruik)
        *inGebruik = false;
    werkPad.clear();
    std::optional<Handle> slot;
    QString fout;
    switch (NeemSchrijfslot(doelPad, slot, fout)) {
    case Schrijfslot::InGebruik:
        if (inGebruik)
            *inGebruik = true;
        reden = InGebruikMelding(doelPad);
        return false;
    case Schrijfslot::Mislukt:
        reden = QStringLiteral("Het doelbestand '%1' kan niet worden gelezen: %2").arg(getoond(doelPad), fout);
        return false;
    case Schrijfslot::GeenSqlite:
    case Schrijfslot::Genomen:
        break;
    }
    werkPad = kopieerNaast(doelPad, doelPad, kWerkkopie, reden, tussendoor);
    if (slot)
        slot->exec(QStringLiteral("ROLLBACK"));
    return !werkPad.isEmpty();
}

bool InGebruik(const QString& pad)
{
    std::optional<Handle> slot;
    QString fout;
    const Schrijfslot uitkomst = NeemSchrijfslot(pad, slot, fout);
    if (uitkomst == Schrijfslot::Genomen)
        slot->exec(QStringLiteral("ROLLBACK"));
    return uitkomst == Schrijfslot::InGebruik;
}

QString InGebruikMelding(const QString& pad)
{
    return QStringLiteral("Het bestand '") + pad +
           QStringLiteral(
               "' is in gebruik door een ander programma. Sluit dat programma en start de overdracht "
               "opnieuw.");
}

void VoegHulpIndexenToe(TransferDoel& doel)
{
    if (!doel.sqlite || doel.werkPad.isEmpty())
        return;
    Handle db(doel.werkPad, SQLITE_OPEN_READWRITE);
    if (!db.open())
        return;
    for (const HulpIndex& hulp : kHulpIndexen) {
        const QString tabel = QString::fromLatin1(hulp.tabel);
        const QString kolom = QString::fromLatin1(hulp.kolom);
        if (!heeftKolom(db, tabel, kolom) || heeftIndexOp(db, tabel, kolom))
            continue;
        const QString naam = kHulpPrefix + tabel + QLatin1Char('_') + kolom;
        if (db.exec(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                        .arg(quoteSqlIdentifier(naam), quoteSqlIdentifier(tabel), quoteSqlIdentifier(kolom))))
            doel.hulpIndexen << naam;
    }
}

bool VerwijderHulpIndexen(TransferDoel& doel, QString& reden)
{
    if (doel.hulpIndexen.isEmpty())
        return true;
    Handle db(doel.werkPad, SQLITE_OPEN_READWRITE);
    if (!db.open()) {
        reden = db.fout();
        return false;
    }
    for (const QString& naam : std::as_const(doel.hulpIndexen)) {
        if (!db.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoteSqlIdentifier(naam)), &reden))
            return false;
    }
    doel.hulpIndexen.clear();
    return true;
}

bool DoelBewerkingen::Faseer(TransferDoel& doel, QString& reden)
{
    return doel.sqlite ? faseerSqlite(doel, *this, reden) : faseerJet(doel, reden);
}

bool DoelBewerkingen::Vervang(TransferDoel& doel, QString& reden)
{
    std::error_code fout;
    std::filesystem::rename(std::filesystem::path(doel.gefaseerdPad.toStdU16String()),
                            std::filesystem::path(doel.doelPad.toStdU16String()), fout);
    if (fout) {
        reden = QString::fromLocal8Bit(fout.message().c_str());
        return false;
    }
    doel.gefaseerdPad.clear();
    doel.vervangen = true;
    return true;
}

void VerwijderTransferBestanden(const TransferDoel& doel)
{
    if (!doel.server)
        verwijderMetJournaal(doel.werkPad);
    verwijderMetJournaal(doel.gefaseerdPad);
}

} // namespace supplink
