#pragma once
// Starting another program that lives on after this one ends, as the update
// window starts an update's installer.
//
//     if (!startProgramMinimised(installer, {folder}))
//         ... the program could not be started ...

#include <QString>
#include <QStringList>

namespace supplink {

// Starts the program with the arguments, detached from this process. Where the platform has window
// states (Windows) its window starts minimised and does not take the focus. False when the program
// could not be started.
bool startProgramMinimised(const QString& program, const QStringList& arguments);

} // namespace supplink
