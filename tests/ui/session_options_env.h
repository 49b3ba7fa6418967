// The Session Options dialog over a configuration folder of its own: an integrated installation
// (terminal and file-transfer protocols), sample protocols registered in the connect protocol
// table, and a maker of protocol pages that adds one real page per protocol and records every
// show, hide and removal.
#pragma once

#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QStringList>
#include <QTimer>

#include "config/global/global_config.h"
#include "config/session_test_env.h"
#include "environment/installed_products.h"
#include "marrowby/property_tree.h"
#include "ui/protocol_pages.h"
#include "ui/session_options/connection_page.h"
#include "ui/session_options/logon_actions_page.h"
#include "ui/session_options/session_options_dialog.h"

class RecordedProtocolPages : public IProtocolPages {
 public:
  static inline std::vector<std::string> log;

  explicit RecordedProtocolPages(const VUnicodeString& name) : name_(name.ToUtf8()) {}
  void ShowPages(VPropertyTreeDialog& dialog, ISessionConfig&) override {
    log.push_back("show " + name_);
    if (!page_) {
      page_ = new VPropertyTreePage(QString::fromStdString(name_));
      dialog.AddPage(page_);
    } else {
      dialog.ShowPage(page_);
    }
  }
  void HidePages(VPropertyTreeDialog& dialog) override {
    log.push_back("hide " + name_);
    if (page_) dialog.HidePage(page_);
  }
  void RemovePages(VPropertyTreeDialog& dialog) override {
    log.push_back("remove " + name_);
    if (page_) dialog.RemovePage(page_);
    page_ = nullptr;
  }

 private:
  std::string name_;
  VPropertyTreePage* page_ = nullptr;
};

inline std::unique_ptr<IProtocolPages> RecordingMaker(const ConnectProtocolEntry& entry,
                                                      VPropertyTreeDialog&, int, ISessionConfig&,
                                                      VPropertyTreePage*) {
  return std::make_unique<RecordedProtocolPages>(entry.protocolName);
}

// Watches, while it lives, for modal windows of class T and hands each to `act` (which closes
// it), counting them. Unlike a one-shot driver it stops with the test that made it.
template <class T>
class ModalWatch {
 public:
  explicit ModalWatch(std::function<void(T*)> act) {
    QObject::connect(&timer_, &QTimer::timeout, [this, act] {
      if (T* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
        ++count_;
        act(window);
      }
    });
    timer_.start(5);
  }
  int Count() const { return count_; }

 private:
  QTimer timer_;
  int count_ = 0;
};

class SessionOptionsTest : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    SetKarvellInstalled(true);
    SetLumbrelInstalled(true);
    SetProtocolPagesMaker(&RecordingMaker);
    RecordedProtocolPages::log.clear();
    SessionOptionsPageStateMap().RemoveAll();
    for (const char16_t* name : {u"SSH2", u"Telnet", u"Serial", u"TAPI", u"Local Shell"})
      RegisterSample(name, 3);
    for (const char16_t* name : {u"SFTP", u"FTP", u"SCP"}) RegisterSample(name, 6);
  }
  void TearDown() override {
    SetProtocolPagesMaker(nullptr);
    SetKarvellInstalled(false);
    SetLumbrelInstalled(false);
    SessionFolderTest::TearDown();
  }

  // A session at `path` using the two protocols, with `more` lines of values.
  void WriteProtocols(const std::string& path, const std::string& terminal,
                      const std::string& transfer, const std::string& more = {}) {
    WriteSession(path, "D:\"Is Session\"=00000001\r\nS:\"Protocol Name\"=" + terminal +
                           "\r\nS:\"Transfer Protocol Name\"=" + transfer + "\r\n" + more);
  }
  static SessionOptionsArguments Arguments(SessionConfig& session, int mode = 0) {
    SessionOptionsArguments arguments;
    arguments.session = &session;
    arguments.mode = mode;
    arguments.maxColumns = 256;
    return arguments;
  }
  static bool Visible(const SessionOptionsDialogBase& dialog, const QStringList& path) {
    VPropertyTreePage* page = dialog.FindPage(path);
    return page && dialog.IsPageVisible(page);
  }
  static SessionConnectPage* ConnectionPage(SessionOptionsDialogBase& dialog) {
    return static_cast<SessionConnectPage*>(dialog.Page(SessionPageRole::Connection));
  }
  // The Logon Actions page, brought to the front.
  static SessionLogonScriptsPage* LogonPage(SessionOptionsDialogBase& dialog) {
    auto* page = static_cast<SessionLogonScriptsPage*>(dialog.Page(SessionPageRole::LogonActions));
    dialog.ShowPage(page);
    dialog.SelectPage(page);
    return page;
  }
  // Picks the protocol `name` in a list as the user would.
  static void Pick(QComboBox* combo, const char* name) {
    int index = combo->findData(QString::fromUtf8(name));
    ASSERT_GE(index, 0) << name;
    combo->setCurrentIndex(index);
  }
  static int Find(const char16_t* name, int part) {
    return GetConnectProtocolTable().Find(name, part);
  }
  static std::vector<std::string> TakeLog() {
    std::vector<std::string> log;
    log.swap(RecordedProtocolPages::log);
    return log;
  }
};
