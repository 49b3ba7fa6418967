// Whether a person sits at the other end of the program's input.
#pragma once

namespace vterm {

// True when standard input is a terminal, so that a person can be there to answer; a program fed
// from a pipe or a file must not stop to ask.
bool StandardInputIsTerminal();

}  // namespace vterm
