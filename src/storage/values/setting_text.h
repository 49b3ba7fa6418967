// Settings given as text by a person (the command line, import files): the accepted forms of
// numbers, booleans and bytes, and the messages that say which setting refused which text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

// Library messages about settings given as text. %1 is the setting, %2 the text.
constexpr uint32_t kMsgSettingUnknown = 0xE1380200;       // %1 only
constexpr uint32_t kMsgSettingNumber = 0xE1380201;        // %3..%4 the accepted range
constexpr uint32_t kMsgSettingBool = 0xE1380202;
constexpr uint32_t kMsgSettingTriState = 0xE1380203;
constexpr uint32_t kMsgSettingFixedBytes = 0xE1380204;    // %3 the number of bytes
constexpr uint32_t kMsgSettingBytes = 0xE1380205;
constexpr uint32_t kMsgSettingTime = 0xE1380206;
constexpr uint32_t kMsgSettingForm = 0xE1380207;          // %3 the expected form
constexpr uint32_t kMsgSettingNeedsList = 0xE1380208;     // %1 only
constexpr uint32_t kMsgSettingNeedsSingle = 0xE1380209;   // %1 only
constexpr uint32_t kMsgSettingNotSaved = 0xE138020A;      // %1 only

// A whole number written in decimal (optionally signed) or in hexadecimal after "0x". Decimal
// numbers must lie within [min, max]; hexadecimal ones give the bits of a `bits`-wide value (so
// 0xFFFFFFFF is -1 for a signed 32-bit setting) and must fit in that width (1 to 32 bits).
bool VParseSettingNumber(std::u16string_view text, int64_t min, int64_t max, int bits,
                         int64_t& value);
// 0, 1, true or false, without regard to case.
bool VParseSettingBool(std::u16string_view text, bool& value);
// Pairs of hexadecimal digits; spaces between them are ignored.
bool VParseSettingBytes(std::u16string_view text, std::vector<uint8_t>& bytes);
// Lower-case hexadecimal digits, two per byte.
VUnicodeString VFormatSettingBytes(const uint8_t* bytes, size_t size);

// Fills `error` with `id` and the inserts: the setting's name, then `text` and `more` when given.
void VSettingError(VReportMessageParams& error, uint32_t id, const VUnicodeString& setting,
                   const VUnicodeString* text = nullptr,
                   std::initializer_list<VUnicodeString> more = {});
