// The Session Options dialog: a tree of property pages over one session (or the Default session,
// or several sessions at once). Every page edits the session object handed in, in place, and only
// on OK; the dialog writes nothing to disk, the caller saves the session afterwards. Protocol
// modules add their own pages through the protocol-pages maker, one object per entry of the
// connect protocol table, made when first needed and hidden, never destroyed, when the user
// picks another protocol.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "marrowby/page_state_map.h"
#include "marrowby/property_tree.h"
#include "platform/unknown.h"
#include "ui/protocol_pages.h"
#include "ui/session_options/session_page_table.h"
#include "ui/session_page_context.h"

class GlobalConfig;
class ISessionConfig;
class QtPrinterPlatform;
class SessionConfig;

// The dialog modes that change its behaviour; any other value edits one session.
constexpr int kSessionOptionsReadOnly = 2;
constexpr int kSessionOptionsDefaultSession = 3;
constexpr int kSessionOptionsMultiple = 4;

// The arguments of the dialog, as the hosts pass them.
struct SessionOptionsArguments {
  GlobalConfig* global = nullptr;
  ISessionConfig* session = nullptr;
  int mode = 0;
  bool newSession = false;
  bool connectPageFlag = false;  // open on the Connection page instead of the one shown last
  int maxColumns = 0;
  bool liveSession = false;
  unsigned appearanceFlags = 0;
  bool printingAvailable = false;
  bool* appearanceChanged = nullptr;
  QWidget* parent = nullptr;
  // The print system behind the Printing page's Print Setup; a host passes the process's
  // (StartProcessPrinting), and without one the page offers no Print Setup.
  std::shared_ptr<QtPrinterPlatform> printerPlatform;
};

// "Session Options - multiple" in mode 4; else "Session Options - <name> " followed by
// "(Read Only)" in mode 2.
QString SessionOptionsTitle(int mode, const VUnicodeString& sessionName);

class SessionOptionsDialogBase : public VPropertyTreeDialog {
  Q_OBJECT

 public:
  // `arguments.session` must be a SessionConfig (std::invalid_argument otherwise).
  explicit SessionOptionsDialogBase(const SessionOptionsArguments& arguments);
  ~SessionOptionsDialogBase() override;

  // What every page is given.
  const SessionPageContext& Context() const { return context_; }
  SessionConfig& Session() const { return *context_.session; }
  int Mode() const { return context_.mode; }

  // Chooses the visible pages and shows the pages of the session's protocols. Runs once, before
  // the dialog is first shown; later calls do nothing.
  void InitDialog();
  // Removes and releases every protocol-pages object. Runs once, when the dialog closes.
  void Destroy();

  // Makes (first time) and shows the pages of the protocol at `index` of the connect protocol
  // table. -1 is no protocol ("None") and shows nothing; any other index outside the table raises
  // std::out_of_range.
  void ShowSessionProtocolPages(int index);
  // Re-arranges the protocol pages after the user picked the protocol `newIndex` in place of
  // `previousIndex`, with `companionIndex` the protocol of the other part (-1 when none).
  void UpdateSessionProtocolPages(int previousIndex, int newIndex, int companionIndex);
  // Logon Actions and Terminal with its subtree.
  void ShowHideTerminalPages(bool show);
  // File Transfer with its subtree.
  void ShowHideFileTransferPages(bool show);
  // The warning that the session is used by a locked session; the user may ask not to see it
  // again, which is saved into the global configuration.
  void ShowReadOnlyPrompt(QWidget* parent);
  void RefreshSessionFtpSftpPage();
  void UpdateSessionLogonScriptsPage();

  // The pages the dialog knows by role (null when the product builds no such page).
  VPropertyTreePage* Page(SessionPageRole role) const;
  // The protocol-pages object made for a table entry (null when none was made yet).
  IProtocolPages* ProtocolPages(int index) const;
  size_t ProtocolPagesSlots() const { return protocolPages_.size(); }
  int Ssh2Index() const { return ssh2Index_; }
  int SftpIndex() const { return sftpIndex_; }
  int ScpIndex() const { return scpIndex_; }
  // Whether the read-only prompt was shown during this opening.
  bool ReadOnlyPromptShown() const { return promptShown_; }

  // Cancel also takes back a protocol the user picked: the pages of the new protocol had to edit
  // its settings in the session at once.
  void done(int code) override;

 protected:
  // The deferred read-only prompt of mode 2: the dialog is on screen first, then the prompt.
  void OnReadOnlyPrompt();

  SessionPageContext context_;
  VRef<SessionConfig> sessionRef_;
  VRef<GlobalConfig> globalRef_;

 private:
  // The Appearance page's colour scheme buttons and the Printing page's print system.
  void ConnectPageHooks(const SessionOptionsArguments& arguments);
  IProtocolPages& PagesAt(int index);
  IProtocolPages* ExistingPagesAt(int index) const;
  void HidePagesAt(int index);
  bool IsTransferCopyOfSsh2(int transferIndex, int terminalIndex) const;

  int ssh2Index_ = -1;
  int sftpIndex_ = -1;
  int scpIndex_ = -1;
  std::vector<std::unique_ptr<IProtocolPages>> protocolPages_;
  std::vector<std::pair<SessionPageRole, VPropertyTreePage*>> rolePages_;
  bool initialized_ = false;
  bool destroyed_ = false;
  bool promptShown_ = false;
};

class SessionOptionsDialog : public SessionOptionsDialogBase {
  Q_OBJECT

 public:
  explicit SessionOptionsDialog(const SessionOptionsArguments& arguments);

 protected:
  void showEvent(QShowEvent* event) override;
};

// The process's page-state memory of the Session Options dialogs.
VPropertyPageStateMap& SessionOptionsPageStateMap();

// The print system a host hands to the dialog: the process's, started on first use, when printing
// is available; none otherwise (starting it disabled would disable it for the whole process).
std::shared_ptr<QtPrinterPlatform> HostPrinterPlatform(bool printingAvailable);

// Runs the dialog modally; returns kIdOk (1) or kIdCancel (2).
int64_t ShowSessionOptionsDialog(GlobalConfig* global, ISessionConfig* session, int mode,
                                 bool newSession, bool connectPageFlag, int maxColumns,
                                 bool liveSession, unsigned appearanceFlags,
                                 bool printingAvailable, bool& appearanceChanged, QWidget* parent);
