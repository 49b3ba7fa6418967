// A list of SSH methods comes from a person's text: any text must be accepted only when it is a
// list of known names, each once, and a list accepted stays accepted with its names in any order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "common/choice_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VUnicodeString text(vtext::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size)));
  VReportMessageParams error;
  if (!qmodule::CheckChoiceList(qmodule::kSsh2HostKeyAlgorithms, text, error)) {
    if (error.GetMessageId() == 0) abort();  // a refusal always says why
    return 0;
  }
  // Accepted: every part is a known name, and the names reversed are accepted too.
  std::vector<std::u16string> names;
  std::u16string_view rest(text);
  for (size_t comma; (comma = rest.find(u',')) != std::u16string_view::npos; rest.remove_prefix(comma + 1))
    names.emplace_back(rest.substr(0, comma));
  names.emplace_back(rest);
  std::reverse(names.begin(), names.end());
  VUnicodeString reversed;
  for (const std::u16string& name : names) {
    if (!reversed.empty()) reversed += u",";
    reversed += name;
  }
  if (!qmodule::CheckChoiceList(qmodule::kSsh2HostKeyAlgorithms, reversed, error)) abort();
  return 0;
}
