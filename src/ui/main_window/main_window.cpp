#include "ui/main_window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyle>
#include <QVBoxLayout>

#include "config/database/folder_data.h"
#include "config/database/session_database_instance.h"
#include "marrowby/message_box.h"
#include "marrowby/qt_text.h"
#include "platform/app_info.h"
#include "ui/main_window/connect_bar.h"
#include "ui/main_window/main_window_messages.h"

using namespace main_window_messages;
using session_tree::TreeItem;

namespace {

SessionDatabase* Database() { return GetSessionDatabase(); }

QString Key(const QString& path) { return path.toCaseFolded(); }

VUnicodeString Join(const VUnicodeString& folder, const VUnicodeString& name) {
  if (folder.empty()) return name;
  VUnicodeString path = folder;
  path.push_back(u'\\');
  path += name;
  return path;
}

// Return and Enter on the tree: handled before the view takes them as the start of an edit.
class EnterFilter : public QObject {
 public:
  EnterFilter(QObject* parent, std::function<void()> onEnter)
      : QObject(parent), onEnter_(std::move(onEnter)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
          key->modifiers() == Qt::NoModifier) {
        onEnter_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onEnter_;
};

}  // namespace

void VSessionTreeWidget::dropEvent(QDropEvent* event) {
  QTreeWidgetItem* dragged = currentItem();
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  // The view never rearranges its items itself: the configuration is changed, then read again.
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  if (dragged && onDrop) onDrop(dragged, target);
}

VMainWindow::VMainWindow(VMainWindowActions actions, QString configurationLocation,
                         QWidget* parent)
    : QMainWindow(parent), table_(std::move(actions)), location_(std::move(configurationLocation)) {
  setWindowTitle(CatalogueText(kWindowTitle, nullptr, {VGetAppName()}));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  bar_ = new VConnectBar(central);
  tree_ = new VSessionTreeWidget(central);
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);  // F2 is the Rename entry's
  tree_->setDragEnabled(true);
  tree_->setAcceptDrops(true);
  tree_->setDropIndicatorShown(true);
  tree_->setDragDropMode(QAbstractItemView::InternalMove);
  tree_->setUniformRowHeights(true);  // ten thousand rows are laid out without measuring each
  layout->addWidget(bar_);
  layout->addWidget(tree_, 1);
  setCentralWidget(central);
  bar_->Label()->setBuddy(bar_->Edit());

  BuildMenus();
  tree_->installEventFilter(new EnterFilter(this, [this] { OnEnter(); }));
  connect(tree_, &QTreeWidget::itemChanged, this, &VMainWindow::OnItemChanged);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { UpdateActions(); });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (!item->data(0, kFolderRole).toBool()) OnEnter();
  });
  connect(bar_, &VConnectBar::sessionChosen, this, [this](const QString& path) {
    if (SelectPath(path)) tree_->setFocus();
  });
  auto remember = [this](QTreeWidgetItem* item, bool expanded) {
    if (filling_ || item == top_) return;
    session_tree::SetExpanded(FromQString(item->data(0, kPathRole).toString()), expanded);
  };
  connect(tree_, &QTreeWidget::itemExpanded, this, [remember](QTreeWidgetItem* item) {
    remember(item, true);
  });
  connect(tree_, &QTreeWidget::itemCollapsed, this, [remember](QTreeWidgetItem* item) {
    remember(item, false);
  });
  tree_->onDrop = [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    if (dragged == top_ || dragged == target) return;  // dropped where it was picked up
    QString folder;
    if (target) {
      folder = target->data(0, kPathRole).toString();
      // Dropped on a session: into the folder that holds it.
      if (!target->data(0, kFolderRole).toBool())
        folder = ToQString(session_tree::ItemAt(FromQString(folder), false).folder);
    }
    TreeItem item = session_tree::ItemAt(FromQString(dragged->data(0, kPathRole).toString()),
                                         dragged->data(0, kFolderRole).toBool());
    MoveItem(item, folder);
  };
  Refresh();
  resize(520, 640);
}

QAction* VMainWindow::AddAction(QMenu* menu, Command command, uint32_t textId,
                                std::function<void()> run, bool connected) {
  auto* action = new QAction(CatalogueText(textId), this);
  // An entry whose dialog is not part of this build says so by being disabled.
  action->setEnabled(connected);
  action->setProperty("connected", connected);
  connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
  menu->addAction(action);
  actions_[command] = action;
  return action;
}

