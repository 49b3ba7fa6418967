// The Global Options dialog: the global configuration edited as a tree of property pages. The
// tree follows the page table (global_page_table.h) and the running product; a protocol module
// may hang pages of its own through its global-pages hook. The page shown last is remembered for
// the process and, on OK, in the setting "Global Options Tree Selected". OK writes the pages into
// the configuration object; saving it is the caller's.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "config/global/global_config.h"
#include "marrowby/property_tree.h"
#include "ui/global_options/global_page_table.h"
#include "ui/global_options/item_list_pages.h"

// The arguments of ShowGlobalOptionsDialog, by the page they go to.
struct GlobalOptionsArguments {
  VUnicodeString colorSchemeText;  // the colour-schemes page
  bool trayAgent = false;          // General: minimising to the tray agent is possible
  bool menuBarFixed = false;       // General: the host shows its menu bar whatever is set
  bool toolbarFixed = false;       // General: the host shows its toolbar whatever is set
  unsigned appearanceFlags = 0;    // Default Session, colour schemes
  bool printingAvailable = true;   // Printing
  VUnicodeString configFolder;     // Configuration Paths: the folder the host runs on
  bool* fileTypesChanged = nullptr;
  IFileTypeManager* fileTypes = nullptr;
  IIconManager* icons = nullptr;
  bool tftpAvailable = true;  // TFTP Server
};

class GlobalOptionsDialogBase : public VPropertyTreeDialog {
  Q_OBJECT

 public:
  GlobalOptionsDialogBase(GlobalConfig* config, const GlobalOptionsArguments& arguments,
                          QWidget* parent = nullptr);
  ~GlobalOptionsDialogBase() override;

  // The page of a row; null when the configuration does not get that page.
  VPropertyTreePage* Page(GlobalPageId id) const;
  // The row's class name of a built-in page, or null.
  const char* ClassOf(const VPropertyTreePage* page) const;
  GlobalConfig& Config() const { return *config_.Get(); }
  void* HookPages() const { return hookPages_; }

  // What the Global Options dialogs of this process remember between openings.
  static VPropertyPageStateMap& PageStateMap();
  // The conditions the tree is built for (a host or a test may set them; otherwise they are
  // worked out from the running product and the installed applications).
  static void SetConditionsOverride(std::optional<GlobalPageConditions> conditions);
  static GlobalPageConditions CurrentConditions(bool fileTypeManagers);

 protected:
  bool OnOK() override;

 private:
  VPropertyTreePage* MakePage(const GlobalPageRow& row, const GlobalOptionsArguments& arguments);
  void StartOnRememberedPage();

  VRef<GlobalConfig> config_;
  std::map<GlobalPageId, VPropertyTreePage*> pages_;
  void* hookPages_ = nullptr;
};

class GlobalOptionsDialog : public GlobalOptionsDialogBase {
  Q_OBJECT

 public:
  using GlobalOptionsDialogBase::GlobalOptionsDialogBase;
};

// Runs the dialog modally over `parent`; while it runs `*current` (when given) points at it.
// Returns 1 for OK, 2 for Cancel.
int64_t ShowGlobalOptionsDialog(GlobalConfig* config, const VUnicodeString& colorSchemeText,
                                bool trayAgent, bool menuBarFixed, bool toolbarFixed,
                                unsigned appearanceFlags, bool printingAvailable,
                                const VUnicodeString& configFolder, bool* fileTypesChanged,
                                IFileTypeManager* fileTypes, IIconManager* icons, QWidget* parent,
                                VPropertyTreeDialog** current, bool tftpAvailable);
