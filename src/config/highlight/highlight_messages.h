// Catalogue ids of the keyword list and filter texts (library catalogue, facility 0x138).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/unicode_string.h"

constexpr uint32_t kMsgKeywordEntriesUnreadable = 0xA1380F00;  // %1 list, %2 the entries
constexpr uint32_t kMsgKeywordListOtherKind = 0xA1380F01;      // %1 list, %2 value name
constexpr uint32_t kMsgOlderKeywordListOtherKind = 0xA1380F05;  // %1 list, %2 value name
constexpr uint32_t kMsgSessionNameOtherKind = 0xA1380F06;       // %1 setting
constexpr uint32_t kMsgSessionKeywordListMissing = 0xA1380F02;  // %1 list name
constexpr uint32_t kMsgSessionColorSchemeMissing = 0xA1380F03;  // %1 scheme name
constexpr uint32_t kMsgSessionColorSchemeOtherName = 0xA1380F04;  // %1 stored, %2 shown

constexpr uint32_t kMsgKeywordListMissing = 0xE1380F10;    // %1 name
constexpr uint32_t kMsgKeywordListNotSaved = 0xE1380F11;   // %1 name, %2 why
constexpr uint32_t kMsgKeywordListNotDeleted = 0xE1380F12;  // %1 name, %2 why
constexpr uint32_t kMsgKeywordNotStorable = 0xE1380F13;    // %1 the keyword
constexpr uint32_t kMsgKeywordListNameReserved = 0xE1380F14;  // %1 name

constexpr uint32_t kMsgFilterMissing = 0xE1380F20;     // %1 name
constexpr uint32_t kMsgFilterNotSaved = 0xE1380F21;    // %1 name, %2 why
constexpr uint32_t kMsgFilterNotDeleted = 0xE1380F22;  // %1 name, %2 why
constexpr uint32_t kMsgFilterNoCriteria = 0xE1380F23;  // %1 the text given

// The display text for "no keyword list" (host catalogue).
constexpr uint32_t kMsgNoKeywordList = 0x6137008C;

// The catalogue text of `id` with its inserts, without the line break that ends it: one warning.
VUnicodeString HighlightWarning(uint32_t id, std::initializer_list<VUnicodeString> inserts);
