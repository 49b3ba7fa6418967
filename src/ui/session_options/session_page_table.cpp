#include "ui/session_options/session_page_table.h"

#include "marrowby/property_tree.h"
#include "marrowby/qt_text.h"
#include "ui/session_options/connection_page.h"
#include "ui/session_options/logon_actions_page.h"
#include "ui/session_options/session_options_messages.h"

namespace {

using namespace session_options_messages;

template <class Page>
VPropertyTreePage* Make(const SessionPageContext& context, uint32_t) {
  return new Page(context);
}

// A page whose class is built elsewhere and not yet part of this build: the tree keeps its place
// and label so that its shape, and every show/hide rule over it, is the final one.
VPropertyTreePage* Placeholder(const SessionPageContext&, uint32_t titleId) {
  return new VPropertyTreePage(CatalogueText(titleId));
}

using S = SessionPageShown;
using R = SessionPageRole;

}  // namespace

const std::vector<SessionPageRow>& SessionPageRows() {
  // Rows marked "placeholder" are replaced by the real class (Make<Class>) as it arrives.
  static const std::vector<SessionPageRow> rows = {
      {"1", kPageConnection, S::Always, R::Connection, &Make<SessionConnectPage>},
      {"1.1", kPageLogonActions, S::Always, R::LogonActions, &Make<SessionLogonScriptsPage>},
      {"2", kPageTerminal, S::Terminal, R::Terminal, &Placeholder},         // SessionTerminalPage
      {"2.1", kPageEmulation, S::Terminal, R::Other, &Placeholder},         // SessionEmulationPage
      {"2.1.1", kPageModes, S::Terminal, R::Other, &Placeholder},  // SessionEmulationModesPage
      {"2.1.2", kPageEmacs, S::Terminal, R::Other, &Placeholder},           // SessionEmacsPage
      {"2.1.3", kPageMappedKeys, S::Terminal, R::Other, &Placeholder},  // SessionMappedKeysPage
      {"2.1.4", kPageAdvanced, S::Terminal, R::Other, &Placeholder},  // SessionEmulationAdvancedPage
      {"2.2", kPageAppearance, S::Terminal, R::Other, &Placeholder},        // SessionAppearancePage
      {"2.2.1", kPageAnsiColor, S::TerminalAnsiColor, R::Other, &Placeholder},  // SessionAnsiColorPage
      {"2.2.2", kPageWindow, S::Terminal, R::Other, &Placeholder},          // SessionWindowPage
      {"2.3", kPageLogFile, S::Terminal, R::Other, &Placeholder},           // SessionLogFilePage
      {"2.4", kPagePrinting, S::Terminal, R::Other, &Placeholder},          // SessionPrintingPage
      {"2.5", kPageXYZmodem, S::Terminal, R::Other, &Placeholder},  // SessionXModemZModemPage
      {"3", kPageFileTransfer, S::Transfer, R::FileTransfer, &Placeholder},  // SessionFileTransferPage
      {"3.1", kPageFtpSftp, S::Transfer, R::FtpSftp, &Placeholder},         // SessionFtpSftpPage
      {"3.2", kPageAdvanced, S::Transfer, R::Other, &Placeholder},  // SessionFileTransferAdvancedPage
  };
  return rows;
}

std::string_view ParentPosition(std::string_view position) {
  size_t dot = position.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : position.substr(0, dot);
}

bool IsSessionPageBuilt(const SessionPageRow& row, bool terminalProtocols, bool transferProtocols,
                        bool hideAnsiColorPage) {
  switch (row.shown) {
    case SessionPageShown::Always:
      return true;
    case SessionPageShown::Terminal:
      return terminalProtocols;
    case SessionPageShown::TerminalAnsiColor:
      return terminalProtocols && !hideAnsiColorPage;
    case SessionPageShown::Transfer:
      return transferProtocols;
  }
  return false;
}
