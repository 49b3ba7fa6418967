#include "report/log_w3c_record.h"

#include "report/message_formatter.h"

namespace {

void AppendCode(std::u16string& out, char16_t c) {
  out.push_back(u'%');
  // At least two digits, and as many more as the code needs.
  int digits = c > 0xFFF ? 4 : c > 0xFF ? 3 : 2;
  out += vtext::FormatHex(c, digits, true);
}

// A number in the printf form `type` ("u", "hu", "I64u").
std::u16string Number(std::u16string_view type, uint64_t value, bool wide) {
  std::u16string out;
  VFormatPrintfArg(
      type, wide ? VFormatArg::Number64(value) : VFormatArg::Number(static_cast<uint32_t>(value)),
      out);
  return out;
}

std::u16string OptionalNumber(std::u16string_view type, const std::optional<uint64_t>& value,
                              bool wide) {
  return value ? Number(type, *value, wide) : std::u16string(u"-");
}

}  // namespace

std::u16string VW3CEscapeField(std::u16string_view text) {
  if (text.empty()) return u"-";
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'%' || c == u'"' || c == u' ' || c < 32 || c >= 127) {
      AppendCode(out, c);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::u16string VW3CEscapeMessage(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + 2);
  for (char16_t c : text) {
    if (c == u'%' || c == u'"' || c < 32 || c == 127 || (c >= 0x80 && c < 0xA0)) {
      AppendCode(out, c);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::u16string VFormatW3CHeader(const VLogTime& now) {
  std::u16string out = u"#Version: 1.0\r\n#Date: ";
  out += VFormatLogTime(now, u"%Y-%m-%d %H:%M:%S");
  out += u"\r\n#Fields: date time x-source x-topic x-session c-ip c-port cs-username cs-method "
         u"uri-stem sc-status cs-bytes sc-bytes bytes s-ip s-port x-message\r\n";
  return out;
}

std::u16string VFormatW3CRecord(const VW3CLogEvent& event, const VLogTime& time,
                                std::u16string_view topicName) {
  std::optional<uint64_t> session;
  if (event.session) session = *event.session;
  const std::u16string fields[] = {
      VW3CEscapeField(VFormatLogTime(time, u"%Y-%m-%d")),
      VW3CEscapeField(VFormatLogTime(time, u"%H:%M:%S")),
      VW3CEscapeField(event.source),
      VW3CEscapeField(topicName),
      VW3CEscapeField(OptionalNumber(u"u", session, false)),
      VW3CEscapeField(event.clientAddress),
      VW3CEscapeField(Number(u"hu", event.clientPort, false)),
      VW3CEscapeField(event.userName),
      VW3CEscapeField(event.method),
      VW3CEscapeField(event.uriStem),
      Number(u"u", event.status, false),
      VW3CEscapeField(OptionalNumber(u"I64u", event.bytesReceived, true)),
      VW3CEscapeField(OptionalNumber(u"I64u", event.bytesSent, true)),
      VW3CEscapeField(OptionalNumber(u"I64u", event.totalBytes, true)),
      VW3CEscapeField(event.serverAddress),
      VW3CEscapeField(Number(u"hu", event.serverPort, false)),
  };
  std::u16string line;
  for (const auto& field : fields) {
    line += field;
    line.push_back(u' ');
  }
  line.push_back(u'"');
  line += VW3CEscapeMessage(event.message);
  line.push_back(u'"');
  return line;
}
