#include "ui/global_options/global_options_dialog.h"

#include "environment/global_pages_hook.h"
#include "environment/installed_products.h"
#include "environment/products.h"
#include "marrowby/qt_text.h"
#include "ui/colors/ansi_color_pages.h"
#include "ui/global_options/global_messages.h"
#include "ui/global_options/global_pages.h"
#include "ui/global_options/tls_page.h"

using namespace global_ui;

namespace {

std::optional<GlobalPageConditions>& ConditionsOverride() {
  static std::optional<GlobalPageConditions> conditions;
  return conditions;
}

// The key of the dialog's state in its page-state map; not the title, which changes with the
// language.
const QString kStateKey = QStringLiteral("Global Options");

}  // namespace

VPropertyPageStateMap& GlobalOptionsDialogBase::PageStateMap() {
  static VPropertyPageStateMap map;
  return map;
}

void GlobalOptionsDialogBase::SetConditionsOverride(std::optional<GlobalPageConditions> c) {
  ConditionsOverride() = c;
}

GlobalPageConditions GlobalOptionsDialogBase::CurrentConditions(bool fileTypeManagers) {
  GlobalPageConditions conditions;
  if (ConditionsOverride()) {
    conditions = *ConditionsOverride();
  } else {
    conditions.productId = GetCurrentAppProductID();
    conditions.terminalProtocols = HasTerminalProtocols();
    conditions.transferProtocols = HasTransferProtocols();
  }
  conditions.fileTypeManagers = fileTypeManagers;
  return conditions;
}

GlobalOptionsDialogBase::GlobalOptionsDialogBase(GlobalConfig* config,
                                                 const GlobalOptionsArguments& arguments,
                                                 QWidget* parent)
    : VPropertyTreeDialog(CatalogueText(kTitle), nullptr, &PageStateMap(), parent, kStateKey) {
  config->AddRef();
  config_ = VRef<GlobalConfig>(config);
  GlobalPageConditions conditions =
      CurrentConditions(arguments.fileTypes != nullptr && arguments.icons != nullptr);
  for (const GlobalPageRow& row : GlobalPageTable()) {
    if (!IsGlobalPageShown(row, conditions)) continue;
    VPropertyTreePage* page = MakePage(row, arguments);
    pages_[row.id] = page;
    if (row.IsTopLevel()) {
      AddPage(page);
    } else {
      pages_.at(row.parent)->AddPage(page);
    }
  }
  if (GlobalPagesHook hook = GetGlobalPagesHook()) hookPages_ = hook(this);
  StartOnRememberedPage();
}

GlobalOptionsDialogBase::~GlobalOptionsDialogBase() {
  if (hookPages_)
    if (GlobalPagesRelease release = GetGlobalPagesRelease()) release(hookPages_);
}

