// The lightly scrambled hexadecimal form of older releases ("Login Script V2", some firewall
// passwords): four random bytes as eight hexadecimal digits, then each byte of the UTF-16
// (little-endian) plaintext XORed with those bytes in turn, two digits a byte. It hides a secret
// from a glance, nothing more; it is read to carry values into the current form.
#pragma once

#include <string_view>

#include "platform/unicode_string.h"
#include "report/report_message_params.h"

class IRandomSource;

// `random` null means the process-wide source.
bool EncodeScrambledHex(std::u16string_view plaintext, VUnicodeString& text,
                        VReportMessageParams& error, IRandomSource* random = nullptr);
// An empty text is the empty plaintext. Fails (empty plaintext) when the text is not hexadecimal,
// has fewer than eight digits, or does not give whole UTF-16 characters. The plaintext ends at
// its first zero character.
bool DecodeScrambledHex(std::u16string_view text, VUnicodeString& plaintext,
                        VReportMessageParams& error);
