// The key map editor's widgets driven offscreen: the capture dialog fed key events as the desktop
// sends them, the Map Selected Key dialog, the editor's list with its replace question, the
// Mapped Keys page saving into a session file, the stand-alone window writing a key map file, and
// quillane-settings --keymap-editor as a process.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "config/global/global_config.h"
#include "config/keymap/key_codes.h"
#include "config/session_test_env.h"
#include "marrowby/list_ctrl.h"
#include "marrowby/qt_text.h"
#include "platform/file_system.h"
#include "support/test_support.h"
#include "ui/keymap/capture_key_dialog.h"
#include "ui/keymap/keymap_editor_panel.h"
#include "ui/keymap/keymap_editor_window.h"
#include "ui/keymap/on_screen_keyboard.h"
#include "ui/keymap/selected_key_dialog.h"
#include "ui/keymap/session_mapped_keys_page.h"
#include "ui_test_helpers.h"

namespace {

using selectedkey::Category;

constexpr uint32_t kVkF5 = 0x74;
constexpr unsigned kXOffset = 8;  // X keycodes are the input layer's plus 8

// A key event as the desktop delivers it: with the native code of the physical key.
void Send(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
          unsigned evdev) {
  QKeyEvent event(type, key, modifiers, evdev + kXOffset, 0, 0);
  QApplication::sendEvent(target, &event);
}

struct Captured {
  bool taken = false;
  unsigned scan = 0;
  unsigned modifiers = 0;
};

// Runs the capture dialog with `keys` typed into it.
Captured Capture(std::function<void(CaptureKeyDialog*)> keys) {
  auto seen = uitest::WhenModal<CaptureKeyDialog>([&](CaptureKeyDialog* dialog) {
    keys(dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  Captured captured;
  captured.taken = LaunchCaptureKeyDialog(captured.scan, captured.modifiers, nullptr);
  EXPECT_TRUE(*seen);
  return captured;
}

TEST(CaptureKeyDialogTest, ModifiersAloneKeepWaitingAndKeysAreToldApartByTheExtendedFlag) {
  // Shift alone keeps the dialog open; Shift+F5 then closes it.
  bool waitedAfterShift = false;
  Captured shiftF5 = Capture([&](CaptureKeyDialog* d) {
    Send(d, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 42);
    Send(d, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, 42);
    Send(d, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 29);
    waitedAfterShift = d->isVisible() && d->GetScanCode() == 0;
    Send(d, QEvent::KeyPress, Qt::Key_F5, Qt::ShiftModifier, 63);
  });
  EXPECT_TRUE(waitedAfterShift);
  EXPECT_TRUE(shiftF5.taken);
  EXPECT_EQ(shiftF5.scan, 63u);
  EXPECT_EQ(shiftF5.modifiers, kKeyShift);

  // Print Screen counts on its release, not its press.
  bool waitedAfterPress = false;
  Captured print = Capture([&](CaptureKeyDialog* d) {
    Send(d, QEvent::KeyPress, Qt::Key_Print, Qt::NoModifier, 99);
    waitedAfterPress = d->isVisible();
    Send(d, QEvent::KeyRelease, Qt::Key_Print, Qt::NoModifier, 99);
  });
  EXPECT_TRUE(waitedAfterPress);
  EXPECT_EQ(print.scan, 55u);
  EXPECT_EQ(print.modifiers, kKeyExtended);

  Captured keypadEnter = Capture([](CaptureKeyDialog* d) {
    Send(d, QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier, 96);
  });
  Captured enter = Capture([](CaptureKeyDialog* d) {
    Send(d, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, 28);
  });
  EXPECT_EQ(keypadEnter.scan, 28u);
  EXPECT_EQ(keypadEnter.modifiers, kKeyExtended);
  EXPECT_EQ(enter.scan, 28u);
  EXPECT_EQ(enter.modifiers, 0u);

  // Escape is a key to map like any other, not the dialog's Cancel; Cancel clicked captures none.
  Captured escape = Capture([](CaptureKeyDialog* d) {
    Send(d, QEvent::KeyPress, Qt::Key_Escape, Qt::AltModifier, 1);
  });
  EXPECT_EQ(escape.scan, 1u);
  EXPECT_EQ(escape.modifiers, kKeyAlt);
  Captured none = Capture([](CaptureKeyDialog* d) { d->reject(); });
  EXPECT_FALSE(none.taken);
}

class KeymapEditorTest : public SessionFolderTest {
 protected:
  // The legends come from the layout the user has; these tests fix it.
  qtest::ScopedEnv layout_{"XKB_DEFAULT_LAYOUT", "us"};

  static QStringList Row(KeymapEditorPanel& panel, int row) {
    return {panel.List()->Text(row, 0), panel.List()->Text(row, 1), panel.List()->Text(row, 2)};
  }
  // Answers the next Map Selected Key dialog with `act`, then OK.
  static std::shared_ptr<bool> AnswerDialog(std::function<void(SelectedKeyDialog*)> act) {
    return uitest::WhenModal<SelectedKeyDialog>([act](SelectedKeyDialog* d) {
      act(d);
      d->OkButton()->click();
    });
  }
};

TEST_F(KeymapEditorTest, AnUnmappedKeyProposesWhatItTypesInOctal) {
  Keymap keymap;
  KeymapEditorPanel panel(&keymap, nullptr);
  QString proposed;
  Category category = selectedkey::kDisable;
  auto seen = AnswerDialog([&](SelectedKeyDialog* d) {
    proposed = d->SendEdit()->toPlainText();
    category = d->CurrentCategory();
  });
  panel.MapCapturedKey(26, kKeyCtrl);  // Ctrl+[
  ASSERT_TRUE(*seen);
  EXPECT_EQ(category, selectedkey::kSendString);
  EXPECT_EQ(proposed, QStringLiteral("\\033"));
  ASSERT_EQ(keymap.GetCount(), 1u);
  EXPECT_EQ(keymap.GetAt(0), (KeyMapping{0xDB | kKeyCtrl, kActionSend, u"\\033", {}}));
  EXPECT_EQ(Row(panel, 0), (QStringList{"Ctrl-0xDB", "SEND", "\\033"}));

  // A key clicked on the keyboard takes the modifiers of the toggles; keypad Enter and Enter are
  // two keys.
  panel.Keyboard()->SetModifier(keylegends::kModifierShift);
  AnswerDialog([](SelectedKeyDialog* d) { d->SendEdit()->setPlainText("enter\n"); });
  panel.Keyboard()->FindButton(28, true)->click();
  AnswerDialog([](SelectedKeyDialog* d) { d->SendEdit()->setPlainText("return"); });
  panel.Keyboard()->FindButton(28, false)->click();
  ASSERT_EQ(panel.List()->RowCount(), 3);
  EXPECT_EQ(Row(panel, 1), (QStringList{"Shift-Extended-VK_RETURN", "SEND", "enter\\r\\n"}));
  EXPECT_EQ(Row(panel, 2), (QStringList{"Shift-VK_RETURN", "SEND", "return"}));
}

TEST_F(KeymapEditorTest, AnsweringNoToTheReplaceQuestionLeavesRowAndKeyMapAsTheyWere) {
  Keymap keymap;
  keymap.Add({kVkF5, kActionSend, u"before", {}});
  keymap.Add({kVkF5 | kKeyShift, 254, {}, {}});
  KeymapEditorPanel panel(&keymap, nullptr);
  ASSERT_EQ(panel.List()->RowCount(), 2);
  {
    uitest::MessageBoxRecorder no(kIdNo);
    QString shownInDialog;
    AnswerDialog([&](SelectedKeyDialog* d) {
      shownInDialog = d->SendEdit()->toPlainText();
      d->SendEdit()->setPlainText("after");
    });
    panel.MapCapturedKey(63, 0);
    EXPECT_EQ(shownInDialog, QStringLiteral("before"));
    ASSERT_EQ(no.Shown().size(), 1u);
    EXPECT_TRUE(no.Shown()[0].text.startsWith("VK_F5 is already mapped")) << no.Shown()[0].text.toStdString();
    EXPECT_TRUE(no.Shown()[0].text.endsWith("Do you want to replace that mapping?"));
    EXPECT_EQ(no.Shown()[0].style, kMbYesNo | kMbIconQuestion);
  }
  EXPECT_EQ(Row(panel, 0), (QStringList{"VK_F5", "SEND", "before"}));
  ASSERT_EQ(keymap.GetCount(), 2u);
  EXPECT_EQ(keymap.GetAt(*keymap.Find(kVkF5)), (KeyMapping{kVkF5, kActionSend, u"before", {}}));
  {
    uitest::MessageBoxRecorder yes(kIdYes);
    AnswerDialog([](SelectedKeyDialog* d) { d->SendEdit()->setPlainText("after"); });
    panel.MapCapturedKey(63, 0);
    EXPECT_EQ(yes.Shown().size(), 1u);
  }
  EXPECT_EQ(Row(panel, 0), (QStringList{"VK_F5", "SEND", "after"}));
  EXPECT_EQ(keymap.GetAt(*keymap.Find(kVkF5)).first, u"after");
  // Nothing changed in the dialog: no question, nothing stored.
  {
    uitest::MessageBoxRecorder none(kIdYes);
    AnswerDialog([](SelectedKeyDialog*) {});
    panel.MapCapturedKey(63, 0);
    EXPECT_TRUE(none.Shown().empty());
  }
  // No restores the whole mapping, the script's arguments with its file.
  keymap.Add({kVkF5 + 1, kActionRun, u"a.py", u"--one"});
  panel.Reload();
  {
    uitest::MessageBoxRecorder no(kIdNo);
    AnswerDialog([](SelectedKeyDialog* d) {
      d->ScriptFileEdit()->setText("b.py");
    });
    panel.MapCapturedKey(64, 0);  // F6
    EXPECT_EQ(no.Shown().size(), 1u);
  }
  EXPECT_EQ(keymap.GetAt(*keymap.Find(kVkF5 + 1)), (KeyMapping{kVkF5 + 1, kActionRun, u"a.py", u"--one"}));
  // A scan code the keyboard does not have does nothing.
  panel.MapCapturedKey(120, 0);
  EXPECT_EQ(keymap.GetCount(), 3u);
}

TEST_F(KeymapEditorTest, EditChangesTheRowAndDeleteSelectsTheRowNowInItsPlace) {
  Keymap keymap;
  keymap.Add({kVkF5, kActionSend, u"a", {}});
  keymap.Add({0x26 | kKeyExtended, 8, {}, {}});
  keymap.Add({0x41 | kKeyAlt, kActionDisabled, {}, {}});
  KeymapEditorPanel panel(&keymap, nullptr);
  EXPECT_FALSE(panel.EditButton()->isEnabled());
  panel.List()->SelectRow(0);
  ASSERT_TRUE(panel.EditButton()->isEnabled());
  AnswerDialog([](SelectedKeyDialog* d) {
    d->SelectCategory(selectedkey::kVt);
    d->FunctionList(selectedkey::kVt)->setCurrentRow(254 - 220);
  });
  panel.EditButton()->click();
  EXPECT_EQ(Row(panel, 0), (QStringList{"VK_F5", "VT_F15", ""}));
  EXPECT_EQ(keymap.GetAt(*keymap.Find(kVkF5)).action, 254u);

  panel.List()->SelectRow(1);
  panel.DeleteButton()->click();
  EXPECT_FALSE(keymap.Find(0x26 | kKeyExtended));
  ASSERT_EQ(panel.List()->RowCount(), 2);
  EXPECT_EQ(panel.List()->SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(panel.List()->Text(1, 0), QStringLiteral("Alt-VK_A"));
  panel.DeleteButton()->click();
  EXPECT_EQ(panel.List()->SelectedRows(), std::vector<int>{0});
  EXPECT_EQ(keymap.GetCount(), 1u);
}

TEST_F(KeymapEditorTest, DialogRefusesScriptsUnderPolicyAndEmptyEntries) {
  VRef<GlobalConfig> global(new GlobalConfig(3));
  global->disableAllScripting.current = true;
  Keymap keymap;
  keymap.Add({kVkF5, kActionRun, u"/usr/local/bin/x.py", u"-q"});
  {
    uitest::MessageBoxRecorder cancel(kIdCancel);
    SelectedKeyDialog dialog(global.Get(), &keymap, nullptr, kVkF5);
    EXPECT_EQ(dialog.DoModal(), SelectedKeyDialog::kRefused);
    ASSERT_EQ(cancel.Shown().size(), 1u);
    EXPECT_TRUE(cancel.Shown()[0].text.startsWith("Scripting has been administratively disabled."));
    EXPECT_EQ(cancel.Shown()[0].style, kMbOkCancel | kMbIconWarning);
  }
  {
    // OK there opens the dialog on the script, which may then be changed.
    uitest::MessageBoxRecorder ok(kIdOk);
    SelectedKeyDialog dialog(global.Get(), &keymap, nullptr, kVkF5);
    auto seen = AnswerDialog([](SelectedKeyDialog* d) { d->SelectCategory(selectedkey::kDisable); });
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_TRUE(dialog.IsModified());
    EXPECT_EQ(keymap.GetAt(0).action, kActionDisabled);
  }
  // A script or application without a file is refused and keeps the dialog open on the field.
  Keymap empty;
  SelectedKeyDialog dialog(nullptr, &empty, nullptr, 0x70);
  std::vector<bool> focused;
  uitest::MessageBoxRecorder said(kIdOk);
  uitest::WhenModal<SelectedKeyDialog>([&](SelectedKeyDialog* d) {
    d->SelectCategory(selectedkey::kRunScript);
    d->OkButton()->click();
    focused.push_back(d->isVisible() && d->focusWidget() == d->ScriptFileEdit());
    d->SelectCategory(selectedkey::kLaunchApplication);
    d->OkButton()->click();
    focused.push_back(d->isVisible() && d->focusWidget() == d->ProgramEdit());
    d->ProgramEdit()->setText("/opt/my tools/run");
    d->LaunchArgumentsEdit()->setText("--fast");
    d->OkButton()->click();
  });
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_EQ(focused, (std::vector<bool>{true, true}));
  ASSERT_EQ(said.Shown().size(), 2u);
  EXPECT_EQ(said.Shown()[0].text, QStringLiteral("Please enter the script file the key runs."));
  EXPECT_EQ(empty.GetAt(0), (KeyMapping{0x70, kActionLaunch, u"\"/opt/my tools/run\" --fast", {}}));
  EXPECT_EQ(dialog.GetLaunchArguments(), u"\"/opt/my tools/run\" --fast");
}

TEST_F(KeymapEditorTest, ABindingMadeOnThePageIsSavedInTheSessionAndReadBack) {
  WriteSession("s", "D:\"Is Session\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"s");
  ASSERT_TRUE(session);
  SessionPageContext context;
  context.session = session.Get();
  VPropertyTreeDialog dialog(QStringLiteral("Session Options - s"), nullptr, nullptr);
  auto* page = new SessionMappedKeysPage(context);
  dialog.AddPage(page);
  dialog.show();
  ASSERT_TRUE(page->IsInitialized());
  EXPECT_TRUE(page->MapBackspaceBox()->isEnabled());
  AnswerDialog([](SelectedKeyDialog* d) {
    d->SelectCategory(selectedkey::kVt);
    d->FunctionList(selectedkey::kVt)->setCurrentRow(254 - 220);
  });
  page->Panel()->MapCapturedKey(63, kKeyShift);
  page->MapBackspaceBox()->setChecked(true);
  dialog.OkButton()->click();
  ASSERT_TRUE(SaveAt(*session.Get(), u"s", false));
  std::string lines = Session("s");
  EXPECT_NE(lines.find("S\tVK_F5               \tVT_F15"), std::string::npos) << lines;
  EXPECT_TRUE(Has(lines, "D:\"Map Backspace\"=00000001")) << lines;
  VRef<SessionConfig> again = Open(u"s");
  std::optional<size_t> index = again->terminal.keymap.Find(kVkF5 | kKeyShift);
  ASSERT_TRUE(index);
  EXPECT_EQ(again->terminal.keymap.GetAt(*index).action, 254u);
  EXPECT_TRUE(again->terminal.mapBackspace.current);
}

TEST_F(KeymapEditorTest, Tn3270SessionsKeepTheirBackspaceAndCuaWarnsWhenTurnedOn) {
  WriteSession("m", "D:\"Is Session\"=00000001\r\nS:\"Emulation\"=TN3270\r\n");
  VRef<SessionConfig> session = Open(u"m");
  ASSERT_TRUE(session);
  SessionPageContext context;
  context.session = session.Get();
  VPropertyTreeDialog dialog(QStringLiteral("Session Options - m"), nullptr, nullptr);
  auto* page = new SessionMappedKeysPage(context);
  dialog.AddPage(page);
  dialog.show();
  EXPECT_FALSE(page->MapBackspaceBox()->isEnabled());
  EXPECT_FALSE(page->MapDeleteBox()->isEnabled());
  uitest::MessageBoxRecorder said(kIdOk);
  page->CuaBox()->click();
  ASSERT_EQ(said.Shown().size(), 1u);
  EXPECT_TRUE(said.Shown()[0].text.startsWith("Warning: Turning on CUA copy and paste"));
  page->CuaBox()->click();  // turning it off says nothing
  EXPECT_EQ(said.Shown().size(), 1u);
  uitest::ExpectMnemonicsUnique(&dialog);
  EXPECT_TRUE(KeySwapAllowed(u"Xterm"));
  EXPECT_FALSE(KeySwapAllowed(u"tn3270"));
}

TEST_F(KeymapEditorTest, TheWindowWritesTheKeyMapFileOnOkOnly) {
  qtest::TempDir dir;
  VUnicodeString file = VUnicodeString::FromUtf8(dir / "mine.key");
  Keymap keymap;
  VReportMessageParams report;
  bool warned = true;
  ASSERT_TRUE(LoadKeymapForEditing(file, keymap, report, warned));  // a new file
  EXPECT_FALSE(warned);
  {
    KeymapEditorWindow window(file, &keymap, nullptr);
    AnswerDialog([](SelectedKeyDialog* d) { d->SendEdit()->setPlainText("\\177"); });
    window.Panel()->MapCapturedKey(14, kKeyCtrl | kKeyShift);
    window.reject();
    EXPECT_EQ(vfs::KindOfPath(dir / "mine.key"), vfs::PathKind::Missing);
    window.OkButton()->click();
  }
  std::string bytes = qtest::ReadFile(dir / "mine.key");
  EXPECT_EQ(bytes, "\xEF\xBB\xBFVersion = 1\r\nCS\tVK_BACK             \t\"\\177\"\r\n");
  // Too many bad lines: refused, naming the file; the file stays as it was.
  qtest::WriteFile(dir / "bad.key", "N\tVK_NOPE\tSB_BEGIN\r\nN\tVK_F1\tNOPE\r\nQ\tVK_F2\tNOPE\r\n");
  Keymap bad;
  EXPECT_FALSE(LoadKeymapForEditing(VUnicodeString::FromUtf8(dir / "bad.key"), bad, report, warned));
  EXPECT_NE(FromQString(MessageText(report)).ToUtf8().find("bad.key"), std::string::npos);
}

TEST_F(KeymapEditorTest, KeypadDigitsStandInWhileNumberLockIsOnAndReadOnlyPagesChangeNothing) {
  Keymap keymap;
  KeymapEditorPanel panel(&keymap, nullptr);
  panel.show();
  panel.Keyboard()->SetNumLock(true);
  EXPECT_TRUE(panel.Keyboard()->NumpadButtons().front()->isVisible());
  EXPECT_FALSE(panel.Keyboard()->FindButton(71, false)->isVisible());
  AnswerDialog([](SelectedKeyDialog* d) {
    d->SelectCategory(selectedkey::kVt);
    d->FunctionList(selectedkey::kVt)->setCurrentRow(231 - 220);  // VT_KEYPAD_7
  });
  panel.MapCapturedKey(71, 0);
  AnswerDialog([](SelectedKeyDialog* d) { d->SendEdit()->setPlainText("home"); });
  panel.MapCapturedKey(71, kKeyExtended);  // the Home key of the navigation block
  ASSERT_EQ(panel.List()->RowCount(), 2);
  EXPECT_EQ(Row(panel, 0), (QStringList{"VK_NUMPAD7", "VT_KEYPAD_7", ""}));
  EXPECT_EQ(Row(panel, 1), (QStringList{"Extended-VK_HOME", "SEND", "home"}));
  panel.Keyboard()->SetNumLock(false);
  EXPECT_TRUE(panel.Keyboard()->FindButton(71, false)->isVisible());

  WriteSession("locked", "D:\"Is Session\"=00000001\r\nD:\"Map Delete\"=00000001\r\n");
  VRef<SessionConfig> session = Open(u"locked");
  ASSERT_TRUE(session);
  SessionPageContext context;
  context.session = session.Get();
  context.mode = 2;
  context.readOnly = true;
  VPropertyTreeDialog dialog(QStringLiteral("Session Options - locked (Read Only)"), nullptr, nullptr);
  auto* page = new SessionMappedKeysPage(context);
  dialog.AddPage(page);
  dialog.show();
  EXPECT_TRUE(page->MapDeleteBox()->isChecked());
  for (QWidget* control : std::initializer_list<QWidget*>{
           page->MapBackspaceBox(), page->MapDeleteBox(), page->CuaBox(),
           page->Panel()->MapKeyButton(), page->Panel()->Keyboard()})
    EXPECT_FALSE(control->isEnabled());
  page->Panel()->MapCapturedKey(63, 0);  // no dialog comes up
  EXPECT_EQ(session->terminal.keymap.GetCount(), 0u);
}

TEST_F(KeymapEditorTest, EveryVisibleControlHasItsOwnMnemonic) {
  Keymap keymap;
  KeymapEditorWindow window(u"/tmp/none.key", &keymap, nullptr);
  window.show();
  uitest::ExpectMnemonicsUnique(&window);
  for (int category = 0; category < selectedkey::kCategoryCount; ++category) {
    SelectedKeyDialog dialog(nullptr, &keymap, nullptr, 0x70);
    dialog.SelectCategory(static_cast<Category>(category));
    dialog.show();
    SCOPED_TRACE(category);
    uitest::ExpectMnemonicsUnique(&dialog);
  }
}

TEST(KeymapEditorTool, DrawsItsPicturesAndRefusesAnUnreadableKeyMap) {
  qtest::TempDir dir;
  auto env = qtest::HostEnv(dir);
  env["QT_QPA_PLATFORM"] = "";
  env["XKB_DEFAULT_LAYOUT"] = "de";
  qtest::WriteFile(dir / "de.key", "Version = 1\r\nCS\tVK_F5               \t\"ls\\r\\n\"\r\n");
  qtest::RunResult run = qtest::Run(QUILLANE_SETTINGS_PATH,
                                    {"--keymap-editor", dir / "de.key", "--grab", dir / "shots"}, env);
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* name : {"keymap-editor", "session-options-mapped-keys", "keymap-capture",
                           "keymap-selected-key", "keymap-keyboard-shift"}) {
    QImage image(QString::fromStdString(dir / ("shots/" + std::string(name) + ".png")));
    EXPECT_GT(image.width(), 200) << name;
  }
  EXPECT_EQ(qtest::ReadFile(dir / "de.key"),
            "Version = 1\r\nCS\tVK_F5               \t\"ls\\r\\n\"\r\n");  // pictures write nothing
  qtest::WriteFile(dir / "bad.key", "N\tVK_NOPE\tSB_BEGIN\r\nN\tVK_F1\tNOPE\r\nQ\tVK_F2\tNOPE\r\n");
  run = qtest::Run(QUILLANE_SETTINGS_PATH, {"--keymap-editor", dir / "bad.key", "--grab", dir / "x"}, env);
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("bad.key"), std::string::npos) << run.err;
}

}  // namespace
