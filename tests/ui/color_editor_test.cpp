// The colour scheme editor, the new scheme and palette dialogs, the palette panel and the ANSI
// Color pages driven offscreen over a real configuration folder: what the buttons show for a
// selection of rows, the names refused, a palette deletion written although the dialog is then
// cancelled, and an edit made in the dialog read back from the file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "config/colors/color_builtins.h"
#include "config/session/session_config.h"
#include "config/session_test_env.h"
#include "marrowby/property_tree.h"
#include "marrowby/qt_text.h"
#include "ui/colors/ansi_color_pages.h"
#include "ui/colors/ansi_color_panel.h"
#include "ui/colors/color_launch.h"
#include "ui/colors/color_preview.h"
#include "ui/colors/color_scheme_dialog.h"
#include "ui/colors/color_ui_messages.h"
#include "ui/colors/color_widgets.h"
#include "ui/colors/new_color_dialogs.h"
#include "ui_test_helpers.h"

namespace {

using namespace color_messages;
using coloredit::SchemeView;

constexpr VColor kBlack = MakeColor(0, 0, 0);
constexpr VColor kWhite = MakeColor(0xFF, 0xFF, 0xFF);
constexpr VColor kBlue = MakeColor(0, 0, 0xFF);
constexpr VColor kOrange = MakeColor(0xFF, 0x80, 0x00);

// Every colour chooser opened while it lives answers `color`.
class ChooserAnswers {
 public:
  explicit ChooserAnswers(VColor color) {
    SetColorChooser([this, color](QWidget*, VColor) {
      ++asked;
      return std::optional<VColor>(color);
    });
  }
  ~ChooserAnswers() { SetColorChooser(nullptr); }
  int asked = 0;
};

ColorSchemeEntry BlackAndBlueOnWhite() {
  ColorSchemeEntry scheme;
  scheme.name = u"Mine";
  scheme.paletteName = vcolors::BuiltInPalettes()[0].name;
  scheme.backgrounds.fill(kWhite);
  for (size_t slot = 0; slot < kAttributeCount; ++slot)
    scheme.foregrounds[slot] = slot % 2 ? kBlue : kBlack;
  return scheme;
}

void SelectRows(QListWidget* list, std::initializer_list<int> rows) {
  list->clearSelection();
  for (int row : rows) list->item(row)->setSelected(true);
}

QString UiText(uint32_t id, std::u16string_view insert = {}) {
  if (insert.empty()) return CatalogueText(id);
  return CatalogueText(id, nullptr, {insert});
}

class ColorEditor : public SessionFolderTest {
 protected:
  VRef<GlobalConfig> Shared() {
    GlobalConfig* config = nullptr;
    GetGlobalConfig(&config, -1);
    return VRef<GlobalConfig>(config);
  }
};

TEST_F(ColorEditor, TheColorButtonsShowWhatTheSelectedRowsShare) {
  ProfileAnsiPaletteList palettes;
  palettes = palettes.Defaults(nullptr);
  ColorSchemesDialog dialog(BlackAndBlueOnWhite(), palettes);
  EXPECT_EQ(dialog.windowTitle(), UiText(kSchemeDialogTitle, u"Mine"));
  EXPECT_TRUE(dialog.ViewButton(SchemeView::Basic)->isChecked());
  ASSERT_EQ(dialog.AttributeList()->count(), 8);
  EXPECT_EQ(dialog.Preview()->Selection(), 1u);  // Normal, selected first
  EXPECT_EQ(dialog.ForegroundButton()->Color(), kBlack);

  // Normal (black on white) and Bold (blue on white): grey foreground, white background.
  SelectRows(dialog.AttributeList(), {0, 1});
  EXPECT_EQ(dialog.Preview()->Selection(), 3u);
  EXPECT_EQ(dialog.ForegroundButton()->Color(), coloredit::kDifferingColor);
  EXPECT_EQ(dialog.BackgroundButton()->Color(), kWhite);

  // A colour chosen goes to both rows, and both rows now share it.
  {
    ChooserAnswers answer(kOrange);
    dialog.ForegroundButton()->click();
    EXPECT_EQ(answer.asked, 1);
  }
  EXPECT_EQ(dialog.Scheme().foregrounds[0], kOrange);
  EXPECT_EQ(dialog.Scheme().foregrounds[1], kOrange);
  EXPECT_EQ(dialog.Scheme().foregrounds[2], kBlack);
  EXPECT_EQ(dialog.ForegroundButton()->Color(), kOrange);

  // Clicking preview rows selects them in the list too (Ctrl adds a row).
  QTest::mouseClick(dialog.Preview(), Qt::LeftButton, Qt::NoModifier,
                    dialog.Preview()->RowRect(2).center());
  QTest::mouseClick(dialog.Preview(), Qt::LeftButton, Qt::ControlModifier,
                    dialog.Preview()->RowRect(4).center());
  EXPECT_EQ(dialog.Preview()->Selection(), (1u << 2) | (1u << 4));
  EXPECT_TRUE(dialog.AttributeList()->item(4)->isSelected());
  EXPECT_FALSE(dialog.AttributeList()->item(0)->isSelected());
  // ... and the keyboard moves it: Down from row 4, then Shift+Up back over it.
  QTest::keyClick(dialog.Preview(), Qt::Key_Down);
  EXPECT_EQ(dialog.Preview()->Selection(), 1u << 5);
  QTest::keyClick(dialog.Preview(), Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(dialog.Preview()->Selection(), (1u << 4) | (1u << 5));
  EXPECT_TRUE(dialog.AttributeList()->item(5)->isSelected());

  // The options change the working copy.
  dialog.SetView(SchemeView::Advanced);
  EXPECT_TRUE(dialog.OverstrikeBox()->isVisible() || !dialog.isVisible());
  dialog.OverstrikeBox()->setChecked(false);
  EXPECT_EQ(dialog.Scheme().overstrikeBold, 0);

  // The ANSI view: sixteen palette rows, no attribute to edit.
  dialog.SetView(SchemeView::Ansi);
  EXPECT_EQ(dialog.AttributeList()->count(), 0);
  EXPECT_FALSE(dialog.AttributeList()->isEnabled());
  EXPECT_FALSE(dialog.ForegroundButton()->isEnabled());
  EXPECT_EQ(dialog.Preview()->RowCount(), 16u);
  EXPECT_EQ(dialog.Preview()->RowName(3), UiText(kFirstAnsiRowName + 3));
}

TEST_F(ColorEditor, EveryControlHasItsOwnMnemonic) {
  VRef<GlobalConfig> config = Shared();
  ColorSchemesDialog dialog(BlackAndBlueOnWhite(), config->ansiPalettes);
  dialog.show();
  for (SchemeView view : {SchemeView::Basic, SchemeView::Advanced, SchemeView::Ansi}) {
    dialog.SetView(view);
    uitest::ExpectMnemonicsUnique(&dialog);
  }
  NewColorPaletteDialog palette(config->ansiPalettes, VUnicodeString());
  palette.show();
  uitest::ExpectMnemonicsUnique(&palette);
  VPropertyTreeDialog pages(QStringLiteral("Global Options"), nullptr, nullptr);
  auto* schemes = new GlobalColorSchemesPage(*config.Get());
  auto* ansi = new GlobalAnsiColorPage(*config.Get());
  pages.AddPage(schemes);
  pages.AddPage(ansi);
  pages.show();
  QApplication::processEvents();
  uitest::ExpectMnemonicsUnique(&pages);
  ASSERT_TRUE(pages.SelectPage(ansi));
  uitest::ExpectMnemonicsUnique(&pages);
}

TEST_F(ColorEditor, TheDesktopSchemeAndAMissingPaletteAreShownAsTheyAre) {
  ProfileAnsiPaletteList palettes;
  palettes = palettes.Defaults(nullptr);
  ColorSchemeEntry desktop = BlackAndBlueOnWhite();
  desktop.name = vcolors::PlatformSchemeName();
  desktop.paletteName = u"Gone";
  ColorSchemesDialog dialog(desktop, palettes);
  EXPECT_FALSE(dialog.ForegroundButton()->isEnabled());
  EXPECT_FALSE(dialog.BackgroundButton()->isEnabled());
  // A palette the list does not have: the first built-in palette is selected.
  EXPECT_EQ(dialog.PaletteCombo()->currentIndex(), 0);
  EXPECT_EQ(dialog.Scheme().paletteName, vcolors::BuiltInPalettes()[0].name);
}

TEST_F(ColorEditor, NewNamesAreRefusedWhenEmptyWithACommaOrTaken) {
  VRef<GlobalConfig> config = Shared();
  struct Case {
    QString typed;
    QString message;
  };
  const QString taken = ToQString(vcolors::BuiltInSchemes()[0].name);
  for (const Case& c : {Case{QString(), UiText(kSchemeNameEmpty)},
                        Case{QStringLiteral("Dark, mostly"), UiText(kNameHasComma)},
                        Case{taken, UiText(kNameExists, FromQString(taken))}}) {
    uitest::MessageBoxRecorder boxes;
    NewColorSchemeDialog dialog(config->colorSchemes);
    dialog.show();
    dialog.NameEdit()->setText(c.typed);
    dialog.OkButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u) << c.typed.toStdString();
    EXPECT_EQ(boxes.Shown()[0].text, c.message);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.NameEdit()->hasFocus() || QApplication::focusWidget() == nullptr);
  }
  {
    uitest::MessageBoxRecorder boxes;
    NewColorSchemeDialog dialog(config->colorSchemes);
    dialog.show();
    dialog.NameEdit()->setText(QStringLiteral("Night Shift"));
    dialog.OkButton()->click();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), VUnicodeString(u"Night Shift"));
  }

  // Palettes: the same checks with their own empty-name text; the new one copies its base.
  const QString ember = ToQString(vcolors::BuiltInPalettes()[1].name);
  for (const Case& c : {Case{QString(), UiText(kPaletteNameEmpty)},
                        Case{QStringLiteral("a,b"), UiText(kNameHasComma)},
                        Case{ember, UiText(kNameExists, FromQString(ember))}}) {
    uitest::MessageBoxRecorder boxes;
    NewColorPaletteDialog dialog(config->ansiPalettes, FromQString(ember));
    dialog.show();
    dialog.NameEdit()->setText(c.typed);
    dialog.OkButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, c.message);
    EXPECT_TRUE(dialog.isVisible());
  }
  NewColorPaletteDialog dialog(config->ansiPalettes, FromQString(ember));
  dialog.show();
  EXPECT_EQ(dialog.BasedOnCombo()->currentText(), ember);
  dialog.NameEdit()->setText(QStringLiteral("Ember Warm"));
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Palette().name, VUnicodeString(u"Ember Warm"));
  EXPECT_EQ(dialog.Palette().colors, vcolors::BuiltInPalettes()[1].colors);
}

