// Quadratic function (work in progress).
#include "scenes/scenes.h"

#include "shell/app_state.h"

void plotQuadratic(float, float) {}
void drawQuadraticAt(int, int) {}
void drawQuadratic() {}
