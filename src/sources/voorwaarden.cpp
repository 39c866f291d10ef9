#include "sources/voorwaarden.h"

#include "database/clsopt.h"
#include "database/doelbestand.h"
#include "sources/clsbron2.h"
#include "start/globals.h"

#include <functional>

namespace supplink {

namespace {

const QString kOptionsDatabase = QStringLiteral("OPTIONS");

// Whether some selected source of the chosen list has the property; the walk stops at the first.
bool SommigeGeselecteerdeBron(const std::function<bool(const clsBron2&)>& heeft)
{
    for (const auto& bron : globals().gBronnenGeselecteerd) {
        if (bron && bron->Geselecteerd && heeft(*bron))
            return true;
    }
    return false;
}

bool IsDatabaseBron(const clsBron2& bron)
{
    return bron.IsJetDatabase || bron.IsSQLite;
}

// A supplier's hardware file: kind 1 and no database. Only such a file went through the column
// mapping, whose combination list sets CombiType; every other source keeps the 0 it was made with.
bool IsHangSluitBestand(const clsBron2& bron, qint32 combiType)
{
    return bron.Soort == BronSoort::TabellenCombies && !IsDatabaseBron(bron) && bron.CombiType == combiType;
}

} // namespace

bool IsBronArtikelenGeselecteerd()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) { return b.Soort == BronSoort::Artikelen; });
}

bool IsAlleenPrijsUpdate()
{
    return !SommigeGeselecteerdeBron(
        [](const clsBron2& b) { return b.Soort == BronSoort::Artikelen && !b.AlleenPrijsUpdate(); });
}

bool IsDoelNieuweFormaatCombies()
{
    bool nieuw = false;
    for (const auto& doel : globals().gDoelBestanden) {
        if (!doel)
            continue;
        if (doel->Soort == 1) {
            clsOPT opt;
            // A target that cannot be opened counts as the older format; the handle has said why, and
            // an unopened handle is asked nothing more.
            if (opt.Connect(doel->Path()) && opt.NieuweFormaatCombies())
                nieuw = true;
            opt.Disconnect();
        }
        if (doel->Soort == 2 && globals().gBibliotheekModus)
            return true;
    }
    return nieuw;
}

bool IsBronTabellenGeselecteerd()
{
    if (globals().gBibliotheekModus)
        return false;
    return SommigeGeselecteerdeBron([](const clsBron2& b) { return b.Soort == BronSoort::TabellenCombies; });
}

bool IsHSTabellenMogelijk()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) {
        return (b.Soort == BronSoort::TabellenCombies && IsDatabaseBron(b)) || IsHangSluitBestand(b, 0);
    });
}

bool IsHSKeuzesMogelijk()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) {
        return (b.Soort == BronSoort::TabellenCombies && IsDatabaseBron(b)) || IsHangSluitBestand(b, 1);
    });
}

bool IsLibHSCombiesMogelijk()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) {
        return (b.Soort == BronSoort::Bibliotheek && b.IsSQLite) || IsHangSluitBestand(b, 0);
    });
}

bool IsLibHSKeuzesMogelijk()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) {
        return (b.Soort == BronSoort::Bibliotheek && b.IsSQLite) || IsHangSluitBestand(b, 1);
    });
}

bool IsBronWKVGeselecteerd()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) { return b.Soort == BronSoort::WKV; });
}

bool IsBronOptionsDatabaseGeselecteerd()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) {
        return b.Soort == BronSoort::TabellenCombies && b.DBType == kOptionsDatabase;
    });
}

bool IsBronBibliotheekGeselecteerd()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) { return b.Soort == BronSoort::Bibliotheek; });
}

bool IsLibHangSluitwerkMogelijk()
{
    // Library mode is tested once per source in the list, so an empty list answers false.
    for (const auto& bron : globals().gBronnenGeselecteerd) {
        if (!bron)
            continue;
        if (bron->Geselecteerd && bron->Soort == BronSoort::Bibliotheek && bron->Minimaal35Formaat())
            return true;
        if (globals().gBibliotheekModus)
            return true;
    }
    return false;
}

bool IsArtikelGroepSelectieMogelijk()
{
    return SommigeGeselecteerdeBron([](const clsBron2& b) { return b.ArtikelGroepSelectieMogelijk(); });
}

bool IsHangSluitKeuzesMogelijk()
{
    if (IsDoelNieuweFormaatCombies())
        return SommigeGeselecteerdeBron([](const clsBron2& b) { return b.Soort == BronSoort::TabellenCombies; });
    return IsBronOptionsDatabaseGeselecteerd();
}

} // namespace supplink
