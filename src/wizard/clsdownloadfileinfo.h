#pragma once
// One entry of the update list "info4.txt": the archive to download, the
// version it brings, its name, the installer it holds and whether the program
// ends once the installer runs. AddLine fills it from one line of the list;
// the update window marks the entry it installs with Selected.

#include <QString>

namespace supplink {

class clsDownloadFileInfo
{
public:
    QString FileName;     // archive in the update folder; downloaded to and unpacked in the program folder
    QString Description;  // name of the update in the status lines
    QString VersionMinor;
    QString VersionMajor;
    QString Extra;        // kept, not used
    QString RunFile;      // installer inside the archive, relative to the program folder; empty: data only
    QString CloseApp;     // any text: the program ends once the installer runs
    bool Selected = false;

    // Fills the members from the comma-separated fields of the line (1 FileName, 2 VersionMajor,
    // 3 VersionMinor, 4 Extra, 5 Description, 6 RunFile, 7 CloseApp), each without control characters
    // and outer spaces, CloseApp in capitals; a field the line lacks leaves its member empty. False for
    // an empty text, which holds no field.
    bool AddLine(const QString& line);
};

// The text without the spaces at its start and end (other white space stays).
QString ZonderRandSpaties(const QString& text);

} // namespace supplink
