// The message texts a host owns (the shared ranges the library raises but does not carry).
#pragma once

#include "report/message_catalogue.h"

// Exported from the host program; the library looks it up by name in the main program.
extern "C" const VMessageModule* QuillaneHostMessageModule();
