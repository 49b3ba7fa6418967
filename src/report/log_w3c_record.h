// Lines of a log file in the W3C extended log file format: the header of a new file, and one
// record per event with the fields of the header's "#Fields" line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/unicode_string.h"
#include "report/log_time.h"

// One event of a W3C log. Absent numbers print as "-", as empty texts do.
struct VW3CLogEvent {
  VUnicodeString source;
  uint32_t topic = 0;
  std::optional<uint32_t> session;
  VUnicodeString clientAddress;
  uint16_t clientPort = 0;
  VUnicodeString userName;
  VUnicodeString method;
  VUnicodeString uriStem;
  uint32_t status = 0;
  std::optional<uint64_t> bytesReceived;
  std::optional<uint64_t> bytesSent;
  std::optional<uint64_t> totalBytes;
  VUnicodeString serverAddress;
  uint16_t serverPort = 0;
  VUnicodeString message;
};

// A field as it stands in a record: "-" when empty; "%", the double quote, spaces, and every
// character below 32 or from 127 upward as "%" and its code in upper-case hexadecimal (at least
// two digits), so that a field never holds a separator.
std::u16string VW3CEscapeField(std::u16string_view text);

// The message, which stands between double quotes: "%", the double quote and control characters
// are written as codes so that it can never end the quotes or the line; spaces and other
// characters stay readable.
std::u16string VW3CEscapeMessage(std::u16string_view text);

// The three header lines, each ended by CR LF.
std::u16string VFormatW3CHeader(const VLogTime& now);

// One record (without line end).
std::u16string VFormatW3CRecord(const VW3CLogEvent& event, const VLogTime& time,
                                std::u16string_view topicName);
