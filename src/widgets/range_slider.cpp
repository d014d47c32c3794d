#include "widgets/range_slider.h"

#include "string_table.h"
#include "widgets/qt_text.h"

#include <algorithm>

#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStylePainter>

namespace keldro {
namespace {

// The end marks reach this far above and below the groove, so that the band's
// ends show even where a style fills the groove in a similar colour.
constexpr int kEndMarkOverhang = 2;

int HandleMiddle(const QRect& groove, int handleLength, int minimum, int maximum, int value,
                 bool upsideDown)
{
    const int span = std::max(groove.width() - handleLength, 0);
    const int offset = QStyle::sliderPositionFromValue(minimum, maximum, value, span, upsideDown);
    return groove.x() + offset + (handleLength - 1) / 2;
}

int Percent(int value, int minimum, int maximum)
{
    const qint64 range = qint64{maximum} - minimum;
    if (range <= 0)
        return 0;
    return static_cast<int>(((qint64{value} - minimum) * 100 + range / 2) / range);
}

} // namespace

QRect SelectionBand(const QRect& groove, int handleLength, int minimum, int maximum, int first,
                    int last, bool upsideDown)
{
    if (minimum >= maximum)
        return {};
    first = std::clamp(first, minimum, maximum);
    last = std::clamp(last, minimum, maximum);
    if (first >= last)
        return {};
    const int a = HandleMiddle(groove, handleLength, minimum, maximum, first, upsideDown);
    const int b = HandleMiddle(groove, handleLength, minimum, maximum, last, upsideDown);
    return QRect(QPoint(std::min(a, b), groove.top()), QPoint(std::max(a, b), groove.bottom()));
}

QColor SelectionColor(const QPalette& palette)
{
    return palette.color(QPalette::Highlight).darker(140);
}

RangeSlider::RangeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
}

void RangeSlider::SetSelection(int first, int last)
{
    if (first >= last) {
        ClearSelection();
        return;
    }
    if (first == first_ && last == last_)
        return;
    first_ = first;
    last_ = last;
    Describe();
    update();
}

void RangeSlider::ClearSelection()
{
    if (!HasSelection())
        return;
    first_ = 0;
    last_ = 0;
    Describe();
    update();
}

void RangeSlider::Describe()
{
    if (!HasSelection()) {
        setAccessibleDescription(QString());
        return;
    }
    setAccessibleDescription(FromBytes(FormatString(StringId::SliderSelectionRange,
                                                    Percent(first_, minimum(), maximum()),
                                                    Percent(last_, minimum(), maximum()))));
}

QRect RangeSlider::SelectionRect() const
{
    if (!HasSelection())
        return {};
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    return SelectionBand(groove, handle.width(), option.minimum, option.maximum, first_, last_,
                         option.upsideDown);
}

// Groove and ticks first, the band over the groove, the handle last, so that
// the handle stays on top of the band.
void RangeSlider::paintEvent(QPaintEvent* event)
{
    const QRect band = SelectionRect();
    if (band.isEmpty()) {
        QSlider::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove;
    if (tickPosition() != QSlider::NoTicks)
        option.subControls |= QStyle::SC_SliderTickmarks;
    painter.drawComplexControl(QStyle::CC_Slider, option);

    const QColor colour = SelectionColor(option.palette);
    painter.fillRect(band.adjusted(0, 1, 0, -1), colour);
    for (const int x : {band.left(), band.right()})
        painter.fillRect(QRect(QPoint(x, band.top() - kEndMarkOverhang),
                               QPoint(x, band.bottom() + kEndMarkOverhang)),
                         colour);

    option.subControls = QStyle::SC_SliderHandle;
    painter.drawComplexControl(QStyle::CC_Slider, option);
}

} // namespace keldro
