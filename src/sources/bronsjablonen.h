#pragma once
// The templates of a supplier's sources: one text file per source description
// ("File1", "File2", ...) in the supplier's folder under the user's
// application-data folder. The source step loads them when it is entered and
// saves them when it is left forward.

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace supplink {

class clsBron2;

// The current supplier's name (the key of its record); empty without a current supplier.
QString HuidigeLeverancierNaam();

// The supplier's template folder (without a trailing separator): the application-data folder,
// "Tavrin Software", "Bvq", "Import", "4.00" and the supplier's name as a folder name
// (MapNaamVanLeverancier). Empty when there is no application-data folder (after a message) or no
// supplier.
QString BronDefinitieMap(const QString& leverancier);

// A supplier's name as one folder name that stays below the template folder on every system: a
// character no file system takes in a name ("/", "\", ":", "*", "?", a double quote, "<", ">", "|", control
// characters), "%" itself, a leading or trailing dot or blank and the first letter of a device name
// (CON, NUL, COM1, ...) are written as "%" and two hexadecimal digits. Every other character stays as
// it is, and two different names give two different folder names.
QString MapNaamVanLeverancier(const QString& leverancier);

// The files of a template folder in the one order every reader of the folder uses: "File" and a number
// by that number (File2 before File12), then every other name (only with alleenSjablonen false) by
// name, without regard to case.
QStringList SjabloonBestanden(const QString& map, bool alleenSjablonen = true);

// The supplier's saved source descriptions, in the order of their numbers; a description whose
// source file no longer exists is left out (its template stays until the next save).
QList<std::shared_ptr<clsBron2>> LaadBronDefinities(const QString& leverancier);

// Saves the descriptions as File1, File2, ... in list order, in place of every "File" template the
// folder held. The new set is written completely before the old one is replaced: when writing fails
// the old templates stay as they were, the failure is reported and the result is false.
bool OpslaanBronDefinities(const QString& leverancier, const QList<std::shared_ptr<clsBron2>>& bronnen);

} // namespace supplink
