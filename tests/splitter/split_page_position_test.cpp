// The split page's position controls and keys in the window, with the real
// playback library playing through SDL's dummy driver (real time, no sound
// card): what the widgets can get wrong on top of the controller's own tests.
#include "base/settings.h"
#include "common/playback_service.h"
#include "lame_corpus.h"
#include "playback_files.h"
#include "scripted_interaction.h"
#include "splitter/ui/split_list_model.h"
#include "splitter/ui/split_page_window.h"
#include "temp_dir.h"
#include "widget_child.h"
#include "widgets/range_slider.h"
#include "widgets/spin_buttons.h"
#include "widgets/time_edit.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace keldro {

using test::Child;

class SplitPagePositionTest : public QObject
{
    Q_OBJECT

    PlaybackService library_;
    std::unique_ptr<test::ScriptedInteraction> ui_;
    std::unique_ptr<MemorySettings> settings_;
    std::unique_ptr<SplitPageWindow> window_;

    PositionController& Position() { return window_->Page().Position(); }
    TimeEdit* Time() { return Child<TimeEdit>(*window_, "timeEdit"); }
    RangeSlider* Slider() { return Child<RangeSlider>(*window_, "positionSlider"); }
    QToolButton* Tool(const char* name) { return Child<QToolButton>(*window_, name); }
    QPushButton* Button(const char* name) { return Child<QPushButton>(*window_, name); }

