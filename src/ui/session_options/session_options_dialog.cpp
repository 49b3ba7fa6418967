#include "ui/session_options/session_options_dialog.h"

#include <map>
#include <stdexcept>
#include <string>

#include <QComboBox>
#include <QMetaObject>
#include <QShowEvent>

#include "config/global/global_config.h"
#include "config/global/global_config_instance.h"
#include "config/session/connect_protocol_table.h"
#include "config/session/session_config.h"
#include "config/session/session_store.h"
#include "environment/installed_products.h"
#include "environment/products.h"
#include "marrowby/exchange.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/colors/color_launch.h"
#include "ui/keywords/keyword_list_dialog.h"
#include "ui/optional_message_box.h"
#include "ui/printer_platform_qt.h"
#include "ui/session_options/connection_page.h"
#include "ui/session_options/session_options_messages.h"
#include "ui/session_options/session_page_hooks.h"
#include "ui/session_pages/session_pages.h"

namespace {

using namespace session_options_messages;

// The page-state memory is shared by every Session Options dialog, whatever session it edits.
constexpr char16_t kStateKey[] = u"Session Options";

bool SameName(const VUnicodeString& a, std::u16string_view b) { return vtext::EqualsNoCase(a, b); }

SessionConfig* NarrowSession(ISessionConfig* session) {
  auto* config = dynamic_cast<SessionConfig*>(session);
  if (!config) throw std::invalid_argument("the Session Options dialog edits a SessionConfig");
  return config;
}

// The caller's global configuration, else the process's shared one, with a reference held.
VRef<GlobalConfig> HoldGlobal(GlobalConfig* given) {
  if (given) {
    given->AddRef();
    return VRef<GlobalConfig>(given);
  }
  GlobalConfig* shared = nullptr;
  GetGlobalConfig(&shared, -1);
  return VRef<GlobalConfig>(shared);
}

// The pages of a protocol that takes the whole line (a modem, a serial port, a local shell)
// leave no room for the file-transfer companion.
bool TakesWholeLine(std::u16string_view name) {
  return SameName(VUnicodeString(name), u"TAPI") || SameName(VUnicodeString(name), u"Serial") ||
         SameName(VUnicodeString(name), u"Local Shell");
}

bool Is(int index, int target) { return index >= 0 && index == target; }

// A global setting changed by a dialog of its own (the read-only prompt's check box, a colour
// scheme edited from the Appearance page) is kept at once when it belongs to the process's
// shared configuration: the Session Options dialog saves only the session, so the change would
// otherwise be lost. A caller's own configuration object is saved by that caller.
void KeepSharedGlobalSetting(QWidget* parent, const VProfileData& setting) {
  if (FindGlobalSetting(setting.GetName()) != &setting) return;
  VReportMessageParams error;
  if (!SaveGlobalConfig(false, error)) VMessageBox(parent, error, kMbOk | kMbIconWarning);
}

}  // namespace

QString SessionOptionsTitle(int mode, const VUnicodeString& sessionName) {
  if (mode == kSessionOptionsMultiple) return CatalogueText(kTitleMultiple);
  QString suffix = mode == kSessionOptionsReadOnly ? CatalogueText(kReadOnlySuffix) : QString();
  return CatalogueText(kTitle, nullptr, {sessionName, FromQString(suffix)}).trimmed();
}

VPropertyPageStateMap& SessionOptionsPageStateMap() {
  static VPropertyPageStateMap map;
  return map;
}

