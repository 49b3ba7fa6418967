// The passphrase dialogs' rules, driven through their widgets: what each accepts, what it refuses
// (the dialog stays open, the focus on the field at fault, nothing handed out), and that the
// fields are masked and empty once the dialog has closed.
#include <gtest/gtest.h>

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "crypto/crypto_messages.h"
#include "crypto/passphrase_dialogs.h"
#include "marrowby/qt_text.h"
#include "report/message_catalogue.h"
#include "ui/passphrase_dialogs_qt.h"
#include "ui/registered_dialogs.h"
#include "ui_test_helpers.h"

namespace {

const VPassphraseVerifier kIsSecret = [](std::u16string_view candidate) {
  return candidate == u"secret";
};

void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  QTest::keyClicks(edit, text);
}

QString ShownMessage(const uitest::MessageBoxRecorder& boxes) {
  return boxes.Shown().empty() ? QString() : boxes.Shown().back().text;
}

QString LibraryText(uint32_t id) { return CatalogueText(id, VGetLibraryMessageModule()); }

VCreatePassphraseTexts CreateTexts() { return GetCreatePassphraseTexts(1, false); }

TEST(CreatePassphraseDialog, OkWaitsForAChoiceAndTheFieldsFollowIt) {
  CreatePassphraseDialog dialog(CreateTexts());
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create Karvell Passphrase"));
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  EXPECT_FALSE(dialog.PassphraseEdit()->isEnabled());
  dialog.WithChoice()->click();
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  EXPECT_TRUE(dialog.PassphraseEdit()->isEnabled());
  EXPECT_EQ(dialog.StrengthBar()->value(), 90);
  dialog.WithoutChoice()->click();
  EXPECT_FALSE(dialog.ConfirmationEdit()->isEnabled());
  EXPECT_EQ(dialog.StrengthBar()->value(), 35);
}

TEST(CreatePassphraseDialog, RefusedEntriesKeepItOpenOnTheFieldAtFault) {
  uitest::MessageBoxRecorder boxes;
  CreatePassphraseDialog dialog(CreateTexts());
  dialog.show();
  dialog.WithChoice()->click();
  // Empty: the passphrase field.
  dialog.OkButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ShownMessage(boxes), LibraryText(crypto_messages::kPassphraseEmpty));
  EXPECT_EQ(dialog.focusWidget(), dialog.PassphraseEdit());
  // Different: the confirmation.
  Type(dialog.PassphraseEdit(), QStringLiteral("one"));
  Type(dialog.ConfirmationEdit(), QStringLiteral("two"));
  dialog.OkButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ShownMessage(boxes), LibraryText(crypto_messages::kPassphrasesDoNotMatch));
  EXPECT_EQ(dialog.focusWidget(), dialog.ConfirmationEdit());
  EXPECT_TRUE(dialog.Passphrase().empty());
  EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST(CreatePassphraseDialog, AcceptedEntriesAreHandedOutAndTheFieldsWiped) {
  uitest::MessageBoxRecorder boxes;
  CreatePassphraseDialog dialog(CreateTexts());
  dialog.show();
  dialog.WithChoice()->click();
  Type(dialog.PassphraseEdit(), QStringLiteral("river stone"));
  Type(dialog.ConfirmationEdit(), QStringLiteral("river stone"));
  dialog.OkButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Passphrase(), u"river stone");
  EXPECT_TRUE(dialog.Passphrase().IsSensitive());
  EXPECT_TRUE(dialog.PassphraseEdit()->text().isEmpty());
  EXPECT_TRUE(dialog.ConfirmationEdit()->text().isEmpty());
  EXPECT_TRUE(boxes.Shown().empty());

  // "Without": the empty passphrase, whatever was typed before the choice changed.
  CreatePassphraseDialog without(CreateTexts());
  without.show();
  without.WithChoice()->click();
  Type(without.PassphraseEdit(), QStringLiteral("abandoned"));
  without.WithoutChoice()->click();
  without.OkButton()->click();
  EXPECT_EQ(without.result(), QDialog::Accepted);
  EXPECT_TRUE(without.Passphrase().empty());
  EXPECT_TRUE(without.PassphraseEdit()->text().isEmpty());
}

