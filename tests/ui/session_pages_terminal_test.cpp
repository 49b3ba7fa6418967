// The terminal pages of the Session Options dialog, each alone in a small dialog over a saved
// session: their refusals (message, focus, nothing written), the controls that depend on others,
// read-only, and an edit saved and read back from the session's file.
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include "config/global/global_config.h"
#include "session_pages_harness.h"

namespace {

using uitest::MessageBoxRecorder;

TEST_F(SessionPagesTest, TerminalAntiIdleNeedsAStringAndTheEditIsSaved) {
  auto* page = ShowPage<SessionTerminalPage>();
  auto* antiIdle = Control<QCheckBox>(page, u"anti-idle");
  auto* idleString = Control<QLineEdit>(page, u"Idle String");
  auto* seconds = Control<QSpinBox>(page, u"Idle Timeout");
  auto* words = Control<QCheckBox>(page, u"Use Word Delimiter Chars");
  auto* wordChars = Control<QLineEdit>(page, u"Word Delimiter Chars");
  EXPECT_FALSE(antiIdle->isChecked());
  EXPECT_FALSE(idleString->isEnabled());
  EXPECT_FALSE(seconds->isEnabled());
  EXPECT_FALSE(wordChars->isEnabled());
  words->click();
  EXPECT_TRUE(wordChars->isEnabled());
  // A tri-state setting not set follows the global options.
  EXPECT_EQ(Control<QCheckBox>(page, u"Auto Reconnect")->checkState(), Qt::PartiallyChecked);

  antiIdle->click();
  EXPECT_TRUE(idleString->isEnabled());
  ExpectRefused(idleString, QStringLiteral("The anti-idle string must contain at least one character."));
  EXPECT_EQ(session_->idleTimeout.current, 0);

  QTest::keyClicks(idleString, QStringLiteral("ping"));
  seconds->setValue(30);
  Control<QCheckBox>(page, u"Audio Bell")->click();
  Control<QCheckBox>(page, u"Auto Reconnect")->setCheckState(Qt::Checked);
  Control<QCheckBox>(page, u"Position Cursor on Left Click")->click();
  wordChars->setText(QStringLiteral(" ,;"));
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->idleString.Current(), u"ping");
  EXPECT_EQ(saved->idleTimeout.current, 30);
  EXPECT_FALSE(saved->terminal.audioBell.current);
  EXPECT_EQ(static_cast<VTriState>(saved->autoReconnect.current), TriStateOn);
  EXPECT_EQ(saved->positionCursorOnLeftClick.current, 1);
  EXPECT_TRUE(saved->useWordDelimiterChars.current);
  std::string lines = Session("lab");
  EXPECT_TRUE(Has(lines, "S:\"Idle String\"=ping"));
  EXPECT_TRUE(Has(lines, "D:\"Idle Timeout\"=0000001e"));
  EXPECT_TRUE(Has(lines, "D:\"Auto Reconnect\"=00000001"));
}

TEST_F(SessionPagesTest, ABoxLeftAsItWasKeepsTheNumberStored) {
  session_->positionCursorOnLeftClick = 2;
  auto* page = ShowPage<SessionTerminalPage>();
  EXPECT_TRUE(Control<QCheckBox>(page, u"Position Cursor on Left Click")->isChecked());
  ASSERT_TRUE(PressOk());
  EXPECT_EQ(session_->positionCursorOnLeftClick.current, 2);
  EXPECT_FALSE(page->Settings().IsChanged());
}

TEST_F(SessionPagesTest, TerminalSwitchingAntiIdleOffStoresNoInterval) {
  session_->idleTimeout = 45;
  session_->idleString = VUnicodeString(u"x");
  auto* page = ShowPage<SessionTerminalPage>();
  auto* antiIdle = Control<QCheckBox>(page, u"anti-idle");
  EXPECT_TRUE(antiIdle->isChecked());
  EXPECT_EQ(Control<QSpinBox>(page, u"Idle Timeout")->value(), 45);
  antiIdle->click();
  Control<QLineEdit>(page, u"Idle String")->clear();  // not needed while off
  ASSERT_TRUE(PressOk());
  EXPECT_EQ(session_->idleTimeout.current, 0);
}

