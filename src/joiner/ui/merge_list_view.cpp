#include "joiner/ui/merge_list_view.h"

#include "joiner/merge_drag.h"
#include "widgets/qt_text.h"

#include <optional>

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

namespace keldro {
namespace {

std::optional<MergeListKey> ListKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return MergeListKey::Up;
    case Qt::Key_Down:
        return MergeListKey::Down;
    case Qt::Key_Home:
        return MergeListKey::Home;
    case Qt::Key_End:
        return MergeListKey::End;
    case Qt::Key_Delete:
        return MergeListKey::Delete;
    case Qt::Key_F2:
        return MergeListKey::F2;
    default:
        return std::nullopt;
    }
}

std::optional<MergeCommand> CommandOf(const QKeyEvent& event)
{
    const std::optional<MergeListKey> key = ListKeyOf(event.key());
    if (!key)
        return std::nullopt;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return MapMergeListKey(*key, {.ctrl = modifiers.testFlag(Qt::ControlModifier),
                                  .shift = modifiers.testFlag(Qt::ShiftModifier),
                                  .alt = modifiers.testFlag(Qt::AltModifier)});
}

} // namespace

MergeListView::MergeListView(QWidget* parent)
    : QTableView(parent),
      // A drag from another window of the program is no move of these rows.
      token_(QByteArray::number(QApplication::applicationPid()) + '/' +
             QByteArray::number(reinterpret_cast<quintptr>(this)))
{
    setAcceptDrops(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
}

std::vector<std::string> MergeListView::LocalFiles(const QMimeData* mime)
{
    std::vector<std::string> paths;
    for (const QUrl& url : mime ? mime->urls() : QList<QUrl>()) {
        if (url.isLocalFile())
            paths.push_back(ToBytes(url.toLocalFile()));
    }
    return paths;
}

QString MergeListView::RowsMimeType()
{
    return QStringLiteral("application/x-keldro-merge-rows");
}

// The list's keys must reach keyPressEvent before any shortcut of the window.
bool MergeListView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && CommandOf(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

void MergeListView::keyPressEvent(QKeyEvent* event)
{
    if (const std::optional<MergeCommand> command = CommandOf(*event)) {
        emit KeyCommand(*command);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

QRect MergeListView::RowRect(int row) const
{
    return {0, rowViewportPosition(row), viewport()->width(), rowHeight(row)};
}

// The whole selection moves; the picture is the row where the drag began.
void MergeListView::startDrag(Qt::DropActions /*supportedActions*/)
{
    const int row = currentIndex().row();
    if (row < 0)
        return;
    auto* mime = new QMimeData;
    mime->setData(RowsMimeType(), token_);
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    const QRect rect = RowRect(row);
    drag->setPixmap(viewport()->grab(rect));
    drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rect.topLeft());
    drag->exec(Qt::MoveAction);
    SetDropRow(-1);
}

bool MergeListView::IsRowDrag(const QMimeData* mime) const
{
    return dropsAccepted_ && mime && mime->hasFormat(RowsMimeType()) &&
           mime->data(RowsMimeType()) == token_;
}

bool MergeListView::TakesFiles(const QMimeData* mime) const
{
    return dropsAccepted_ && !LocalFiles(mime).empty();
}

void MergeListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (IsRowDrag(event->mimeData()) || TakesFiles(event->mimeData())) {
        event->setDropAction(IsRowDrag(event->mimeData()) ? Qt::MoveAction : Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void MergeListView::dragMoveEvent(QDragMoveEvent* event)
{
    // The base class scrolls the list near its edges; what is accepted is decided here.
    QTableView::dragMoveEvent(event);
    if (IsRowDrag(event->mimeData())) {
        const int row = MergeDropRow(rowAt(event->position().toPoint().y()), model()->rowCount());
        SetDropRow(row);
        event->setDropAction(Qt::MoveAction);
        event->setAccepted(row >= 0);
    } else if (TakesFiles(event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void MergeListView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QTableView::dragLeaveEvent(event);
    SetDropRow(-1);
}

void MergeListView::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    setState(NoState);
    const QMimeData* mime = event->mimeData();
    if (IsRowDrag(mime)) {
        const int row = MergeDropRow(rowAt(event->position().toPoint().y()), model()->rowCount());
        SetDropRow(-1);
        event->setDropAction(Qt::MoveAction);
        event->accept();
        if (row >= 0)
            emit RowsDropped(row);
    } else if (TakesFiles(mime)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        emit FilesDropped(LocalFiles(mime));
    } else {
        event->ignore();
    }
}

void MergeListView::SetDropRow(int row)
{
    if (row == dropRow_)
        return;
    dropRow_ = row;
    viewport()->update();
}

void MergeListView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (dropRow_ < 0)
        return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(RowRect(dropRow_).adjusted(1, 1, -1, -1));
}

} // namespace keldro
