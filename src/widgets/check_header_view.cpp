#include "widgets/check_header_view.h"

#include <utility>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

namespace keldro {

CheckHeaderView::CheckHeaderView(int checkSection, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), checkSection_(checkSection)
{
    setSectionsMovable(true);
    setFirstSectionMovable(false);
}

void CheckHeaderView::SetChecked(bool checked)
{
    if (checked == checked_)
        return;
    checked_ = checked;
    updateSection(checkSection_);
}

void CheckHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != checkSection_)
        return;
    // initFrom leaves State_Enabled out of a disabled header: the style then
    // draws the third, greyed image.
    QStyleOptionButton option;
    option.initFrom(this);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option.state |= checked_ ? QStyle::State_On : QStyle::State_Off;
    const QSize size(style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this),
                     style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this));
    option.rect = QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size, rect);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter, this);
}

void CheckHeaderView::mousePressEvent(QMouseEvent* event)
{
    // QTableView lets the first section move again when it takes a header.
    setFirstSectionMovable(false);
    NotePress(event);
    QHeaderView::mousePressEvent(event);
}

// Qt delivers the second press of a double click here instead of as a press;
// taking it as one keeps two quick clicks two toggles.
void CheckHeaderView::mouseDoubleClickEvent(QMouseEvent* event)
{
    NotePress(event);
    QHeaderView::mouseDoubleClickEvent(event);
}

void CheckHeaderView::mouseMoveEvent(QMouseEvent* event)
{
    if (pressedOnCheck_ && (event->position().toPoint() - pressPos_).manhattanLength() >=
                               QApplication::startDragDistance())
        pressedOnCheck_ = false; // the start of a drag, not a click
    QHeaderView::mouseMoveEvent(event);
}

void CheckHeaderView::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressedOnCheck_ && event->button() == Qt::LeftButton &&
                       OnCheckSection(event->position().toPoint());
    pressedOnCheck_ = false;
    QHeaderView::mouseReleaseEvent(event);
    if (click)
        emit CheckClicked();
}

void CheckHeaderView::NotePress(const QMouseEvent* event)
{
    pressPos_ = event->position().toPoint();
    pressedOnCheck_ = event->button() == Qt::LeftButton && OnCheckSection(pressPos_) &&
                      !OnResizeGrip(pressPos_.x());
}

bool CheckHeaderView::OnCheckSection(const QPoint& pos) const
{
    return logicalIndexAt(pos) == checkSection_;
}

// The margins at a section's edges where a press starts a resize, found as
// QHeaderView finds them: the grip belongs to the section before the edge.
bool CheckHeaderView::OnResizeGrip(int position) const
{
    const int visual = visualIndexAt(position);
    if (visual < 0)
        return false;
    const int logical = logicalIndex(visual);
    const int start = sectionViewportPosition(logical);
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    bool atStart = position < start + grip;
    bool atEnd = position > start + sectionSize(logical) - grip;
    if (isRightToLeft())
        std::swap(atStart, atEnd);
    int handle = -1;
    if (atEnd) {
        handle = logical;
    } else if (atStart) {
        for (int v = visual - 1; v >= 0 && handle < 0; --v) {
            if (!isSectionHidden(logicalIndex(v)))
                handle = logicalIndex(v);
        }
    }
    return handle >= 0 && sectionResizeMode(handle) == QHeaderView::Interactive;
}

} // namespace keldro
