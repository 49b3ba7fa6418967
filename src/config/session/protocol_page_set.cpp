#include "config/session/protocol_page_set.h"

#include <string>

#include "storage/values/profile_composite.h"

namespace {

bool IsNumberKind(std::string_view name) {
  return name == "int" || name == "uint" || name == "short" || name == "ushort" ||
         name == "uchar" || name == "ulong";
}

VUnicodeString Describe(size_t page, const ProtocolField* field, const char* what) {
  std::string text = "page " + std::to_string(page);
  VUnicodeString out = VUnicodeString::FromUtf8(text);
  if (field) {
    out += u", field \"";
    out += field->setting ? field->setting : u"(none)";
    out += u"\"";
  }
  out += u": ";
  out += VUnicodeString::FromUtf8(what);
  return out;
}

}  // namespace

bool ProtocolFieldFitsKind(ProtocolFieldKind kind, std::string_view kindName) {
  switch (kind) {
    case ProtocolFieldKind::Text:
      return kindName == "string";
    case ProtocolFieldKind::Number:
    case ProtocolFieldKind::Choice:
      return IsNumberKind(kindName);
    case ProtocolFieldKind::Check:
      return kindName == "bool";
    case ProtocolFieldKind::Password:
      return kindName == "encrypted";
    case ProtocolFieldKind::File:
      return kindName == "path";
  }
  return false;
}

std::vector<VUnicodeString> ProtocolPageSetProblems(const ProtocolPageSet& set,
                                                    VProfileComposite& config) {
  std::vector<VUnicodeString> problems;
  for (size_t p = 0; p < set.pages.size(); ++p) {
    const ProtocolPage& page = set.pages[p];
    if (page.parent < -1 || page.parent >= static_cast<int>(p))
      problems.push_back(Describe(p, nullptr, "its parent is not an earlier page"));
    if (page.fields.empty()) problems.push_back(Describe(p, nullptr, "it has no fields"));
    for (const ProtocolField& field : page.fields) {
      VProfileComposite::SettingRow row;
      if (!field.setting || !config.FindSettingRow(field.setting, row)) {
        problems.push_back(Describe(p, &field, "no such setting"));
        continue;
      }
      if (!ProtocolFieldFitsKind(field.kind, row.Kind()))
        problems.push_back(Describe(p, &field, "the setting is of another kind"));
      if (field.label == 0) problems.push_back(Describe(p, &field, "no label"));
      if (field.kind == ProtocolFieldKind::Choice && field.choices.empty())
        problems.push_back(Describe(p, &field, "a choice without choices"));
      if (field.kind == ProtocolFieldKind::Number && field.minimum > field.maximum)
        problems.push_back(Describe(p, &field, "an empty range"));
    }
  }
  return problems;
}
