#include "platform/version_note.h"

QUILLANE_VERSION_NOTE(0, 1, 0, 0, "Tolvane Software, Inc.");