TEST_F(SessionPagesTest, ReadOnlyPagesShowEverythingDisabledAndWriteNothing) {
  session_->terminal.rows = 300;  // beyond what the Emulation page accepts
  uitest::MessageBoxRecorder boxes;
  for (int i = 0; i < 4; ++i) {
    SessionPageBase* page = nullptr;
    switch (i) {
      case 0: page = ShowPage<SessionTerminalPage>(true); break;
      case 1: page = ShowPage<SessionEmulationPage>(true); break;
      case 2: page = ShowPage<SessionWindowPage>(true); break;
      default: page = ShowPage<SessionAppearancePage>(true); break;
    }
    SCOPED_TRACE(page->Title().toStdString());
    ExpectAllDisabled(page);
    if (i == 1) static_cast<QLineEdit*>(page->ControlOf(u"Rows"))->setText(QStringLiteral("40"));
    EXPECT_TRUE(page->OnKillActive());
    page->OnApply();
  }
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_EQ(session_->terminal.rows.current, 300);
}

TEST_F(SessionPagesTest, EmulationRangesUseTheGlobalAndDialogLimits) {
  global_->maxScrollbackBufferSize = 1000;
  auto* page = ShowPage<SessionEmulationPage>();
  auto* rows = Control<QLineEdit>(page, u"Rows");
  auto* cols = Control<QLineEdit>(page, u"Cols");
  auto* scrollback = Control<QLineEdit>(page, u"Scrollback");
  EXPECT_EQ(rows->text(), QStringLiteral("24"));

  rows->setText(QStringLiteral("4"));
  ExpectRefused(rows, QStringLiteral("Please enter an integer between 5 and 200."));
  rows->setText(QStringLiteral("tall"));
  ExpectRefused(rows, QStringLiteral("Please enter an integer between 5 and 200."));
  rows->setText(QStringLiteral("50"));
  cols->setText(QStringLiteral("257"));
  ExpectRefused(cols, QStringLiteral("Please enter an integer between 20 and 256."));
  cols->setText(QStringLiteral("132"));
  scrollback->setText(QStringLiteral("1001"));
  ExpectRefused(scrollback, QStringLiteral("Please enter an integer between 0 and 1000."));
  EXPECT_EQ(session_->terminal.rows.current, 24);  // nothing written while refused

  scrollback->setText(QStringLiteral("1000"));
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_EQ(saved->terminal.rows.current, 50);
  EXPECT_EQ(saved->terminal.cols.current, 132);
  EXPECT_EQ(saved->terminal.scrollback.current, 1000);
  EXPECT_TRUE(Has(Session("lab"), "D:\"Rows\"=00000032"));
}

TEST_F(SessionPagesTest, EmulationCustomKeymapNeedsAFileThatLoads) {
  auto* page = ShowPage<SessionEmulationPage>();
  auto* keymap = Control<QComboBox>(page, u"Keymap Name");
  auto* file = Control<QLineEdit>(page, u"Keymap Filename");
  auto* alternate = Control<QCheckBox>(page, u"Use Alternate Keyboard");
  EXPECT_FALSE(file->isEnabled());
  EXPECT_TRUE(alternate->isEnabled());
  keymap->setCurrentIndex(1);  // Custom
  EXPECT_TRUE(file->isEnabled());
  EXPECT_TRUE(alternate->isChecked());
  EXPECT_FALSE(alternate->isEnabled());

  ExpectRefused(file, QStringLiteral("Custom keymap filename cannot be empty."));
  file->setText(QString::fromStdString(user_ / "missing.key"));
  ExpectRefused(file, QStringLiteral("Keymap filename not found."));
  EXPECT_EQ(session_->terminal.keymapName.Current(), u"");

  qtest::WriteFile(user_ / "lab.key", "Version = 1\nN VK_F1 MENU_COPY\n");
  file->setText(QString::fromStdString(user_ / "lab.key"));
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_EQ(saved->terminal.keymapName.Current(), u"Custom");
  EXPECT_EQ(saved->terminal.keymapFilename.Current(), VUnicodeString::FromUtf8(user_ / "lab.key"));
  EXPECT_TRUE(saved->terminal.useAlternateKeyboard.current);
}

// TN3270 fixes the size by model, and the Modes and Emacs pages have nothing to offer for it.
TEST_F(SessionPagesTest, Tn3270DisablesModesAndEmacsAndFixesTheSize) {
  auto* emulation = new SessionEmulationPage(Context());
  auto* modes = new SessionEmulationModesPage(Context());
  auto* emacs = new SessionEmacsPage(Context());
  Show(modes, emacs, emulation);
  Select(modes);
  EXPECT_TRUE(modes->findChild<QGroupBox*>()->isEnabled());
  Select(emulation);
  auto* combo = Control<QComboBox>(emulation, u"Emulation");
  combo->setCurrentText(QStringLiteral("TN3270"));
  auto* rows = Control<QLineEdit>(emulation, u"Rows");
  auto* model = Control<QComboBox>(emulation, u"Terminal Type");
  EXPECT_FALSE(rows->isEnabled());
  EXPECT_TRUE(model->isEnabled());
  model->setCurrentText(QStringLiteral("IBM-3278-4"));
  EXPECT_EQ(rows->text(), QStringLiteral("43"));
  EXPECT_EQ(Control<QLineEdit>(emulation, u"Cols")->text(), QStringLiteral("80"));

  Select(modes);
  for (QGroupBox* group : modes->findChildren<QGroupBox*>()) EXPECT_FALSE(group->isEnabled());
  Select(emacs);
  EXPECT_FALSE(Control<QCheckBox>(emacs, u"Emacs Mode")->isEnabled());

  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_EQ(saved->terminal.emulation.Current(), u"TN3270");
  EXPECT_EQ(saved->terminal.terminalType.Current(), u"IBM-3278-4");
  EXPECT_EQ(saved->terminal.rows.current, 43);
}

