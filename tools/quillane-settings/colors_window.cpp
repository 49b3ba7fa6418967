#include "colors_window.h"

#include <cstdio>
#include <memory>

#include <QApplication>
#include <QListWidget>

#include "config/colors/color_builtins.h"
#include "config/global/global_config_instance.h"
#include "dialog_grab.h"
#include "host_startup.h"
#include "marrowby/message_box.h"
#include "marrowby/page_grab.h"
#include "marrowby/property_tree.h"
#include "marrowby/qt_text.h"
#include "platform/app_info.h"
#include "platform/file_system.h"
#include "ui/colors/ansi_color_pages.h"
#include "ui/colors/ansi_color_panel.h"
#include "ui/colors/color_preview.h"
#include "ui/colors/color_scheme_dialog.h"
#include "ui/colors/color_ui_messages.h"
#include "ui/colors/new_color_dialogs.h"

namespace settings {
namespace {

int Fail(const std::string& message, int code) { return ReportStartFailure(message, code); }

// ---- the window ----

class ColorsDialog : public VPropertyTreeDialog {
 public:
  explicit ColorsDialog(GlobalConfig& config, QWidget* parent = nullptr)
      : VPropertyTreeDialog(CatalogueText(color_messages::kColorsWindowTitle), nullptr, nullptr,
                            parent) {
    schemes_ = new GlobalColorSchemesPage(config);
    ansi_ = new GlobalAnsiColorPage(config);
    AddPage(schemes_);
    AddPage(ansi_);
    resize(720, 520);
  }
  GlobalColorSchemesPage* SchemesPage() const { return schemes_; }
  GlobalAnsiColorPage* AnsiPage() const { return ansi_; }

 private:
  GlobalColorSchemesPage* schemes_;
  GlobalAnsiColorPage* ansi_;
};

bool Grab(GlobalConfig& config, const std::string& folder, std::string& error) {
  // A scheme whose Normal and Bold rows differ in foreground (selecting both shows the grey
  // Foreground button), and for the ANSI rows a dark scheme with a palette of its own.
  auto listed = [&config](size_t builtIn) {
    ColorSchemeEntry scheme = vcolors::BuiltInSchemes()[builtIn];
    if (std::optional<ColorSchemeEntry> stored = config.colorSchemes.GetScheme(scheme.name))
      scheme = *stored;
    return scheme;
  };
  const struct {
    coloredit::SchemeView view;
    const char* name;
  } views[] = {{coloredit::SchemeView::Basic, "color-scheme-basic"},
               {coloredit::SchemeView::Advanced, "color-scheme-advanced"},
               {coloredit::SchemeView::Ansi, "color-scheme-ansi"}};
  for (const auto& view : views) {
    bool ansi = view.view == coloredit::SchemeView::Ansi;
    ColorSchemesDialog dialog(listed(ansi ? 15 : 2), config.ansiPalettes);
    dialog.SetView(view.view);
    if (!ansi) dialog.Preview()->SetSelection(0x3);
    if (!SaveWindowPicture(&dialog, folder, view.name, error)) return false;
  }
  {
    NewColorSchemeDialog dialog(config.colorSchemes);
    if (!SaveWindowPicture(&dialog, folder, "new-color-scheme", error)) return false;
  }
  {
    NewColorPaletteDialog dialog(config.ansiPalettes, config.currentAnsiPalette.Current());
    if (!SaveWindowPicture(&dialog, folder, "new-color-palette", error)) return false;
  }
  {
    AnsiColorPanel panel;
    if (std::optional<AnsiPaletteEntry> palette =
            config.ansiPalettes.GetPalette(config.currentAnsiPalette.Current()))
      panel.SetPalette(*palette);
    if (!SaveWindowPicture(&panel, folder, "palette-panel", error)) return false;
  }
  ColorsDialog dialog(config);
  dialog.show();
  QApplication::processEvents();
  std::vector<QString> written;
  QString why;
  if (!GrabPages(dialog, QString::fromStdString(folder), QStringLiteral("colors"), written, why)) {
    error = why.toStdString();
    return false;
  }
  return true;
}

enum class Edited { Saved, Cancelled, Failed };

// OK saves the global configuration; a save that fails is shown and reported.
Edited EditAndSave(GlobalConfig& config, QWidget* parent, VReportMessageParams& why) {
  ColorsDialog dialog(config, parent);
  if (dialog.DoModal() != kIdOk) return Edited::Cancelled;
  if (SaveGlobalConfig(false, why)) return Edited::Saved;
  VMessageBox(parent, why, kMbOk | kMbIconError);
  return Edited::Failed;
}

}  // namespace

int RunColorsWindow(const Options& options) {
  std::string error;
  GlobalConfig* shared = nullptr;
  GetGlobalConfig(&shared, -1);
  VRef<GlobalConfig> config(shared);
  if (!options.grabFolder.empty()) {
    if (vfs::KindOfPath(options.grabFolder) == vfs::PathKind::Missing &&
        !vfs::CreateFolderTree(options.grabFolder, 0755).ok())
      return Fail("cannot create " + options.grabFolder, kExitFailed);
    if (!Grab(*config.Get(), options.grabFolder, error)) return Fail(error, kExitFailed);
    return kExitOk;
  }
  VReportMessageParams why;
  switch (EditAndSave(*config.Get(), nullptr, why)) {
    case Edited::Saved: return kExitOk;
    case Edited::Cancelled: return kExitCancelled;
    case Edited::Failed: break;
  }
  return Fail(FromQString(MessageText(why)).ToUtf8(), kExitFailed);
}

void EditColorSchemes(QWidget* parent) {
  GlobalConfig* shared = nullptr;
  GetGlobalConfig(&shared, -1);
  VRef<GlobalConfig> config(shared);
  VReportMessageParams why;
  EditAndSave(*config.Get(), parent, why);
}

}  // namespace settings
