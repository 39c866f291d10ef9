#pragma once
// Splitting one line of a supplier's text file into its fields. The separator
// is always ";"; double quotes protect separators unless quoting is switched off.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace supplink {

// The fields of the line, in line order (callers number them from 1), as
// texts without trimming. With quoting on, a double quote outside quotes opens
// them and is dropped wherever it stands; inside quotes a double quote closes
// them (and is dropped) only when it ends the line or a ";" follows, otherwise
// it stays in the field. With quotingOff every double quote is dropped and
// every ";" ends a field.
// ok is set true on entry and false on failure; errorText then receives the
// failure's description (otherwise it is left as it was). An empty line fails:
// callers skip empty lines.
std::optional<QStringList> SplitCSVRegel(QStringView line, bool& ok, QString& errorText,
                                         bool quotingOff = false);

} // namespace supplink
