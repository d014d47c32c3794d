// The merge list of CMP3JoinerPage as an item model: fifteen columns read from
// the page's list. Sorting and moving rows are the page's: the model only
// shows the order the page keeps.
#pragma once

#include "common/column_list.h"

#include <vector>

#include <QAbstractTableModel>

namespace keldro {

class MergePage;

class MergeListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit MergeListModel(MergePage& page, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The column's width from the column list, in pixels; 0 for none.
    int DefaultWidth(int column) const;
    // Takes the page's list as it is now; called after every change of it.
    void Refresh();

private:
    bool HoldsRow(const QModelIndex& index) const;

    MergePage& page_;
    std::vector<ColumnEntry> columns_;
};

} // namespace keldro