VPropertyTreePage* GlobalOptionsDialogBase::MakePage(const GlobalPageRow& row,
                                                     const GlobalOptionsArguments& a) {
  GlobalConfig& c = *config_.Get();
  using enum GlobalPageId;
  switch (row.id) {
    case General:
      return new GlobalGeneralPage(c, CurrentConditions(false).productId, a.trayAgent,
                                   a.menuBarFixed, a.toolbarFixed);
    case ConfigurationPaths: return new GlobalConfigurationPathsPage(a.configFolder);
    case DefaultSession: return new GlobalAutoSessionPage(c, a.appearanceFlags);
    case Terminal: return new GlobalSettingsPage(kPageTerminal, c, TerminalSettings());
    case Appearance: return new GlobalSettingsPage(kPageAppearance, c, AppearanceSettings());
    case AnsiColor: return new GlobalAnsiColorPage(c);
    case ColorSchemes: return new GlobalColorSchemesPage(c, a.colorSchemeText);
    case Tabs: return new GlobalTabsPage(c);
    case Printing: return new GlobalPrintingPage(c, a.printingAvailable);
    case WebBrowser: return new GlobalWebBrowserPage(c);
    case Tftp: {
      auto* page = new GlobalSettingsPage(kPageTftp, c, TftpSettings());
      // Without a TFTP server in the host there is nothing to start; the folders stay editable
      // for the other application of a pair that has one.
      if (!a.tftpAvailable) page->Control(u"TFTP Server Start Option")->setEnabled(false);
      return page;
    }
    case TerminalAdvanced:
      return new GlobalSettingsPage(kPageAdvanced, c, TerminalAdvancedSettings());
    case FileTransfer: return new GlobalSettingsPage(kPageFileTransfer, c, FileTransferSettings());
    case Options: return new GlobalSettingsPage(kPageOptions, c, OptionsSettings());
    case AdvancedOptions: return new GlobalAdvancedOptionsPage(c);
    case View: return new GlobalSettingsPage(kPageView, c, ViewSettings());
    case Ftp: return new GlobalFtpPage(c);
    case Tls: return new GlobalTlsPage(c);
    case Sound: return new GlobalSoundPage(c);
    case FileTypes: return new GlobalFileTypesPage(*a.fileTypes, *a.icons, a.fileTypesChanged);
    case Filters:
      return new GlobalItemListPage(kPageFilters, ItemCollection::Filters, kFilterDeleteQuestion);
    case Firewall:
      return new GlobalItemListPage(kPageFirewall, ItemCollection::Firewalls,
                                    kFirewallDeleteQuestion);
  }
  return nullptr;
}

VPropertyTreePage* GlobalOptionsDialogBase::Page(GlobalPageId id) const {
  auto found = pages_.find(id);
  return found == pages_.end() ? nullptr : found->second;
}

const char* GlobalOptionsDialogBase::ClassOf(const VPropertyTreePage* page) const {
  for (const auto& [id, made] : pages_)
    if (made == page) return GlobalPageRowOf(id).className;
  return nullptr;
}

void GlobalOptionsDialogBase::StartOnRememberedPage() {
  // Within a process the page-state map remembers the page; across runs the setting does. It
  // holds the page's class name, which does not change with the language.
  VPropertyPageState state;
  if (PageStateMap().Lookup(FromQString(kStateKey), state)) return;
  const GlobalPageRow* row =
      FindGlobalPageRow(config_->globalOptionsTreeSelected.Current().ToUtf8().c_str());
  if (!row) return;
  VPropertyTreePage* page = Page(row->id);
  if (!page) return;
  state.selectedPath = PathOf(page);
  PageStateMap().Set(FromQString(kStateKey), state);
}

bool GlobalOptionsDialogBase::OnOK() {
  if (!VPropertyTreeDialog::OnOK()) return false;
  if (const char* name = ClassOf(CurrentPage())) {
    VUnicodeString selected = VUnicodeString::FromUtf8(name);
    if (config_->globalOptionsTreeSelected.Current() != selected)
      config_->globalOptionsTreeSelected = selected;
  }
  return true;
}

int64_t ShowGlobalOptionsDialog(GlobalConfig* config, const VUnicodeString& colorSchemeText,
                                bool trayAgent, bool menuBarFixed, bool toolbarFixed,
                                unsigned appearanceFlags, bool printingAvailable,
                                const VUnicodeString& configFolder, bool* fileTypesChanged,
                                IFileTypeManager* fileTypes, IIconManager* icons, QWidget* parent,
                                VPropertyTreeDialog** current, bool tftpAvailable) {
  GlobalOptionsArguments arguments;
  arguments.colorSchemeText = colorSchemeText;
  arguments.trayAgent = trayAgent;
  arguments.menuBarFixed = menuBarFixed;
  arguments.toolbarFixed = toolbarFixed;
  arguments.appearanceFlags = appearanceFlags;
  arguments.printingAvailable = printingAvailable;
  arguments.configFolder = configFolder;
  arguments.fileTypesChanged = fileTypesChanged;
  arguments.fileTypes = fileTypes;
  arguments.icons = icons;
  arguments.tftpAvailable = tftpAvailable;
  GlobalOptionsDialog dialog(config, arguments, parent);
  if (current) *current = &dialog;
  int result = dialog.DoModal();
  if (current) *current = nullptr;
  return result;
}
