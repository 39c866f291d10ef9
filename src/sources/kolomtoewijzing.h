#pragma once
// The column mapping of one Excel or CSV source: the preview rows, one header
// cell per column naming the target field it carries, the file type with its
// field catalogue, the article or combination type of the whole file and the
// skip-first-line tick. Proposes a mapping, checks the user's choices and
// writes them into the source description. The column-selection window is a
// thin view over this.

#include "start/veldcatalogus.h"

#include <QList>
#include <QRgb>
#include <QString>
#include <QStringList>

namespace supplink {

class clsBron2;

namespace KolomKleur {
constexpr QRgb KopLeeg = 0xff8fd4f7;    // 143, 212, 247: no choice yet
constexpr QRgb KopGekozen = 0xff80ff80; // 128, 255, 128: chosen, saved or recognised
constexpr QRgb KopLeegVoorstel =
    0xffc0c0ff;                   // 192, 192, 255: proposed "(Niet importeren)" for an empty column
constexpr QRgb Data = 0xffffff80; // 255, 255, 128
constexpr QRgb EersteRegelOverslaan = 0xffff8080; // 255, 128, 128
} // namespace KolomKleur

class KolomToewijzing
{
public:
    // The preview reads at most this many lines of a CSV file (blank lines count); a sheet shows one
    // row fewer.
    static constexpr int kVoorbeeldRegels = 50;

    static const QStringList& BestandTypeNamen(); // 0 articles, 1 hardware tables
    static const QStringList& ArtikelTypeNamen(); // 23 article types of a whole file
    static const QStringList& CombiTypeNamen();   // 2 combination types
    // The caption of column i (from 0): the character with code 65 + i.
    static QString KolomTitel(int index);

    // Preview. Each returns what it read; a workbook that cannot be opened gives nothing.
    void LeesCSV(const QString& path, bool metAanhalingstekens, bool alles);
    void LeesExcel(const QString& path, bool alles);
    // Reads the preview of the source (its workbook or CSV text) and builds the header row.
    void LeesBron(clsBron2& bron, bool alles = false);
    // Reads the whole file again in place of the preview rows; columns and header cells stay.
    void LeesGeheleBestand(clsBron2& bron);

    void MaakKopRegel();
    void WisKopRegel();
    void KiesVeldCatalogus();
    // The file-type choice: selects the catalogue, clears the header cells, then shows the saved
    // mapping of the source or proposes one, and sets the type lists' visibility.
    void KiesBestandType(int type, const clsBron2& bron);

    void SetImportPlan(const clsBron2& bron);
    void LoadImportPlan(const clsBron2& bron);
    void SetArtikelType();

    // The user chose a field for a header cell. A choice of "(Artikeltype)" is checked against the
    // column's data and reset when refused (the user is told why). True when the choice stands.
    bool KopGewijzigd(int kolom, const QString& tekst);
    bool ControleerTypeKolom(int kolom);

    bool ColumnsOptionsSet(QStringList& regels) const;
    bool VerplichteVeldenSet(QStringList& regels) const;
    // The checks of OK in order; empty when all pass, else the message to show.
    QString ControleerKeuzes() const;
    // OK: shows the first failing check (critical box, program title) and returns false, or writes the
    // choices into the source and returns true.
    bool Bevestig(clsBron2& bron);
    void UpdateBron(clsBron2& bron) const;

    // Rows of the first data record that are skipped: the tick as the checks see it.
    QRgb DataKleur(int rij) const;

    qint32 kolomAantal = -1;  // -1 until a CSV line or a sheet has given columns
    QList<QStringList> rijen; // data records, one text per cell
    QStringList koppen;       // header cell texts, "" = no choice
    QList<QRgb> kopKleuren;
    bool heeftKopRegel = false;
    const VeldCatalogus* catalogus = nullptr;
    qint32 bestandType = 0;
    bool nietEersteRijImporteren = false;
    qint32 artikelType = -1; // selected index of the article-type list, -1 none
    qint32 combiType = -1;
    bool artikelTypeZichtbaar = true;
    bool combiTypeZichtbaar = false;

private:
    void MaakKolommen(int aantal);
    const VeldCatalogus& HuidigeCatalogus() const;
    qint32 CodeVanNaam(const QString& naam, bool* gevonden = nullptr) const;
};

} // namespace supplink
