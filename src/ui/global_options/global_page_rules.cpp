#include "ui/global_options/global_page_rules.h"

#include "environment/products.h"
#include "marrowby/ui_messages.h"
#include "platform/file_system.h"
#include "ui/global_options/global_messages.h"

namespace {

VReportMessageParams UiMessage(uint32_t id) {
  return VReportMessageParams(id, VGetUiMessageModule());
}

// Characters a file name may not hold where the configuration may also be used: the other
// platform of the family refuses these, and a log name that only works here would break there.
constexpr std::u16string_view kIllegalNameCharacters = u"\\/:*?\"<>|";

}  // namespace

bool OffersConnectBar(int productId) {
  return productId != kProductLumbrel && productId != kProductSkellan;
}

GeneralPageRules GeneralRules(int productId, bool trayAgent, bool menuBarFixed,
                              bool toolbarFixed) {
  GeneralPageRules rules;
  if (!trayAgent) rules.disabled.push_back(u"Minimize To Tray");
  if (productId != kProductLumbrel || menuBarFixed) rules.disabled.push_back(u"Show Menu Bar");
  if (toolbarFixed) rules.disabled.push_back(u"Show Toolbar");
  if (!OffersConnectBar(productId)) rules.hidden.push_back(u"Show Connect Bar");
  if (productId == kProductSkellan) {
    for (std::u16string_view key :
         {u"Show Connection Closed Dialog", u"Show Confirm Disconnect Dialog",
          u"Show Connect Dialog", u"Save Connect Dialog Folder State", u"New Session Uses Wizard",
          u"Use Dockable Session Manager", u"Show Toolbar", u"Show Status Bar", u"Show Menu Bar",
          u"Connect Dialog Sort Order"})
      rules.hidden.push_back(key);
  }
  return rules;
}

StartupSessions StartupFromSettings(bool useAutoSession, bool useRemembered) {
  if (useAutoSession) return StartupSessions::Auto;
  if (useRemembered) return StartupSessions::Remembered;
  return StartupSessions::None;
}

VStringArray SplitAutoSessions(const VUnicodeString& stored) {
  VStringArray out;
  size_t start = 0;
  while (start <= stored.size()) {
    size_t end = stored.find(u';', start);
    if (end == VUnicodeString::npos) end = stored.size();
    VUnicodeString part = stored.substr(start, end - start);
    size_t first = part.find_first_not_of(u' ');
    if (first != VUnicodeString::npos) {
      size_t last = part.find_last_not_of(u' ');
      out.Add(part.substr(first, last - first + 1));
    }
    start = end + 1;
  }
  return out;
}

VUnicodeString JoinAutoSessions(const VStringArray& sessions) {
  VUnicodeString out;
  for (const VUnicodeString& session : sessions) {
    if (!out.empty()) out += u';';
    out += session;
  }
  return out;
}

bool CheckAutoSessions(StartupSessions choice, const VStringArray& sessions,
                       VReportMessageParams& error) {
  if (choice != StartupSessions::Auto || !sessions.IsEmpty()) return true;
  error = UiMessage(global_ui::kDsAutoEmpty);
  return false;
}

bool CheckBrowserProgram(bool useDefault, const VUnicodeString& program,
                         VReportMessageParams& error) {
  if (useDefault) return true;
  if (program.find_first_not_of(u' ') != VUnicodeString::npos) return true;
  error = UiMessage(global_ui::kWebEmpty);
  return false;
}

bool CheckSoundFile(const VUnicodeString& path, VReportMessageParams& error) {
  if (path.empty()) return true;
  std::string file = path.ToUtf8();
  if (!vfs::IsDirectory(file) && vfs::IsRegularFileOrOther(file) && vfs::MayRead(file)) return true;
  error = UiMessage(global_ui::kSoundInvalid);
  return false;
}

bool CheckTransferLogPath(const VUnicodeString& path, VReportMessageParams& error) {
  std::string file = path.ToUtf8();
  std::string name = vfs::BaseName(file);
  if (file.empty() || file.front() != '/' || name.empty() || file.back() == '/') {
    error = UiMessage(global_ui::kAftLogInvalid);
    return false;
  }
  VUnicodeString name16 = VUnicodeString::FromUtf8(name);
  if (name16.find_first_of(kIllegalNameCharacters) != VUnicodeString::npos) {
    error = UiMessage(global_ui::kAftLogIllegal);
    VUnicodeString list;
    for (char16_t c : kIllegalNameCharacters) {
      list += u' ';
      list += c;
    }
    error.AddInsert(list);
    return false;
  }
  std::string folder = vfs::ParentFolder(file);
  if (!vfs::IsDirectory(folder) || !vfs::MayWriteFolder(folder)) {
    error = UiMessage(global_ui::kAftLogNotWritable);
    return false;
  }
  return true;
}

bool CheckPortRange(bool limited, int64_t lowest, int64_t highest, VReportMessageParams& error) {
  if (!limited || lowest <= highest) return true;
  error = UiMessage(global_ui::kPortRangeOrder);
  error.AddInsert(VUnicodeString::FromUtf8(std::to_string(lowest)));
  error.AddInsert(VUnicodeString::FromUtf8(std::to_string(highest)));
  return false;
}
