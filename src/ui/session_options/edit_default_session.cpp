#include "ui/session_options/edit_default_session.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "config/database/session_database_instance.h"
#include "config/global/global_config.h"
#include "config/global/global_config_instance.h"
#include "config/session/session_config.h"
#include "config/session/session_store.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "ui/session_options/session_options_dialog.h"
#include "ui/session_options/session_options_messages.h"

namespace {

using namespace session_options_messages;

}  // namespace

ApplyDefaultSessionChangesDialog::ApplyDefaultSessionChangesDialog(QWidget* parent)
    : VDialog(parent) {
  setWindowTitle(CatalogueText(kApplyDefaultTitle));
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  auto* icon = new QLabel(this);
  int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(size));
  icon->setAlignment(Qt::AlignTop);
  body->addWidget(icon);
  auto* texts = new QVBoxLayout;
  auto* question = new QLabel(CatalogueText(kApplyDefaultQuestion), this);
  question->setWordWrap(true);
  auto* warning = new QLabel(CatalogueText(kApplyDefaultWarning), this);
  warning->setWordWrap(true);
  QFont bold = warning->font();
  bold.setBold(true);
  warning->setFont(bold);
  texts->addWidget(question);
  texts->addWidget(warning);
  body->addLayout(texts, 1);
  layout->addLayout(body);

  // Nothing irreversible is the default: Enter and Escape keep the change to Default alone.
  auto* buttons = new QDialogButtonBox(this);
  all_ = buttons->addButton(CatalogueText(kApplyDefaultAll), QDialogButtonBox::AcceptRole);
  only_ = buttons->addButton(CatalogueText(kApplyDefaultOnly), QDialogButtonBox::RejectRole);
  all_->setAutoDefault(false);
  only_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &VDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &VDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(fontMetrics().averageCharWidth() * 60);
  only_->setFocus();
}

int EditDefaultSessionWithResult(GlobalConfig* global, unsigned appearanceFlags, QWidget* parent,
                                 bool& allSessionsChanged) {
  VReportMessageParams error;
  SessionConfig* opened = OpenSessionByPath(VUnicodeString(kDefaultSessionName), error);
  if (!opened) {
    VMessageBox(parent, error, kMbOk | kMbIconError);
    return 0;
  }
  VRef<SessionConfig> session(opened);  // released in all cases
  // Opening may have made "Default": the host's listing of the top folder must show it.
  if (SessionDatabase* database = GetSessionDatabase()) database->InvalidateFolder(VUnicodeString());

  VRef<GlobalConfig> held;
  if (!global) {
    GetGlobalConfig(&global, -1);
    held = VRef<GlobalConfig>(global);
  }
  bool appearanceChanged = false;
  SessionOptionsArguments arguments;
  arguments.global = global;
  arguments.session = session.Get();
  arguments.mode = kSessionOptionsDefaultSession;
  arguments.newSession = false;
  arguments.connectPageFlag = true;
  arguments.maxColumns = global ? global->maxColumns.current : 0;
  arguments.liveSession = false;
  arguments.appearanceFlags = appearanceFlags;
  arguments.printingAvailable = false;
  arguments.appearanceChanged = &appearanceChanged;
  arguments.parent = parent;
  int result = 0;
  {
    SessionOptionsDialog dialog(arguments);
    result = dialog.DoModal();
  }
  if (result != kIdOk) return result;

  if (session->IsModified()) {
    ApplyDefaultSessionChangesDialog question(parent);
    if (question.DoModal() == kIdOk) {
      ApplyDefaultCounts counts;
      ApplyDefaultSessionChangesToAll(*session.Get(), counts);
      VReportMessageParams message;
      if (DescribeApplyDefaultResult(counts, message)) {
        VMessageBox(parent, message, kMbOk | kMbIconWarning);
      } else {
        allSessionsChanged = true;
      }
    }
  }
  if (!SaveSessionAtPath(*session.Get(), VUnicodeString(kDefaultSessionName), false, error)) {
    VMessageBox(parent, error, kMbOk | kMbIconError);
    return 0;
  }
  return result;
}

void EditDefaultSession(GlobalConfig* global, unsigned appearanceFlags, QWidget* parent,
                        bool& allSessionsChanged) {
  EditDefaultSessionWithResult(global, appearanceFlags, parent, allSessionsChanged);
}
