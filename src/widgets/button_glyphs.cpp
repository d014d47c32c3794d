#include "widgets/button_glyphs.h"

#include <cmath>
#include <initializer_list>
#include <numbers>

#include <QPainterPathStroker>
#include <QTransform>

namespace keldro {
namespace {

constexpr QPointF kCentre(kGlyphGrid / 2, kGlyphGrid / 2);

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath Box(double x, double y, double width, double height)
{
    QPainterPath path;
    path.addRect(x, y, width, height);
    return path;
}

QPainterPath Disc(QPointF centre, double radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

// A line drawn with a pen, turned into an outline so that every glyph fills alike.
QPainterPath Stroke(const QPainterPath& line, double width, Qt::PenCapStyle cap = Qt::FlatCap)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::MiterJoin);
    return stroker.createStroke(line).simplified();
}

QPainterPath Line(QPointF from, QPointF to, double width)
{
    QPainterPath line(from);
    line.lineTo(to);
    return Stroke(line, width, Qt::RoundCap);
}

QPainterPath Turned(const QPainterPath& path, double degrees)
{
    return QTransform()
        .translate(kCentre.x(), kCentre.y())
        .rotate(degrees)
        .translate(-kCentre.x(), -kCentre.y())
        .map(path);
}

QPainterPath Mirrored(const QPainterPath& path)
{
    return QTransform(-1, 0, 0, 1, kGlyphGrid, 0).map(path);
}

QPainterPath ArrowUp()
{
    return Polygon({{8, 1}, {15, 8}, {10, 8}, {10, 15}, {6, 15}, {6, 8}, {1, 8}});
}

QPainterPath ToTop()
{
    return Box(1, 1, 14, 2)
        .united(Polygon({{8, 4}, {14, 10}, {10, 10}, {10, 15}, {6, 15}, {6, 10}, {2, 10}}));
}

QPainterPath SkipForward()
{
    return Polygon({{1, 3}, {6, 8}, {1, 13}})
        .united(Polygon({{6, 3}, {11, 8}, {6, 13}}))
        .united(Box(12, 3, 2, 10));
}

QPainterPath Minus()
{
    QPainterPath disc = Disc(kCentre, 7);
    return disc.subtracted(Box(4, 7, 8, 2));
}

// A list whose last lines are crossed out.
QPainterPath CrossedList()
{
    return Box(1, 2, 14, 2)
        .united(Box(1, 6, 14, 2))
        .united(Box(1, 10, 5, 2))
        .united(Line({9, 9}, {14, 14}, 2))
        .united(Line({14, 9}, {9, 14}, 2));
}

// Half of a circle of arrows: an arc over the top ending in a head.
QPainterPath HalfTurn()
{
    constexpr double kRadius = 5;
    constexpr double kFrom = 160;
    constexpr double kTo = 35;
    QPainterPath arc;
    const QRectF circle(kCentre.x() - kRadius, kCentre.y() - kRadius, 2 * kRadius, 2 * kRadius);
    arc.arcMoveTo(circle, kFrom);
    arc.arcTo(circle, kFrom, kTo - kFrom);
    // The head points on along the circle, clockwise on screen.
    const double angle = kTo * std::numbers::pi / 180;
    const QPointF end = kCentre + QPointF(std::cos(angle), -std::sin(angle)) * kRadius;
    const QPointF along(std::sin(angle), std::cos(angle));
    const QPointF across(std::cos(angle), -std::sin(angle));
    return Stroke(arc, 2).united(Polygon({end + along * 3, end + across * 3, end - across * 3}));
}

QPainterPath Scissors()
{
    QPainterPath rings = Disc({4, 12.5}, 3)
                             .subtracted(Disc({4, 12.5}, 1.5))
                             .united(Disc({12, 12.5}, 3).subtracted(Disc({12, 12.5}, 1.5)));
    return rings.united(Line({5.5, 9.8}, {12, 1}, 2)).united(Line({10.5, 9.8}, {4, 1}, 2));
}

// Two blocks, the left one's tab going into the right one's notch.
QPainterPath Joining()
{
    const QPainterPath left = Box(1, 3, 7, 10).united(Disc({8, 8}, 2.5));
    const QPainterPath right = Box(9, 3, 6, 10).subtracted(Disc({8, 8}, 3.5));
    return left.united(right);
}

QPainterPath Gear()
{
    QPainterPath gear = Disc(kCentre, 5.2);
    for (int tooth = 0; tooth < 8; ++tooth)
        gear = gear.united(Turned(Box(6.5, 0.5, 3, 4), tooth * 45.0));
    return gear.subtracted(Disc(kCentre, 2.2));
}

} // namespace

QPainterPath ButtonGlyph(ButtonIcon icon)
{
    switch (icon) {
    case ButtonIcon::Remove:
        return Minus();
    case ButtonIcon::Clear:
        return CrossedList();
    case ButtonIcon::MoveUp:
        return ArrowUp();
    case ButtonIcon::MoveDown:
        return Turned(ArrowUp(), 180);
    case ButtonIcon::MoveTop:
        return ToTop();
    case ButtonIcon::MoveBottom:
        return Turned(ToTop(), 180);
    case ButtonIcon::Play:
        return Polygon({{4, 2}, {14, 8}, {4, 14}});
    case ButtonIcon::Pause:
        return Box(3, 2, 4, 12).united(Box(9, 2, 4, 12));
    case ButtonIcon::FastForward:
        return Polygon({{1, 3}, {8, 8}, {1, 13}}).united(Polygon({{8, 3}, {15, 8}, {8, 13}}));
    case ButtonIcon::Back:
        return Turned(ArrowUp(), -90);
    case ButtonIcon::Forward:
        return Turned(ArrowUp(), 90);
    case ButtonIcon::GoStart:
        return Mirrored(SkipForward());
    case ButtonIcon::GoEnd:
        return SkipForward();
    case ButtonIcon::Convert:
        return HalfTurn().united(Turned(HalfTurn(), 180));
    case ButtonIcon::SplitPage:
        return Scissors();
    case ButtonIcon::MergePage:
        return Joining();
    case ButtonIcon::SettingsPage:
        return Gear();
    }
    return {};
}

} // namespace keldro
