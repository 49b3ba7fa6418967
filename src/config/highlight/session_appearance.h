// What a session's appearance settings name, found in the objects that hold them: the keyword
// list of "Keyword Set" (in the item database) and the colour scheme of "Color Scheme" (in the
// global configuration's scheme list). The session keeps the names as they were stored; a name
// that finds nothing stays as it is and is reported, never replaced by a default.
#pragma once

#include <optional>
#include <vector>

#include "config/colors/color_lists.h"
#include "config/highlight/highlight_config.h"

class SessionConfig;
class SessionDatabase;

struct SessionAppearance {
  // Empty when the session names no list or the list is not there.
  VRef<HighlightConfig> keywordList;
  // Empty when the session names no scheme, the scheme is not there or cannot be read.
  std::optional<ColorSchemeEntry> colorScheme;
  // One catalogue text per name that found nothing (or found a built-in under another name),
  // and per name stored as another kind of value.
  std::vector<VUnicodeString> warnings;
};

SessionAppearance FindSessionAppearance(const SessionConfig& session, SessionDatabase& database,
                                        const ProfileColorSchemeListV2& schemes);
