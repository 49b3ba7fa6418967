// Window: the window's parts (command window, scroll bars, button bar), its resizing, title and
// initial position. The parts that may follow the global options show that as a third state.
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "marrowby/qt_text.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

SessionWindowPage::SessionWindowPage(const SessionPageContext& context)
    : SessionPageBase(kWindowTitle, context) {}

void SessionWindowPage::Build(QVBoxLayout* layout) {
  layout->addWidget(NewCheck(kShowCommandWindow, u"Show Chat Window"));
  layout->addWidget(NewCheck(kHorizontalScrollbar, u"Horizontal Scrollbar"));
  layout->addWidget(NewCheck(kVerticalScrollbar, u"Vertical Scrollbar"));
  auto* form = new QFormLayout;
  AddCheckedText(form, kShowButtonBar, u"User Button Bar", u"User Button Bar Name");
  layout->addLayout(form);
  layout->addWidget(NewCheck(kDisableResize, u"Disable Resize"));
  layout->addWidget(NewCheck(kAlwaysOnTop, u"AlwaysOnTop"));
  auto* title = new QFormLayout;
  AddCheckedText(title, kUseTitleBar, u"Use Title Bar", u"Title Bar");
  layout->addLayout(title);

  usePosition_ = NewCheck(kUsePosition, u"Use Position");
  layout->addWidget(usePosition_);
  auto* position = new QFormLayout;
  x_ = BindIntText(new QLineEdit(this), u"X Position Relative Left");
  y_ = BindIntText(new QLineEdit(this), u"Y Position Relative Top");
  position->addRow(PageText(kPositionX), x_);
  position->addRow(PageText(kPositionY), y_);
  position->setContentsMargins(20, 0, 0, 0);
  layout->addLayout(position);
  Depend(usePosition_, x_);
  Depend(usePosition_, y_);

  auto* hint = new QLabel(PageText(kGlobalStateHint), this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
}

bool SessionWindowPage::Validate() {
  if (!usePosition_->isChecked()) return true;
  for (QLineEdit* field : {x_, y_}) {
    int value = 0;
    if (RuleResult failure = ParseInitialPosition(FromQString(field->text()), value))
      return Fail(field, *failure);
  }
  return true;
}