void VMainWindow::BuildMenus() {
  auto dialog = [this](const std::function<void(QWidget*)>& open) {
    return [this, open] { RunDialog(open); };
  };
  QMenu* file = menuBar()->addMenu(CatalogueText(kMenuFile));
  AddAction(file, Command::Exit, kExit, [this] { close(); })->setShortcut(QKeySequence::Quit);

  QMenu* session = menuBar()->addMenu(CatalogueText(kMenuSession));
  AddAction(session, Command::NewSession, kNewSession, [this] { NewSession(); })
      ->setShortcut(QKeySequence::New);
  AddAction(session, Command::NewFolder, kNewFolder, [this] { NewFolder(); })
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
  session->addSeparator();
  // Keys of the tree alone: in the connect bar or the name being edited, F2, Delete and Enter
  // are the line's own.
  QAction* rename = AddAction(session, Command::Rename, kRename, [this] { RenameCurrent(); });
  rename->setShortcut(QKeySequence(Qt::Key_F2));
  QAction* remove = AddAction(session, Command::Delete, kDelete, [this] { DeleteCurrent(); });
  remove->setShortcut(QKeySequence(QKeySequence::Delete));
  AddAction(session, Command::Duplicate, kDuplicate, [this] { DuplicateCurrent(); })
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  for (QAction* action : {rename, remove}) {
    action->setShortcutContext(Qt::WidgetShortcut);
    tree_->addAction(action);
  }
  session->addSeparator();
  QAction* options = AddAction(
      session, Command::SessionOptions, kSessionOptions,
      [this] {
        TreeItem item = CurrentItem();
        if (item.isFolder || !table_.sessionOptions) return;
        QString path = ToQString(item.Path());
        RunDialog([this, path](QWidget* parent) { table_.sessionOptions(parent, path); });
      },
      static_cast<bool>(table_.sessionOptions));
  options->setShortcut(QKeySequence(Qt::Key_Return));
  options->setShortcutContext(Qt::WidgetShortcut);  // shown in the menu; the tree's filter acts
  AddAction(session, Command::DefaultSession, kDefaultSession, dialog(table_.defaultSession),
            static_cast<bool>(table_.defaultSession));

  QMenu* settings = menuBar()->addMenu(CatalogueText(kMenuOptions));
  AddAction(settings, Command::GlobalOptions, kGlobalOptions, dialog(table_.globalOptions),
            static_cast<bool>(table_.globalOptions));
  AddAction(settings, Command::ColorSchemes, kColorSchemes, dialog(table_.colorSchemes),
            static_cast<bool>(table_.colorSchemes));
  AddAction(settings, Command::KeyMapEditor, kKeyMapEditor, dialog(table_.keyMapEditor),
            static_cast<bool>(table_.keyMapEditor));
  settings->addSeparator();
  AddAction(settings, Command::ChangePassphrase, kChangePassphrase, dialog(table_.changePassphrase),
            static_cast<bool>(table_.changePassphrase));

  QMenu* tools = menuBar()->addMenu(CatalogueText(kMenuTools));
  AddAction(tools, Command::ExportSettings, kExportSettings, dialog(table_.exportSettings),
            static_cast<bool>(table_.exportSettings));
  AddAction(tools, Command::ImportSettings, kImportSettings, dialog(table_.importSettings),
            static_cast<bool>(table_.importSettings));
  tools->addSeparator();
  AddAction(tools, Command::MigratePersonalData, kMigratePersonalData,
            dialog(table_.migratePersonalData), static_cast<bool>(table_.migratePersonalData));
  AddAction(tools, Command::MergePersonalData, kMergePersonalData,
            dialog(table_.mergePersonalData), static_cast<bool>(table_.mergePersonalData));

  QMenu* help = menuBar()->addMenu(CatalogueText(kMenuHelp));
  AddAction(help, Command::About, kAbout, [this] { ShowAbout(); });
}

void VMainWindow::RunDialog(const std::function<void(QWidget*)>& open) {
  if (!open) return;
  open(this);
  // The dialog may have made, changed or removed sessions (an import, the Default session).
  Refresh();
}