TEST_F(ColorEditor, ResetRestoresOneGroupFromTheBuiltInOfTheSameNameOrTheFirst) {
  AnsiPaletteEntry ember = vcolors::BuiltInPalettes()[1];
  AnsiPaletteEntry edited = ember;
  edited.colors.fill(kOrange);
  AnsiColorPanel panel;
  panel.SetPalette(edited);
  panel.ResetButton(false)->click();
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(panel.Palette().colors[i], ember.colors[i]) << i;
  for (size_t i = 8; i < 16; ++i) EXPECT_EQ(panel.Palette().colors[i], kOrange) << i;
  EXPECT_EQ(panel.Button(3)->Color(), ember.colors[3]);

  // A palette of the user's own resets from the first built-in palette.
  edited.name = u"Mine";
  panel.SetPalette(edited);
  panel.ResetButton(true)->click();
  for (size_t i = 8; i < 16; ++i)
    EXPECT_EQ(panel.Palette().colors[i], vcolors::BuiltInPalettes()[0].colors[i]) << i;
  EXPECT_EQ(panel.Palette().colors[0], kOrange);

  // A colour chosen on a button goes into the palette.
  ChooserAnswers answer(kBlue);
  panel.Button(5)->click();
  EXPECT_EQ(panel.Palette().colors[5], kBlue);
}