SessionOptionsDialogBase::SessionOptionsDialogBase(const SessionOptionsArguments& arguments)
    : VPropertyTreeDialog(SessionOptionsTitle(arguments.mode,
                                              NarrowSession(arguments.session)->GetSessionName()),
                          nullptr, &SessionOptionsPageStateMap(), arguments.parent,
                          ToQString(kStateKey)),
      globalRef_(HoldGlobal(arguments.global)) {
  SessionConfig* session = NarrowSession(arguments.session);
  session->AddRef();
  sessionRef_ = VRef<SessionConfig>(session);

  context_.session = session;
  context_.global = globalRef_.Get();
  context_.mode = arguments.mode;
  context_.readOnly = VIsReadOnly(arguments.mode);
  context_.newSession = arguments.newSession;
  context_.connectPageFlag = arguments.connectPageFlag;
  context_.maxColumns = arguments.maxColumns;
  context_.liveSession = arguments.liveSession;
  context_.appearanceFlags = arguments.appearanceFlags;
  context_.appearanceChanged = arguments.appearanceChanged;
  context_.printingAvailable = arguments.printingAvailable;

  // Asked to open on the Connection page: forget the page shown last (the first page is the
  // Connection page), keep the folded branches.
  if (arguments.connectPageFlag) {
    VPropertyPageState state;
    if (SessionOptionsPageStateMap().Lookup(VUnicodeString(kStateKey), state)) {
      state.selectedPath.clear();
      SessionOptionsPageStateMap().Set(VUnicodeString(kStateKey), state);
    }
  }

  protocolPages_.resize(GetConnectProtocolTable().Size());

  const bool terminal = HasTerminalProtocols();
  const bool transfer = HasTransferProtocols();
  const bool hideAnsi = context_.global && context_.global->hideSessionAnsiColorPage.current;
  std::map<std::string_view, VPropertyTreePage*> built;
  for (const SessionPageRow& row : SessionPageRows()) {
    if (!IsSessionPageBuilt(row, terminal, transfer, hideAnsi)) continue;
    VPropertyTreePage* page = row.make(context_);
    std::string_view parentPosition = ParentPosition(row.position);
    if (parentPosition.empty()) {
      AddPage(page);
    } else {
      auto parent = built.find(parentPosition);
      if (parent == built.end()) {
        delete page;
        throw std::logic_error("Session Options page " + std::string(row.position) +
                               " is listed before its parent");
      }
      parent->second->AddPage(page);
    }
    built[row.position] = page;
    if (row.role != SessionPageRole::Other) rolePages_.emplace_back(row.role, page);
  }
  ConnectPageHooks(arguments);
}

void SessionOptionsDialogBase::ConnectPageHooks(const SessionOptionsArguments& arguments) {
  if (auto* printing = dynamic_cast<SessionPrintingPage*>(Page(SessionPageRole::Printing)))
    printing->SetPrinterPlatform(arguments.printerPlatform);

  auto* appearance = dynamic_cast<SessionAppearancePage*>(Page(SessionPageRole::Appearance));
  GlobalConfig* global = context_.global;
  if (!appearance || !global) return;
  // The schemes live in the global configuration; without one the page keeps Edit disabled.
  appearance->askSchemeName = [global](QWidget* parent) {
    return ToQString(AskNewColorSchemeName(parent, global->colorSchemes));
  };
  bool* appearanceChanged = context_.appearanceChanged;
  appearance->editScheme = [global, appearance, appearanceChanged](
                               QWidget* parent, const QString& scheme, bool isNew) {
    bool saved;
    if (isNew) {
      // The new scheme starts as a copy of the one chosen on the page.
      VUnicodeString basedOn;
      if (auto* chosen = qobject_cast<QComboBox*>(appearance->ControlOf(u"Color Scheme")))
        basedOn = FromQString(chosen->currentText());
      VUnicodeString created;
      saved = LaunchNamedNewColorSchemeDialog(parent, *global, basedOn, FromQString(scheme),
                                              created);
    } else {
      saved = LaunchColorSchemeDialog(parent, *global, FromQString(scheme));
    }
    if (!saved) return false;
    KeepSharedGlobalSetting(parent, global->colorSchemes);
    // The session's colours may be those of the scheme just saved: the host redraws.
    if (appearanceChanged) *appearanceChanged = true;
    return true;
  };
  // Keyword lists live in the item database, not in the global configuration, but the page
  // only offers them beside the schemes, so the editor is connected with them.
  appearance->editKeywordList = [](QWidget* parent, QString& list) {
    VUnicodeString savedAs;
    if (!EditKeywordListInDatabase(FromQString(list), VUnicodeString(), parent, &savedAs))
      return false;
    list = ToQString(savedAs);
    return true;
  };
}

SessionOptionsDialogBase::~SessionOptionsDialogBase() { Destroy(); }

VPropertyTreePage* SessionOptionsDialogBase::Page(SessionPageRole role) const {
  for (const auto& [each, page] : rolePages_)
    if (each == role) return page;
  return nullptr;
}

IProtocolPages* SessionOptionsDialogBase::ProtocolPages(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= protocolPages_.size()) return nullptr;
  return protocolPages_[static_cast<size_t>(index)].get();
}

IProtocolPages* SessionOptionsDialogBase::ExistingPagesAt(int index) const {
  if (index < 0) throw std::out_of_range("protocol index " + std::to_string(index));
  return protocolPages_.at(static_cast<size_t>(index)).get();
}

void SessionOptionsDialogBase::HidePagesAt(int index) {
  if (index == -1) return;
  if (IProtocolPages* pages = ExistingPagesAt(index)) pages->HidePages(*this);
}

