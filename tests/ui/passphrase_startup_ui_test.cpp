// Settling the passphrase at start-up with the real dialogs registered, over a real configuration
// folder: first use creates it, a later start asks for it, and a requested change is carried out,
// each pass over the saved secrets running behind the progress window.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "config/session_test_env.h"
#include "crypto/passphrase_cache.h"
#include "environment/passphrase_startup.h"
#include "ui/passphrase_dialogs_qt.h"
#include "ui/registered_dialogs.h"
#include "ui_test_helpers.h"

namespace {

class PassphraseStartupWithDialogs : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    SetConfigPassphrase(nullptr);
    services_.sleep = [](std::chrono::milliseconds) {};
  }
  void TearDown() override {
    CloseConfigPassphraseCache();
    SessionFolderTest::TearDown();
  }
  uint32_t Init() {
    FreeGlobalConfig();  // as a process starting
    return InitializeConfigPassphrase(0, report_, nullptr, services_);
  }
  void MakeConfiguration(const char16_t* passphrase, bool changeRequested) {
    VEncryptedString check;
    VReportMessageParams error;
    ASSERT_TRUE(MakeConfigPassphraseCheckValue(passphrase, check, error));
    folder_.WriteLines("Global", "S:\"Config Passphrase\"=" + check.ToUtf8() + "\r\n" +
                                     (changeRequested ? "D:\"Change Config Passphrase\"=00000001\r\n" : ""));
    SetConfigPassphrase(nullptr);
  }
  bool StoredCheckOpensWith(const char16_t* passphrase) {
    std::string lines = folder_.Lines("Global");
    size_t at = lines.find("S:\"Config Passphrase\"=");
    if (at == std::string::npos) return false;
    at += 22;
    std::string stored = lines.substr(at, lines.find("\r\n", at) - at);
    return IsConfigPassphraseCorrect(VEncryptedString(VUnicodeString::FromUtf8(stored)), passphrase);
  }

  VRegisteredDialogs dialogs_;
  VPassphraseStartupServices services_;
  VReportMessageParams report_;
};

void Type(QLineEdit* edit, const QString& text) { QTest::keyClicks(edit, text); }

TEST_F(PassphraseStartupWithDialogs, FirstUseCreatesThePassphraseTypedInTheDialog) {
  auto seen = uitest::WhenModal<CreatePassphraseDialog>([](CreatePassphraseDialog* d) {
    d->WithChoice()->click();
    Type(d->PassphraseEdit(), QStringLiteral("river"));
    Type(d->ConfirmationEdit(), QStringLiteral("river"));
    d->OkButton()->click();
  });
  ASSERT_EQ(Init(), 0u) << report_.GetTextTrimmed().ToUtf8();
  EXPECT_TRUE(*seen);
  EXPECT_TRUE(StoredCheckOpensWith(u"river"));
  EXPECT_EQ(GetConfigPassphrase(), u"river");
}

TEST_F(PassphraseStartupWithDialogs, ALaterStartAsksUntilThePassphraseIsRight) {
  MakeConfiguration(u"river", false);
  uitest::MessageBoxRecorder boxes;
  auto seen = uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* d) {
    Type(d->PassphraseEdit(), QStringLiteral("lake"));
    d->OkButton()->click();
    EXPECT_TRUE(d->isVisible());
    d->PassphraseEdit()->clear();
    Type(d->PassphraseEdit(), QStringLiteral("river"));
    d->OkButton()->click();
  });
  ASSERT_EQ(Init(), 0u) << report_.GetTextTrimmed().ToUtf8();
  EXPECT_TRUE(*seen);
  EXPECT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(GetConfigPassphrase(), u"river");
}

TEST_F(PassphraseStartupWithDialogs, GoingOnWithoutThePassphraseDisablesIt) {
  MakeConfiguration(u"river", false);
  uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* d) {
    d->ContinueChoice()->click();
    d->OkButton()->click();
  });
  ASSERT_EQ(Init(), 0u) << report_.GetTextTrimmed().ToUtf8();
  EXPECT_TRUE(IsConfigPassphraseDisabled());
  SetConfigPassphraseDisabled(false);
}

TEST_F(PassphraseStartupWithDialogs, CancellingTheChangeFallsBackToAskingForThePassphrase) {
  MakeConfiguration(u"river", true);
  auto change = uitest::WhenModal<ChangePassphraseDialog>([](ChangePassphraseDialog* d) {
    d->reject();
    // The start-up step asks for the current passphrase next.
    uitest::WhenModal<EnterPassphraseDialog>([](EnterPassphraseDialog* e) {
      QTest::keyClicks(e->PassphraseEdit(), QStringLiteral("river"));
      e->OkButton()->click();
    });
  });
  ASSERT_EQ(Init(), 0u) << report_.GetTextTrimmed().ToUtf8();
  EXPECT_TRUE(*change);
  EXPECT_EQ(GetConfigPassphrase(), u"river");
  EXPECT_EQ(folder_.Lines("Global").find("\"Change Config Passphrase\"=00000001"), std::string::npos);
}

TEST_F(PassphraseStartupWithDialogs, ARequestedChangeIsCarriedOutFromTheChangeDialog) {
  MakeConfiguration(u"river", true);
  auto seen = uitest::WhenModal<ChangePassphraseDialog>([](ChangePassphraseDialog* d) {
    Type(d->CurrentEdit(), QStringLiteral("river"));
    Type(d->NewEdit(), QStringLiteral("delta"));
    Type(d->ConfirmationEdit(), QStringLiteral("delta"));
    d->OkButton()->click();
  });
  ASSERT_EQ(Init(), 0u) << report_.GetTextTrimmed().ToUtf8();
  EXPECT_TRUE(*seen);
  EXPECT_TRUE(StoredCheckOpensWith(u"delta"));
  EXPECT_FALSE(StoredCheckOpensWith(u"river"));
  EXPECT_EQ(GetConfigPassphrase(), u"delta");
}

}  // namespace
