#include "platform/terminal.h"

#include <unistd.h>

#include "platform/env.h"

namespace vterm {

bool StandardInputIsTerminal() { return vfs::Env::Default()->IsTerminal(STDIN_FILENO); }

}  // namespace vterm