    // Types ms into the time field as a person does, digits over the mask.
    void TypeTime(qint64 ms)
    {
        Time()->setFocus();
        Time()->setCursorPosition(0);
        const QString digits = QStringLiteral("%1%2%3%4")
                                   .arg(ms / 3'600'000, 2, 10, QLatin1Char('0'))
                                   .arg(ms / 60'000 % 60, 2, 10, QLatin1Char('0'))
                                   .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
                                   .arg(ms % 1000, 3, 10, QLatin1Char('0'));
        QTest::keyClicks(Time(), digits);
        QCOMPARE(Time()->GetTime(), ms);
        QCOMPARE(Position().Position(), static_cast<TimeMs>(ms));
    }

    // A 4 s source cut at 1 s and 3 s, the middle track selected.
    void Load()
    {
        QVERIFY(window_->Page().LoadSource(test::CorpusFile("cbr128")));
        QVERIFY(window_->Page().AddCutPointCommand(1'000));
        QVERIFY(window_->Page().AddCutPointCommand(3'000));
        Child<QTableView>(*window_, "listView")->selectRow(1);
        QCOMPARE(window_->Page().List().SelectedRow(), 1);
    }

private slots:
    void initTestCase()
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(library_.LoadPlaybackLibrary(test::PlaybackLibraryBytes(), DefaultTempFolder()));
    }

    void init()
    {
        ui_ = std::make_unique<test::ScriptedInteraction>();
        settings_ = std::make_unique<MemorySettings>();
        window_ = std::make_unique<SplitPageWindow>(*ui_, *settings_, &library_);
        window_->resize(900, 700);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup()
    {
        window_.reset();
        library_.Api().BASS_Free();
    }

    void withoutASourceOnlyTheSourceControlsAreEnabled()
    {
        QVERIFY(!Time()->isEnabled());
        QVERIFY(!Slider()->isEnabled());
        QVERIFY(!Button("playButton")->isEnabled());
        QVERIFY(!Button("previewButton")->isEnabled());
        Load();
        QVERIFY(Time()->isEnabled());
        QVERIFY(Child<SpinButtons>(*window_, "spinButtons")->isEnabled());
        QVERIFY(Button("playButton")->isEnabled());
        QVERIFY(Button("previewButton")->isEnabled());
        QVERIFY(Tool("fastForwardButton")->isEnabled());
        QVERIFY(!Tool("pauseButton")->isEnabled());
        QVERIFY(!Tool("beforeButton")->isEnabled()); // at 0
        QVERIFY(Tool("afterButton")->isEnabled());
        // The selected track's raw range is highlighted on the slider.
        QVERIFY(Slider()->HasSelection());
        QCOMPARE(Slider()->SelectionFirst(), SliderValue(1'000, window_->Page().Total()));
        QCOMPARE(Slider()->SelectionLast(), SliderValue(3'000, window_->Page().Total()));
    }

    void fastForwardCyclesThroughItsLevels()
    {
        Load();
        QToolButton* forward = Tool("fastForwardButton");
        const QStringList texts = {QStringLiteral("1"), QStringLiteral("2"), QString()};
        for (const QString& text : texts) {
            forward->click();
            QCOMPARE(forward->text(), text);
            QCOMPARE(forward->isChecked(), !text.isEmpty());
        }
    }

    // The one test that waits for real playback: playing follows the position,
    // pause holds it, a short preview ends by itself, F3 plays up to the position.
    void realPlaybackFollowsPausesAndStops()
    {
        Load();
        TypeTime(500);
        Child<SpinButtons>(*window_, "spinButtons")->UpButton()->click();
        QCOMPARE(Time()->GetTime(), 600);
        QCOMPARE(Slider()->value(), SliderValue(600, window_->Page().Total()));
        Button("playButton")->click();
        QCOMPARE(Button("playButton")->text(), QStringLiteral("停止"));
        QVERIFY(Tool("pauseButton")->isEnabled());
        QTest::qWait(400);
        QVERIFY2(Time()->GetTime() > 700, qPrintable(Time()->text()));
        QVERIFY(Slider()->value() > SliderValue(700, window_->Page().Total()));
        Tool("pauseButton")->click();
        QVERIFY(Position().IsPaused());
        QVERIFY(Tool("pauseButton")->isChecked());
        const qint64 held = Time()->GetTime();
        QTest::qWait(200);
        QCOMPARE(Time()->GetTime(), held);
        Button("playButton")->click();
        QCOMPARE(Button("playButton")->text(), QStringLiteral("播放"));
        QVERIFY(!Tool("pauseButton")->isEnabled());

        // A track of 300 ms: the preview plays it in real time.
        QVERIFY(window_->Page().AddCutPointCommand(1'300));
        Child<QTableView>(*window_, "listView")->selectRow(1);
        Button("previewButton")->click();
        QCOMPARE(Button("previewButton")->text(), QStringLiteral("停止"));
        QTRY_COMPARE_WITH_TIMEOUT(Button("previewButton")->text(), QStringLiteral("预览"), 3000);
        QVERIFY(!Position().IsPreviewing());

        TypeTime(300);
        QVERIFY(Tool("beforeButton")->isEnabled());
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(Time(), Qt::Key_F3);
        // It played 0 to 0.3 s before returning.
        QVERIFY2(clock.elapsed() >= 250, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!Position().IsPlaying());
        QCOMPARE(Time()->GetTime(), 300);
    }

    // Pausing from the list hands the keys to the time field, so that Up
    // moves the position and not the list's selection; resuming hands them
    // to the pause button.
    void pausingFocusesTheTimeFieldAndResumingThePauseButton()
    {
        Load();
        TypeTime(500);
        Button("playButton")->click();
        QTableView* list = Child<QTableView>(*window_, "listView");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Space);
        QVERIFY(Position().IsPaused());
        QCOMPARE(QApplication::focusWidget(), Time());
        const qint64 held = Time()->GetTime();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(Time()->GetTime(), held + 100);
        QCOMPARE(window_->Page().List().SelectedRow(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(!Position().IsPaused());
        QCOMPARE(QApplication::focusWidget(), Tool("pauseButton"));
        Button("playButton")->click();
    }

    // A dialog opened while two seconds play runs an event loop of its own
    // and holds the wait: the two seconds still end in time.
    void twoSecondsEndInTimeWhileADialogIsOpen()
    {
        Load();
        TypeTime(300);
        const HSTREAM stream = window_->Page().Stream();
        DWORD active = BASS_ACTIVE_PLAYING;
        QTimer::singleShot(20, window_.get(), [&] {
            QEventLoop dialog;
            QTimer::singleShot(900, &dialog, &QEventLoop::quit);
            dialog.exec();
            active = library_.Api().BASS_ChannelIsActive(stream);
        });
        ui_->onPump = [] { QCoreApplication::processEvents(); };
        QTest::keyClick(Time(), Qt::Key_F3);
        ui_->onPump = nullptr;
        QCOMPARE(active, DWORD{BASS_ACTIVE_STOPPED});
        QVERIFY(!Position().IsPlayingAround());
    }

    // Key, focus widget, modifiers and what it did: the page's keys reach the
    // page before the focused widget's own handling.
    void keysReachThePageFromEveryFocus_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("effect");
        const int none = Qt::NoModifier;
        QTest::newRow("Up in the time field")
            << "timeEdit" << int(Qt::Key_Up) << none << "time 1100";
        QTest::newRow("PgDn in the time field")
            << "timeEdit" << int(Qt::Key_PageDown) << none << "time 0";
        QTest::newRow("PgUp on the slider")
            << "positionSlider" << int(Qt::Key_PageUp) << none << "time 2000";
        QTest::newRow("Right on the slider")
            << "positionSlider" << int(Qt::Key_Right) << none << "time 1100";
        QTest::newRow("End on the slider")
            << "positionSlider" << int(Qt::Key_End) << none << "time end";
        QTest::newRow("Home on the slider")
            << "positionSlider" << int(Qt::Key_Home) << none << "time 0";
        QTest::newRow("Shift+End in the list")
            << "listView" << int(Qt::Key_End) << int(Qt::ShiftModifier) << "time 3000";
        QTest::newRow("Ctrl+Home in the time field")
            << "timeEdit" << int(Qt::Key_Home) << int(Qt::ControlModifier) << "start 2000";
        QTest::newRow("Delete in the list")
            << "listView" << int(Qt::Key_Delete) << none << "rows 2";
        QTest::newRow("Enter in the time field")
            << "timeEdit" << int(Qt::Key_Return) << none << "rows 4";
        QTest::newRow("Enter in the title field")
            << "titleEdit" << int(Qt::Key_Return) << none << "run asked";
        QTest::newRow("Space in the naming rule")
            << "namingRuleEdit" << int(Qt::Key_Space) << none << "typed";
        QTest::newRow("Escape in the list")
            << "listView" << int(Qt::Key_Escape) << none << "rows 3";
    }

    void keysReachThePageFromEveryFocus()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, effect);
        Load();
        TypeTime(1'000);
        QCOMPARE(Slider()->value(), SliderValue(1'000, window_->Page().Total()));
        QWidget* target = window_->findChild<QWidget*>(focus);
        QVERIFY(target);
        target->setFocus();
        const std::size_t folders = ui_->folderRequests.size();
        const QString rule = Child<QLineEdit>(*window_, "namingRuleEdit")->text();
        if (focus == QStringLiteral("timeEdit") && (key == Qt::Key_Home || key == Qt::Key_Return)) {
            TypeTime(2'000); // a time that is no start yet
            target->setFocus();
        }
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        const QStringList parts = effect.split(QLatin1Char(' '));
        if (parts[0] == QStringLiteral("time")) {
            const qint64 expected = parts[1] == QStringLiteral("end")
                                        ? static_cast<qint64>(window_->Page().Total())
                                        : parts[1].toLongLong();
            QCOMPARE(Time()->GetTime(), expected);
            QCOMPARE(Slider()->value(), SliderValue(expected, window_->Page().Total()));
        } else if (parts[0] == QStringLiteral("rows")) {
            QCOMPARE(window_->Page().List().RowCount(), parts[1].toInt());
        } else if (parts[0] == QStringLiteral("start")) {
            QCOMPARE(window_->Page().List().Row(1).start, static_cast<TimeMs>(parts[1].toInt()));
        } else if (parts[0] == QStringLiteral("run")) {
            QCOMPARE(ui_->folderRequests.size(), folders + 1); // the run asked for its folder
        } else {
            QCOMPARE(Child<QLineEdit>(*window_, "namingRuleEdit")->text(), rule + QLatin1Char(' '));
        }
    }
};

} // namespace keldro

QTEST_MAIN(keldro::SplitPagePositionTest)
#include "split_page_position_test.moc"
