#include "config/global/global_config.h"

#include <ctime>

#include "platform/desktop_settings.h"

namespace {

// The older settings whose values serve as defaults when the current ones are absent.
constexpr const char16_t* kOlderSortAlphabetical = u"Sort Alphabetical";
constexpr const char16_t* kOlderMinTabWidth = u"Min Tab Width";
constexpr const char16_t* kOlderChatWindow = u"Chat Window";
constexpr const char16_t* kOlderSendChatToAll = u"Enable Send Chat To All Tabs On Startup";
constexpr const char16_t* kOlderKarvellTabState = u"Karvell Tab State";
constexpr const char16_t* kOlderLumbrelTabState = u"Lumbrel Tab State";

constexpr int kSortAlphabetically = 0;
constexpr int kSortManually = 2;

bool ReadOlderNumber(const VProfileKey* key, const char16_t* name, VDword& value) {
  return key && key->ReadDword(name, value);
}

// An older tab state text in either form the tab state reads; the default otherwise.
void TabStateFromOlder(VProfileTabState& value, const VProfileKey* key, const char16_t* older,
                       std::u16string_view fallback) {
  VUnicodeString text;
  if (key && key->ReadString(older, text) && value.SetText(text)) return;
  value.SetText(fallback);
}

}  // namespace

QL_MEMBER_TABLE(GlobalConfig, GLOBAL_CONFIG_MEMBERS)

GlobalConfig::GlobalConfig(int productId) : product_(productId) {}

size_t GlobalConfig::OwnSettingCount() {
  size_t count = 0;
  for (const VMemberRow& row : MemberTable().Rows()) {
    if (!row.kind->composite) ++count;
  }
  return count;
}

void GlobalConfig::LoadFromKey(const VProfileKey* key) { Load(key, product_); }

void GlobalConfig::OnBeforeLoad(const VProfileKey* key) {
  // Two defaults differ between a configuration being made now and one that exists.
  VUnicodeString text;
  VDword number = 0;
  isNew_ = !(key && (key->ReadString(u"Version", text) || key->ReadDword(u"Version", number)));
}

void GlobalConfig::Merge(const VProfileKey& key) {
  VEncryptedString checkValue = configPassphrase.Current();
  bool changeRequested = changeConfigPassphrase.current;
  LoadFromKey(&key);
  configPassphrase.Current() = checkValue;
  changeConfigPassphrase = changeRequested;
  // A merge is meant to change the stored configuration: every value is written at the next
  // save, also those that happen to equal what was merged.
  FlagEverySettingForWriting();
}

namespace {

void FlagAll(VProfileComposite& object) {
  for (size_t i = 0; i < object.GetMemberCount(); ++i) {
    VProfileData* member = object.GetMember(static_cast<int>(i));
    if (auto* nested = dynamic_cast<VProfileComposite*>(member)) FlagAll(*nested);
    if (member) member->SetWritePending(true);
  }
}

}  // namespace

void GlobalConfig::FlagEverySettingForWriting() { FlagAll(*this); }

void GlobalConfig::ReformViewStates() {
  for (VProfileTabState* tab : {&karvellTabStateV2, &lumbrelTabStateV2}) tab->Reform();
  for (VProfileExplorerFrameState* frame :
       {&localExplorerFrameState, &remoteExplorerFrameState, &synchronizeExplorerFrameState,
        &lumbrelLocalTabState, &lumbrelRemoteTabState})
    frame->Reform();
}

bool GlobalConfig::Save(VProfileKey& key, bool force) {
  std::lock_guard<std::mutex> lock(mutex_);
  ReformViewStates();
  bool ok = true;
  if (quickSync.IsModified()) ok = quickSync.Save(key, true);
  return VProfileComposite::Save(key, force) && ok;
}

void GlobalConfig::Commit() {
  std::lock_guard<std::mutex> lock(mutex_);
  DoCommit();
}

void GlobalConfig::Revert() {
  std::lock_guard<std::mutex> lock(mutex_);
  DoRevert();
}

