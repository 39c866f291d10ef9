#pragma once
// The article file import: brings a supplier's own CSV file or Excel workbook
// of articles and prices into the product table, by the import plan built for
// the source. The selection steps use the same engine to list the articles or
// article groups that a file holds.
//
// Reading first takes the whole file into memory: each line becomes a list of
// column texts (column k of the file at index k-1), corrected for the
// supplier (code prefix, the Deceuninck layouts), and is either kept for the
// transfer or, in list-only mode, turned into one list item per distinct code.

#include "import/clsscriptregel.h"
#include "start/items.h"
#include "transfer/progressevents.h"

#include <QHash>
#include <QPair>
#include <QSet>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace supplink {

class clsBron2;
class clsPT;
class DatabaseBackend;

// The column texts of one line of a supplier file; column k at index k-1.
using ArtikelRegel = QStringList;

class clsImportBestand
{
public:
    clsImportBestand();
    virtual ~clsImportBestand();
    clsImportBestand(const clsImportBestand&) = delete;
    clsImportBestand& operator=(const clsImportBestand&) = delete;

    // The import plan of the run.
    std::optional<ScriptBlok> ImportPlan;
    // The article items the user selected; none until the transfer driver sets them.
    std::shared_ptr<ItemCollection> ColItemsGeselecteerd;
    // Where list-only reading puts the items it finds (never null).
    std::shared_ptr<ItemCollection> ColItemsDistinct;

    // The listener of the progress events (may be none).
    void SetOntvanger(VoortgangOntvanger* ontvanger) { m_ontvanger = ontvanger; }
    void Cancel() { m_cancel = true; }
    // Makes ColItemsDistinct the given collection, or a new empty one for none.
    void SetColItemsDistinct(std::shared_ptr<ItemCollection> items);

    // Reads the source's articles (InlezenBestand) or article groups (InlezenBestandArtikelGroepen);
    // with alleenLijst the items go to ColItemsDistinct, otherwise the lines are kept for the transfer.
    // The source must outlive the engine's use of it.
    bool InlezenBestand(clsBron2& bron, bool alleenLijst);
    bool InlezenBestandArtikelGroepen(clsBron2& bron, bool alleenLijst);

    // The lines read for the transfer, in file order.
    const QList<ArtikelRegel>& GelezenRegels() const { return m_gelezenRegels; }
    qint32 AantalFouten() const { return m_aantalFouten; }
    qint32 AantalNieuw() const { return m_aantalNieuw; }
    qint32 AantalBestaand() const { return m_aantalBestaand; }

    // The run: builds the plan, reads the file, opens the product table at doelPad (a file path, or
    // "*" + an SQL Server description) and transfers the lines by the article mode of the import
    // options. True only when reading, opening and the transfer all succeeded.
    bool OverzettenBestand(clsBron2& bron, const QString& doelPad);

    // "YYYY/M/D" of an eight-digit date (20240305) or of a date text; empty when it is no date.
    static QString DatumTekst(const QString& waarde);
    // The column texts of the line, each followed by " ; ".
    static QString RegelOmschrijving(const ArtikelRegel& regel);
    bool Geannuleerd() const { return m_cancel; }

    // Draws one digit (0-9) of a generated foreign-key code; random by default, fixed in tests.
    void SetCijferBron(std::function<int()> bron);

protected:
    // Reading, by the kind of the source.
    bool LeesBestand();
    bool LeesCSVBestand(const QString& path);
    // worksheet: the table name ("<sheet>$"); empty for the workbook's first table.
    bool LeesExcelBestand(const QString& path, const QString& worksheet);
    // The line with the supplier's corrections (a new list). Throws AppError 9 when a column the
    // correction reads is missing.
    ArtikelRegel CorrectForSupplier(const ArtikelRegel& regel) const;
    // Keeps the line for the transfer or adds its item to the list; false after an error, which is
    // reported and counted.
    bool AfhandelenArtikelRegel(const ArtikelRegel& regel);
    // Whether the code was listed already (case-insensitive).
    bool ZitIncolItemsDistinct(const QString& code) const;

    // The run's steps.
    bool OpenenProductentabel(const QString& doelPad);
    void SluitenProductentabel();
    bool OverzettenArtikelen();
    bool OnderdeelGeselecteerd(const QString& code);
    bool ControleerRegel(const ArtikelRegel& regel);
    bool ZoekArtikel(const ArtikelRegel& regel, bool vanafVolgende);
    bool ZoekVolgendArtikel(const ArtikelRegel& regel) { return ZoekArtikel(regel, true); }
    bool BijwerkenArtikel(const ArtikelRegel& regel);
    bool VoegArtikelToe(const ArtikelRegel& regel, qint32 groepId, qint32 leverancierId);
    // The failure report of a record write: the field in hand, its position and every column.
    void MeldRegelFout(const QString& veldNaam, qint32 positie, const ArtikelRegel& regel);

