#pragma once
// Reading the rows of a supplier's source file, a CSV file or one sheet of an
// Excel workbook, for the file imports. The reader walks the rows and hands
// each one, as a list of field texts, to the caller's policy; the policy says
// what a row means and what the user is told when something is wrong, and the
// rules say when the reading stops. So the article import and the hardware
// import share the walking (decoding, the title line, blank lines, splitting,
// opening the workbook, cancel and yield) and keep their own messages.
//
// Usage, as a file import does it:
//
//     class MijnBeleid : public BronBestandLezer::Beleid { ... };   // messages and Rij()
//     MijnBeleid beleid;
//     BronBestandLezer::Regels regels;
//     regels.eersteRijOverslaan = !bron.EersteRijImporteren;
//     BronBestandLezer lezer(beleid, regels, run);                    // one reader per reading
//     switch (lezer.LeesCSV(path)) { ... }                            // or LeesExcel(path, "Blad1$")
//
// Outcomes: Voltooid when the rows ran to their end (RegelNummer() says how
// many), Leeg when the file or sheet holds no row at all (an empty CSV file, a
// workbook without a sheet, a sheet without a row; the policy has been told
// which), Afgebroken when the reading stopped: after a failure the policy has
// reported, or on a cancel of the run context (nothing is reported then).
// A workbook's connection is closed before the reader returns.

#include "platform/runcontext.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <exception>
#include <functional>

namespace supplink {

class BronBestandLezer
{
public:
    enum class Uitkomst
    {
        Voltooid,
        Leeg,
        Afgebroken,
    };

    // When a reading stops and what it passes over.
    struct Regels
    {
        // The first line or row holds column titles and is passed over.
        bool eersteRijOverslaan = false;
        // Each cell of a worksheet row is trimmed.
        bool excelCellenTrimmen = false;
        // A worksheet row the policy refuses stops the reading; otherwise the next row follows. (A CSV
        // line the policy refuses always stops it.)
        bool excelRijFoutStopt = false;
        // A workbook is looked for before it is opened (a missing one is NietGevonden); otherwise a
        // missing workbook is one that does not open (OpenenMislukt). A CSV file is always looked for.
        bool excelZoeken = true;
    };

    // The caller's part of a reading: what a row means and what is reported. Every message is the
    // policy's own; the reader only says when.
    class Beleid
    {
    public:
        virtual ~Beleid() = default;

        // A reading begins (the caption and the source line of the log).
        virtual void Begin(const QString& path) = 0;
        // The file does not exist; the reading stops.
        virtual void NietGevonden(const QString& path) = 0;
        // The workbook cannot be opened; the reading stops.
        virtual void OpenenMislukt(const QString& path) = 0;
        // The workbook holds no sheet / the sheet holds no row: the outcome is Leeg.
        virtual void GeenBladen(const QString& path) = 0;
        virtual void GeenRijen(const QString& blad) = 0;
        // The CSV splitter refused the line (with its reason); true stops the reading, false passes
        // the line over.
        virtual bool SplitsFout(QStringView regel, const QString& fout) = 0;
        // A run-time error of the reading itself (the file cannot be read, the sheet is not there);
        // the reading stops.
        virtual void LeesFout(const std::exception& fout) = 0;
        // One row's fields, in column order. False: the row failed, which the policy has reported.
        virtual bool Rij(const QStringList& velden) = 0;
    };

    // The run context gives the cancel and the yields; none: a context of the reader's own.
    BronBestandLezer(Beleid& beleid, Regels regels, RunContextPtr run = {});

    // Reads the CSV file line by line (fields separated as SplitCSVRegel splits them).
    Uitkomst LeesCSV(const QString& path);
    // Reads one worksheet ("<sheet>$"; empty: the workbook's first table), every row as data.
    Uitkomst LeesExcel(const QString& path, const QString& blad = QString());

    // CSV: the number of the line in hand (title and blank lines count); worksheet: the rows after the
    // title row taken so far. After a reading: how many there were.
    qint32 RegelNummer() const { return m_regelNummer; }
    // The CSV line in hand, while a CSV reading runs (empty otherwise).
    QStringView HuidigeRegel() const { return m_huidigeRegel; }

private:
    // The frame of both readings: the beginning, the file's existence (when zoeken), and a run-time error
    // of the rows.
    Uitkomst lees(const QString& path, bool zoeken, const std::function<Uitkomst()>& rijen);

    Beleid& m_beleid;
    Regels m_regels;
    RunContextPtr m_run;
    qint32 m_regelNummer = 0;
    QStringView m_huidigeRegel;
};

} // namespace supplink
