#include "quillane/setting_commands.h"

#include <cstdlib>
#include <iostream>

#include "quillane/key_values.h"
#include "quillane/text_escape.h"
#include "storage/values/profile_multi_line.h"
#include "storage/values/setting_text.h"

namespace cli {
namespace {

// A list given as a JSON array of strings.
bool ParseList(const std::string& text, VStringArray& list) {
  Json parsed;
  std::string problem;
  if (!Json::Parse(text, parsed, problem) || parsed.GetType() != Json::Type::Array) return false;
  for (const Json& item : parsed.Items()) {
    if (item.GetType() != Json::Type::String) return false;
    list.Add(Wide(item.AsString()));
  }
  return true;
}

}  // namespace

const VSettingInfo* FindListed(const std::vector<VSettingInfo>& list, const std::string& name) {
  VUnicodeString wanted = Wide(name);
  for (const auto& info : list) {
    if (vtext::EqualsNoCase(info.name, wanted)) return &info;
  }
  return nullptr;
}

int UnknownSetting(Context& context, const std::string& name) {
  VReportMessageParams error;
  VSettingError(error, kMsgSettingUnknown, Wide(name));
  return context.Fail(kExitNotFound, error);
}

int ShowSettings(Context& context, const std::vector<VSettingInfo>& all,
                 const std::vector<std::string>& names, const SecretText& secrets) {
  std::vector<const VSettingInfo*> shown;
  if (names.empty()) {
    for (const auto& info : all) shown.push_back(&info);
  } else {
    for (const auto& name : names) {
      const VSettingInfo* info = FindListed(all, name);
      if (!info) return UnknownSetting(context, name);
      shown.push_back(info);
    }
  }
  Json result = Json::Array();
  for (const VSettingInfo* info : shown) {
    std::string plaintext;
    bool secret = secrets && secrets(*info, plaintext);
    if (context.Json()) {
      Json entry = Json::Object();
      entry.Set("name", Utf8(info->name));
      entry.Set("kind", KindName(info->storedType));
      entry.Set("value", info->hasValue ? ValueJson(info->value) : Json());
      entry.Set("stored", info->stored);
      if (secret) entry.Set("plaintext", plaintext);
      result.Push(std::move(entry));
    } else {
      std::cout << info->kind << '\t' << EscapeText(info->name) << '\t'
                << (info->hasValue ? ValueText(info->value, true) : std::string()) << '\t'
                << (info->stored ? "stored" : "default");
      if (secret) std::cout << '\t' << EscapeText(plaintext);
      std::cout << '\n';
    }
  }
  context.SetResult(std::move(result));
  return kExitOk;
}

bool SetSettingFromText(const VProfileComposite::SettingRow& found, const std::string& value,
                        VReportMessageParams& error) {
  // A multi-line text is given as its text, whatever it is stored as.
  bool multiLineText = std::string_view(found.Kind()) == VProfileMultiLineString::KindName();
  if (found.StoredType() == kProfileTypeMultiSz && !multiLineText) {
    VStringArray list;
    if (!ParseList(value, list)) {
      VSettingError(error, kMsgSettingNeedsList, found.Name());
      return false;
    }
    return VProfileComposite::SetSetting(found, list, error);
  }
  return VProfileComposite::SetSetting(found, Wide(value), error);
}

bool SetSettingFromText(VProfileComposite& object, const VSettingInfo& info,
                        const std::string& value, VReportMessageParams& error) {
  VProfileComposite::SettingRow found;
  if (!object.FindSettingRow(info.name, found)) {
    VSettingError(error, kMsgSettingUnknown, info.name);
    return false;
  }
  return SetSettingFromText(found, value, error);
}

VUnicodeString CommandLinePassphrase(const Context& context) {
  VUnicodeString passphrase;
  passphrase.SetSensitive(true);
  const std::string& name = context.options.passphraseEnv;
  if (name.empty()) return passphrase;
  const char* value = std::getenv(name.c_str());
  if (!value) throw UsageError("the environment variable " + name + " named by --passphrase-env is not set");
  if (!vtext::IsValidUtf8(value))
    throw UsageError("the passphrase in " + name + " is not valid UTF-8");
  passphrase = VUnicodeString::FromUtf8(value);
  return passphrase;
}

}  // namespace cli
