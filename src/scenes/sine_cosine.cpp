// Sine and cosine on the unit circle (work in progress).
#include "scenes/scenes.h"

#include "shell/app_state.h"

void drawSineCosine(float) {}