void VMainWindow::FillFolder(QTreeWidgetItem* parent, const VUnicodeString& folder) {
  ProfileFolderData data;
  SessionDatabase* database = Database();
  if (!database || !database->GetFolderData(folder, data)) return;
  // Shown open when the user left it open.
  if (data.IsExpanded()) parent->setExpanded(true);
  static const QIcon folderIcon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
  static const QIcon sessionIcon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
  const Qt::ItemFlags itemFlags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable |
                                  Qt::ItemIsDragEnabled;
  for (const auto& name : data.Folders()) {
    VUnicodeString path = Join(folder, name);
    QString shown = ToQString(path);
    auto* item = new QTreeWidgetItem(parent, QStringList(ToQString(name)));
    item->setData(0, kPathRole, shown);
    item->setData(0, kFolderRole, true);
    item->setIcon(0, folderIcon);
    item->setFlags(itemFlags | Qt::ItemIsDropEnabled);
    folders_.insert(Key(shown), item);
    FillFolder(item, path);
  }
  for (const auto& name : data.Sessions()) {
    QString shown = ToQString(Join(folder, name));
    auto* item = new QTreeWidgetItem(parent, QStringList(ToQString(name)));
    item->setData(0, kPathRole, shown);
    item->setData(0, kFolderRole, false);
    item->setIcon(0, sessionIcon);
    item->setFlags(itemFlags);
    sessions_.insert(Key(shown), item);
    ++sessionCount_;
  }
}

void VMainWindow::Refresh() {
  QString selected;
  bool selectedFolder = true;
  // What the user opened and closed in this window stands over what was read.
  QHash<QString, bool> expanded;
  if (QTreeWidgetItem* current = tree_->currentItem()) {
    selected = current->data(0, kPathRole).toString();
    selectedFolder = current->data(0, kFolderRole).toBool();
  }
  for (auto it = folders_.begin(); it != folders_.end(); ++it)
    expanded.insert(it.key(), it.value()->isExpanded());
  filling_ = true;
  tree_->setUpdatesEnabled(false);
  tree_->clear();
  sessions_.clear();
  folders_.clear();
  sessionCount_ = 0;
  top_ = new QTreeWidgetItem(tree_, QStringList(CatalogueText(kSessionsRoot)));
  top_->setData(0, kPathRole, QString());
  top_->setData(0, kFolderRole, true);
  top_->setIcon(0, QApplication::style()->standardIcon(QStyle::SP_DirIcon));
  top_->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDropEnabled);
  folders_.insert(QString(), top_);
  FillFolder(top_, VUnicodeString());
  top_->setExpanded(true);
  for (auto it = expanded.begin(); it != expanded.end(); ++it)
    if (QTreeWidgetItem* item = folders_.value(it.key())) item->setExpanded(it.value());
  tree_->setUpdatesEnabled(true);
  filling_ = false;
  if (selected.isEmpty() || !SelectPath(selected, selectedFolder)) tree_->setCurrentItem(top_);
  UpdateActions();
}

QTreeWidgetItem* VMainWindow::ItemOf(const QString& path, bool folder) const {
  const auto& items = folder ? folders_ : sessions_;
  return items.value(Key(path));
}

bool VMainWindow::SelectPath(const QString& path, bool folder) {
  QTreeWidgetItem* item = ItemOf(path, folder);
  if (!item && !folder) item = ItemOf(path, true);
  if (!item) return false;
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) up->setExpanded(true);
  tree_->setCurrentItem(item);
  tree_->scrollToItem(item);
  return true;
}

TreeItem VMainWindow::CurrentItem() const {
  QTreeWidgetItem* current = tree_->currentItem();
  if (!current || current == top_) {
    TreeItem top;
    top.isFolder = true;
    return top;
  }
  return session_tree::ItemAt(FromQString(current->data(0, kPathRole).toString()),
                              current->data(0, kFolderRole).toBool());
}

void VMainWindow::UpdateActions() {
  QTreeWidgetItem* current = tree_->currentItem();
  bool item = current && current != top_;
  bool session = item && !current->data(0, kFolderRole).toBool();
  bool fixed = session && session_tree::IsTemplate(CurrentItem());
  actions_[Command::Rename]->setEnabled(item && !fixed);
  actions_[Command::Delete]->setEnabled(item && !fixed);
  actions_[Command::Duplicate]->setEnabled(item);
  QAction* options = actions_[Command::SessionOptions];
  options->setEnabled(options->property("connected").toBool() && session);
}

void VMainWindow::ShowError(VReportMessageParams& error) {
  VMessageBox(this, error, kMbOk | kMbIconError);
}

// The folder new items go into: the selected folder, or the folder of the selected session.
static VUnicodeString TargetFolder(const TreeItem& item) {
  return item.isFolder ? item.Path() : item.folder;
}

void VMainWindow::NewSession() {
  VUnicodeString folder = TargetFolder(CurrentItem());
  VUnicodeString name =
      session_tree::FreeName(folder, FromQString(CatalogueText(kNewSessionName)));
  VReportMessageParams error;
  if (!session_tree::NewSession(folder, name, error)) {
    ShowError(error);
    return;
  }
  Refresh();
  if (SelectPath(ToQString(Join(folder, name)))) RenameCurrent();
}

