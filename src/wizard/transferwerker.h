#pragma once
// The workers of a transfer: the four synchronisation engines and the two
// supplier file imports, behind one small interface, so that the transfer
// driver (staptransfer.h) runs any of them alike and the tests run the driver
// with scripted workers in their place.
//
// A worker is made for one run by the factory, reports through the eight
// progress events (transfer/progressevents.h) to the listener it was made
// with, works on the run context it was given (one cancel stops it) and is
// released after its run:
//
//     std::unique_ptr<TransferWerker> werker = fabriek->Maak(WerkerSoort::PT, &ontvanger, run);
//     const bool gelukt = werker->Uitvoeren(opdracht);   // false: the run failed (also when no event said so)
//     // from the cancel button, inside a yield:  werker->Cancel();
//
// EchteWerkers() gives the program's six engines:
//   Opt              clsSyncOpt.Sync(source, options work copy, True)
//   PT               clsSyncPT.Sync(source copy, product-table work copy or "*" description, -, True, types)
//   Shapes           clsSyncSHAPES.Sync(source copy, work-preparation work copy, types)
//   LIB              clsSyncLIB.Sync(source copy, library work copy, True, types)
//   Bestand          clsImportBestand.OverzettenBestand(source, product-table path), selection: articles
//   BestandHangSluit clsImportBestandHangSluit.OverzettenBestand(source, options or library work copy),
//                    selection: choices, combinations or tables

#include "platform/runcontext.h"
#include "start/items.h"
#include "transfer/progressevents.h"

#include <QString>
#include <memory>

namespace supplink {

class clsBron2;

// The six kinds, in the order the cancel button examines them.
enum class WerkerSoort
{
    Opt,
    PT,
    Shapes,
    LIB,
    Bestand,
    BestandHangSluit
};

// The action the cancel line names for a kind: "OPT", "PT", "SHAPES", "LIBRARY", "CSV", "CSV".
QString WerkerActie(WerkerSoort soort);

// The runner of a kind, the routine the error window names when its run fails: "StartTransferOPT",
// "StartTransferPT", "StartTransferSHAPES", "StartTransferLIB", "StartTransferBestand",
// "StartTransferBestandHangSluit".
QString WerkerRoutine(WerkerSoort soort);

// What one run works on.
struct WerkerOpdracht
{
    QString bronPad;                          // the source, or the temporary copy of it
    QString doelPad;                          // the work copy, or "*" and an SQL Server description
    QString types;                            // the chosen types or families, ";"-joined
    clsBron2* bron = nullptr;                 // the source description (file imports)
    std::shared_ptr<ItemCollection> selectie; // the selected parts (file imports)
};

class TransferWerker
{
public:
    virtual ~TransferWerker() = default;
    // The run. False when it did not succeed, whether or not an event said so (a cancelled run may answer
    // False too: the driver then counts no error).
    virtual bool Uitvoeren(const WerkerOpdracht& opdracht) = 0;
    // Asks the run to stop at its next test; may be called from inside an event or a yield.
    virtual void Cancel() = 0;
};

class WerkerFabriek
{
public:
    virtual ~WerkerFabriek() = default;
    // A new worker of the kind that reports to the listener and works on the run context.
    virtual std::unique_ptr<TransferWerker> Maak(WerkerSoort soort, VoortgangOntvanger* ontvanger,
                                                 RunContextPtr run) = 0;
};

// The program's own workers.
std::shared_ptr<WerkerFabriek> EchteWerkers();

} // namespace supplink