TEST_F(ColorEditor, APaletteDeletionIsWrittenAtOnceAlthoughTheDialogIsCancelled) {
  // Stored: a palette of the user's own, current.
  {
    VRef<GlobalConfig> config = Shared();
    AnsiPaletteEntry mine = vcolors::BuiltInPalettes()[2];
    mine.name = u"Mine";
    config->ansiPalettes.SetPalette(mine);
    config->currentAnsiPalette = VUnicodeString(u"Mine");
    ColorSchemeEntry scheme = BlackAndBlueOnWhite();
    scheme.name = u"On It";
    scheme.paletteName = u"Mine";
    config->colorSchemes.SetScheme(scheme);
    ASSERT_TRUE(SaveGlobalConfig(false));
  }
  ASSERT_NE(folder_.Lines("Global").find("Mine,"), std::string::npos);

  VRef<GlobalConfig> config = Shared();
  VPropertyTreeDialog dialog(QStringLiteral("Global Options"), nullptr, nullptr);
  auto* page = new GlobalAnsiColorPage(*config.Get());
  dialog.AddPage(page);
  dialog.show();
  QApplication::processEvents();
  ASSERT_TRUE(page->IsInitialized());
  ASSERT_TRUE(page->PaletteList()->currentItem());
  EXPECT_EQ(page->PaletteList()->currentItem()->text(), QStringLiteral("Mine"));

  // Built-in palettes cannot be deleted.
  page->PaletteList()->setCurrentRow(0);
  EXPECT_FALSE(page->DeleteButton()->isEnabled());

  // An edit that Cancel must drop: a colour of the first palette.
  {
    ChooserAnswers answer(kOrange);
    page->Panel()->Button(0)->click();
  }
  page->PaletteList()->setCurrentRow(static_cast<int>(config->ansiPalettes.Find(u"Mine")));
  ASSERT_TRUE(page->DeleteButton()->isEnabled());
  {
    uitest::MessageBoxRecorder boxes(kIdOk);
    page->DeleteButton()->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              UiText(kDeletePaletteQuestion, vcolors::BuiltInPalettes()[0].name));
    EXPECT_EQ(boxes.Shown()[0].style & 0xF, kMbOkCancel);
  }
  EXPECT_EQ(page->PaletteList()->findItems(QStringLiteral("Mine"), Qt::MatchExactly).size(), 0);
  EXPECT_EQ(page->PaletteList()->currentRow(), 0);
  dialog.reject();

  // On disk at once: the list without it, the current palette and the scheme fallen back.
  std::string stored = folder_.Lines("Global");
  EXPECT_EQ(stored.find("Mine,"), std::string::npos);
  VRef<GlobalConfig> reread = LoadOwn(3);
  EXPECT_EQ(reread->ansiPalettes.Find(u"Mine"), ProfileColorsBase::kNotFound);
  EXPECT_EQ(reread->currentAnsiPalette.Current(), vcolors::BuiltInPalettes()[0].name);
  std::optional<ColorSchemeEntry> uses = reread->colorSchemes.GetScheme(u"On It");
  ASSERT_TRUE(uses);
  EXPECT_EQ(uses->paletteName, vcolors::BuiltInPalettes()[0].name);
  // ... and nothing of what was cancelled.
  EXPECT_EQ(reread->ansiPalettes.GetPalette(vcolors::BuiltInPalettes()[0].name)->colors[0], kBlack);
}

