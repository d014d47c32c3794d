// The main window: the page shown at start, the page buttons and F9, the
// stored window rectangle, and closing during a run.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "common/ui/page_slot.h"
#include "fake_run_page.h"
#include "scripted_interaction.h"
#include "shell/ui/main_window.h"

#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace keldro;

using test::FakeRunPage;

class MainWindowTest final : public QObject
{
    Q_OBJECT

    MemorySettings settings_;
    test::ScriptedInteraction ui_;
    FakeRunPage split_, merge_, about_;

    std::unique_ptr<MainWindow> Open(const std::string& commandLine = {})
    {
        return std::make_unique<MainWindow>(settings_, ui_, ParseCommandLine(commandLine),
                                            std::array<PageSlot*, 3>{&split_, &merge_, &about_});
    }
    bool Shown(PageIndex page, MainWindow& window)
    {
        const std::array<QWidget*, 3> pages{&split_, &merge_, &about_};
        for (const PageIndex i : kPageIndices) {
            if ((i == page) != window.PageButton(i)->isChecked())
                return false;
        }
        return window.CurrentPage() == page && pages[static_cast<std::size_t>(page)]->isVisible();
    }

private slots:
    void init()
    {
        settings_ = MemorySettings();
        ui_ = test::ScriptedInteraction();
        split_.busy = merge_.busy = false;
        split_.stops = merge_.stops = 0;
    }

    void firstStartShowsTheSplitPageAtTheTemplateSize()
    {
        auto window = Open();
        window->show();
        QVERIFY(Shown(PageIndex::Split, *window));
        QCOMPARE(settings_.GetSettingInt(setting::kInitialPanel, -1), 0);
        QCOMPARE(window->size(), QSize(780, 560));
        QCOMPARE(window->windowTitle(), QStringLiteral("Keldro v3.0"));
        QCOMPARE(window->PageButton(PageIndex::Merge)->toolTip(),
                 QStringLiteral("合并多个 MP3 文件为一个 MP3 文件"));
    }

    void theStartupActionChoosesThePage()
    {
        settings_.SetSettingInt(setting::kInitialPanel, static_cast<int>(PageIndex::Settings));
        auto merge = Open("-a MERGE -s /music/a.mp3");
        merge->show();
        QVERIFY(Shown(PageIndex::Merge, *merge));
        QCOMPARE(settings_.GetSettingInt(setting::kInitialPanel, -1), 1);
        merge.reset();

        settings_.SetSettingInt(setting::kInitialPanel, static_cast<int>(PageIndex::Settings));
        auto split = Open("-a SPLIT -s /music/a.mp3"); // the stored page stays
        split->show();
        QVERIFY(Shown(PageIndex::Settings, *split));
        split.reset();

        auto ignored = Open("-s /music/a.mp3 -a MERGE");
        ignored->show();
        QVERIFY(Shown(PageIndex::Settings, *ignored));
    }

    void buttonsAndF9CycleThePages()
    {
        auto window = Open();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::mouseClick(window->PageButton(PageIndex::Split), Qt::LeftButton);
        QTest::keyClick(window.get(), Qt::Key_F9);
        QVERIFY(Shown(PageIndex::Settings, *window));
        QTest::keyClick(window.get(), Qt::Key_F9);
        QVERIFY(Shown(PageIndex::Merge, *window));
        QTest::keyClick(window.get(), Qt::Key_F9);
        QVERIFY(Shown(PageIndex::Split, *window));
        QTest::mouseClick(window->PageButton(PageIndex::Settings), Qt::LeftButton);
        QVERIFY(Shown(PageIndex::Settings, *window));
        QCOMPARE(settings_.GetSettingInt(setting::kInitialPanel, -1), 2);
    }

    void aStoredCornerOffTheScreenMovesToZero()
    {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        settings_.SetSettingInt(setting::kInitialPosX, screen.width() + 100);
        settings_.SetSettingInt(setting::kInitialPosY, -20);
        settings_.SetSettingInt(setting::kInitialWidth, 900);
        settings_.SetSettingInt(setting::kInitialHeight, 640);
        auto window = Open();
        QCOMPARE(window->pos(), QPoint(0, 0));
        QCOMPARE(window->size(), QSize(900, 640));

        settings_.SetSettingInt(setting::kInitialPosX, 40);
        settings_.SetSettingInt(setting::kInitialPosY, 30);
        window = Open();
        QCOMPARE(window->pos(), QPoint(40, 30));
        // One value missing: the template's rectangle.
        settings_ = MemorySettings();
        settings_.SetSettingInt(setting::kInitialPosX, 40);
        window = Open();
        QCOMPARE(window->size(), QSize(780, 560));
    }

    void closingDuringARunAsksFirst()
    {
        auto window = Open();
        int unloaded = 0;
        window->SetBeforeClose([&unloaded] { ++unloaded; });
        window->show();
        window->move(50, 60);
        window->resize(700, 500);
        split_.busy = true;
        ui_.answers = {MessageAnswer::No, MessageAnswer::Yes};
        QVERIFY(!window->close());
        QCOMPARE(ui_.messages.at(0).text,
                 std::string("现在正在进行分割/合并，强烈建议你在退出前停止该操作。"
                             "你确定无论如何都要退出吗?"));
        QCOMPARE(split_.stops, 0);
        QCOMPARE(unloaded, 0);
        QCOMPARE(settings_.GetSettingInt(setting::kInitialWidth, -1), 700);
        QVERIFY(window->close());
        QCOMPARE(split_.stops, 1);
        QCOMPARE(merge_.stops, 0); // not running: nothing to stop
        QCOMPARE(unloaded, 1);
        QCOMPARE(settings_.GetSettingInt(setting::kInitialPosX, -1), 50);
        QCOMPARE(settings_.GetSettingInt(setting::kInitialPosY, -1), 60);
        QCOMPARE(settings_.GetSettingInt(setting::kInitialHeight, -1), 500);
    }

    void closingWhenIdleAsksNothing()
    {
        auto window = Open();
        window->show();
        QVERIFY(window->close());
        QVERIFY(ui_.messages.empty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
