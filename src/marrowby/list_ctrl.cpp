#include "marrowby/list_ctrl.h"

#include <numeric>

#include <QHeaderView>
#include <QResizeEvent>

namespace {

// Numbers compare by value, other texts without regard to case, so "10" follows "9".
class VListItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    QString a = text(column);
    QString b = other.text(column);
    bool aNumber = false;
    bool bNumber = false;
    double x = a.toDouble(&aNumber);
    double y = b.toDouble(&bNumber);
    if (aNumber && bNumber) return x < y;
    if (aNumber != bNumber) return aNumber;  // numbers before texts
    return a.compare(b, Qt::CaseInsensitive) < 0;
  }
};

}  // namespace

VListCtrl::VListCtrl(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  header()->setSectionsClickable(true);
  header()->setStretchLastSection(false);
  connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
    Qt::SortOrder order = sortColumn() == column && header()->sortIndicatorOrder() == Qt::AscendingOrder
                              ? Qt::DescendingOrder
                              : Qt::AscendingOrder;
    SortBy(column, order);
  });
}

void VListCtrl::SetColumns(const std::vector<Column>& columns) {
  QStringList titles;
  ratios_.clear();
  for (const Column& column : columns) {
    titles << column.title;
    ratios_.push_back(column.ratio > 0 ? column.ratio : 1);
  }
  setColumnCount(static_cast<int>(columns.size()));
  setHeaderLabels(titles);
  ApplyRatios();
}

int VListCtrl::AddRow(const QStringList& texts) {
  auto* item = new VListItem(texts);
  addTopLevelItem(item);
  return indexOfTopLevelItem(item);
}

QString VListCtrl::Text(int row, int column) const {
  QTreeWidgetItem* item = topLevelItem(row);
  return item ? item->text(column) : QString();
}

void VListCtrl::SortBy(int column, Qt::SortOrder order) {
  header()->setSortIndicatorShown(true);
  header()->setSortIndicator(column, order);
  sortItems(column, order);
}

void VListCtrl::SetMultipleSelection(bool multiple) {
  setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection
                            : QAbstractItemView::SingleSelection);
}

std::vector<int> VListCtrl::SelectedRows() const {
  std::vector<int> rows;
  for (int row = 0; row < topLevelItemCount(); ++row)
    if (topLevelItem(row)->isSelected()) rows.push_back(row);
  return rows;
}

void VListCtrl::SelectRow(int row, bool only) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (!item) return;
  // A list of single selection keeps one row whatever the caller asks.
  bool replace = only || selectionMode() == QAbstractItemView::SingleSelection;
  QModelIndex index = indexFromItem(item);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  selectionModel()->select(index, (replace ? QItemSelectionModel::ClearAndSelect
                                           : QItemSelectionModel::Select) |
                                      QItemSelectionModel::Rows);
}

std::vector<int> VListCtrl::ColumnWidths(int width) const {
  std::vector<int> widths;
  int total = std::accumulate(ratios_.begin(), ratios_.end(), 0);
  if (total <= 0) return widths;
  int used = 0;
  for (size_t i = 0; i < ratios_.size(); ++i) {
    int columnWidth = i + 1 == ratios_.size() ? width - used : width * ratios_[i] / total;
    widths.push_back(columnWidth);
    used += columnWidth;
  }
  return widths;
}

void VListCtrl::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  ApplyRatios();
}

void VListCtrl::ApplyRatios() {
  std::vector<int> widths = ColumnWidths(viewport()->width());
  for (size_t i = 0; i < widths.size(); ++i) setColumnWidth(static_cast<int>(i), widths[i]);
}
