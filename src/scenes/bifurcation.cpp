// Bifurcation diagram (work in progress).
#include "scenes/scenes.h"

#include "shell/app_state.h"

void drawBifurcation() {}
