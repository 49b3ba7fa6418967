// Catalogue ids of the keyword list and filter dialogs' own texts (user interface catalogue).
#pragma once

#include <cstdint>

namespace keyword_texts {

inline constexpr uint32_t kListTitle = 0x61391301;
inline constexpr uint32_t kNameLabel = 0x61391302;
inline constexpr uint32_t kKeywordsLabel = 0x61391303;
inline constexpr uint32_t kKeywordColumn = 0x61391304;
inline constexpr uint32_t kTypeColumn = 0x61391305;
inline constexpr uint32_t kTypeWord = 0x61391306;
inline constexpr uint32_t kTypeRegex = 0x61391307;
inline constexpr uint32_t kWordLabel = 0x61391308;
inline constexpr uint32_t kAddButton = 0x61391309;
inline constexpr uint32_t kRegexBox = 0x6139130A;
inline constexpr uint32_t kEditButton = 0x6139130B;
inline constexpr uint32_t kRemoveButton = 0x6139130C;
inline constexpr uint32_t kUpButton = 0x6139130D;
inline constexpr uint32_t kDownButton = 0x6139130E;
inline constexpr uint32_t kColorButton = 0x6139130F;
inline constexpr uint32_t kMatchCase = 0x61391310;
inline constexpr uint32_t kDeleteList = 0x61391311;
inline constexpr uint32_t kEditTitle = 0x61391312;
inline constexpr uint32_t kSave = 0x61391313;
inline constexpr uint32_t kColorTitle = 0x61391314;
inline constexpr uint32_t kFilterTitle = 0x61391315;
inline constexpr uint32_t kFilterType = 0x61391316;
inline constexpr uint32_t kFilterInclude = 0x61391317;
inline constexpr uint32_t kFilterExclude = 0x61391318;
inline constexpr uint32_t kFilterCriteria = 0x61391319;
inline constexpr uint32_t kFilterFolders = 0x6139131A;

}  // namespace keyword_texts
