#pragma once
// The import plan of an article import as the run reads it: its VELD lines,
// one per column of the supplier's file (column k belongs to the k-th VELD
// line), with their rules taken out of the arguments once; the foreign-key
// lines FOREIGNKEYA..E and the FOREIGNKEY line of the unique-row filter; the
// UNIEKEREGEL, TABEL and UISELECTEREN lines; and the ID and VELDKOPIE lines of
// a new record.
//
// A reading is made from the plan as it is when the run starts and keeps its
// own copy of the lines, so a plan changed or replaced afterwards is the next
// run's plan and never half of this one's:
//
//     const ArtikelImportPlan plan(*engine.ImportPlan());
//     for (const PlanVeld& veld : plan.Velden()) ... veld.doel, veld.sleutel ...
//
// Lines the reading does not know are kept (and logged with the plan's text)
// but mean nothing to the run.

#include "import/clsscriptregel.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <array>

namespace supplink {

// One VELD line as the run reads it.
struct PlanVeld
{
    ScriptRegelPtr regel;    // the line itself (the reading's copy)
    QString doel;            // argument 2: the target field(s)
    bool importeren = false; // argument 1 "Ja": written on a new article
    bool verplicht = false;  // argument 4 "Ja": the column may not be empty
    bool sleutel = false;    // argument 5 "Ja": identifies an existing article
    bool bijwerken = false;  // argument 6 "Ja": an update may change it
    bool geenPrijs = false;  // argument 6 "Nee": part of the unique-row filter
    bool maalTien = false;   // argument 7 "Ja": centimetres stored as millimetres
    bool verwijzing = false; // argument 8 "Ja": the code of another article
    bool numeriek = false;   // argument 3 "Numeriek"
    bool datum = false;      // argument 3 "Datum"
    QString decimaalTeken;   // argument 9 (the match field of a reference line)
    QString sleutelVeld;     // argument 10: the written field of a reference line
    int foreignKey = -1;     // which of FOREIGNKEYA..E takes the field (0..4), -1: none
    // The parts of argument 2 split at "|", each without its "+" and whether it appends.
    QList<QPair<QString, bool>> delen;
};

// The value a centimetre column (argument 7 "Ja") stores in a field of the given type: the column's number
// times ten, exactly ("12,5" and "12.5" give 125, "6,7" gives 67); a field of whole numbers takes it
// rounded (half to even) after the multiplication. Throws AppError 13 for a text that is no number and 6
// when a whole number does not fit in 32 bits. Insert, update and the unique-row filter all use it.
QVariant MaalTien(const QString& tekst, int veldType);

class ArtikelImportPlan
{
public:
    static constexpr int kForeignKeys = 5; // FOREIGNKEYA..E

    // Reads the plan's lines as they are now.
    explicit ArtikelImportPlan(const ScriptBlok& plan);

    // The reading's copy of the plan, in plan order.
    const ScriptBlok& Regels() const { return m_regels; }
    // The VELD lines in plan order.
    const QList<PlanVeld>& Velden() const { return m_velden; }
    // FOREIGNKEYA..E by index 0..4; null where the plan has none.
    const std::array<ScriptRegelPtr, kForeignKeys>& ForeignKeys() const { return m_foreignKeys; }
    // The FOREIGNKEY line of the unique-row filter; null when none.
    const ScriptRegelPtr& UniekeRegelSleutel() const { return m_uniekeRegelSleutel; }
    // UNIEKEREGEL ( Ja ): an existing article is found by the whole line.
    bool UniekeRegel() const { return m_uniekeRegel; }
    // The first argument of the TABEL line; empty when none.
    const QString& Tabel() const { return m_tabel; }
    // The UISELECTEREN line; null when none.
    const ScriptRegelPtr& UiSelecteren() const { return m_uiSelecteren; }
    // The first VELD line that refers to another article (argument 8 "Ja"); null when none.
    const PlanVeld* Verwijzing() const;
    // The ID and VELDKOPIE lines, in plan order.
    const QList<ScriptRegelPtr>& IdRegels() const { return m_idRegels; }
    const QList<ScriptRegelPtr>& VeldKopieen() const { return m_veldKopieen; }
    // The plan as the log shows it (ScriptTekst).
    QString Tekst() const { return ScriptTekst(m_regels); }

private:
    ScriptBlok m_regels;
    QList<PlanVeld> m_velden;
    std::array<ScriptRegelPtr, kForeignKeys> m_foreignKeys;
    ScriptRegelPtr m_uniekeRegelSleutel;
    bool m_uniekeRegel = false;
    QString m_tabel;
    ScriptRegelPtr m_uiSelecteren;
    QList<ScriptRegelPtr> m_idRegels;
    QList<ScriptRegelPtr> m_veldKopieen;
};

} // namespace supplink
