// A header of the lower subsystem of the layer-check project.
#pragma once
int base();
