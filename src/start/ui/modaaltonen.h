#pragma once
// How the program shows its own dialogs modally. On screen that is exec();
// a test installs a function that fills in and closes the dialog instead, so
// that routines which ask the user something run without a window and
// without waiting.

#include <functional>

class QDialog;

namespace supplink {

using ModaalTonenFunctie = std::function<void(QDialog& dialog)>;

// Shows the dialog modally (through the installed function, if any) and returns when it is hidden.
void ToonModaal(QDialog& dialog);
// Installs the function that shows dialogs modally; an empty function restores exec().
void setModaalTonen(ModaalTonenFunctie functie);

} // namespace supplink
