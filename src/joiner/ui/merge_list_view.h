// The merge list's table: its own keys while it has the focus, rows dragged
// inside it, and MP3 files dropped on it from the file manager. What a key, a
// drag or a drop does is the page's: the view only says which rows or files.
#pragma once

#include "joiner/merge_commands.h"

#include <string>
#include <vector>

#include <QByteArray>
#include <QTableView>

namespace keldro {

class MergeListView final : public QTableView
{
    Q_OBJECT

public:
    explicit MergeListView(QWidget* parent = nullptr);

    // The MIME type of a drag of rows, and what only this view's drags carry.
    static QString RowsMimeType();
    QByteArray DragToken() const { return token_; }
    // The row that would take a drag of rows released now; -1 for none.
    int DropRow() const { return dropRow_; }
    // Refused while a merge runs: files from outside, and rows moved inside.
    void SetDropsAccepted(bool accepted) { dropsAccepted_ = accepted; }
    // The local files a drag from the file manager carries, in its order.
    static std::vector<std::string> LocalFiles(const QMimeData* mime);

signals:
    void KeyCommand(keldro::MergeCommand command);
    void RowsDropped(int target);
    void FilesDropped(const std::vector<std::string>& paths);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool IsRowDrag(const QMimeData* data) const;
    bool TakesFiles(const QMimeData* data) const;
    void SetDropRow(int row);
    QRect RowRect(int row) const;

    QByteArray token_;
    int dropRow_ = -1;
    bool dropsAccepted_ = true;
};

} // namespace keldro
