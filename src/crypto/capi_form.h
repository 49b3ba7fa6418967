// The "CAPI:" stored form: "CAPI:" and the upper-case hexadecimal of the UTF-16 plaintext (with
// its terminator) protected for the current user. Only the user who wrote a value can read it.
#pragma once

#include <string_view>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

constexpr std::u16string_view kCapiPrefix = u"CAPI:";

bool EncodeCapiForm(std::u16string_view plaintext, VUnicodeString& text,
                    VReportMessageParams& error);
// A leading "CAPI:" is optional. An odd digit count fails with 0xE1040047; anything else that
// does not decode fails with 0xE1040046 and the reason. An empty text is the empty plaintext.
bool DecodeCapiForm(std::u16string_view text, VUnicodeString& plaintext,
                    VReportMessageParams& error);
