#pragma once
// The work-preparation synchronisation engine: copies the groove shapes
// (sponningfiguren) the user selected, type by type, from a supplier's
// work-preparation database (the transfer driver's work copy of it) into the
// user's work-preparation database, with each new shape's geometry rows, the
// nodes of each geometry and its names.
//
//     clsSyncSHAPES engine;
//     engine.SetOntvanger(&driver);
//     engine.Sync(workCopy, targetWorkCopy, "1;3");     // the groove-shape types, in copy order
//
// The two files must belong together: two SQLite files of one version, a Jet
// source into an SQLite file of version 3.40, or two Jet files whose versions
// the version rule accepts. A Jet source is read through its mirror; a Jet
// file can be a target only where a driver can write it (elsewhere it is
// refused before anything is written). The shapes go through a table
// copier: new shapes are added, shapes the target holds are left as they are.
// Child rows reach a Jet target through one statement per table that reads
// the source by its path; an SQLite target gets them row by row, and only
// where the target parent has none yet. Files of the 3.50 layout keep a
// shape's geometry in its own row: they get no child rows.
//
// Shapes are matched on their code, geometry rows on their shape's code and
// their variant (bContra, compared as "not 0"); codes compare as
// codevergelijking.h says. Every failure is reported through the events and
// counted (FoutOpgetreden), so the driver never keeps a work copy of a failed
// run. Cancel stops the run after the type in hand; the child rows are then
// not copied.
//
// The groove-figure step asks the same class for the shapes a source holds:
//
//     clsSyncSHAPES lezer;
//     lezer.SetColItemsDistinct(alle);                 // appended to (a new collection when none is set)
//     if (lezer.InlezenBestand(bronPad, "1;2"))
//         alle = lezer.ColItemsDistinct;

#include "start/items.h"
#include "start/itemlijst.h"
#include "sync/syncengine.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace supplink {

class clsConnectie;
class clsImportTabelNaarTabel;
class clsImportTabelNaarSQliteTabel;
class clsImportSQLiteTabelNaarSQLiteT;
class TabelKopieerder;

class clsSyncSHAPES : public SyncEngine, public ItemLijst
{
public:
    clsSyncSHAPES();
    // Closes both connections.
    ~clsSyncSHAPES() override;

    // Source path (the work copy), target path (the target's work copy) and the groove-shape types as
    // ";"-separated numbers, in the order they are copied. An empty type list does nothing. The outcome
    // is reported through the events.
    void Sync(const QString& bronPad, const QString& doelPad, const QString& types);

    // The version texts of the two files as the check of two Jet files read them (empty otherwise).
    QString BronVersie() const { return m_bronVersie; }
    QString DoelVersie() const { return m_doelVersie; }
    // Both files are SQLite files of the 3.50 layout.
    bool Formaat35() const { return m_formaat35; }

    // The list items the readers append to: SetColItemsDistinct, ColItemsDistinct (start/itemlijst.h).
    // Appends an item for every groove shape of the types (";"-separated numbers) that the source holds,
    // in the order of their descriptions: ID, Code, Description, and the type in Groep. True when the
    // source opened and was read whole; False for an empty type list (at once, without any event), a
    // source that does not open, or a read error (shown; the items appended before it stay). Leaves the
    // source open in the engine.
    bool InlezenBestand(const QString& strBronPath, const QString& types);

private:
    bool ConnectBron(const QString& pad);
    bool ConnectDoel(const QString& pad);
    bool ConnectBronDoel(const QString& bronPad, const QString& doelPad);
    bool VersionCheck();
    bool VersionCheckDoelIs34();
    bool VersionCheckSQLite();
    void TelTotaal();
    // The type numbers of a ";"-separated list; throws AppError for an element that is no number.
    static QList<qint32> TypeLijst(const QString& types);
    // The list readers of the two storages (the same statement; their names in error reports differ).
    bool SponningFigurenDistinct(const QList<qint32>& types);
    bool SponningFigurenDistinctSQLite(const QList<qint32>& types);
    bool leesVormen(const QString& routine, const QList<qint32>& types);
    // The shapes this run copies, their marks cleared (see the note in the source).
    void BepaalSelectie(const QList<qint32>& types);
    // Writes the codes of the shapes this run added into tmpSelected of a Jet source.
    void SchrijfTmpSelected();

