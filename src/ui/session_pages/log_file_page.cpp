// Log File: where the session logs, when a log starts and what it holds.
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "marrowby/file_browse.h"
#include "marrowby/qt_text.h"
#include "ui/session_pages/session_page_rules.h"
#include "ui/session_pages/session_page_texts.h"
#include "ui/session_pages/session_pages.h"

using namespace session_page_text;

SessionLogFilePage::SessionLogFilePage(const SessionPageContext& context)
    : SessionPageBase(kLogFileTitle, context) {}

void SessionLogFilePage::Build(QVBoxLayout* layout) {
  auto* form = new QFormLayout;
  name_ = BindText(new QLineEdit(this), u"Log Filename");
  auto* browse = new QPushButton(PageText(kBrowse), this);
  AddFieldRow(form, kLogFileNameLabel, name_, {browse});
  layout->addLayout(form);
  connect(browse, &QPushButton::clicked, this, [this] {
    QString filters = VGetFileFilters({VFileFilter(PageText(kLogFilter), QStringLiteral("*.log")),
                                       VFileFilter(PageText(kTextFilter), QStringLiteral("*.txt"))});
    OnBrowseHelper(name_, PageText(kSelectLogFile), QStringLiteral("session.log"), filters,
                   VFileDialog::Mode::Save);
  });

  layout->addWidget(NewCheck(kLogPrompt, u"Log Prompt"));
  layout->addWidget(NewCheck(kStartLogOnConnect, u"Start Log Upon Connect"));
  layout->addWidget(NewCheck(kRawLog, u"Raw Log"));
  midnight_ = NewCheck(kNewLogAtMidnight, u"New Log File At Midnight");
  layout->addWidget(midnight_);
  auto* mode = new QHBoxLayout;
  auto* overwrite = new QRadioButton(PageText(kLogOverwrite), this);
  auto* append = new QRadioButton(PageText(kLogAppend), this);
  auto* choice = new QButtonGroup(this);
  choice->addButton(overwrite);
  choice->addButton(append);
  BindRadio(append, overwrite, u"Log Mode");  // the stored flag means appending
  mode->addWidget(overwrite);
  mode->addWidget(append);
  mode->addStretch(1);
  layout->addLayout(mode);

  auto* custom = new QFormLayout;
  AddTextRow(custom, kLogUponConnect, u"Custom Log Message Connect");
  AddTextRow(custom, kLogUponDisconnect, u"Custom Log Message Disconnect");
  AddTextRow(custom, kLogEachLine, u"Custom Log Message Each Line");
  custom->addRow(NewCheck(kLogOnlyCustom, u"Log Only Custom"));
  auto* group = new QGroupBox(PageText(kCustomLogGroup), this);
  group->setLayout(custom);
  layout->addWidget(group);
}

bool SessionLogFilePage::Validate() {
  if (RuleResult failure = CheckLogFileName(FromQString(name_->text()), midnight_->isChecked()))
    return Fail(name_, *failure);
  return true;
}
