// A header of the higher subsystem of the layer-check project.
#pragma once
int logic();
