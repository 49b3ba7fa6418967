// The name dialogs of a new colour scheme and of a new ANSI palette. OK is refused, with the
// focus back on the name, for an empty name, a name with a comma (it would end the stored
// entry's first field) and a name the list has already.
#pragma once

#include "config/colors/color_lists.h"
#include "marrowby/dialog.h"

class QComboBox;
class QLineEdit;

class NewColorSchemeDialog : public VDialog {
  Q_OBJECT

 public:
  NewColorSchemeDialog(const ProfileColorSchemeListV2& schemes, QWidget* parent = nullptr);
  QLineEdit* NameEdit() const { return name_; }
  // The name taken by OK.
  const VUnicodeString& Name() const { return chosen_; }

 protected:
  bool OnOK() override;

 private:
  const ProfileColorSchemeListV2& schemes_;
  QLineEdit* name_;
  VUnicodeString chosen_;
};

class NewColorPaletteDialog : public VDialog {
  Q_OBJECT

 public:
  // `basedOn` is selected first (the first palette when the list has no such palette).
  NewColorPaletteDialog(const ProfileAnsiPaletteList& palettes, const VUnicodeString& basedOn,
                        QWidget* parent = nullptr);
  QLineEdit* NameEdit() const { return name_; }
  QComboBox* BasedOnCombo() const { return basedOn_; }
  // The palette taken by OK: the name given with the colours of the palette chosen.
  const AnsiPaletteEntry& Palette() const { return chosen_; }

 protected:
  bool OnOK() override;

 private:
  const ProfileAnsiPaletteList& palettes_;
  QLineEdit* name_;
  QComboBox* basedOn_;
  AnsiPaletteEntry chosen_;
};

// The complaint of CheckNewSchemeName or CheckNewPaletteName as a message with its insert.
VReportMessageParams NewNameComplaint(uint32_t id, std::u16string_view name);
