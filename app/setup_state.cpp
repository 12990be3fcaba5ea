// The one SetupState of the process: static storage, so zero-filled before anything runs.
#include "app/setup_state.h"

SetupState g_setup;
