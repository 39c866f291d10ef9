#pragma once
// The import plan that an article import builds for its source: fixed lines
// for the table, the fixed values and the foreign keys, then one VELD line per
// column of the file, from a template per target-field code of the column map.
// The templates multiply centimetre columns by ten, except for an XML material
// export, whose lengths are millimetres already.

#include "import/clsscriptregel.h"

#include <optional>

namespace supplink {

class clsBron2;

// The VELD template of a target-field code, as written; none for a code without one (3 and
// codes above 37).
std::optional<QString> VeldSjabloon(qint32 code);

// The plan for the source; none after a failure, which is reported.
std::optional<ScriptBlok> CreateImportSetFromBronAndDoel(const clsBron2& bron);

} // namespace supplink