TEST_F(SessionPagesTest, ModesCurrentGroupOnlyForALiveSession) {
  auto* page = ShowPage<SessionEmulationModesPage>();
  auto groups = page->findChildren<QGroupBox*>();
  ASSERT_EQ(groups.size(), 3);
  EXPECT_TRUE(groups[0]->isEnabled());
  EXPECT_FALSE(groups[1]->isEnabled());
  EXPECT_TRUE(groups[2]->isEnabled());
  Control<QCheckBox>(page, u"Newline Mode")->click();
  Control<QCheckBox>(page, u"Enable Alternate Screen Switching")->click();
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_TRUE(saved->terminal.newlineMode.current);
  EXPECT_FALSE(saved->terminal.enableAlternateScreenSwitching.current);

  SessionPageContext live = Context();
  live.liveSession = true;
  auto* livePage = new SessionEmulationModesPage(live);
  Show(livePage);
  EXPECT_TRUE(livePage->findChildren<QGroupBox*>()[1]->isEnabled());
  // The current modes start as the initial ones.
  EXPECT_TRUE(Control<QCheckBox>(livePage, u"current Newline Mode")->isChecked());
}

TEST_F(SessionPagesTest, EmacsOptionsFollowAltAsMeta) {
  session_->terminal.preserveAltGr = true;  // stored without ALT as meta
  auto* page = ShowPage<SessionEmacsPage>();
  auto* meta = Control<QCheckBox>(page, u"Emacs Mode");
  auto* preserve = Control<QCheckBox>(page, u"Preserve Alt-Gr");
  auto* eighthBit = Control<QRadioButton>(page, u"Emacs Mode 8 Bit");
  auto* escape = Control<QRadioButton>(page, u"Emacs Mode 8 Bit off");
  EXPECT_FALSE(preserve->isEnabled());
  EXPECT_FALSE(eighthBit->isEnabled());
  EXPECT_TRUE(escape->isChecked());
  meta->click();
  EXPECT_TRUE(preserve->isEnabled());
  EXPECT_TRUE(eighthBit->isEnabled());
  EXPECT_TRUE(preserve->isChecked());
  meta->click();  // clearing ALT-as-meta clears the preserve option
  EXPECT_FALSE(preserve->isChecked());
  meta->click();
  eighthBit->click();
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_TRUE(saved->terminal.emacsMode.current);
  EXPECT_FALSE(saved->terminal.preserveAltGr.current);
  EXPECT_TRUE(saved->terminal.emacsMode8Bit.current);
}

TEST_F(SessionPagesTest, EmulationAdvancedFieldsFollowTheirBoxes) {
  auto* page = ShowPage<SessionEmulationAdvancedPage>();
  auto* answerback = Control<QLineEdit>(page, u"Answerback");
  EXPECT_FALSE(answerback->isEnabled());
  Control<QCheckBox>(page, u"Use Answerback")->click();
  EXPECT_TRUE(answerback->isEnabled());
  answerback->setText(QStringLiteral("lab-3"));
  Control<QSpinBox>(page, u"Line Send Delay")->setValue(20);
  Control<QCheckBox>(page, u"Local Echo")->click();
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_TRUE(saved->terminal.useAnswerback.current);
  EXPECT_EQ(saved->terminal.answerback.Current(), u"lab-3");
  EXPECT_EQ(saved->lineSendDelay.current, 20);
  EXPECT_TRUE(saved->terminal.localEcho.current);
}

