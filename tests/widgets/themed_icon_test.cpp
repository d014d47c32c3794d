// Button icons: every one drawn, and each its own, when the desktop theme has
// none; the theme's own picture when it has one; the drawn ones in the
// palette's caption colour.
#include "widgets/themed_icon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPalette>
#include <QTemporaryDir>
#include <QTest>

using namespace keldro;

namespace {

constexpr int kOpaque = 200;

QImage Picture(ButtonIcon icon, int side)
{
    return ThemedIcon(icon).pixmap(side).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) >= kOpaque ? 1 : 0;
    }
    return count;
}

void UseNoTheme()
{
    QIcon::setThemeSearchPaths({});
    QIcon::setFallbackSearchPaths({});
    QIcon::setThemeName(QStringLiteral("keldro-no-such-theme"));
}

// A theme folder holding one 16 px picture of a single colour.
void WriteTheme(const QString& root, const QString& iconName, QColor colour)
{
    const QString theme = root + QStringLiteral("/keldro-test");
    QVERIFY(QDir().mkpath(theme + QStringLiteral("/16x16/actions")));
    QFile index(theme + QStringLiteral("/index.theme"));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=Keldro test\nDirectories=16x16/actions\n\n"
                "[16x16/actions]\nSize=16\nContext=Actions\nType=Fixed\n");
    index.close();
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    QVERIFY(
        image.save(theme + QStringLiteral("/16x16/actions/") + iconName + QStringLiteral(".png")));
}

} // namespace

class ThemedIconTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { UseNoTheme(); }
    void cleanup()
    {
        UseNoTheme();
        QApplication::setPalette(QPalette());
    }

    void withoutThemeEveryIconIsDrawnAndNoTwoAlike()
    {
        for (const int side : {16, 32}) {
            QList<QImage> seen;
            for (int index = 0; index < kButtonIconCount; ++index) {
                const auto icon = static_cast<ButtonIcon>(index);
                QVERIFY(!ThemedIcon(icon).isNull());
                const QImage image = Picture(icon, side);
                QCOMPARE(image.size(), QSize(side, side));
                QVERIFY2(OpaquePixels(image) >= side * side / 10, ThemeName(icon));
                QVERIFY2(OpaquePixels(image) < side * side, ThemeName(icon));
                QVERIFY2(!seen.contains(image), ThemeName(icon));
                seen.append(image);
            }
        }
    }

    void theThemesPictureWinsWhereItHasOne()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QColor red(255, 0, 0);
        WriteTheme(root.path(), QString::fromLatin1(ThemeName(ButtonIcon::Remove)), red);
        QIcon::setThemeSearchPaths({root.path()});
        QIcon::setThemeName(QStringLiteral("keldro-test"));

        const QImage theme = Picture(ButtonIcon::Remove, 16);
        QCOMPARE(theme.pixelColor(0, 0), red);
        QCOMPARE(theme.pixelColor(8, 8), red);
        QCOMPARE(OpaquePixels(theme), 16 * 16);
        // A name the theme lacks still gets the drawn glyph, not an empty icon.
        const QImage drawn = Picture(ButtonIcon::Clear, 16);
        QVERIFY(OpaquePixels(drawn) > 0);
        QVERIFY(OpaquePixels(drawn) < 16 * 16);
    }

    void theGlyphTakesTheCaptionColourOfThePalette()
    {
        for (const QColor caption : {QColor(Qt::white), QColor(20, 20, 20)}) {
            QPalette palette;
            palette.setColor(QPalette::ButtonText, caption);
            QApplication::setPalette(palette);
            const QImage image = Picture(ButtonIcon::Play, 16);
            QCOMPARE(image.pixelColor(6, 8), caption);
        }
    }
};

QTEST_MAIN(ThemedIconTest)
#include "themed_icon_test.moc"