    // Foreign keys: a text of the file that names a row of another table becomes that row's key.
    // Writes the key of the row whose lookup field holds the text (made when missing and allowed)
    // into the target field of the article being added; false when nothing was written.
    bool VerwerkForeignKey(const QString& tabel, const QString& zoekVeld, const QString& sleutelVeld,
                           const QString& doelVeld, const QString& tekst);
    // The key (as text) of the first row whose lookup field equals the text; empty when none.
    QString ZoekForeignKey(const QString& tabel, const QString& zoekVeld, const QString& sleutelVeld,
                           const QString& tekst);
    // Adds a row for the text under a generated code and returns its key; empty when none was made.
    QString MaakForeignKey(const QString& tabel, const QString& zoekVeld, const QString& sleutelVeld,
                           const QString& doelVeld, const QString& tekst);
    // The code of a new row: the text itself up to 10 characters, else its first 7 and three digits.
    QString NieuweCode(const QString& tekst);
    // Links the line's article and its mirrored article both ways; false when the plan has no
    // reference line.
    bool MaakLinksRechtsVerwijzingen(const ArtikelRegel& regel);
    // The filter that finds an existing article by every non-price field of the line; none when a
    // foreign key of the filter cannot be resolved.
    std::optional<QString> UniekeRegelFilter(const ArtikelRegel& regel);

    // One VELD line of the plan as the run uses it; column k of a line belongs to the k-th.
    struct PlanVeld
    {
        ScriptRegelPtr regel;
        QString doel;            // argument 2: the target field(s)
        bool importeren = false; // argument 1
        bool verplicht = false;  // argument 4
        bool sleutel = false;    // argument 5: identifies an existing article
        bool bijwerken = false;  // argument 6: an update may change it
        bool maalTien = false;   // argument 7: centimetres stored as millimetres
        bool verwijzing = false; // argument 8: refers to another article
        bool numeriek = false;   // argument 3 "Numeriek"
        bool datum = false;      // argument 3 "Datum"
        QString decimaalTeken;   // argument 9
        int foreignKey = -1;     // which of FOREIGNKEYA..E takes the field (0..4), -1: none
        // The parts of argument 2 split at "|", each without its "+" and whether it appends.
        QList<QPair<QString, bool>> delen;
    };
    // The plan as the run reads it, made again whenever ImportPlan is replaced.
    struct GelezenPlan
    {
        QList<PlanVeld> velden;
        std::array<ScriptRegelPtr, 5> foreignKeys; // FOREIGNKEYA..E, null where missing
        bool uniekeRegel = false;                  // UNIEKEREGEL ( Ja )
        const void* van = nullptr;
        qsizetype regels = -1;
    };
    const GelezenPlan& Plan();

    // The product table of the run (none before it is opened).
    std::unique_ptr<clsPT> m_pt;

    // Counts one error and raises FoutOpgetreden.
    void TelFout();
    // Raising the progress events (nothing without a listener).
    void MeldVoortgang(const QString& actie, const QString& omschrijving);
    // A progress line with the line's description, made only when someone listens.
    void MeldRegel(const QString& actie, const ArtikelRegel& regel);
    void MeldHoofdActie(const QString& actie);
    void MeldTotaal(qint32 totaal);

    // The source of the current call.
    clsBron2* m_bron = nullptr;
    VoortgangOntvanger* m_ontvanger = nullptr;
    QList<ArtikelRegel> m_gelezenRegels;
    QSet<QString> m_distinctCodes; // lower case
    qint32 m_aantalNieuw = 0;
    qint32 m_aantalBestaand = 0;
    qint32 m_aantalFouten = 0;
    bool m_cancel = false;
    bool m_alleenLijst = false;
    bool m_groepen = false;
    qint32 m_regelNummer = 0;
    QStringView m_huidigeRegel; // the line being read, while its file's text is held
    std::function<int()> m_cijferBron;
    GelezenPlan m_plan;
    // Keys found by ZoekForeignKey in this run: the same group or supplier text comes on many lines.
    QHash<QString, QString> m_gevondenSleutels;

private:
    bool inlezen(clsBron2& bron, bool alleenLijst, bool groepen);
    void voegToeAanLijst(const std::shared_ptr<clsItem>& item);
    // After the rows are read: true when anything was found, else the no-articles message.
    bool afsluitenLezen(const QString& path, bool gelezen);
    // The transfer of the read lines, in one transaction where the product table has them.
    bool overzettenInTransactie(qint32 groepId, qint32 leverancierId, bool prijzen, bool nieuw);
    bool overzettenRegels(qint32 groepId, qint32 leverancierId, bool prijzen, bool nieuw);
    // Inserts the row of a new foreign key (both supplier rows or neither) and returns its key.
    QString voegForeignKeyRijToe(DatabaseBackend& db, const QString& tabel, const QString& zoekVeld,
                                 const QString& sleutelVeld, const QString& code, const QString& tekst);
};

} // namespace supplink