void SessionOptionsDialogBase::InitDialog() {
  if (initialized_) return;
  initialized_ = true;
  SessionConfig& session = Session();
  const VUnicodeString terminalName = session.GetTerminalProtocolName();
  const VUnicodeString transferName = session.GetTransferProtocolName();

  // One walk of the table: the session's two protocols (the last match wins), and the entries
  // whose pages serve both parts.
  ConnectProtocolTable& table = GetConnectProtocolTable();
  const bool terminalApp = CanLaunchTerminalApp();
  const bool transferProtocols = HasTransferProtocols();
  const int transferProduct = GetTransferAppProductID();
  int terminalIndex = -1;
  int transferIndex = -1;
  for (size_t i = 0; i < table.Size() && i < protocolPages_.size(); ++i) {
    const ConnectProtocolEntry& entry = table.At(i);
    int index = static_cast<int>(i);
    if (!terminalName.empty() && PartAcceptsProduct(0, entry.productId) &&
        SameName(entry.protocolName, terminalName))
      terminalIndex = index;
    if (!transferName.empty() && PartAcceptsProduct(1, entry.productId) &&
        SameName(entry.protocolName, transferName))
      transferIndex = index;
    if (terminalApp && entry.productId == kProductKarvell && SameName(entry.protocolName, u"SSH2"))
      ssh2Index_ = index;
    if (transferProtocols && entry.productId == transferProduct) {
      if (SameName(entry.protocolName, u"SFTP")) sftpIndex_ = index;
      if (SameName(entry.protocolName, u"SCP")) scpIndex_ = index;
    }
  }

  SuspendRedraw();
  ShowHideTerminalPages(terminalIndex >= 0 && !SameName(terminalName, u"None"));
  ShowHideFileTransferPages(transferIndex >= 0 && !SameName(transferName, u"None"));
  if (terminalIndex >= 0 && transferIndex >= 0) {
    ShowSessionProtocolPages(terminalIndex);
    if (!IsTransferCopyOfSsh2(transferIndex, terminalIndex)) ShowSessionProtocolPages(transferIndex);
  } else if (terminalIndex >= 0) {
    ShowSessionProtocolPages(terminalIndex);
  } else if (transferIndex >= 0) {
    ShowSessionProtocolPages(transferIndex);
  }
  ResumeRedraw();

  // Protocols show their prompts over the dialog (a QWidget).
  SetConnectConfigParentWindow(&session, static_cast<QWidget*>(this));

  if (context_.mode == kSessionOptionsReadOnly) {
    DisableOkButton();
    if (!context_.global || context_.global->suppressReadOnlySessionOptionsWarning.current == 0)
      QMetaObject::invokeMethod(this, [this] { OnReadOnlyPrompt(); }, Qt::QueuedConnection);
  }
}

bool SessionOptionsDialogBase::IsTransferCopyOfSsh2(int transferIndex, int terminalIndex) const {
  return (Is(transferIndex, sftpIndex_) || Is(transferIndex, scpIndex_)) &&
         Is(terminalIndex, ssh2Index_);
}

void SessionOptionsDialogBase::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  for (std::unique_ptr<IProtocolPages>& slot : protocolPages_) {
    if (!slot) continue;
    slot->RemovePages(*this);
    slot.reset();
  }
  // The session outlives the dialog: its protocols must not show prompts over a window that is
  // gone.
  if (initialized_ && Session().GetCommonConfig().GetParentWindow() == static_cast<QWidget*>(this))
    SetConnectConfigParentWindow(&Session(), nullptr);
}

void SessionOptionsDialogBase::ShowSessionProtocolPages(int index) {
  if (index == -1) return;
  if (index < 0 || static_cast<size_t>(index) >= protocolPages_.size())
    throw std::out_of_range("protocol index " + std::to_string(index) + " outside the " +
                            std::to_string(protocolPages_.size()) + " protocol-page slots");
  std::unique_ptr<IProtocolPages>& slot = protocolPages_[static_cast<size_t>(index)];
  if (!slot) {
    const ConnectProtocolEntry& entry = GetConnectProtocolTable().At(static_cast<size_t>(index));
    slot = MakeProtocolPages(entry, *this, context_.mode, Session(),
                             Page(SessionPageRole::Connection));
    if (!slot) return;
  }
  slot->ShowPages(*this, Session());
}

