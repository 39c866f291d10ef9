#pragma once
// Starting another program that lives on after this one ends, as the update
// window starts an update's installer; and the test that keeps a link in a
// supplier's page or information list from starting one.
//
//     if (!startProgramMinimised(installer, {folder}))
//         ... the program could not be started ...
//     if (IsProgrammaBestand(QFileInfo(pad)))
//         ... refused: opening it would run something ...

#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace supplink {

// Starts the program with the arguments, detached from this process. Where the platform has window
// states (Windows) its window starts minimised and does not take the focus. False when the program
// could not be started.
bool startProgramMinimised(const QString& program, const QStringList& arguments);

// Whether opening the file would start a program, a script or a shortcut to one: an executable file, or one
// whose extension the desktop runs (compared ignoring case).
bool IsProgrammaBestand(const QFileInfo& bestand);

} // namespace supplink