TEST(CreatePassphraseDialog, AnExistingConfigurationIsWarnedOfFirstAndCancellingCancels) {
  VCreatePassphraseTexts texts = CreateTexts();
  texts.warnExistingConfiguration = true;
  texts.configurationFolder = u"/home/someone/.config/Karvell";
  QString folderShown;
  auto seen = uitest::WhenModal<CreatePassphraseWarningDialog>([&](CreatePassphraseWarningDialog* w) {
    folderShown = w->findChild<QLabel*>(QStringLiteral("folder"))->text();
    w->reject();
  });
  VQtPassphraseDialogs dialogs(nullptr);
  VUnicodeString passphrase;
  EXPECT_FALSE(dialogs.CreatePassphrase(texts, passphrase));
  EXPECT_TRUE(*seen);
  EXPECT_EQ(folderShown, QStringLiteral("/home/someone/.config/Karvell"));
}

TEST(EnterPassphraseDialog, OnlyTheRightPassphraseOpensTheConfiguration) {
  uitest::MessageBoxRecorder boxes;
  EnterPassphraseDialog dialog(kIsSecret);
  dialog.show();
  EXPECT_TRUE(dialog.EnterChoice()->isChecked());
  EXPECT_EQ(dialog.focusWidget(), dialog.PassphraseEdit());
  dialog.OkButton()->click();
  EXPECT_EQ(ShownMessage(boxes), LibraryText(crypto_messages::kPassphraseEmpty));
  Type(dialog.PassphraseEdit(), QStringLiteral("guess"));
  dialog.OkButton()->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ShownMessage(boxes), LibraryText(crypto_messages::kPassphraseNotCorrect));
  EXPECT_EQ(dialog.focusWidget(), dialog.PassphraseEdit());
  EXPECT_EQ(dialog.PassphraseEdit()->selectedText().size(), 5);  // ready to be typed over
  Type(dialog.PassphraseEdit(), QStringLiteral("secret"));
  dialog.OkButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.Choice(), VEnterPassphraseChoice::Entered);
  EXPECT_EQ(dialog.Passphrase(), u"secret");
  EXPECT_TRUE(dialog.PassphraseEdit()->text().isEmpty());
}

TEST(EnterPassphraseDialog, GoingWithoutAndAskingForAChangeThroughTheRegisteredDialogs) {
  VQtPassphraseDialogs dialogs(nullptr);
  VUnicodeString passphrase;
  uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* d) {
    Type(d->PassphraseEdit(), QStringLiteral("typed"));
    d->ContinueChoice()->click();
    EXPECT_FALSE(d->PassphraseEdit()->isEnabled());
    d->OkButton()->click();
  });
  EXPECT_EQ(dialogs.EnterPassphrase(kIsSecret, passphrase), VEnterPassphraseChoice::ContinueWithout);
  EXPECT_TRUE(passphrase.empty());

  uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* d) { d->ChangeButton()->click(); });
  EXPECT_EQ(dialogs.EnterPassphrase(kIsSecret, passphrase), VEnterPassphraseChoice::ChangeRequested);

  uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* d) {
    QTest::keyClick(d, Qt::Key_Escape);
  });
  EXPECT_EQ(dialogs.EnterPassphrase(kIsSecret, passphrase), VEnterPassphraseChoice::Cancelled);

  uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* d) {
    Type(d->PassphraseEdit(), QStringLiteral("secret"));
    QTest::keyClick(d->PassphraseEdit(), Qt::Key_Return);
  });
  EXPECT_EQ(dialogs.EnterPassphrase(kIsSecret, passphrase), VEnterPassphraseChoice::Entered);
  EXPECT_EQ(passphrase, u"secret");
  EXPECT_TRUE(passphrase.IsSensitive());
}

