#include "ui/session_options/session_page_table.h"

#include "marrowby/property_tree.h"
#include "ui/colors/ansi_color_pages.h"
#include "ui/keymap/session_mapped_keys_page.h"
#include "ui/session_options/connection_page.h"
#include "ui/session_options/logon_actions_page.h"
#include "ui/session_pages/session_pages.h"

namespace {

template <class Page>
VPropertyTreePage* Make(const SessionPageContext& context) {
  return new Page(context);
}

using S = SessionPageShown;
using R = SessionPageRole;

}  // namespace

const std::vector<SessionPageRow>& SessionPageRows() {
  static const std::vector<SessionPageRow> rows = {
      {"1", S::Always, R::Connection, &Make<SessionConnectPage>},
      {"1.1", S::Always, R::LogonActions, &Make<SessionLogonScriptsPage>},
      {"2", S::Terminal, R::Terminal, &Make<SessionTerminalPage>},
      {"2.1", S::Terminal, R::Other, &Make<SessionEmulationPage>},
      {"2.1.1", S::Terminal, R::Other, &Make<SessionEmulationModesPage>},
      {"2.1.2", S::Terminal, R::Other, &Make<SessionEmacsPage>},
      {"2.1.3", S::Terminal, R::Other, &Make<SessionMappedKeysPage>},
      {"2.1.4", S::Terminal, R::Other, &Make<SessionEmulationAdvancedPage>},
      {"2.2", S::Terminal, R::Appearance, &Make<SessionAppearancePage>},
      {"2.2.1", S::TerminalAnsiColor, R::Other, &Make<SessionAnsiColorPage>},
      {"2.2.2", S::Terminal, R::Other, &Make<SessionWindowPage>},
      {"2.3", S::Terminal, R::Other, &Make<SessionLogFilePage>},
      {"2.4", S::Terminal, R::Printing, &Make<SessionPrintingPage>},
      {"2.5", S::Terminal, R::Other, &Make<SessionXModemZModemPage>},
      {"3", S::Transfer, R::FileTransfer, &Make<SessionFileTransferPage>},
      {"3.1", S::Transfer, R::FtpSftp, &Make<SessionFtpSftpPage>},
      {"3.2", S::Transfer, R::Other, &Make<SessionFileTransferAdvancedPage>},
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
