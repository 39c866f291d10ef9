#pragma once
// The three hardware selection steps (hang- en sluitwerk) of the wizard:
//
//   step  model                  list name     history  splitter value            reads
//    7    StapSelectHSTabellen   "HSTabellen"     2     "hstabellensplitter1pos"  tables of a Jet options
//                                                                                  database; a hardware file
//    8    StapSelectHSKeuzes     "HSKeuzes"      10     "hskeuzessplitter1pos"    choices of an options
//                                                                                  database, of a hardware file
//                                                                                  of choices (CombiType 1), of
//                                                                                  a library of format 3.5
//    9    StapSelectHSCombies    "HSCombies"   3 / 11   "hscombiessplitter1pos"   combinations of an options
//                                                                                  database, of a hardware file
//                                                                                  of combinations (CombiType 0)
//                                                                                  when the target keeps the
//                                                                                  new format, of an SQLite
//                                                                                  library of format 3.5
//
// The combinations step ticks and locks the combinations that the ticked
// hardware tables (an options source) or the ticked hardware choices (a
// library source) require, and marks its items against the history per
// source: type 3 after an options source or a hardware file, 11 after a
// library; a failed required query of an options source skips both marks
// for that source. The steps raise no status texts.
//
// Next: the tables step as the template (an item is ticked; not during a
// batch); the choices and combinations steps on every row's tick, also
// during a batch (a row is ticked; the choices step also when its list has
// no rows). A step with nothing to list lets the user go on: it would
// otherwise be a step that can only be left backward.
//
// The steps reach the readers through HangSluitLezers (selectielezers.h);
// tests give them scripted ones with setLezers.

#include "selection/eigenselectiestap.h"
#include "selection/selectielezers.h"

#include <memory>

namespace supplink {

// What the three steps share: the readers and no status texts.
class HangSluitSelectieStap : public EigenSelectieStap, public MetLezers<HangSluitLezers, MaakHangSluitLezers>
{
    Q_OBJECT
protected:
    using EigenSelectieStap::EigenSelectieStap;
    bool MeldtVoortgang() const override { return false; }
};

class StapSelectHSTabellen : public HangSluitSelectieStap
{
    Q_OBJECT
public:
    explicit StapSelectHSTabellen(QObject* parent = nullptr);

private:
    QString LijstNaam() const override { return QStringLiteral("HSTabellen"); }
    QString SplitterNaam() const override { return QStringLiteral("hstabellensplitter1pos"); }
    qint32 HistoryType() const override { return 2; }
    void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) override;
    bool KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const override;
};

class StapSelectHSKeuzes : public HangSluitSelectieStap
{
    Q_OBJECT
public:
    explicit StapSelectHSKeuzes(QObject* parent = nullptr);

private:
    QString LijstNaam() const override { return QStringLiteral("HSKeuzes"); }
    QString SplitterNaam() const override { return QStringLiteral("hskeuzessplitter1pos"); }
    qint32 HistoryType() const override { return 10; }
    void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) override;
    bool KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const override;
    bool WachtOpBatch() const override { return false; }
};

class StapSelectHSCombies : public HangSluitSelectieStap
{
    Q_OBJECT
public:
    explicit StapSelectHSCombies(QObject* parent = nullptr);

    // Ticks and locks, for each required item, the first item of `alle` with its code; required items
    // without a match are left.
    static void MarkeerVerplichteCombies(const ItemCollection& verplicht, ItemCollection& alle);

private:
    QString LijstNaam() const override { return QStringLiteral("HSCombies"); }
    QString SplitterNaam() const override { return QStringLiteral("hscombiessplitter1pos"); }
    // Marked per source in ToevoegenAanList.
    qint32 HistoryType() const override { return -1; }
    void ToevoegenAanList(clsBron2& bron, ItemCollection& alle) override;
    bool KanVerder(const ItemCollection& alle, const SelectieLijst& lijst) const override;
    bool WachtOpBatch() const override { return false; }
};

} // namespace supplink
