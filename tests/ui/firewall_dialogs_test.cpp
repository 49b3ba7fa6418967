// The firewall dialogs over a real configuration folder: the connect-time prompts answering a
// firewall that needs credentials, and a new firewall made through its properties dialog, whose
// refused entries keep it open and write nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "config/database/session_database.h"
#include "config/items/firewall_config.h"
#include "config/items/firewall_new.h"
#include "config/session_test_env.h"
#include "marrowby/qt_text.h"
#include "marrowby/ui_messages.h"
#include "ui/firewall_combo.h"
#include "ui/firewall_dialogs_qt.h"
#include "ui/registered_dialogs.h"
#include "ui_test_helpers.h"

namespace {

class FirewallDialogs : public SessionFolderTest {
 protected:
  VRegisteredDialogs dialogs_;
};

class TextSink : public IString {
 public:
  void SetText(const VUnicodeString& value) override { text = value.ToUtf8(); }
  std::string text = "(untouched)";
};

void Type(QLineEdit* edit, const QString& text) {
  edit->clear();
  QTest::keyClicks(edit, text);
}

QString UiText(uint32_t id, std::u16string_view insert = {}) {
  if (insert.empty()) return CatalogueText(id);
  return CatalogueText(id, nullptr, {insert});
}

TEST_F(FirewallDialogs, ThePromptsAnswerAFirewallThatNeedsCredentials) {
  VRef<FirewallConfig> firewall(new FirewallConfig(u"office"));
  firewall->Load(nullptr, 1);
  firewall->firewallType = VUnicodeString(u"socksv5_userpass");
  firewall->firewallAddress = VUnicodeString(u"proxy.example");
  VReportMessageParams error;
  SessionDatabase database;
  ASSERT_TRUE(database.SaveItem(*firewall.Get(), error));

  // The user name, saved: it goes into the stored firewall at once.
  QString title;
  uitest::WhenModal<FirewallCredentialDialog>([&](FirewallCredentialDialog* d) {
    title = d->windowTitle();
    EXPECT_EQ(d->Edit()->echoMode(), QLineEdit::Normal);
    Type(d->Edit(), QStringLiteral("alice"));
    d->SaveBox()->setChecked(true);
    d->OkButton()->click();
  });
  TextSink user;
  EXPECT_TRUE(firewall->GetUsername(&user));
  EXPECT_EQ(title, QStringLiteral("Enter Firewall Username"));
  EXPECT_EQ(user.text, "alice");
  EXPECT_NE(folder_.Lines("Firewalls/office").find("S:\"Firewall User\"=alice\r\n"), std::string::npos);

  // The password, masked, for this connection only; the field is empty once it closed.
  QLineEdit* field = nullptr;
  uitest::WhenModal<FirewallCredentialDialog>([&](FirewallCredentialDialog* d) {
    field = d->Edit();
    EXPECT_EQ(d->Edit()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(d->SaveBox()->isChecked());
    Type(d->Edit(), QStringLiteral("p4ss"));
    QTest::keyClick(d->Edit(), Qt::Key_Return);
    EXPECT_TRUE(field->text().isEmpty());
  });
  TextSink password;
  EXPECT_TRUE(firewall->GetPassword(&password));
  EXPECT_EQ(password.text, "p4ss");
  EXPECT_EQ(folder_.Lines("Firewalls/office").find("p4ss"), std::string::npos);

  // Cancelled: nothing handed out.
  VRef<FirewallConfig> other(new FirewallConfig(u"other"));
  other->Load(nullptr, 1);
  other->firewallType = VUnicodeString(u"HTTP_BASICAUTH");
  uitest::WhenModal<FirewallCredentialDialog>([](FirewallCredentialDialog* d) { d->reject(); });
  TextSink none;
  EXPECT_FALSE(other->GetUsername(&none));
  EXPECT_EQ(none.text, "(untouched)");
}

TEST_F(FirewallDialogs, ANewFirewallIsCheckedInTheDialogAndSavedFromIt) {
  uitest::MessageBoxRecorder boxes;
  std::vector<QString> refusals;
  std::vector<bool> focusRight;
  uitest::WhenModal<FirewallPropertiesDialog>([&](FirewallPropertiesDialog* d) {
    auto refuse = [&](QWidget* field) {
      d->OkButton()->click();
      EXPECT_TRUE(d->isVisible());
      refusals.push_back(boxes.Shown().empty() ? QString() : boxes.Shown().back().text);
      focusRight.push_back(d->focusWidget() == field);
    };
    EXPECT_EQ(d->windowTitle(), QStringLiteral("New Firewall"));
    refuse(d->NameEdit());
    Type(d->NameEdit(), QStringLiteral("none"));
    refuse(d->NameEdit());
    Type(d->NameEdit(), QStringLiteral("a/b"));
    refuse(d->NameEdit());
    Type(d->NameEdit(), QStringLiteral("office"));
    d->TypeCombo()->setCurrentIndex(d->TypeCombo()->findData(6));  // HTTP with basic authentication
    EXPECT_EQ(d->PortEdit()->text(), QStringLiteral("8080"));
    EXPECT_FALSE(d->PromptEdit()->isEnabled());
    refuse(d->AddressEdit());
    Type(d->AddressEdit(), QStringLiteral("proxy.example"));
    Type(d->PortEdit(), QStringLiteral("99999"));
    refuse(d->PortEdit());
    Type(d->PortEdit(), QStringLiteral("3128"));
    Type(d->UserEdit(), QStringLiteral("bob"));
    Type(d->PasswordEdit(), QStringLiteral("hidden"));
    d->OkButton()->click();
  });
  VUnicodeString name;
  VReportMessageParams error;
  ASSERT_TRUE(ShowAddNewFirewallDialog(name, error)) << error.GetTextTrimmed().ToUtf8();
  EXPECT_EQ(name, u"office");
  using namespace ui_messages;
  std::vector<QString> expected = {UiText(kFirewallNameEmpty), UiText(kFirewallNameReserved, u"none"),
                                   UiText(kFirewallNameCharacter, u"/"), UiText(kFirewallAddressEmpty),
                                   UiText(kPortRange, u"99999")};
  EXPECT_EQ(refusals, expected);
  EXPECT_EQ(focusRight, std::vector<bool>(5, true));
  std::string lines = folder_.Lines("Firewalls/office");
  EXPECT_NE(lines.find("S:\"Firewall Type\"=HTTP_BASICAUTH\r\n"), std::string::npos);
  EXPECT_NE(lines.find("S:\"Firewall Address\"=proxy.example\r\n"), std::string::npos);
  EXPECT_NE(lines.find("D:\"Firewall Port\"=00000c38\r\n"), std::string::npos);
  EXPECT_NE(lines.find("S:\"Firewall User\"=bob\r\n"), std::string::npos);
  EXPECT_NE(lines.find("S:\"Firewall Password V2\"=02:"), std::string::npos);
  EXPECT_EQ(lines.find("hidden"), std::string::npos);

  // The name is taken now; cancelling after the refusal stores nothing.
  QString taken;
  uitest::WhenModal<FirewallPropertiesDialog>([&](FirewallPropertiesDialog* d) {
    Type(d->NameEdit(), QStringLiteral("Office"));
    d->TypeCombo()->setCurrentIndex(d->TypeCombo()->findData(0));
    d->OkButton()->click();
    taken = boxes.Shown().back().text;
    d->reject();
  });
  EXPECT_FALSE(ShowAddNewFirewallDialog(name, error));
  EXPECT_EQ(taken, UiText(kFirewallNameTaken, u"Office"));
}

TEST_F(FirewallDialogs, EditingKeepsTheNameAndAnUntouchedPassword) {
  VRef<FirewallConfig> firewall(new FirewallConfig(u"edge"));
  firewall->Load(nullptr, 1);
  firewall->firewallType = VUnicodeString(u"SOCKSv5");
  firewall->firewallAddress = VUnicodeString(u"edge.example");
  ASSERT_TRUE(firewall->firewallPassword.SetPlaintext(u"kept"));
  VUnicodeString before = firewall->firewallPassword.Current();
  FirewallPropertiesDialog dialog(*firewall.Get(), FirewallPropertiesDialog::Mode::Edit);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Firewall Properties - edge"));
  EXPECT_TRUE(dialog.NameEdit()->isReadOnly());
  EXPECT_EQ(dialog.PasswordEdit()->echoMode(), QLineEdit::Password);
  // The generic proxy alone takes a prompt and a command; its default port is none, so the port
  // stays.
  dialog.TypeCombo()->setCurrentIndex(dialog.TypeCombo()->findData(1));
  EXPECT_TRUE(dialog.PromptEdit()->isEnabled());
  EXPECT_EQ(dialog.PortEdit()->text(), QStringLiteral("1080"));
  Type(dialog.CommandEdit(), QStringLiteral("connect %h %p"));
  // A refused port leaves every value of the firewall as it was, the type too.
  Type(dialog.PortEdit(), QStringLiteral("0"));
  {
    uitest::MessageBoxRecorder boxes;
    dialog.OkButton()->click();
    EXPECT_EQ(boxes.Shown().size(), 1u);
  }
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.focusWidget(), dialog.PortEdit());
  EXPECT_EQ(firewall->firewallType.Current(), u"SOCKSv5");
  EXPECT_TRUE(firewall->proxyCommand.Current().empty());
  Type(dialog.PortEdit(), QStringLiteral("1080"));
  dialog.OkButton()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.Name(), u"edge");
  EXPECT_EQ(firewall->firewallType.Current(), u"Generic Proxy");
  EXPECT_EQ(firewall->proxyCommand.Current(), u"connect %h %p");
  EXPECT_EQ(firewall->firewallPassword.Current(), before);
  EXPECT_TRUE(dialog.PasswordEdit()->text().isEmpty());
}

