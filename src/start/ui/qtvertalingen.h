#pragma once
// Qt's own texts in Dutch: the file and folder dialogs, the standard buttons
// of message boxes and button boxes, the context menus of text fields. The
// program's users are Dutch, so these texts are Dutch on every machine,
// whatever its locale. The start routine calls this once, right after the
// application object is made:
//
//     QApplication app(argc, argv);
//     if (!InstalleerQtVertalingen())
//         qWarning("...");                    // Qt's texts stay English; the program runs on

#include <QString>

namespace supplink {

// Loads Qt's Dutch catalogue ("qtbase_nl.qm") from the folder (default: Qt's translations folder) and
// installs it for the whole application; the translator lives as long as the application object. False
// when the catalogue cannot be loaded: nothing is installed then.
bool InstalleerQtVertalingen(const QString& map = QString());

// Qt's translations folder, where the catalogue is looked for by default.
QString QtVertalingenMap();

} // namespace supplink
