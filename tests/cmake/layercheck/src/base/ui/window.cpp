// A window of the lower subsystem: its ui library may use Qt Widgets (layer-check project).
#include "base/base.h"

#include <QWidget>

int window() { return base(); }