void SessionOptionsDialogBase::UpdateSessionProtocolPages(int previousIndex, int newIndex,
                                                          int companionIndex) {
  HidePagesAt(previousIndex);
  {
    SuspendRedraw();
    struct Resume {
      VPropertyTreeDialog* dialog;
      ~Resume() { dialog->ResumeRedraw(); }
    } resume{this};
    if (companionIndex < 0) {
      ShowSessionProtocolPages(newIndex);
    } else if (Is(newIndex, ssh2Index_)) {
      ShowSessionProtocolPages(newIndex);
      if (Is(companionIndex, sftpIndex_) || Is(companionIndex, scpIndex_))
        HidePagesAt(companionIndex);
    } else if (!Is(newIndex, sftpIndex_) && !Is(newIndex, scpIndex_)) {
      ShowSessionProtocolPages(newIndex);
      // "None" (-1) is no protocol of the table: the companion's pages stay.
      VUnicodeString name = newIndex >= 0
                                ? GetConnectProtocolTable().At(static_cast<size_t>(newIndex)).protocolName
                                : VUnicodeString(u"None");
      if (TakesWholeLine(name)) HidePagesAt(companionIndex);
      else ShowSessionProtocolPages(companionIndex);
    } else if (!Is(companionIndex, ssh2Index_)) {
      ShowSessionProtocolPages(newIndex);
    }
  }
  UpdateSessionLogonScriptsPage();
  if (HasTransferProtocols()) RefreshSessionFtpSftpPage();
}

void SessionOptionsDialogBase::ShowHideTerminalPages(bool show) {
  for (SessionPageRole role : {SessionPageRole::LogonActions, SessionPageRole::Terminal}) {
    if (VPropertyTreePage* page = Page(role)) show ? ShowPage(page) : HidePage(page);
  }
}

void SessionOptionsDialogBase::ShowHideFileTransferPages(bool show) {
  if (VPropertyTreePage* page = Page(SessionPageRole::FileTransfer))
    show ? ShowPage(page) : HidePage(page);
}

void SessionOptionsDialogBase::ShowReadOnlyPrompt(QWidget* parent) {
  promptShown_ = true;
  if (!context_.global) return;
  VProfile<int>& setting = context_.global->suppressReadOnlySessionOptionsWarning;
  const int before = setting.current;
  ShowOptionalMessageBox(parent, CatalogueText(kReadOnlyPrompt), QString(), setting,
                         CatalogueText(ui_messages::kOk), false,
                         static_cast<int>(VOptionalIcon::Warning), 0);
  // The choice lasts only when saved.
  if (setting.current != before) KeepSharedGlobalSetting(parent, setting);
}

void SessionOptionsDialogBase::OnReadOnlyPrompt() {
  if (promptShown_) return;
  show();
  ShowReadOnlyPrompt(this);
}

void SessionOptionsDialogBase::RefreshSessionFtpSftpPage() {
  if (auto* page = dynamic_cast<ISessionPageRefresh*>(Page(SessionPageRole::FtpSftp)))
    page->RefreshForProtocols();
}

void SessionOptionsDialogBase::UpdateSessionLogonScriptsPage() {
  if (auto* page = dynamic_cast<ISessionPageRefresh*>(Page(SessionPageRole::LogonActions)))
    page->RefreshForProtocols();
}

void SessionOptionsDialogBase::done(int code) {
  if (code != kIdOk) {
    if (auto* connection = dynamic_cast<SessionConnectPage*>(Page(SessionPageRole::Connection)))
      connection->RevertProtocolChoice();
  }
  VPropertyTreeDialog::done(code);
}

// ---- SessionOptionsDialog ----

SessionOptionsDialog::SessionOptionsDialog(const SessionOptionsArguments& arguments)
    : SessionOptionsDialogBase(arguments) {
  SetNewSession(arguments.newSession);
}

void SessionOptionsDialog::showEvent(QShowEvent* event) {
  // The visible pages are chosen before the tree dialog picks the page to show first.
  InitDialog();
  SessionOptionsDialogBase::showEvent(event);
}

std::shared_ptr<QtPrinterPlatform> HostPrinterPlatform(bool printingAvailable) {
  // How long the print system's start may take before the panel says it does not answer; the
  // start runs on worker threads, so nothing waits this long.
  constexpr uint64_t kPrintSystemLimitMs = 10000;
  if (!printingAvailable) return nullptr;
  return StartProcessPrinting(true, kPrintSystemLimitMs, nullptr);
}

int64_t ShowSessionOptionsDialog(GlobalConfig* global, ISessionConfig* session, int mode,
                                 bool newSession, bool connectPageFlag, int maxColumns,
                                 bool liveSession, unsigned appearanceFlags,
                                 bool printingAvailable, bool& appearanceChanged, QWidget* parent) {
  SessionOptionsArguments arguments;
  arguments.global = global;
  arguments.session = session;
  arguments.mode = mode;
  arguments.newSession = newSession;
  arguments.connectPageFlag = connectPageFlag;
  arguments.maxColumns = maxColumns;
  arguments.liveSession = liveSession;
  arguments.appearanceFlags = appearanceFlags;
  arguments.printingAvailable = printingAvailable;
  arguments.appearanceChanged = &appearanceChanged;
  arguments.parent = parent;
  arguments.printerPlatform = HostPrinterPlatform(printingAvailable);
  SessionOptionsDialog dialog(arguments);
  return dialog.DoModal();
}
