// A dialog of property pages: a tree of page labels beside a stack holding the pages. Pages are
// made ready the first time they are shown; leaving a page, and OK, run its checks; OK writes the
// pages only once every page that was opened has passed its checks, so a refused entry leaves
// nothing half written. Pages can be hidden and shown again (with their branch), and redrawing
// can be suspended while many change at once. Which page was shown and which branches were
// folded is kept in a page-state map between openings.
#pragma once

#include <vector>

#include <QString>
#include <QWidget>

#include "marrowby/dialog.h"
#include "marrowby/page_state_map.h"

class QLabel;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class VPropertyTreeDialog;

class VPropertyTreePage : public QWidget {
  Q_OBJECT

 public:
  // The tree shows the first line of `title`; the page's heading shows all of it.
  explicit VPropertyTreePage(const QString& title, QWidget* parent = nullptr);
  ~VPropertyTreePage() override;

  QString Title() const { return title_; }
  QString TreeLabel() const { return title_.section(u'\n', 0, 0); }
  // Hangs `child` below this page (in the dialog too, when this page is in one already).
  void AddPage(VPropertyTreePage* child);
  const std::vector<VPropertyTreePage*>& Children() const { return children_; }
  VPropertyTreePage* ParentPage() const { return parentPage_; }
  VPropertyTreeDialog* Dialog() const { return dialog_; }
  bool IsInitialized() const { return initialized_; }

  // Once, before the page is first shown: build the controls and fill them.
  virtual void OnInitDialog() {}
  // Each time the page is shown.
  virtual void OnSetActive() {}
  // Leaving the page or OK: check the entries; false (after FailValidation) keeps the page.
  virtual bool OnKillActive() { return true; }
  // OK after every page passed its checks: write the entries into what the dialog edits.
  virtual void OnApply() {}
  // The dialog is going away.
  virtual void OnDestroy() {}

 protected:
  // Shows this page, `message` as a warning, and puts the focus on `control`; returns false.
  bool FailValidation(QWidget* control, IReportMessageParams& message);

 private:
  friend class VPropertyTreeDialog;
  QString title_;
  std::vector<VPropertyTreePage*> children_;
  VPropertyTreePage* parentPage_ = nullptr;
  VPropertyTreeDialog* dialog_ = nullptr;
  QTreeWidgetItem* item_ = nullptr;
  bool initialized_ = false;
};

class VPropertyTreeDialog : public VDialog {
  Q_OBJECT

 public:
  // `startPage` (may be null) is shown first; else the page remembered in `stateMap` under
  // `stateKey` (the title when empty); else the first visible page. `stateMap` may be null.
  VPropertyTreeDialog(const QString& title, VPropertyTreePage* startPage,
                      VPropertyPageStateMap* stateMap, QWidget* parent = nullptr,
                      const QString& stateKey = QString());
  ~VPropertyTreeDialog() override;

  // Adds a top-level page with the pages already hung below it; the dialog owns it.
  void AddPage(VPropertyTreePage* page) { AddPageUnder(page, nullptr); }
  void AddPageUnder(VPropertyTreePage* page, VPropertyTreePage* parent);
  // Takes the page and its branch out of the dialog and deletes them.
  void RemovePage(VPropertyTreePage* page);

  void ShowPage(VPropertyTreePage* page);
  void HidePage(VPropertyTreePage* page);
  // Hidden itself or below a hidden page.
  bool IsPageVisible(const VPropertyTreePage* page) const;
  // Shows `page` when the page shown now may be left (its checks pass); false otherwise.
  bool SelectPage(VPropertyTreePage* page);
  // Shows `page` without running the checks of the page shown now: for pictures, which draw
  // what is entered and write nothing (a check would stop at a field the user has yet to fill).
  void ShowPageUnchecked(VPropertyTreePage* page);
  VPropertyTreePage* CurrentPage() const { return current_; }
  // Every page in tree order, hidden ones included.
  std::vector<VPropertyTreePage*> Pages() const;
  VPropertyTreePage* FindPage(const QStringList& path) const;
  QStringList PathOf(const VPropertyTreePage* page) const;

  // Nested: redrawing of the tree and pages resumes at the last Resume.
  void SuspendRedraw();
  void ResumeRedraw();
  bool IsRedrawSuspended() const { return suspended_ > 0; }

  void DisableOkButton(bool disable = true);
  void SetNewSession(bool newSession) { newSession_ = newSession; }
  bool IsNewSession() const { return newSession_; }

  QTreeWidget* Tree() const { return tree_; }
  void done(int code) override;

 protected:
  bool OnOK() override;
  void showEvent(QShowEvent* event) override;

 private:
  friend class VPropertyTreePage;
  void Activate(VPropertyTreePage* page);
  void FitTreeTo(QTreeWidgetItem* item);
  void Detach(VPropertyTreePage* page, std::vector<VPropertyTreePage*>& gone);
  VPropertyTreePage* FirstVisible() const;
  void EnsureVisibleCurrent();
  void SaveState();
  void RestoreFolding();

  QTreeWidget* tree_;
  QStackedWidget* stack_;
  QLabel* heading_;
  VPropertyTreePage* start_;
  VPropertyTreePage* current_ = nullptr;
  std::vector<VPropertyTreePage*> topPages_;
  VPropertyPageStateMap* stateMap_;
  VUnicodeString stateKey_;
  int suspended_ = 0;
  bool newSession_ = false;
  bool started_ = false;
};
