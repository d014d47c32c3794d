// A horizontal slider that also shows a selected range on its groove, as a
// track bar's selection does: the split page's position slider shows the
// selected track there.
#pragma once

#include <QColor>
#include <QRect>
#include <QSlider>

class QPalette;

namespace keldro {

// The band that shows the values first..last on a horizontal groove: from the
// handle's middle at first to its middle at last, placed as QSlider places its
// handle (the handle travels the groove's width less its own length). Values
// outside minimum..maximum are held at the ends; the band is empty when
// nothing of it is left.
QRect SelectionBand(const QRect& groove, int handleLength, int minimum, int maximum, int first,
                    int last, bool upsideDown);

// The band's colour: the highlight, darkened so that it stands out from the
// filled part of the groove that some styles draw in the highlight.
QColor SelectionColor(const QPalette& palette);

class RangeSlider final : public QSlider
{
    Q_OBJECT

public:
    // Ticks are shown below the groove, every tickInterval().
    explicit RangeSlider(QWidget* parent = nullptr);

    // In slider units; first >= last clears the selection. The accessible
    // description tells the range in per cent of the slider.
    void SetSelection(int first, int last);
    void ClearSelection();
    bool HasSelection() const { return first_ < last_; }
    int SelectionFirst() const { return first_; }
    int SelectionLast() const { return last_; }

    // Where the band is painted now, in the widget's coordinates.
    QRect SelectionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Describe();

    int first_ = 0;
    int last_ = 0;
};

} // namespace keldro