TEST_F(FirewallDialogs, MnemonicsAreUniqueInEnglishAndFrench) {
  VRef<FirewallConfig> firewall(new FirewallConfig());
  for (VLanguage language : {VLanguage::English, VLanguage::French}) {
    VSetMessageLanguage(language);
    FirewallPropertiesDialog properties(*firewall.Get(), FirewallPropertiesDialog::Mode::New);
    FirewallCredentialDialog user(FirewallCredentialDialog::Kind::Username, false);
    FirewallCredentialDialog password(FirewallCredentialDialog::Kind::Password, false);
    for (VDialog* dialog : std::initializer_list<VDialog*>{&properties, &user, &password}) {
      dialog->show();
      uitest::ExpectMnemonicsUnique(dialog);
    }
  }
  VSetMessageLanguage(VLanguage::English);
}

}  // namespace

namespace {

VStringArray Names(std::initializer_list<const char16_t*> names) {
  VStringArray array;
  for (const char16_t* name : names) array.Add(VUnicodeString(name));
  return array;
}

TEST(FirewallCombo, NamesThenTheSessionReferenceThenTheExtraEntries) {
  QComboBox combo;
  size_t select = 99;
  PopulateFirewallComboBox(&combo, u"office", Names({u"None", u"Office", u"home"}), select, true);
  QStringList shown;
  for (int i = 0; i < combo.count(); ++i) shown << combo.itemText(i);
  EXPECT_EQ(shown, (QStringList{"None", "Office", "home", "<Select Session...>", "<New Firewall...>"}));
  EXPECT_EQ(select, 1u);  // without regard to case, as firewall names are looked up
  EXPECT_EQ(combo.currentIndex(), 1);

  PopulateFirewallComboBox(&combo, u"Session:Jump/bastion", Names({u"None"}), select, false);
  shown.clear();
  for (int i = 0; i < combo.count(); ++i) shown << combo.itemText(i);
  EXPECT_EQ(shown, (QStringList{"None", "Jump/bastion", "<Select Session...>"}));
  EXPECT_EQ(select, 1u);
  EXPECT_EQ(combo.currentText(), QStringLiteral("Jump/bastion"));

  // A firewall deleted since it was chosen stays listed and selected: OK does not lose it.
  VFirewallComboEntries entries = FirewallComboEntries(u"gone", Names({u"None", u"home"}), true);
  EXPECT_EQ(entries.entries, (QStringList{"None", "home", "gone", "<Select Session...>",
                                          "<New Firewall...>"}));
  EXPECT_EQ(entries.select, 2);
  EXPECT_EQ(entries.selectSession, 3);
  EXPECT_EQ(entries.newFirewall, 4);
}

}  // namespace
