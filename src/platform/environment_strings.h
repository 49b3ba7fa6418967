// Expansion of environment references in stored texts, for values that are meant to follow the
// user's environment (a folder under $HOME, %APPDATA% on a value carried over from elsewhere).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vapp {

// Looks a variable up; nullopt when it is not set.
using VariableLookup = std::function<std::optional<std::u16string>(std::u16string_view name)>;

// Replaces $NAME, ${NAME} and %NAME% by the value of the variable. NAME in $NAME is a letter or
// underscore followed by letters, digits and underscores; in ${NAME} and %NAME% it is any
// non-empty text without the closing character, "=" or a line break. A reference to a variable
// that is not set, and a "$" or "%" that starts no reference, are kept as written, so that text
// which merely contains these characters comes back unchanged. Values are inserted as they are:
// references inside them are not expanded again.
std::u16string ExpandEnvironmentStrings(std::u16string_view text, const VariableLookup& lookup);
// The same with the process environment.
std::u16string ExpandEnvironmentStrings(std::u16string_view text);

// The same, giving up as soon as the result would be longer than `limit` characters (nullopt
// then): a short text of many references to a long variable would otherwise grow without bound.
std::optional<std::u16string> ExpandEnvironmentStringsWithin(std::u16string_view text,
                                                             const VariableLookup& lookup,
                                                             size_t limit);
std::optional<std::u16string> ExpandEnvironmentStringsWithin(std::u16string_view text,
                                                             size_t limit);

}  // namespace vapp
