// Session Options pages under test: a session saved in a temporary configuration, each page put
// alone (or with the pages it looks at) into a small page-tree dialog, and the session saved and
// read back after OK.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "config/session_test_env.h"
#include "marrowby/property_tree.h"
#include "ui/session_pages/session_pages.h"
#include "ui_test_helpers.h"

class SessionPagesTest : public SessionFolderTest {
 protected:
  void SetUp() override {
    SessionFolderTest::SetUp();
    VReportMessageParams error;
    ASSERT_TRUE(CreateSessionFromDefault(VUnicodeString(u"lab"), error));
    session_ = Open(u"lab");
    ASSERT_TRUE(session_);
    global_ = LoadOwn(3);
  }
  void TearDown() override {
    dialog_.reset();
    session_ = VRef<SessionConfig>();
    global_ = VRef<GlobalConfig>();
    SessionFolderTest::TearDown();
  }

  SessionPageContext Context(bool readOnly = false) {
    SessionPageContext context;
    context.session = session_.Get();
    context.global = global_.Get();
    context.mode = readOnly ? 2 : 0;
    context.readOnly = readOnly;
    context.maxColumns = 256;
    context.appearanceChanged = &appearanceChanged_;
    return context;
  }

  // The pages in a dialog of their own, shown with the last one in front.
  template <class... Pages>
  void Show(Pages*... pages) {
    dialog_ = std::make_unique<VPropertyTreeDialog>(QStringLiteral("Session Options"), nullptr,
                                                    nullptr);
    VPropertyTreePage* last = nullptr;
    ((dialog_->AddPage(pages), last = pages), ...);
    dialog_->show();
    Select(last);
  }
  // Brings `page` to the front; controls a page makes when first shown appear once the event
  // loop has run, as they would for a user.
  void Select(VPropertyTreePage* page) {
    ASSERT_TRUE(dialog_->SelectPage(page));
    QApplication::processEvents();
  }
  template <class Page>
  Page* ShowPage(bool readOnly = false) {
    auto* page = new Page(Context(readOnly));
    Show(page);
    return page;
  }

  template <class W>
  W* Control(VPropertyTreePage* page, const char16_t* name) {
    W* found = page->findChild<W*>(QString::fromStdU16String(name));
    EXPECT_TRUE(found) << VUnicodeString(name).ToUtf8();
    return found;
  }
  bool PressOk() {
    dialog_->OkButton()->click();
    return !dialog_->isVisible();
  }
  // OK is refused with one message box saying `text`, the focus on `control`, the dialog open.
  void ExpectRefused(QWidget* control, const QString& text) {
    uitest::MessageBoxRecorder boxes;
    EXPECT_FALSE(PressOk());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, text);
    EXPECT_EQ(dialog_->focusWidget(), control)
        << "enabled " << control->isEnabled() << " visible " << control->isVisible() << " active "
        << dialog_->isActiveWindow() << " app focus "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                        : std::string("none"));
  }
  // Saves the session, then opens it again from its file.
  VRef<SessionConfig> SaveAndReopen() {
    EXPECT_TRUE(SaveAt(*session_.Get(), u"lab", false));
    return Open(u"lab");
  }
  // All read-only: every input control of the page disabled.
  static void ExpectAllDisabled(QWidget* page) {
    for (QWidget* child : page->findChildren<QWidget*>()) {
      if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QLineEdit*>(child) ||
          qobject_cast<QComboBox*>(child) || qobject_cast<QAbstractSpinBox*>(child)) {
        EXPECT_FALSE(child->isEnabled()) << child->objectName().toStdString();
      }
    }
  }

  VRef<SessionConfig> session_;
  VRef<GlobalConfig> global_;
  bool appearanceChanged_ = false;
  std::unique_ptr<VPropertyTreeDialog> dialog_;
};