    // The shapes of one type, by the pair of storages.
    void SyncSponningFiguren(qint32 type);
    void SyncSponningFigurenJETtoSQLite(qint32 type);
    void SyncSponningFigurenSQLitetoSQLite34(qint32 type);
    void SyncSponningFigurenSQLitetoSQLite35(qint32 type);

    // The child rows, by the pair of storages.
    void SyncGrooveShapeGeom();
    void SyncGrooveShapeNodes();
    void SyncGrooveShapeNodes2();
    void SyncGrooveShapeNames();
    void SyncGrooveShapeGeomJETtoSQLite();
    void SyncGrooveShapeNodes2JETtoSQLite();
    void SyncGrooveShapeNamesJETtoSQLite();
    void SyncGrooveShapeGeomSQLitetoSQLite34();
    void SyncGrooveShapeNodes2SQLitetoSQLite34();
    void SyncGrooveShapeNamesSQLitetoSQLite34();

    // The code is one of the shapes this run copies.
    bool CodeGeselecteerd(const QString& code) const;

    // What the forms share.
    void kopieerVormen(TabelKopieerder& kopieerder, bool vorm35);
    template <typename Kopieerder>
    void vormenNaarSQLite(std::unique_ptr<Kopieerder>& lid, qint32 type, bool vorm35);
    void kopieerGeometrieNaarSQLite(const QString& bronSql);
    void kopieerNodesNaarSQLite();
    void kopieerNamenNaarSQLite();
    // Runs one step: its captions, then the work; an error is shown with the step's name and counted, and
    // the run goes on with its next step.
    void Stap(const QString& routine, const QStringList& kopjes, const std::function<void()>& werk);
    // The Jet statements that add the rows of a child table (geometry, names) or the nodes, with these
    // columns, to the new shapes.
    QString jetKindSql(const QString& tabel, const QStringList& kolommen) const;
    QString jetNodesSql(const QStringList& kolommen) const;
    QString geometrieBronSql(bool viaTmpSelected) const;
    // The node columns (beyond the link) the child copy takes: the angle columns only where the source
    // has them, and where the target has them as well.
    QStringList nodeKolommen(bool metHoeken) const;
    bool heeftKolom(const clsConnectie& cn, const QString& tabel, const QString& kolom) const;
    bool bronIsJet() const;
    bool bronIsSQLite() const;
    bool doelIsJet() const;
    bool doelIsSQLite() const;
    // Reports a failure the engine found itself: one Voortgang line per pair of texts, then FoutOpgetreden 1.
    void MeldFout(const QList<std::pair<QString, QString>>& regels);
    // Shows the error of a step in the error window and counts it.
    void Fout(const QString& routine, const std::exception& e);
    // The SysDBInfo row of a connection: its application, version numbers and version text.
    struct Versie
    {
        QString appType;
        qint32 major = 0;
        qint32 minor = 0;
        QString tekst() const;
    };

    std::unique_ptr<clsConnectie> m_bron;
    std::unique_ptr<clsConnectie> m_doel;
    std::unique_ptr<clsImportTabelNaarTabel> x;
    std::unique_ptr<clsImportTabelNaarSQliteTabel> xJETtoSQLite;
    std::unique_ptr<clsImportSQLiteTabelNaarSQLiteT> xSQLitetoSQLite;
    VoortgangDoorgever m_relay;

    QString m_bronVersie;
    QString m_doelVersie;
    bool m_formaat35 = false;

    ItemCollection m_selectie;
    QSet<QString> m_geselecteerd; // CodeSleutel of every code in m_selectie
    // Geometry rows this run added (shape code and variant): their nodes follow them whatever the selection,
    // so that no geometry is left without the nodes its source gives it.
    QSet<QString> m_nieuweGeometrie;
};

} // namespace supplink
