// Computed sine (work in progress).
#include "scenes/scenes.h"

#include "shell/app_state.h"

double factorial(int) { return 1.0; }
void drawComputedSineAt(int) {}
void drawComputedSine() {}
