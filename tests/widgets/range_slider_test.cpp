// The slider's selection band: its ends stand where the handle stands for the
// same values, it is painted between the groove and the handle, and it is
// told to screen readers.
#include "widgets/range_slider.h"

#include <QImage>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

using namespace keldro;

namespace {

constexpr int kMaximum = 32767;
constexpr int kPage = 1310;

// The middle of the handle's rectangle when the slider stands at value.
int HandleMiddleAt(RangeSlider& slider, int value)
{
    slider.setValue(value);
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = Qt::Horizontal;
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    option.tickPosition = slider.tickPosition();
    option.tickInterval = slider.tickInterval();
    // As QSlider itself: a right-to-left slider is drawn upside down, not mirrored.
    option.upsideDown = slider.layoutDirection() == Qt::RightToLeft;
    option.direction = Qt::LeftToRight;
    const QRect handle = slider.style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderHandle, &slider);
    return handle.center().x();
}

void SetUp(RangeSlider& slider, int width)
{
    slider.setRange(0, kMaximum);
    slider.setPageStep(kPage);
    slider.setTickInterval(kPage);
    slider.resize(width, slider.sizeHint().height());
}

QRect Groove(RangeSlider& slider)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = Qt::Horizontal;
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.tickPosition = slider.tickPosition();
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove,
                                          &slider);
}

} // namespace

class RangeSliderTest final : public QObject
{
    Q_OBJECT

private slots:
    void bandFollowsTheValuesOnAPlainGroove()
    {
        // A 110-pixel groove at x 5 with an 11-pixel handle: 99 pixels of travel.
        const QRect groove(5, 10, 110, 6);
        const QRect band = SelectionBand(groove, 11, 0, 99, 10, 50, false);
        QCOMPARE(band.left(), 5 + 10 + 5);
        QCOMPARE(band.right(), 5 + 50 + 5);
        QCOMPARE(band.top(), 10);
        QCOMPARE(band.bottom(), 15);
        // Right to left: the same values counted from the other end.
        const QRect mirrored = SelectionBand(groove, 11, 0, 99, 10, 50, true);
        QCOMPARE(mirrored.left(), 5 + 49 + 5);
        QCOMPARE(mirrored.right(), 5 + 89 + 5);
    }

    void bandIsHeldToTheRangeAndEmptyWithoutOne()
    {
        const QRect groove(0, 0, 111, 4);
        QCOMPARE(SelectionBand(groove, 11, 0, 100, -50, 200, false),
                 QRect(QPoint(5, 0), QPoint(105, 3)));
        QVERIFY(SelectionBand(groove, 11, 0, 100, 40, 40, false).isEmpty());
        QVERIFY(SelectionBand(groove, 11, 0, 100, 60, 40, false).isEmpty());
        QVERIFY(SelectionBand(groove, 11, 0, 100, 150, 200, false).isEmpty());
        QVERIFY(SelectionBand(groove, 11, 5, 5, 0, 10, false).isEmpty());
    }

    void bandEndsStandWhereTheHandleStands_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("whole") << 400 << 0 << kMaximum << false;
        QTest::newRow("a track") << 400 << 8192 << 20'000 << false;
        QTest::newRow("one page") << 397 << 13'100 << 14'410 << false;
        QTest::newRow("narrow") << 120 << 1 << 32'766 << false;
        QTest::newRow("wide") << 1'000 << 30'000 << 32'000 << false;
        QTest::newRow("right to left") << 400 << 8192 << 20'000 << true;
    }
    void bandEndsStandWhereTheHandleStands()
    {
        QFETCH(int, width);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, rightToLeft);
        RangeSlider slider;
        slider.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        SetUp(slider, width);
        slider.SetSelection(first, last);
        const QRect band = slider.SelectionRect();
        const int left = HandleMiddleAt(slider, rightToLeft ? last : first);
        const int right = HandleMiddleAt(slider, rightToLeft ? first : last);
        QCOMPARE(band.left(), left);
        QCOMPARE(band.right(), right);
        QVERIFY(right - left > 0);
    }

    void bandIsPaintedOnTheGrooveBetweenItsEnds()
    {
        RangeSlider slider;
        SetUp(slider, 400);
        slider.setValue(0); // the handle stays clear of the band
        slider.SetSelection(8192, 24'576);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        const QImage image = slider.grab().toImage();
        const QRect band = slider.SelectionRect();
        const QColor colour = SelectionColor(slider.palette());
        const int y = Groove(slider).center().y();
        for (const int x : {band.left(), band.left() + 1, band.center().x(), band.right()})
            QCOMPARE(image.pixel(x, y), colour.rgb());
        QVERIFY(image.pixel(band.left() - 1, y) != colour.rgb());
        QVERIFY(image.pixel(band.right() + 1, y) != colour.rgb());
    }

    void handleIsPaintedOverTheBand()
    {
        RangeSlider slider;
        SetUp(slider, 400);
        slider.SetSelection(0, kMaximum);
        slider.setValue(16'384);
        slider.show();
        QVERIFY(QTest::qWaitForWindowExposed(&slider));
        const QImage image = slider.grab().toImage();
        const int x = HandleMiddleAt(slider, 16'384);
        const int y = Groove(slider).center().y();
        QVERIFY(image.pixel(x, y) != SelectionColor(slider.palette()).rgb());
        QCOMPARE(image.pixel(x - 60, y), SelectionColor(slider.palette()).rgb());
    }

    void clearingRemovesTheBandAndItsDescription()
    {
        RangeSlider slider;
        SetUp(slider, 400);
        QVERIFY(!slider.HasSelection());
        QVERIFY(slider.accessibleDescription().isEmpty());
        slider.SetSelection(8192, 24'576);
        QVERIFY(slider.HasSelection());
        QCOMPARE(slider.SelectionFirst(), 8192);
        QCOMPARE(slider.SelectionLast(), 24'576);
        QCOMPARE(slider.accessibleDescription(), QStringLiteral("选定范围: 25% - 75%"));
        slider.SetSelection(500, 500);
        QVERIFY(!slider.HasSelection());
        QVERIFY(slider.SelectionRect().isEmpty());
        QVERIFY(slider.accessibleDescription().isEmpty());
        slider.SetSelection(0, kMaximum);
        QCOMPARE(slider.accessibleDescription(), QStringLiteral("选定范围: 0% - 100%"));
        slider.ClearSelection();
        QVERIFY(!slider.HasSelection());
        QVERIFY(slider.accessibleDescription().isEmpty());
    }

    void itIsAHorizontalSliderWithTicksBelow()
    {
        RangeSlider slider;
        QCOMPARE(slider.orientation(), Qt::Horizontal);
        QCOMPARE(slider.tickPosition(), QSlider::TicksBelow);
    }
};

QTEST_MAIN(RangeSliderTest)
#include "range_slider_test.moc"
