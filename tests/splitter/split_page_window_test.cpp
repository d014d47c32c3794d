// The split page's window over the real page logic, on files made by lame:
// what only the widgets can get wrong (fields, selection, menus, keys, drops,
// the run's buttons) and a whole split from the window.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "lame_corpus.h"
#include "scripted_interaction.h"
#include "splitter/ui/split_list_model.h"
#include "splitter/ui/split_page_window.h"
#include "splitter/ui/track_tag_editor_dialog.h"
#include "temp_dir.h"
#include "tools.h"
#include "widget_events.h"
#include "widgets/time_edit.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace keldro {
namespace {

using test::DropFiles;
using test::MenuStates;
using test::OnNextDialog;
using test::Type;

} // namespace

class SplitPageWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir_;
    std::unique_ptr<test::ScriptedInteraction> ui_;
    std::unique_ptr<MemorySettings> settings_;
    std::unique_ptr<SplitPageWindow> window_;
    std::string vbr_;

    template <typename T>
    T* Child(const char* name)
    {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }
    QTableView* List() { return Child<QTableView>("listView"); }
    int Rows() { return window_->Model().rowCount(); }
    QString Cell(int row, int column)
    {
        return window_->Model().index(row, column).data().toString();
    }

private slots:
    void initTestCase() { vbr_ = test::CorpusFile("vbr_v2"); }

    void init()
    {
        dir_ = std::make_unique<test::TempDir>();
        ui_ = std::make_unique<test::ScriptedInteraction>();
        settings_ = std::make_unique<MemorySettings>();
        window_ = std::make_unique<SplitPageWindow>(*ui_, *settings_);
        window_->resize(900, 700);
        window_->show();
    }

    void cleanup()
    {
        window_.reset();
        dir_.reset();
    }

    void loadingAnMp3ShowsItsInformationAndOneRow()
    {
        QCOMPARE(Child<QLabel>("statusLabel")->text(), QStringLiteral("空闲"));
        QVERIFY(Child<QLabel>("listHint")->isVisible());
        QVERIFY(window_->Page().LoadSource(vbr_));
        QCOMPARE(Child<QLineEdit>("sourceFileEdit")->text(), QStringLiteral("vbr_v2.mp3"));
        QCOMPARE(Child<QLineEdit>("sourceFolderEdit")->text(),
                 QString::fromStdString(std::filesystem::path(vbr_).parent_path().string()));
        QVERIFY(Child<QPlainTextEdit>("infoText")->toPlainText().contains(QStringLiteral("VBR")));
        QCOMPARE(Child<QLabel>("totalLabel")->text(),
                 QStringLiteral("/ ") + QString::fromStdString(FormatTime(window_->Page().Total(),
                                                                          TimeStyle::Display)));
        QCOMPARE(Rows(), 1);
        QCOMPARE(Cell(0, 1), QStringLiteral("0:00.000"));
        QVERIFY(!Child<QLabel>("listHint")->isVisible());
        QVERIFY(Child<QLabel>("trackLabel")->text().startsWith(QStringLiteral("曲目号码 01/01:")));
        QCOMPARE(Child<QToolButton>("modeButton")->text(), QStringLiteral("自动模式"));

        // The title field's edits reach the rows built from the source.
        Type(Child<QLineEdit>("titleEdit"), QStringLiteral("新"));
        QCOMPARE(window_->Page().List().Source().titleField, std::string("新"));
        // 30 bytes: ten Chinese characters, never part of one.
        for (int i = 0; i < 11; ++i)
            Type(Child<QLineEdit>("artistEdit"), QStringLiteral("音"));
        QCOMPARE(window_->Page().List().Source().artistField.size(), 30u);

        // The mode menu: a switch that reloads nothing still changes the caption.
        auto* mode = Child<QToolButton>("modeButton");
        for (QAction* action : mode->menu()->actions()) {
            if (action->text() == QStringLiteral("帧分割(&M)"))
                action->trigger();
        }
        QCOMPARE(mode->text(), QStringLiteral("帧分割"));
        QCOMPARE(window_->Page().Mode(), SplitMode::Frame);
        QVERIFY(mode->menu()->actions()[2]->isChecked());
    }

    // The main window unloads the playback library on closing unless a page
    // is busy: the page goes on calling into it once a frame table is built.
    void theWindowIsBusyWhileAFrameTableIsBuilt()
    {
        int busyPumps = 0;
        ui_->onPump = [&] { busyPumps += window_->IsBusy() ? 1 : 0; };
        QVERIFY(window_->Page().LoadSource(vbr_));
        QVERIFY(window_->Page().Info().IsFrameTableLoaded());
        QVERIFY(ui_->pumps > 0);
        QCOMPARE(busyPumps, ui_->pumps);
        QVERIFY(!window_->IsBusy());
    }

    void droppingACueSheetLoadsItsTracksAndOnlyTheFirstFile()
    {
        const std::string sheet = dir_->File("album.cue");
        std::ofstream(sheet) << "PERFORMER \"Band\"\nTITLE \"Album\"\nFILE \"" << vbr_
                             << "\" MP3\n  TRACK 01 AUDIO\n    TITLE \"One\"\n"
                             << "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"Two\"\n"
                             << "    INDEX 01 00:02:00\n";
        DropFiles(*window_, {QString::fromStdString(sheet), QString::fromStdString(vbr_)});
        QCOMPARE(Rows(), 2);
        QCOMPARE(Cell(0, 4), QStringLiteral("One"));
        QCOMPARE(Cell(1, 4), QStringLiteral("Two"));
        QCOMPARE(Cell(1, 1), QStringLiteral("0:02.000"));
        QCOMPARE(Cell(1, 5), QStringLiteral("Band"));
    }

    void enterInTheTimeFieldAddsACutPointAndSelectsIt()
    {
        QVERIFY(!Child<QPushButton>("addButton")->isEnabled());
        QVERIFY(window_->Page().LoadSource(vbr_));
        auto* time = Child<TimeEdit>("timeEdit");
        time->SetTime(1'500);
        QTest::keyClick(time, Qt::Key_Return);
        time->SetTime(3'000);
        Child<QPushButton>("addButton")->click();
        QCOMPARE(Rows(), 3);
        QCOMPARE(Cell(1, 1), QStringLiteral("0:01.500"));
        QCOMPARE(List()->currentIndex().row(), 2);
        QCOMPARE(window_->Page().List().SelectedRow(), 2);
        QVERIFY(Child<QLabel>("trackLabel")->text().startsWith(QStringLiteral("曲目号码 03/03:")));

        // A click on another row is the page's selection, with its label and range.
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                          List()->visualRect(window_->Model().index(0, 2)).center());
        QCOMPARE(window_->Page().List().SelectedRow(), 0);
        QCOMPARE(window_->Page().SelectedRange(), (std::pair<TimeMs, TimeMs>{0, 1'500}));
        QVERIFY(Child<QLabel>("trackLabel")->text().startsWith(QStringLiteral("曲目号码 01/03:")));
    }

    // Typing a time leaves the focus in the time field (a text field, which
    // moves its caret on Ctrl+Home and Ctrl+End): the page's keys that move
    // the selected track's boundaries still reach the page from there.
    void ctrlHomeAndEndMoveTheTrackFromTheTextFields()
    {
        QVERIFY(window_->Page().LoadSource(vbr_));
        window_->Page().AddCutPointCommand(1'000);
        window_->Page().AddCutPointCommand(2'000);
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        List()->selectRow(1);
        auto* time = Child<TimeEdit>("timeEdit");
        time->setFocus();
        time->SetTime(500);
        QTest::keyClick(time, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(Cell(1, 1), QStringLiteral("0:00.500"));
        QCOMPARE(Cell(0, 2), QStringLiteral("0:00.500"));
        time->SetTime(2'500);
        auto* title = Child<QLineEdit>("titleEdit");
        title->setFocus();
        QTest::keyClick(title, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(Cell(1, 2), QStringLiteral("0:02.500"));
        QCOMPARE(Cell(2, 1), QStringLiteral("0:02.500"));
    }

    void theHeaderCheckSetsEveryRowAndARowItsOwn()
    {
        QVERIFY(window_->Page().LoadSource(vbr_));
        window_->Page().AddCutPointCommand(2'000);
        QHeaderView* header = List()->horizontalHeader();
        const QPoint section(header->sectionViewportPosition(0) + header->sectionSize(0) / 2,
                             header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, section);
        QVERIFY(!window_->Page().List().Row(0).checked);
        QVERIFY(!window_->Page().List().Row(1).checked);
        QVERIFY(window_->Model().setData(window_->Model().index(1, 0), Qt::Checked,
                                         Qt::CheckStateRole));
        QVERIFY(window_->Page().List().Row(1).checked);
        QVERIFY(!window_->Page().List().Row(0).checked);
    }

    void doubleClickAndEnterOpenTheTagEditor()
    {
        QVERIFY(window_->Page().LoadSource(vbr_));
        window_->Page().AddCutPointCommand(2'000);
        OnNextDialog([](QDialog& dialog) {
            QVERIFY(qobject_cast<TrackTagEditorDialog*>(&dialog));
            auto* title = dialog.findChild<QLineEdit*>(QStringLiteral("titleEdit"));
            title->setText(QStringLiteral("第二首"));
            dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        const QPoint second = List()->visualRect(window_->Model().index(1, 4)).center();
        // QTest's double click needs the press of a first click before it.
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, second);
        QCOMPARE(Cell(1, 4), QStringLiteral("第二首"));

        OnNextDialog([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("albumEdit"))
                ->setText(QStringLiteral("合辑"));
            dialog.findChild<QPushButton*>(QStringLiteral("applyAllButton"))->click();
        });
        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_Return);
        QCOMPARE(Cell(0, 6), QStringLiteral("合辑"));
        QCOMPARE(Cell(1, 6), QStringLiteral("合辑"));
        QCOMPARE(Cell(1, 4), QStringLiteral("第二首"));
    }

    void theContextMenuFollowsTheSourceAndTheSelection()
    {
        const QString choose = QStringLiteral("选择文件进行分割(&S)");
        const QString unload = QStringLiteral("移除 MP3");
        const QString tags = QStringLiteral("编辑 ID3 标签(&I)...");
        const QString start = QStringLiteral("设置起点(&S)");
        const QString save = QStringLiteral("保存列表(&L)");
        const QString preview = QStringLiteral("预览音轨(&P)");
        const QString settings = QStringLiteral("其他设置(&M)...");
        auto states = MenuStates(*window_->BuildContextMenu());
        QCOMPARE(states.size(), 14);
        QVERIFY(states[choose]);
        QVERIFY(!states[unload] && !states[tags] && !states[start] && !states[save]);
        QVERIFY(!states[settings]); // no settings action given

        int opened = 0;
        window_->SetOtherSettingsAction([&opened] { ++opened; });
        QVERIFY(window_->Page().LoadSource(vbr_));
        List()->selectionModel()->clear();
        states = MenuStates(*window_->BuildContextMenu());
        QVERIFY(states[choose] && states[unload] && states[save] && states[settings]);
        QVERIFY(!states[tags] && !states[start]);

        List()->selectRow(0);
        auto menu = window_->BuildContextMenu();
        states = MenuStates(*menu);
        QVERIFY(states[tags] && states[start]);
        QVERIFY(!states[preview]);
        for (QAction* action : menu->actions()) {
            if (action->text() == settings)
                action->trigger();
        }
        QCOMPARE(opened, 1);
    }

    // Four rows of the VBR file into the temporary folder, without questions.
    void PrepareRun(int successDialog)
    {
        settings_->SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
        settings_->SetSettingInt(setting::kSplitterShowSuccess, successDialog);
        QVERIFY(window_->Page().LoadSource(vbr_));
        for (TimeMs at : {1'000u, 2'000u, 3'500u})
            QVERIFY(window_->Page().AddCutPointCommand(at));
        window_->Page().SetDestination(dir_->Path());
    }

    std::vector<std::string> Outputs()
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_->Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    void aRunFromTheWindowWritesFilesThatPlay()
    {
        PrepareRun(0);
        auto* start = Child<QPushButton>("startButton");
        QCOMPARE(start->text(), QStringLiteral("开始分割(&S)"));
        QStringList disabled;
        QStringList statuses;
        ui_->onPump = [&] {
            statuses << Child<QLabel>("statusLabel")->text();
            if (!disabled.isEmpty())
                return;
            QCOMPARE(start->text(), QStringLiteral("停止分割(&S)"));
            QVERIFY(start->isEnabled());
            for (const char* name : {"sourceButton", "addButton", "specialButton", "removeButton",
                                     "clearButton", "setStartButton", "setEndButton",
                                     "lengthButton", "namingRuleEdit", "modeButton"}) {
                if (!Child<QWidget>(name)->isEnabled())
                    disabled << QString::fromLatin1(name);
            }
            QVERIFY(Child<QPushButton>("saveListButton")->isEnabled());
            QVERIFY(!List()->horizontalHeader()->isEnabled());
            QVERIFY(Child<QProgressBar>("progressBar")->maximum() == 4);
        };
        start->click();
        QCOMPARE(disabled.size(), 10);
        QCOMPARE(statuses.size(), 5); // before each row and after the last
        QCOMPARE(statuses[1], QStringLiteral("正在分割 # 01/04 - vbr_v2-001"));
        QCOMPARE(start->text(), QStringLiteral("开始分割(&S)"));
        QVERIFY(Child<QPushButton>("sourceButton")->isEnabled());
        QVERIFY(List()->horizontalHeader()->isEnabled());
        QCOMPARE(Child<QLabel>("statusLabel")->text(), QStringLiteral("已完成"));
        const std::vector<std::string> expected = {"vbr_v2-001.mp3", "vbr_v2-002.mp3",
                                                   "vbr_v2-003.mp3", "vbr_v2-004.mp3"};
        QCOMPARE(Outputs(), expected);
        const test::TempDir scratch;
        for (const std::string& name : expected) {
            const std::string path = dir_->File(name);
            const test::Mp3valReport report = test::RunMp3val(path);
            QVERIFY2(report.warnings.empty(), path.c_str());
            QVERIFY(report.frames > 1);
            QVERIFY(test::Mpg123SampleFrames(path, scratch.Path()) > 0);
        }
    }

    void theStartButtonStopsARunAfterAsking()
    {
        PrepareRun(0);
        auto* start = Child<QPushButton>("startButton");
        int runPumps = 0;
        ui_->onPump = [&] {
            if (window_->Page().IsRunning() && ++runPumps == 2) {
                ui_->answers = {MessageAnswer::Ok};
                start->click();
            }
        };
        start->click();
        QVERIFY(!ui_->messages.empty());
        QCOMPARE(ui_->messages.back().text, std::string("你确定要中止吗?"));
        QCOMPARE(Child<QLabel>("statusLabel")->text(), QStringLiteral("已中止"));
        QCOMPARE(Outputs(), (std::vector<std::string>{"vbr_v2-001.mp3"}));
        QCOMPARE(start->text(), QStringLiteral("开始分割(&S)"));

        // A drop while running is refused.
        runPumps = 0;
        ui_->onPump = [&] {
            if (window_->Page().IsRunning() && ++runPumps == 2)
                DropFiles(*window_, {QString::fromStdString(test::CorpusFile("cbr128"))});
        };
        start->click();
        QCOMPARE(window_->Page().SourceFileName(), std::string("vbr_v2.mp3"));
    }

    void theSuccessDialogsButtonsReachThePage()
    {
        PrepareRun(1);
        OnNextDialog([](QDialog& dialog) {
            for (auto* button : dialog.findChildren<QPushButton*>()) {
                if (button->text() == QStringLiteral("打开文件夹(&F)"))
                    button->click();
            }
        });
        Child<QPushButton>("startButton")->click();
        QCOMPARE(ui_->openedFolders, (std::vector<std::string>{dir_->Path()}));
        QCOMPARE(settings_->GetSettingInt(setting::kSplitterShowSuccess, -1), 1);
    }
};

} // namespace keldro

QTEST_MAIN(keldro::SplitPageWindowTest)
#include "split_page_window_test.moc"