void VMainWindow::NewFolder() {
  VUnicodeString parent = TargetFolder(CurrentItem());
  VUnicodeString name = session_tree::FreeName(parent, FromQString(CatalogueText(kNewFolderName)));
  VReportMessageParams error;
  if (!session_tree::NewFolder(parent, name, error)) {
    ShowError(error);
    return;
  }
  Refresh();
  if (SelectPath(ToQString(Join(parent, name)), true)) RenameCurrent();
}

void VMainWindow::RenameCurrent() {
  QTreeWidgetItem* current = tree_->currentItem();
  if (!current || current == top_ || !actions_[Command::Rename]->isEnabled()) return;
  tree_->setFocus();
  tree_->editItem(current, 0);
}

void VMainWindow::OnItemChanged(QTreeWidgetItem* item, int) {
  if (filling_ || item == top_) return;
  QString path = item->data(0, kPathRole).toString();
  TreeItem old = session_tree::ItemAt(FromQString(path), item->data(0, kFolderRole).toBool());
  VUnicodeString name = FromQString(item->text(0));
  if (name == old.name) return;
  VReportMessageParams error;
  // The editor is gone by now; the tree is read again afterwards, either way.
  bool renamed = session_tree::Rename(old, name, error);
  if (!renamed) {
    filling_ = true;
    item->setText(0, ToQString(old.name));
    filling_ = false;
    ShowError(error);
    return;
  }
  QString now = ToQString(Join(old.folder, name));
  // Read again once the editor has closed: the item's own row is still in use until then.
  QMetaObject::invokeMethod(this, [this, now, folder = old.isFolder] {
    Refresh();
    SelectPath(now, folder);
  }, Qt::QueuedConnection);
}

void VMainWindow::DeleteCurrent() {
  TreeItem item = CurrentItem();
  if (item.name.empty() || !actions_[Command::Delete]->isEnabled()) return;
  QString path = ToQString(item.Path());
  QString question =
      item.isFolder
          ? CatalogueText(kConfirmDeleteFolder, nullptr,
                          {FromQString(path),
                           VUnicodeString::FromUtf8(std::to_string(session_tree::CountSessions(item.Path())))})
          : CatalogueText(kConfirmDeleteSession, nullptr, {FromQString(path)});
  if (VMessageBox(this, question, kMbYesNo | kMbIconWarning | kMbDefButton2) != kIdYes) return;
  // The item after it (else before it) is selected once it is gone.
  QTreeWidgetItem* current = tree_->currentItem();
  QTreeWidgetItem* parent = current->parent();
  int index = parent->indexOfChild(current);
  QTreeWidgetItem* next = parent->child(index + 1) ? parent->child(index + 1)
                                                   : (index > 0 ? parent->child(index - 1) : parent);
  QString nextPath = next->data(0, kPathRole).toString();
  bool nextFolder = next->data(0, kFolderRole).toBool();
  VReportMessageParams error;
  if (!session_tree::Delete(item, error)) {
    ShowError(error);
    Refresh();
    return;
  }
  Refresh();
  if (!SelectPath(nextPath, nextFolder)) tree_->setCurrentItem(top_);
}

void VMainWindow::DuplicateCurrent() {
  TreeItem item = CurrentItem();
  if (item.name.empty()) return;
  VUnicodeString copy;
  VReportMessageParams error;
  if (!session_tree::Duplicate(item, copy, error)) {
    ShowError(error);
    Refresh();
    return;
  }
  Refresh();
  SelectPath(ToQString(Join(item.folder, copy)), item.isFolder);
}

bool VMainWindow::MoveItem(const TreeItem& item, const QString& folder) {
  VReportMessageParams error;
  if (!session_tree::Move(item, FromQString(folder), error)) {
    ShowError(error);
    Refresh();
    return false;
  }
  Refresh();
  SelectPath(ToQString(Join(FromQString(folder), item.name)), item.isFolder);
  return true;
}

void VMainWindow::OnEnter() {
  QTreeWidgetItem* current = tree_->currentItem();
  if (!current) return;
  if (current->data(0, kFolderRole).toBool()) {
    current->setExpanded(!current->isExpanded());
    return;
  }
  QAction* options = actions_[Command::SessionOptions];
  if (options->isEnabled()) options->trigger();
}

void VMainWindow::ShowAbout() {
  QString text = CatalogueText(kAboutText, nullptr, {VGetAppName(), FromQString(location_)});
  VMessageBox(this, text, kMbOk | kMbIconInformation);
}
