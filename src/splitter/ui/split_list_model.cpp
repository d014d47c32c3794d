#include "splitter/ui/split_list_model.h"

#include "splitter/split_page.h"
#include "string_table.h"
#include "widgets/qt_text.h"

namespace keldro {

namespace {

constexpr int kColumnCount = static_cast<int>(SplitColumn::ForwardOverlap) + 1;
constexpr int kCheckColumn = static_cast<int>(SplitColumn::Check);

} // namespace

SplitListModel::SplitListModel(SplitPage& page, QObject* parent)
    : QAbstractTableModel(parent), page_(page),
      columns_(ParseColumnList(LoadString(StringId::ListColumns))),
      cellTooltip_(FromBytes(LoadString(StringId::SplitCellTooltip)))
{
    // The list's columns are the core's; a caption the text lacks stays empty.
    columns_.resize(kColumnCount);
}

int SplitListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : page_.List().RowCount();
}

int SplitListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

// An index the view took before the page's list shrank may still arrive until
// the next Refresh; it names no row.
bool SplitListModel::HoldsRow(const QModelIndex& index) const
{
    return index.isValid() && index.row() < page_.List().RowCount() &&
           index.column() < kColumnCount;
}

QVariant SplitListModel::data(const QModelIndex& index, int role) const
{
    if (!HoldsRow(index))
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == kCheckColumn)
            return {};
        return FromBytes(page_.List().CellText(index.row(), static_cast<SplitColumn>(column)));
    case Qt::CheckStateRole:
        if (column != kCheckColumn)
            return {};
        return page_.List().Row(index.row()).checked ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole:
        return cellTooltip_;
    default:
        return {};
    }
}

bool SplitListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != kCheckColumn || !HoldsRow(index))
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    if (!page_.SetRowChecked(index.row(), checked))
        return false;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags SplitListModel::flags(const QModelIndex& index) const
{
    if (!HoldsRow(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == kCheckColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant SplitListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The check column's caption is a blank: readers of the screen get what
    // its box does, and whether every row is ticked.
    if (role == Qt::AccessibleTextRole && section == kCheckColumn)
        return FromBytes(
            LoadString(HeaderChecked() ? StringId::HeaderCheckOn : StringId::HeaderCheckOff));
    if (role != Qt::DisplayRole)
        return {};
    return FromBytes(columns_[static_cast<std::size_t>(section)].caption);
}

int SplitListModel::DefaultWidth(int column) const
{
    if (column < 0 || column >= kColumnCount)
        return 0;
    return columns_[static_cast<std::size_t>(column)].width;
}

void SplitListModel::Refresh()
{
    beginResetModel();
    endResetModel();
}

bool SplitListModel::ToggleHeaderCheck()
{
    if (!page_.ToggleHeaderCheck())
        return false;
    const int rows = rowCount();
    if (rows > 0)
        emit dataChanged(index(0, kCheckColumn), index(rows - 1, kCheckColumn),
                         {Qt::CheckStateRole});
    emit headerDataChanged(Qt::Horizontal, kCheckColumn, kCheckColumn);
    return true;
}

bool SplitListModel::HeaderChecked() const
{
    return page_.List().HeaderChecked();
}

} // namespace keldro
