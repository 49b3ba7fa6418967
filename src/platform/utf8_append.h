// Text appended in UTF-8 to a buffer that is being filled, without a string of its own: files
// of many lines are made in one buffer this way.
#pragma once

#include <string>
#include <string_view>

namespace vtext {

// Appends `text` to `out` exactly as ToUtf8 converts it (a lone surrogate becomes U+FFFD).
void AppendAsUtf8(std::string& out, std::u16string_view text);

}  // namespace vtext