TEST_F(SessionPagesTest, AppearanceNewSchemeRefusesANameThereAlready) {
  ColorSchemeEntry harbour;
  harbour.name = u"Harbour";
  global_->colorSchemes.SetScheme(harbour);
  auto* page = ShowPage<SessionAppearancePage>();
  std::vector<std::pair<QString, bool>> opened;
  page->editScheme = [&](QWidget*, const QString& name, bool isNew) {
    opened.emplace_back(name, isNew);
    return true;
  };
  {
    MessageBoxRecorder boxes;
    EXPECT_FALSE(page->NewScheme(QStringLiteral(" Harbour ")));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("'Harbour' already exists."));
    EXPECT_TRUE(opened.empty());
  }
  Control<QComboBox>(page, u"Color Scheme")->setCurrentText(QStringLiteral("Harbour"));
  Control<QPushButton>(page, u"edit scheme")->click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], std::make_pair(QStringLiteral("Harbour"), false));
  opened.clear();
  page->askSchemeName = [](QWidget*) { return QStringLiteral("Night shift"); };
  Control<QPushButton>(page, u"new scheme")->click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], std::make_pair(QStringLiteral("Night shift"), true));
  EXPECT_EQ(Control<QComboBox>(page, u"Color Scheme")->currentText(), QStringLiteral("Night shift"));
  Control<QCheckBox>(page, u"Highlight Bold")->click();
  QFont chosen(QStringLiteral("Lab Mono"));
  chosen.setPointSize(12);
  page->ChooseFont(false, chosen);
  EXPECT_EQ(page->FontLabel(false)->text(), QStringLiteral("Lab Mono, 12 pt"));
  EXPECT_FALSE(Control<QPushButton>(page, u"Narrow Font v2")->isEnabled());
  Control<QCheckBox>(page, u"Use Narrow Font")->click();
  EXPECT_TRUE(Control<QPushButton>(page, u"Narrow Font v2")->isEnabled());
  ASSERT_TRUE(PressOk());
  EXPECT_TRUE(appearanceChanged_);
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_EQ(saved->terminal.colorScheme.Current(), u"Night shift");
  EXPECT_TRUE(saved->highlightBold.current);
  EXPECT_EQ(saved->keywordSet.Current(), u"");  // "no list" stays stored as empty
  EXPECT_EQ(saved->terminal.normalFont.Current().GetFaceName(), u"Lab Mono");
  EXPECT_EQ(saved->terminal.normalFont.Current().extra, 120u);
  EXPECT_TRUE(saved->terminal.useNarrowFont.current);
}

TEST_F(SessionPagesTest, WindowInitialPositionMustBeAnInteger) {
  auto* page = ShowPage<SessionWindowPage>();
  auto* use = Control<QCheckBox>(page, u"Use Position");
  auto* x = Control<QLineEdit>(page, u"X Position Relative Left");
  auto* y = Control<QLineEdit>(page, u"Y Position Relative Top");
  EXPECT_FALSE(x->isEnabled());
  // Not used: the field is not checked, and what it cannot hold is not taken.
  x->setText(QStringLiteral("left"));
  ASSERT_TRUE(PressOk());
  EXPECT_EQ(session_->terminal.xPositionRelativeLeft.current, 0);

  page = ShowPage<SessionWindowPage>();
  use = Control<QCheckBox>(page, u"Use Position");
  x = Control<QLineEdit>(page, u"X Position Relative Left");
  y = Control<QLineEdit>(page, u"Y Position Relative Top");
  use->click();
  EXPECT_TRUE(x->isEnabled());
  x->setText(QStringLiteral("4O"));
  {
    MessageBoxRecorder boxes;
    EXPECT_FALSE(PressOk());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    QString text = boxes.Shown()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Invalid initial position. '4O' is not an integer.")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Use negative values (including '-0') to offset window "
                                             "from right or bottom edge of screen.")));
    EXPECT_EQ(dialog_->focusWidget(), x);
  }
  x->setText(QStringLiteral("10"));
  y->setText(QStringLiteral("-0"));
  ExpectRefused(y, QStringLiteral("Invalid initial position. '-0' is too far from the edge of the screen."));
  EXPECT_FALSE(session_->terminal.usePosition.current);
  y->setText(QStringLiteral("-40"));
  Control<QCheckBox>(page, u"Vertical Scrollbar")->setCheckState(Qt::Unchecked);
  ASSERT_TRUE(PressOk());
  VRef<SessionConfig> saved = SaveAndReopen();
  EXPECT_TRUE(saved->terminal.usePosition.current);
  EXPECT_EQ(saved->terminal.xPositionRelativeLeft.current, 10);
  EXPECT_EQ(saved->terminal.yPositionRelativeTop.current, -40);
  EXPECT_EQ(static_cast<VTriState>(saved->terminal.verticalScrollbar.current), TriStateOff);
  EXPECT_EQ(static_cast<VTriState>(saved->terminal.horizontalScrollbar.current), TriStateNotSet);
}

}  // namespace
