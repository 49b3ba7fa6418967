// The main window of quillane-settings: the session tree in display order with its changes (new
// session, new folder, rename, delete, duplicate, drag to another folder), the connect bar, and
// the menus that open the options dialogs. The dialogs are reached through a table of entry
// points the host fills in; an entry left empty is shown disabled.
#pragma once

#include <functional>
#include <map>

#include <QHash>
#include <QMainWindow>
#include <QTreeWidget>

#include "ui/main_window/session_tree_edit.h"

class QAction;
class VConnectBar;

// What the menus open. Each entry gets the window to parent its dialog; the tree is read again
// from the configuration when it returns, since a dialog may have changed sessions.
struct VMainWindowActions {
  std::function<void(QWidget* parent, const QString& sessionPath)> sessionOptions;
  std::function<void(QWidget* parent)> defaultSession;
  std::function<void(QWidget* parent)> globalOptions;
  std::function<void(QWidget* parent)> colorSchemes;
  std::function<void(QWidget* parent)> keyMapEditor;
  std::function<void(QWidget* parent)> changePassphrase;
  std::function<void(QWidget* parent)> exportSettings;
  std::function<void(QWidget* parent)> importSettings;
  std::function<void(QWidget* parent)> migratePersonalData;
  std::function<void(QWidget* parent)> mergePersonalData;
};

// The tree widget: a drop is handed to the window as a move in the configuration instead of
// rearranging the items by itself.
class VSessionTreeWidget : public QTreeWidget {
  Q_OBJECT

 public:
  using QTreeWidget::QTreeWidget;
  // Called with the dragged item and the item it was dropped on (null: empty space, the top).
  std::function<void(QTreeWidgetItem* dragged, QTreeWidgetItem* target)> onDrop;

  // Public so that a drop can be handed over where no drag is under way (tests: the application
  // delivers drops only to the target of a drag it runs itself).
  void dropEvent(QDropEvent* event) override;
};

class VMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  enum class Command {
    Exit, NewSession, NewFolder, Rename, Delete, Duplicate, SessionOptions, DefaultSession,
    GlobalOptions, ColorSchemes, KeyMapEditor, ChangePassphrase, ExportSettings, ImportSettings,
    MigratePersonalData, MergePersonalData, About
  };
  // Item data: the path ("" the top), and whether the item is a folder.
  static constexpr int kPathRole = Qt::UserRole;
  static constexpr int kFolderRole = Qt::UserRole + 1;

  // `configurationLocation` is shown in About.
  explicit VMainWindow(VMainWindowActions actions, QString configurationLocation = QString(),
                       QWidget* parent = nullptr);

  // Reads the tree again from the item database, keeping the selection where it can.
  void Refresh();
  // Selects the item of `path` (a session, else a folder), showing it. False when there is none.
  bool SelectPath(const QString& path, bool folder = false);
  QTreeWidgetItem* ItemOf(const QString& path, bool folder = false) const;

  VSessionTreeWidget* Tree() const { return tree_; }
  QTreeWidgetItem* TopItem() const { return top_; }
  VConnectBar* ConnectBar() const { return bar_; }
  QAction* Action(Command command) const { return actions_.at(command); }
  // The selected item as the tree's logic sees it (the top when nothing is selected).
  session_tree::TreeItem CurrentItem() const;
  size_t SessionCount() const { return sessionCount_; }

  // The tree's changes, as the menu entries make them.
  void NewSession();
  void NewFolder();
  void RenameCurrent();  // opens the name for editing in place
  void DeleteCurrent();
  void DuplicateCurrent();
  // Moves the item to `folder`; false (the message shown) when it could not be moved.
  bool MoveItem(const session_tree::TreeItem& item, const QString& folder);

 private:
  QAction* AddAction(QMenu* menu, Command command, uint32_t textId, std::function<void()> run,
                     bool connected = true);
  void BuildMenus();
  void FillFolder(QTreeWidgetItem* parent, const VUnicodeString& folder);
  void UpdateActions();
  void OnItemChanged(QTreeWidgetItem* item, int column);
  void OnEnter();
  void RunDialog(const std::function<void(QWidget*)>& open);
  void ShowError(VReportMessageParams& error);
  void ShowAbout();

  VMainWindowActions table_;
  QString location_;
  VSessionTreeWidget* tree_;
  QTreeWidgetItem* top_ = nullptr;
  VConnectBar* bar_;
  std::map<Command, QAction*> actions_;
  // Items by lower-cased path, sessions and folders apart.
  QHash<QString, QTreeWidgetItem*> sessions_;
  QHash<QString, QTreeWidgetItem*> folders_;
  size_t sessionCount_ = 0;
  bool filling_ = false;
};