// ---- defaults ----

void GlobalConfig::DefaultConnectDialogSortOrder(VProfile<int>& value, const VProfileKey* key) {
  VDword older = 0;
  if (ReadOlderNumber(key, kOlderSortAlphabetical, older))
    value = older ? kSortAlphabetically : kSortManually;
  else
    value = kSortAlphabetically;
}

void GlobalConfig::DefaultTabWidth(VProfile<int>& value, const VProfileKey* key) {
  VDword older = 0;
  value = ReadOlderNumber(key, kOlderMinTabWidth, older) ? static_cast<int>(older) : 40;
}

void GlobalConfig::DefaultShowChatWindow(VProfile<bool>& value, const VProfileKey* key) {
  VDword older = 0;
  value = ReadOlderNumber(key, kOlderChatWindow, older) && older != 0;
}

void GlobalConfig::DefaultInitialSendCommandsTo(VProfile<int>& value, const VProfileKey* key) {
  VDword older = 0;
  value = ReadOlderNumber(key, kOlderSendChatToAll, older) && older != 0 ? 1 : 0;
}

void GlobalConfig::DefaultKarvellTabState(VProfileTabState& value, const VProfileKey* key) {
  TabStateFromOlder(value, key, kOlderKarvellTabState, u"1,1,0;");
}

void GlobalConfig::DefaultLumbrelTabState(VProfileTabState& value, const VProfileKey* key) {
  TabStateFromOlder(value, key, kOlderLumbrelTabState, u"1,1,0;0");
}

void GlobalConfig::DefaultFontSmoothing(VProfile<bool>& value, const VProfileKey*) {
  value = vdesktop::FontSmoothingEnabled();
}

void GlobalConfig::DefaultZoomOnKeyboardShortcut(VProfile<bool>& value, const VProfileKey*) {
  // The shortcuts are the plus and minus keys of an English keyboard.
  value = vdesktop::IsEnglishLayout(vdesktop::KeyboardLayout());
}

void GlobalConfig::DefaultCustomColors(VProfileCustomColors& value, const VProfileKey*) {
  CustomColors colors;
  for (uint32_t& color : colors.colors) color = 0xFFFFFF;
  value = colors;
}

CustomColors GlobalConfig::StandardAnsiColors() {
  // Black, red, green, yellow, blue, magenta, cyan, white; normal then bright (0x00BBGGRR).
  static constexpr uint32_t kAnsi[CustomColors::kCount] = {
      0x000000, 0x0000A0, 0x00A000, 0x00A0A0, 0xA00000, 0xA000A0, 0xA0A000, 0xC0C0C0,
      0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  CustomColors colors;
  for (size_t i = 0; i < CustomColors::kCount; ++i) colors.colors[i] = kAnsi[i];
  return colors;
}

void GlobalConfig::DefaultAnsiColors(VProfileCustomColors& value, const VProfileKey*) {
  value = StandardAnsiColors();
}

void GlobalConfig::DefaultUpdatePromptDate(VProfile<unsigned long>& value, const VProfileKey*) {
  value = static_cast<uint32_t>(std::time(nullptr));
}

void GlobalConfig::DefaultSynchronizeAppLogDirectory(ProfilePath& value, const VProfileKey*) {
  value = vdesktop::TemporaryFolder();
}

void GlobalConfig::DefaultListViewSortStyle(VProfile<int>& value, const VProfileKey*) {
  value = isNew_ ? 2 : 1;
}

void GlobalConfig::DefaultLumbrelActionForFiles(VProfile<int>& value, const VProfileKey*) {
  value = isNew_ ? 1 : 0;
}

void GlobalConfig::DefaultHexViewFont(VProfileLogFont& value, const VProfileKey*) {
  VLogFont font;
  font.height = -13;  // a character height of 13 pixels
  font.weight = 400;  // normal
  font.SetFaceName(u"Courier New");
  value = font;
}
