#include "joiner/ui/merge_list_model.h"

#include "joiner/merge_page.h"
#include "string_table.h"
#include "widgets/qt_text.h"

namespace keldro {

MergeListModel::MergeListModel(MergePage& page, QObject* parent)
    : QAbstractTableModel(parent), page_(page),
      columns_(ParseColumnList(LoadString(StringId::MergeColumns)))
{
    // The list's columns are the core's; a caption the text lacks stays empty.
    columns_.resize(kMergeColumns);
}

int MergeListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : page_.List().RowCount();
}

int MergeListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kMergeColumns;
}

// An index the view took before the page's list shrank may still arrive until
// the next Refresh; it names no row.
bool MergeListModel::HoldsRow(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && index.row() < page_.List().RowCount() &&
           index.column() < kMergeColumns;
}

QVariant MergeListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !HoldsRow(index))
        return {};
    const MergeEntry& entry = page_.List().Row(index.row());
    return FromBytes(entry.texts[static_cast<std::size_t>(index.column())]);
}

Qt::ItemFlags MergeListModel::flags(const QModelIndex& index) const
{
    if (!HoldsRow(index))
        return Qt::NoItemFlags;
    // Rows can be dragged; the list moves them through the page, never the model.
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

QVariant MergeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kMergeColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole)
        return {};
    return FromBytes(columns_[static_cast<std::size_t>(section)].caption);
}

int MergeListModel::DefaultWidth(int column) const
{
    if (column < 0 || column >= kMergeColumns)
        return 0;
    return columns_[static_cast<std::size_t>(column)].width;
}

void MergeListModel::Refresh()
{
    beginResetModel();
    endResetModel();
}

} // namespace keldro
