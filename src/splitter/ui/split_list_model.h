// The split list of CMP3SplitPage as an item model: thirteen columns read
// from the page's list, the check boxes of column 0 and its header passed to
// the page, which refuses them during a run.
#pragma once

#include "common/column_list.h"

#include <vector>

#include <QAbstractTableModel>
#include <QString>

namespace keldro {

class SplitPage;

class SplitListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SplitListModel(SplitPage& page, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The column's width from the column list, in pixels; 0 for none.
    int DefaultWidth(int column) const;
    // Takes the page's list as it is now; called after every change of it.
    void Refresh();
    // The header's box: every row follows it. False when the page refused.
    bool ToggleHeaderCheck();
    bool HeaderChecked() const;

private:
    bool HoldsRow(const QModelIndex& index) const;

    SplitPage& page_;
    std::vector<ColumnEntry> columns_;
    QString cellTooltip_;
};

} // namespace keldro
