// One generic way of binding a control of a Global Options page to a stored global setting: a
// page is a list of these rows (the setting's stored name, the control's label, its kind), and
// the functions here read, check and write a setting by its member-table row. Nothing here needs
// a widget, so conversions and checks are tested directly.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <QColor>
#include <QString>

#include "config/global/global_config.h"
#include "report/report_message_params.h"

enum class SettingControlKind {
  Check,   // a flag (also an int setting used as 0/1)
  Text,    // free text
  Number,  // a whole number within a range
  Choice,  // one of several stored numbers, each with its label
  File,    // a file name with a browse button
  Folder,  // a folder name with a browse button
};

struct SettingChoice {
  int64_t value;
  uint32_t labelId;
};

struct BoundSetting {
  const char16_t* key = nullptr;  // the stored name of the setting
  uint32_t labelId = 0;
  SettingControlKind kind = SettingControlKind::Check;
  int64_t min = 0;  // Number: with min == max, the row's clamp when it has one, else 0..INT32_MAX
  int64_t max = 0;
  std::vector<SettingChoice> choices;  // Choice
  uint32_t browseTitleId = 0;          // File, Folder
  uint32_t filterId = 0;               // File: "Log Files (%1)"
  const char* pattern = nullptr;       // File: "*.log"
  const char* defaultName = nullptr;   // File
};

// The member-table row of the global setting stored under `key` (without regard to case).
const VMemberRow* FindGlobalSettingRow(std::u16string_view key);
// The range a Number control accepts.
void SettingRange(const BoundSetting& bound, int64_t& min, int64_t& max);

// A number or flag setting; false when `key` is not one.
bool ReadGlobalNumber(GlobalConfig& config, std::u16string_view key, int64_t& value);
// A text or path setting (paths as the program uses them, placeholders expanded); false when
// `key` is not one.
bool ReadGlobalText(GlobalConfig& config, std::u16string_view key, VUnicodeString& value);
// Writes only a value that differs from the one held, so an unchanged page flags nothing for
// saving. False when `key` is not a setting of that kind.
bool WriteGlobalNumber(GlobalConfig& config, std::u16string_view key, int64_t value);
bool WriteGlobalText(GlobalConfig& config, std::u16string_view key, const VUnicodeString& value);

// The label as a message names the control: without its mnemonic and trailing colon.
QString PlainLabel(uint32_t labelId);
// The text of a Number control: leading and trailing blanks ignored; anything that is not a
// decimal whole number within the control's range is refused with a message naming the control,
// the range and the text (never taken as zero).
bool ParseSettingNumber(const QString& text, const BoundSetting& bound, int64_t& value,
                        VReportMessageParams& error);

// Colours are stored as the numbers the family's configurations have always held: red in the
// lowest byte, then green, then blue.
QColor ColorFromStored(int64_t stored);
int64_t StoredFromColor(const QColor& color);
