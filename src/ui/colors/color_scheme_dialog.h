// The "Color Scheme" dialog: edits a working copy of one scheme while its preview shows the
// result. Three views: Basic (the attribute list, the colour buttons and the preview), Advanced
// (also the palette and the three drawing options) and ANSI colours (the palette's sixteen rows;
// the attribute controls are empty and disabled). The Foreground and Background buttons show the
// colour all selected rows share, grey when they differ; a colour chosen goes to every selected
// row. The scheme that follows the desktop's colours keeps them: its colour buttons are disabled.
#pragma once

#include "marrowby/dialog.h"
#include "ui/colors/color_editing.h"

class ColorButton;
class ColorSchemesCtrl;
class QCheckBox;
class QComboBox;
class QListWidget;
class QRadioButton;

class ColorSchemesDialog : public VDialog {
  Q_OBJECT

 public:
  // `palettes` fills the palette list; a scheme whose palette is not in it shows the first
  // built-in palette.
  ColorSchemesDialog(const ColorSchemeEntry& scheme, const ProfileAnsiPaletteList& palettes,
                     QWidget* parent = nullptr);

  // The working copy: the scheme as the dialog has it now.
  const ColorSchemeEntry& Scheme() const { return scheme_; }
  void SetView(coloredit::SchemeView view);
  coloredit::SchemeView View() const { return view_; }

  ColorSchemesCtrl* Preview() const { return preview_; }
  QListWidget* AttributeList() const { return attributes_; }
  ColorButton* ForegroundButton() const { return foreground_; }
  ColorButton* BackgroundButton() const { return background_; }
  QComboBox* PaletteCombo() const { return paletteCombo_; }
  QCheckBox* OverstrikeBox() const { return overstrike_; }
  QCheckBox* UnderlineBox() const { return underline_; }
  QCheckBox* BlinkBox() const { return blink_; }
  QRadioButton* ViewButton(coloredit::SchemeView view) const;

 private:
  void ListSelectionChanged();
  void PreviewSelectionChanged(uint32_t mask);
  void UpdateColorButtons();
  void UpdatePreview();
  void PaletteChosen();
  uint32_t AttributeMask() const;

  ColorSchemeEntry scheme_;
  const ProfileAnsiPaletteList& palettes_;
  coloredit::SchemeView view_ = coloredit::SchemeView::Basic;
  bool platformColors_ = false;
  bool syncing_ = false;

  QRadioButton* viewButtons_[3] = {};
  QListWidget* attributes_ = nullptr;
  ColorButton* foreground_ = nullptr;
  ColorButton* background_ = nullptr;
  QWidget* advancedBox_ = nullptr;
  QComboBox* paletteCombo_ = nullptr;
  QCheckBox* overstrike_ = nullptr;
  QCheckBox* underline_ = nullptr;
  QCheckBox* blink_ = nullptr;
  ColorSchemesCtrl* preview_ = nullptr;
};