TEST_F(ColorEditor, ASchemeEditedInTheDialogIsReadBackFromTheFile) {
  VRef<GlobalConfig> config = Shared();
  VUnicodeString name = vcolors::BuiltInSchemes()[12].name;  // black on white
  ChooserAnswers answer(kOrange);
  auto seen = uitest::WhenModal<ColorSchemesDialog>([](ColorSchemesDialog* dialog) {
    dialog->SetView(SchemeView::Advanced);
    SelectRows(dialog->AttributeList(), {0, 2});
    dialog->BackgroundButton()->click();
    dialog->UnderlineBox()->setChecked(false);
    dialog->OkButton()->click();
  });
  ASSERT_TRUE(LaunchColorSchemeDialog(nullptr, *config.Get(), name));
  EXPECT_TRUE(*seen);
  ASSERT_TRUE(SaveGlobalConfig(false));

  VRef<GlobalConfig> reread = LoadOwn(3);
  std::optional<ColorSchemeEntry> scheme = reread->colorSchemes.GetScheme(name);
  ASSERT_TRUE(scheme);
  EXPECT_EQ(scheme->backgrounds[0], kOrange);
  EXPECT_EQ(scheme->backgrounds[1], kWhite);
  EXPECT_EQ(scheme->backgrounds[2], kOrange);
  EXPECT_EQ(scheme->showUnderline, 0);
  EXPECT_NE(folder_.Lines("Global").find(name.ToUtf8() + ",010001,"), std::string::npos);

  // Cancel changes nothing.
  auto cancelled = uitest::WhenModal<ColorSchemesDialog>([](ColorSchemesDialog* dialog) {
    dialog->BlinkBox()->setChecked(false);
    dialog->reject();
  });
  EXPECT_FALSE(LaunchColorSchemeDialog(nullptr, *config.Get(), name));
  EXPECT_TRUE(*cancelled);
  EXPECT_EQ(config->colorSchemes.GetScheme(name)->enableBlink, 1);
}

TEST_F(ColorEditor, TheSessionPageShowsTheGlobalPaletteOrEditsItsOwnColors) {
  VRef<GlobalConfig> config = Shared();
  config->currentAnsiPalette = vcolors::BuiltInPalettes()[1].name;
  VRef<SessionConfig> session(new SessionConfig(u"s"));
  session->LoadFromKey(nullptr);
  SessionPageContext context;
  context.session = session.Get();
  context.global = config.Get();
  VPropertyTreeDialog dialog(QStringLiteral("Session Options"), nullptr, nullptr);
  auto* page = new SessionAnsiColorPage(context);
  dialog.AddPage(page);
  dialog.show();
  QApplication::processEvents();
  ASSERT_TRUE(page->UseGlobalBox()->isChecked());
  EXPECT_FALSE(page->Panel()->isEnabled());
  EXPECT_EQ(page->Panel()->Palette().colors, vcolors::BuiltInPalettes()[1].colors);

  page->UseGlobalBox()->setChecked(false);
  EXPECT_TRUE(page->Panel()->isEnabled());
  EXPECT_EQ(page->Panel()->Button(1)->Color(), session->terminal.ansiColorRgb.Current().colors[1]);
  {
    ChooserAnswers answer(kOrange);
    page->Panel()->Button(1)->click();
  }
  dialog.OkButton()->click();
  EXPECT_FALSE(session->terminal.useGlobalAnsiColors.current);
  EXPECT_EQ(session->terminal.ansiColorRgb.Current().colors[1], kOrange);
}

}  // namespace
