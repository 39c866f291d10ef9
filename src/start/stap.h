#pragma once
// The step protocol of the wizard: what the main window says to a step and
// what a step says back. Every step is a window-free model (a Stap) under a
// thin view; the main window stacks the views in its step area and speaks
// only to the models, through this interface (StapBesturing drives it):
//
//   Init()      the window enters the step (every time it is shown anew);
//   Finish()    the window leaves the step forward (steps 1 to 15): the step
//               has put its result into the program-wide state (globals())
//               when it returns;
//   Clear()     empties the step's own state before it is reused (only the
//               generic selection step keeps any);
//   KanVerder(bool)     signal: the step may (true) or may not (false) be left
//                       forward; the window enables Next accordingly;
//   StatusTekst(text)   signal: a text for the window's status line ("" clears);
//   GaVerder()          signal: the step asks to go on (a double-click on a
//                       supplier); the window presses Next when it is enabled.
//
// A step fills its program-wide collections on entry only while they are
// empty, so going back and forth keeps the user's choices; going back empties
// the variables of the step that is left backward (StapBesturing does that).
//
// Two steps are entered differently and have their own abstract class:
//   AlgemeneSelectieStap  the one generic selection step that serves steps 5,
//                         6, 12, 13 and 14: entered with its six-argument Init;
//                         after Finish the window takes both collections back
//                         (ColItems, ColItemsGeselecteerd) into the step's pair.
//   TransferStap          step 17: StartTransfer runs the whole transfer and
//                         returns when it is over; while it runs the window
//                         counts the transfer as running and routes a close of
//                         the window to Annuleren (the transfer's own cancel
//                         question) instead of closing.
//
// Adding a step, say the backup step (16). Its model, in src/wizard (no widgets):
//
//     class StapBackup : public Stap
//     {
//         Q_OBJECT
//     public:
//         void Init() override { ...; emit KanVerder(BackupGemaakt || alleenSqlServer()); }
//     };
//
// its view, in src/wizard/ui: a QWidget made with its parent alone that offers
// its model as stap() (the StapWeergave concept of wizard/ui/stapregister.h):
//
//     class usrStapBackup : public QWidget
//     {
//     public:
//         explicit usrStapBackup(QWidget* parent);
//         StapBackup& stap() { return m_model; }
//     private:
//         StapBackup m_model;
//     };
//
// and its one line in the step register (src/wizard/ui/stapregister.cpp):
//
//     {{16}, maakStap<usrStapBackup>},            // usrStapBackup
//
// Steps of the selection subsystem (src/selection) derive from these classes
// too. This interface lives with the shared services, and the predicates
// with the sources they look at (sources/voorwaarden.h), below both the
// selection steps and the wizard's logic; the main window links the ui
// libraries of the steps it registers, and no library links one above it.

#include "start/items.h"

#include <QObject>
#include <QString>

namespace supplink {

class Stap : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~Stap() override = default;

    // The window enters the step.
    virtual void Init() = 0;
    // The window leaves the step forward.
    virtual void Finish() {}
    // Empties the step's own state before it is reused.
    virtual void Clear() {}

signals:
    void KanVerder(bool verder);
    void StatusTekst(const QString& tekst);
    void GaVerder();
};

// The generic selection step (one instance for steps 5, 6, 12, 13 and 14): it lists the rows of one
// library table of the chosen library sources.
class AlgemeneSelectieStap : public Stap
{
    Q_OBJECT
public:
    using Stap::Stap;

    // The window enters the step with the step's pair of collections (all candidates, the selected
    // ones; the step may replace either, the window's variables follow), the history type of the
    // import history, the query that lists the table's rows, the source kind it reads (2, library)
    // and the step name (list name, settings value and information key).
    virtual void Init(ItemCollection& vCol, ItemCollection& vColGeselecteerd, qint32 vHistoryID,
                      const QString& vDistinctQRY, qint32 vBronType, const QString& vName) = 0;
    // After Finish: the all collection and the selected collection, which the window takes over.
    virtual ItemCollection ColItems() const = 0;
    virtual ItemCollection ColItemsGeselecteerd() const = 0;

    // The window always enters this step with the six arguments above.
    void Init() final {}
};

// Step 17: the transfer.
class TransferStap : public Stap
{
    Q_OBJECT
public:
    using Stap::Stap;

    // Runs the transfer and returns when it is over, whatever the outcome (it ends with
    // KanVerder(true)). The window calls it, not Init, when it enters step 17.
    virtual void StartTransfer() = 0;
    // The transfer's cancel question, as its own cancel button asks it; the window calls it when the
    // user closes the window while StartTransfer runs.
    virtual void Annuleren() = 0;

    // The window enters this step with StartTransfer.
    void Init() final {}
};

} // namespace supplink