TEST(ChangePassphraseDialog, EachModeEnablesItsFieldsAndTheFirstIsPreselected) {
  ChangePassphraseDialog dialog(kIsSecret);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change or Reset Passphrase"));
  EXPECT_TRUE(dialog.ModeChoice(VPassphraseChangeMode::Change)->isChecked());
  EXPECT_TRUE(dialog.CurrentEdit()->isEnabled());
  EXPECT_TRUE(dialog.NewEdit()->isEnabled());
  EXPECT_FALSE(dialog.ResetWarning()->isVisible());
  Type(dialog.NewEdit(), QStringLiteral("left behind"));
  dialog.ModeChoice(VPassphraseChangeMode::Remove)->click();
  EXPECT_TRUE(dialog.CurrentEdit()->isEnabled());
  EXPECT_FALSE(dialog.NewEdit()->isEnabled());
  EXPECT_FALSE(dialog.ConfirmationEdit()->isEnabled());
  EXPECT_TRUE(dialog.NewEdit()->text().isEmpty());  // a field that no longer counts is wiped
  dialog.ModeChoice(VPassphraseChangeMode::Reset)->click();
  EXPECT_FALSE(dialog.CurrentEdit()->isEnabled());
  EXPECT_TRUE(dialog.NewEdit()->isEnabled());
  EXPECT_TRUE(dialog.ResetWarning()->isVisible());
}

struct ChangeCase {
  VPassphraseChangeMode mode;
  const char* current;
  const char* newPassphrase;
  const char* confirmation;
  uint32_t refusal;  // 0: accepted
  int focus;         // 0 current, 1 new, 2 confirmation
};

TEST(ChangePassphraseDialog, TheRulesOfEachMode) {
  using M = VPassphraseChangeMode;
  const ChangeCase cases[] = {
      {M::Change, "wrong", "new", "new", crypto_messages::kPassphraseNotCorrect, 0},
      {M::Change, "secret", "new", "other", crypto_messages::kPassphrasesDoNotMatch, 2},
      {M::Change, "secret", "new", "new", 0, 0},
      {M::Change, "secret", "", "", 0, 0},  // an empty new passphrase is accepted
      {M::Remove, "wrong", "", "", crypto_messages::kPassphraseNotCorrect, 0},
      {M::Remove, "secret", "", "", 0, 0},
      {M::Reset, "", "fresh", "frash", crypto_messages::kPassphrasesDoNotMatch, 2},
      {M::Reset, "", "fresh", "fresh", 0, 0},
  };
  for (const ChangeCase& c : cases) {
    SCOPED_TRACE(std::string(c.current) + "/" + c.newPassphrase + "/" + c.confirmation);
    uitest::MessageBoxRecorder boxes;
    ChangePassphraseDialog dialog(kIsSecret);
    dialog.show();
    dialog.ModeChoice(c.mode)->click();
    if (dialog.CurrentEdit()->isEnabled()) Type(dialog.CurrentEdit(), QString::fromUtf8(c.current));
    if (dialog.NewEdit()->isEnabled()) {
      Type(dialog.NewEdit(), QString::fromUtf8(c.newPassphrase));
      Type(dialog.ConfirmationEdit(), QString::fromUtf8(c.confirmation));
    }
    dialog.OkButton()->click();
    if (c.refusal) {
      EXPECT_TRUE(dialog.isVisible());
      EXPECT_EQ(ShownMessage(boxes), LibraryText(c.refusal));
      QLineEdit* fields[] = {dialog.CurrentEdit(), dialog.NewEdit(), dialog.ConfirmationEdit()};
      EXPECT_EQ(dialog.focusWidget(), fields[c.focus]);
      EXPECT_TRUE(dialog.Change().current.empty() && dialog.Change().newPassphrase.empty());
      dialog.reject();
    } else {
      EXPECT_FALSE(dialog.isVisible());
      EXPECT_TRUE(boxes.Shown().empty());
      EXPECT_EQ(dialog.Change().mode, c.mode);
      EXPECT_EQ(dialog.Change().newPassphrase, VUnicodeString::FromUtf8(c.newPassphrase));
      EXPECT_EQ(dialog.Change().current, VUnicodeString::FromUtf8(c.current));
    }
    for (QLineEdit* edit : {dialog.CurrentEdit(), dialog.NewEdit(), dialog.ConfirmationEdit()})
      EXPECT_TRUE(edit->text().isEmpty());
  }
}

