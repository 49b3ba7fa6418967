#include "platform/terminal.h"

#include <unistd.h>

namespace vterm {

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

}  // namespace vterm
