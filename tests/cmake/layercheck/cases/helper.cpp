// A second library in a folder: of the lower subsystem, or of none (layer-check project).
int helper() { return 0; }
