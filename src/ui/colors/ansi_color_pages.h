// The ANSI Color pages and the colour scheme page of the options dialogs.
//
// GlobalAnsiColorPage (Global Options, Terminal > Appearance > ANSI Color): the palette list,
// New..., Delete and the palette panel. Choosing a palette makes it the current one. Delete
// (after the question) is written to the configuration at once, even when the dialog is then
// cancelled; everything else is written by OK. Built-in palettes cannot be deleted.
//
// GlobalColorSchemesPage (Global Options, Terminal > Appearance > Advanced): the colour scheme
// list with Edit..., New... and Delete, and the window transparency of the active and the
// inactive window.
//
// SessionAnsiColorPage (Session Options, Terminal > Appearance > ANSI Color): whether the
// session uses the global ANSI colours; while it does the panel shows the global current
// palette, disabled; otherwise it edits the session's own sixteen colours.
#pragma once

#include "config/colors/color_lists.h"
#include "marrowby/property_tree.h"
#include "ui/session_page_context.h"

class AnsiColorPanel;
class GlobalConfig;
class QCheckBox;
class QListWidget;
class QPushButton;
class QSlider;

class GlobalAnsiColorPage : public VPropertyTreePage {
  Q_OBJECT

 public:
  explicit GlobalAnsiColorPage(GlobalConfig& config, QWidget* parent = nullptr);

  void OnInitDialog() override;
  void OnApply() override;

  QListWidget* PaletteList() const { return list_; }
  QPushButton* NewButton() const { return new_; }
  QPushButton* DeleteButton() const { return delete_; }
  AnsiColorPanel* Panel() const { return panel_; }

 private:
  void FillList(const VUnicodeString& select);
  void PaletteSelected();
  void NewPalette();
  void DeletePalette();

  GlobalConfig& config_;
  ProfileAnsiPaletteList palettes_;  // what OK writes
  VUnicodeString current_;
  QListWidget* list_ = nullptr;
  QPushButton* new_ = nullptr;
  QPushButton* delete_ = nullptr;
  AnsiColorPanel* panel_ = nullptr;
};

class GlobalColorSchemesPage : public VPropertyTreePage {
  Q_OBJECT

 public:
  // `selected` is the scheme selected first (the first scheme when empty or unknown).
  explicit GlobalColorSchemesPage(GlobalConfig& config,
                                  const VUnicodeString& selected = VUnicodeString(),
                                  QWidget* parent = nullptr);

  void OnInitDialog() override;
  void OnApply() override;

  QListWidget* SchemeList() const { return list_; }
  QPushButton* EditButton() const { return edit_; }
  QPushButton* NewButton() const { return new_; }
  QPushButton* DeleteButton() const { return delete_; }
  QSlider* ActiveSlider() const { return active_; }
  QSlider* InactiveSlider() const { return inactive_; }

 private:
  void FillList(const VUnicodeString& select);
  void SchemeSelected();
  VUnicodeString SelectedName() const;
  void EditScheme();
  void NewScheme();
  void DeleteScheme();

  GlobalConfig& config_;
  VUnicodeString selected_;
  ProfileColorSchemeListV2 schemes_;  // what OK writes
  QListWidget* list_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* new_ = nullptr;
  QPushButton* delete_ = nullptr;
  QSlider* active_ = nullptr;
  QSlider* inactive_ = nullptr;
};

class SessionAnsiColorPage : public VPropertyTreePage {
  Q_OBJECT

 public:
  explicit SessionAnsiColorPage(const SessionPageContext& context, QWidget* parent = nullptr);

  void OnInitDialog() override;
  void OnApply() override;

  QCheckBox* UseGlobalBox() const { return useGlobal_; }
  AnsiColorPanel* Panel() const { return panel_; }

 private:
  void ShowColors();

  SessionPageContext context_;
  AnsiPaletteEntry own_;  // the session's own colours, as edited
  QCheckBox* useGlobal_ = nullptr;
  AnsiColorPanel* panel_ = nullptr;
};
