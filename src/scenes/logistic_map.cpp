// Logistic map (work in progress).
#include "scenes/scenes.h"

#include "shell/app_state.h"

void drawLogisticMapAt(int, int) {}
void drawLogisticMap() {}
