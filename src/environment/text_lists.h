// Lists packed into one string, as the environment gives them ($PATH, $XDG_DATA_DIRS,
// $XDG_CURRENT_DESKTOP) or as a path holds its levels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The items of `text` between `separator`s, empty ones dropped.
std::vector<std::string> SplitNonEmpty(std::string_view text, char separator);
