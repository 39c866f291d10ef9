#pragma once
// Shared pieces of the tests of the dedicated selection steps: sources and
// items made in a line, the codes of a collection or of the rows a step
// shows, the status texts a step raised, and the history marks it asked for
// (recorded instead of read from a target), and the surroundings every test
// starts from.
//
//     globals().gBronnenGeselecteerd = {test::bron("opt.sqlite", BronSoort::TabellenCombies, Opslag::SQLite)};
//     test::Historie historie(stap.sjabloon());     // records (type, codes) per marking
//     stap.Init();
//     QCOMPARE(test::rijCodes(stap.sjabloon()), QStringList{"C1"});

#include "database/backendopeners.h"
#include "selection/selectiestap.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QSignalSpy>
#include <QStringList>
#include <functional>
#include <memory>

namespace supplink::test {

// What every test of a step starts from and leaves behind: private folders and settings, a recording
// UI, the program-wide state new, the database openers as the program has them.
struct StapOmgeving
{
    StapOmgeving() { globals() = ProgramState(); }
    ~StapOmgeving()
    {
        globals() = ProgramState();
        resetBackendOpeners();
    }
    TestEnvironment env;
    RecordingUiServices ui;
};

enum class Opslag
{
    Bestand, // a supplier file (CSV)
    Jet,
    SQLite
};

inline std::shared_ptr<clsBron2> bron(const QString& naam, qint32 soort, Opslag opslag, const QString& pad = {})
{
    auto result = std::make_shared<clsBron2>();
    result->BestandsNaam = naam;
    result->BronPad = pad.isEmpty() ? QStringLiteral("/bronnen/") + naam : pad;
    result->Soort = soort;
    result->IsJetDatabase = opslag == Opslag::Jet;
    result->IsSQLite = opslag == Opslag::SQLite;
    result->IsCSV = opslag == Opslag::Bestand;
    return result;
}

// A database source of a version of the design product (VELMORA).
inline std::shared_ptr<clsBron2> database(const QString& naam, qint32 soort, Opslag opslag, int minor,
                                          const QString& pad = {})
{
    auto result = bron(naam, soort, opslag, pad);
    result->AppType = QStringLiteral("VELMORA");
    result->VerMajor = 3;
    result->VerMinor = minor;
    return result;
}

inline std::shared_ptr<clsItem> item(const QString& code, bool geselecteerd = false)
{
    auto result = std::make_shared<clsItem>();
    result->Code = code;
    result->Description = QStringLiteral("Omschrijving ") + code;
    result->Selected = geselecteerd;
    return result;
}

// Items of the codes, ticked.
inline ItemCollection gekozen(const QStringList& codes)
{
    ItemCollection items;
    for (const QString& code : codes)
        items << item(code, true);
    return items;
}

inline QStringList codes(const ItemCollection& items)
{
    QStringList result;
    for (const auto& i : items)
        result << (i ? i->Code : QString());
    return result;
}

// The codes of the rows the step shows, in list order.
inline QStringList rijCodes(SelectieSjabloon& sjabloon)
{
    QStringList result;
    const SelectieLijst& lijst = sjabloon.lijst().lijst();
    for (int rij = 0; rij < lijst.RijAantal(); ++rij)
        result << lijst.Rij(rij).Code;
    return result;
}

inline int rijVan(SelectieSjabloon& sjabloon, const QString& code)
{
    const SelectieLijst& lijst = sjabloon.lijst().lijst();
    for (int rij = 0; rij < lijst.RijAantal(); ++rij) {
        if (lijst.Rij(rij).Code == code)
            return rij;
    }
    return -1;
}

inline QStringList teksten(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& melding : spy)
        result << melding.at(0).toString();
    return result;
}

// The history marks a step asks for: the type and the codes of the collection at that moment.
struct Historie
{
    explicit Historie(SelectieSjabloon& sjabloon)
    {
        sjabloon.setHistorieMarkering([this](qint32 type, const ItemCollection& items) {
            markeringen.append({type, codes(items)});
            if (bijMarkering)
                bijMarkering(type, items);
        });
    }
    QList<std::pair<qint32, QStringList>> markeringen;
    // What the marking does to the items (the history's own flags), when set.
    std::function<void(qint32, const ItemCollection&)> bijMarkering;
};

} // namespace supplink::test
