#pragma once
// Where a window stands on the screen: centring it, and keeping its position
// and size between runs (section "Windows" of the user's settings, in twips).
// A window calls CentreerForm and LoadFormState when it is built and
// SaveFormState when it closes.

#include <QString>

class QWidget;

namespace supplink {

// Centres a window on its screen.
void CentreerForm(QWidget* window);
// Restores a window's position and size stored under section "Windows" in
// twips; false when nothing was stored.
bool LoadFormState(QWidget* window, const QString& keyName = QString());
// Stores a window's position and size (only in its normal state).
void SaveFormState(QWidget* window, const QString& keyName = QString());

} // namespace supplink
