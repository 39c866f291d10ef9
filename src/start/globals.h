#pragma once
// The program-wide state through which the wizard's steps exchange their data.
// One owner object holds every variable under its one name; the steps, the
// predicates, the transfer driver and the engines read and write it.

#include "start/items.h"
#include "start/veldcatalogus.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace supplink {

inline constexpr const char kProgramTitle[] = "Brevanto Vededuzuduzu Davudi";
inline constexpr const char kHelpFileName[] = "Brevanto_Vededuzuduzu_Davudi.chm";

class clsLeverancier;
class clsBron2;
class clsDoelBestand;
class clsConnectie;

struct ProgramState
{
    QList<std::shared_ptr<clsLeverancier>> gLeveranciers;
    std::shared_ptr<clsLeverancier> gLeverancier;
    QString gWelkomMap;
    QString gLeverancierPrefix;

    QList<std::shared_ptr<clsBron2>> gBronnen;
    QList<std::shared_ptr<clsBron2>> gBronnenGeselecteerd;
    std::shared_ptr<clsImportOpties> gImportOpties;
    QList<std::shared_ptr<clsDoelBestand>> gDoelBestanden;
    bool gBibliotheekModus = false;

    ItemCollection gColHSTabellen, gColHSTabellenGeselecteerd;
    ItemCollection gColHSKeuzes, gColHSKeuzesGeselecteerd;
    ItemCollection gColHSCombies, gColHSCombiesGeselecteerd;
    ItemCollection gColArtikelGroepen, gColArtikelGroepenGeselecteerd;
    ItemCollection gColArtikelen, gColArtikelenGeselecteerd;
    ItemCollection gColLaagrelief, gColLaagreliefGeselecteerd;
    ItemCollection gColNeuten, gColNeutenGeselecteerd;
    ItemCollection gColVaksponningen, gColVaksponningenGeselecteerd;
    ItemCollection gColRandsponningen, gColRandsponningenGeselecteerd;
    ItemCollection gColElementsponningen, gColElementsponningenGeselecteerd;
    ItemCollection gColSponningfiguren, gColSponningfigurenGeselecteerd;

    VeldCatalogus gVeldCatalogusArtikelen;
    VeldCatalogus gVeldCatalogusHangSluit;

    QString gLogDetail;
    QString gLogOverzicht;
    QStringList gGekozenBestanden;
    std::shared_ptr<clsConnectie> gConnectie;

    // Whether the last error window was closed with its details open.
    bool gDetailsOpen = false;

    // The program's help file (folder of the program + the help file's name).
    QString HelpFile;
};

// The one instance, created empty at first use.
ProgramState& globals();

} // namespace supplink
