// A list of rows with columns whose widths keep given ratios of the list's width, sorted by a
// column when its header is clicked (numbers by value, texts without regard to case), with single
// or multiple selection.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>
#include <QTreeWidget>

class VListCtrl : public QTreeWidget {
  Q_OBJECT

 public:
  struct Column {
    QString title;
    int ratio;  // share of the width, relative to the other columns
  };

  explicit VListCtrl(QWidget* parent = nullptr);

  void SetColumns(const std::vector<Column>& columns);
  // Appends a row; returns its index.
  int AddRow(const QStringList& texts);
  void DeleteAllRows() { clear(); }
  int RowCount() const { return topLevelItemCount(); }
  QString Text(int row, int column) const;
  // Rows in display order.
  void SortBy(int column, Qt::SortOrder order = Qt::AscendingOrder);

  void SetMultipleSelection(bool multiple);
  std::vector<int> SelectedRows() const;
  void SelectRow(int row, bool only = true);

  // The widths the columns take for a list `width` pixels wide (the last one takes the rest).
  std::vector<int> ColumnWidths(int width) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyRatios();
  std::vector<int> ratios_;
};
