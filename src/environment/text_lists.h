// Small text helpers of the line formats the environment reads (desktop lists, unit files, the
// OpenSSH client configuration, the older printer file), and lists packed into one string as the
// environment gives them ($PATH, $XDG_DATA_DIRS, $XDG_CURRENT_DESKTOP) or as a path holds its levels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The items of `text` between `separator`s, empty ones dropped.
std::vector<std::string> SplitNonEmpty(std::string_view text, char separator);

// `text` without the blanks, tabs and carriage returns at either end.
std::string_view TrimBlanks(std::string_view text);

// `text` with its ASCII letters in lower case; other bytes (UTF-8 included) as they are.
std::string AsciiLower(std::string_view text);
