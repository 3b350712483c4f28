// The one AppState of the process.
#include "common/app_state.h"

AppState app;
