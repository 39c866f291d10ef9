// The program of the layer-check project: it links the window library.
#include "base/base.h"

int main() { return base(); }
