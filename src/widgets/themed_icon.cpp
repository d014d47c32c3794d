#include "widgets/themed_icon.h"

#include "widgets/button_glyphs.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace keldro {
namespace {

constexpr std::array<std::pair<ButtonIcon, const char*>, kButtonIconCount> kThemeNames{{
    {ButtonIcon::Remove, "list-remove"},
    {ButtonIcon::Clear, "edit-clear"},
    {ButtonIcon::MoveUp, "go-up"},
    {ButtonIcon::MoveDown, "go-down"},
    {ButtonIcon::MoveTop, "go-top"},
    {ButtonIcon::MoveBottom, "go-bottom"},
    {ButtonIcon::Play, "media-playback-start"},
    {ButtonIcon::Pause, "media-playback-pause"},
    {ButtonIcon::FastForward, "media-seek-forward"},
    {ButtonIcon::Back, "go-previous"},
    {ButtonIcon::Forward, "go-next"},
    {ButtonIcon::GoStart, "media-skip-backward"},
    {ButtonIcon::GoEnd, "media-skip-forward"},
    {ButtonIcon::Convert, "document-export"},
    {ButtonIcon::SplitPage, "edit-cut"},
    {ButtonIcon::MergePage, "list-add"},
    {ButtonIcon::SettingsPage, "preferences-system"},
}};

constexpr bool InEnumOrder()
{
    for (int index = 0; index < kButtonIconCount; ++index) {
        if (static_cast<int>(kThemeNames[index].first) != index)
            return false;
    }
    return true;
}
static_assert(InEnumOrder(), "kThemeNames follows the order of ButtonIcon");

// Draws the glyph at the size asked for, in the colour of button captions at
// the moment of drawing, so that it reads on light and dark palettes alike and
// greys out with a disabled button.
class GlyphEngine final : public QIconEngine
{
public:
    explicit GlyphEngine(ButtonIcon icon) : icon_(icon) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const double side = std::min(rect.width(), rect.height());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.x() + (rect.width() - side) / 2,
                           rect.y() + (rect.height() - side) / 2);
        painter->scale(side / kGlyphGrid, side / kGlyphGrid);
        painter->fillPath(ButtonGlyph(icon_), GlyphColour(mode));
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }

    QIconEngine* clone() const override { return new GlyphEngine(icon_); }
    QString key() const override { return QStringLiteral("KeldroGlyph"); }

private:
    static QColor GlyphColour(QIcon::Mode mode)
    {
        const QPalette palette = QGuiApplication::palette();
        switch (mode) {
        case QIcon::Disabled:
            return palette.color(QPalette::Disabled, QPalette::ButtonText);
        case QIcon::Selected:
            return palette.color(QPalette::Active, QPalette::HighlightedText);
        case QIcon::Normal:
        case QIcon::Active:
            break;
        }
        return palette.color(QPalette::Active, QPalette::ButtonText);
    }

    ButtonIcon icon_;
};

} // namespace

const char* ThemeName(ButtonIcon icon)
{
    return kThemeNames[static_cast<int>(icon)].second;
}

QIcon ThemedIcon(ButtonIcon icon)
{
    return QIcon::fromTheme(QString::fromLatin1(ThemeName(icon)), QIcon(new GlyphEngine(icon)));
}

} // namespace keldro