// What a field holds never reaches the screen: two different secrets of one length draw the same
// picture, and every secret field is masked.
TEST(PassphraseFields, AreMaskedAndNeverDrawnAsText) {
  auto picture = [](const QString& secret) {
    ChangePassphraseDialog dialog(kIsSecret);
    dialog.show();
    for (QLineEdit* edit : {dialog.CurrentEdit(), dialog.NewEdit(), dialog.ConfirmationEdit()}) {
      EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
      edit->setText(secret);
    }
    dialog.setFocus();
    return dialog.grab().toImage();
  };
  QImage first = picture(QStringLiteral("aaaaaaaa"));
  QImage second = picture(QStringLiteral("WWWWWWWW"));
  QImage shorter = picture(QStringLiteral("aa"));
  EXPECT_EQ(first, second);
  EXPECT_NE(first, shorter);  // the pictures do show the fields (their length)

  CreatePassphraseDialog create(CreateTexts());
  EnterPassphraseDialog enter(kIsSecret);
  for (QLineEdit* edit : {create.PassphraseEdit(), create.ConfirmationEdit(), enter.PassphraseEdit()})
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
}

TEST(PassphraseDialogs, MnemonicsAreUniqueInEnglishAndFrench) {
  for (VLanguage language : {VLanguage::English, VLanguage::French}) {
    VSetMessageLanguage(language);
    CreatePassphraseDialog create(CreateTexts());
    EnterPassphraseDialog enter(kIsSecret);
    ChangePassphraseDialog change(kIsSecret);
    for (VDialog* dialog : std::initializer_list<VDialog*>{&create, &enter, &change}) {
      dialog->show();
      uitest::ExpectMnemonicsUnique(dialog);
      EXPECT_GE(uitest::Mnemonics(dialog).size(), 3u);
    }
    if (language == VLanguage::French) {
      EXPECT_EQ(change.windowTitle(), QStringLiteral("Modifier ou réinitialiser la phrase secrète"));
    }
  }
  VSetMessageLanguage(VLanguage::English);
}

TEST(PassphraseDialogs, AMnemonicMovesTheFocus) {
  ChangePassphraseDialog dialog(kIsSecret);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);  // "&New passphrase:"
  EXPECT_EQ(dialog.focusWidget(), dialog.NewEdit());
  QTest::keyClick(&dialog, Qt::Key_R, Qt::AltModifier);  // "&Reset passphrase"
  QTest::qWait(300);  // a button's mnemonic clicks it the way a press animates
  EXPECT_TRUE(dialog.ModeChoice(VPassphraseChangeMode::Reset)->isChecked());
}

}  // namespace

namespace {

// The widgets Tab visits from `start`, once round.
std::vector<QWidget*> TabRound(QWidget* window, QWidget* start) {
  std::vector<QWidget*> visited;
  start->setFocus();
  for (int i = 0; i < 20; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* now = QApplication::focusWidget();
    if (now == start || !now) break;
    visited.push_back(now);
  }
  return visited;
}

ptrdiff_t Position(const std::vector<QWidget*>& order, QWidget* widget) {
  auto it = std::find(order.begin(), order.end(), widget);
  return it == order.end() ? -1 : it - order.begin();
}

TEST(PassphraseDialogs, TabVisitsTheFieldsInReadingOrderThenTheButtons) {
  ChangePassphraseDialog dialog(kIsSecret);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  std::vector<QWidget*> order = TabRound(&dialog, dialog.ModeChoice(VPassphraseChangeMode::Change));
  ptrdiff_t current = Position(order, dialog.CurrentEdit());
  ptrdiff_t fresh = Position(order, dialog.NewEdit());
  ptrdiff_t confirmation = Position(order, dialog.ConfirmationEdit());
  ptrdiff_t ok = Position(order, dialog.OkButton());
  ASSERT_GE(current, 0);
  EXPECT_LT(current, fresh);
  EXPECT_LT(fresh, confirmation);
  EXPECT_LT(confirmation, ok);

  // In reset mode the current passphrase is skipped: a disabled field takes no focus.
  dialog.ModeChoice(VPassphraseChangeMode::Reset)->click();
  order = TabRound(&dialog, dialog.ModeChoice(VPassphraseChangeMode::Reset));
  EXPECT_EQ(Position(order, dialog.CurrentEdit()), -1);
  EXPECT_GE(Position(order, dialog.NewEdit()), 0);
}

}  // namespace
