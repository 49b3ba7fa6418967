// What the configuration commands share: listing an object's settings as a save would write
// them, and changing one setting from the command line.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "quillane/cli.h"
#include "storage/values/profile_composite.h"

namespace cli {

// The listed setting named `name` (without regard to case), or null.
const VSettingInfo* FindListed(const std::vector<VSettingInfo>& list, const std::string& name);
// Reports an unknown setting name: exit status 1.
int UnknownSetting(Context& context, const std::string& name);

// The plaintext of a secret setting, or nothing when the setting is not a secret.
using SecretText = std::function<bool(const VSettingInfo& info, std::string& plaintext)>;
// Prints `settings` (all of `all` when `names` is empty, else the named ones in that order):
// "KIND<TAB>NAME<TAB>VALUE<TAB>stored|default" lines, or the JSON array of the listings. With
// `secrets`, secret settings add their plaintext (a fifth column, "plaintext" in JSON).
int ShowSettings(Context& context, const std::vector<VSettingInfo>& all,
                 const std::vector<std::string>& names, const SecretText& secrets = nullptr);

// Changes the listed setting `info` of `object` from its command-line text: a list kind takes a
// JSON array of strings, any other kind (a multi-line text too) its text form. False with the reason in `error`.
bool SetSettingFromText(VProfileComposite& object, const VSettingInfo& info,
                        const std::string& value, VReportMessageParams& error);
// The same for a setting already found by its name.
bool SetSettingFromText(const VProfileComposite::SettingRow& found, const std::string& value,
                        VReportMessageParams& error);

// The passphrase of --passphrase-env (empty without the option).
VUnicodeString CommandLinePassphrase(const Context& context);

}  // namespace cli
