// A merge run from the merge page's window, on files made by lame: the whole
// road from the start button to the success dialog, a stop, the controls a
// run disables, and the dialogs the page opens on its way.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "joiner/ui/download_converter_dialog.h"
#include "joiner/ui/insert_silence_dialog.h"
#include "joiner/ui/merge_complete_dialog.h"
#include "joiner/ui/merge_list_model.h"
#include "joiner/ui/merge_list_view.h"
#include "joiner/ui/merge_page_window.h"
#include "joiner/ui/merge_validate_dialog.h"
#include "lame_corpus.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "temp_dir.h"
#include "tools.h"
#include "widget_child.h"
#include "widget_events.h"

#include <filesystem>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace keldro {

class MergePageWindowRunTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::TempDir> dir_;
    std::unique_ptr<test::ScriptedInteraction> ui_;
    std::unique_ptr<MemorySettings> settings_;
    std::unique_ptr<test::ScriptedMergeView> converters_;
    std::unique_ptr<MergePageWindow> window_;
    QStringList files_;

    template <typename T>
    static T* ChildOf(QWidget& parent, const char* name)
    {
        T* child = parent.findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no child %s", name);
        return child;
    }
    template <typename T>
    T* Child(const char* name)
    {
        return ChildOf<T>(*window_, name);
    }
    QPushButton* Start() { return Child<QPushButton>("startButton"); }
    std::string Output() { return dir_->File("合并.mp3"); }
    void AddFiles(const QStringList& files)
    {
        QVERIFY(test::DropFiles(window_->List(), files));
        window_->List().selectAll();
    }

private slots:
    void initTestCase()
    {
        for (const char* name : {"cbr128", "cbr128_bare", "cbr128_tagged"})
            files_ << QString::fromStdString(test::CorpusFile(name));
    }

    void init()
    {
        dir_ = std::make_unique<test::TempDir>();
        ui_ = std::make_unique<test::ScriptedInteraction>();
        settings_ = std::make_unique<MemorySettings>();
        converters_ = std::make_unique<test::ScriptedMergeView>();
        window_ = std::make_unique<MergePageWindow>(*ui_, *settings_, *converters_);
        window_->resize(1000, 700);
        window_->show();
        ui_->saveFiles.push_back(Output());
    }

    void cleanup()
    {
        window_.reset();
        dir_.reset();
    }

    // Every frame of every file, in list order, and a tag from the fields;
    // "立即播放" opens the result.
    void aWholeMergeFromTheWindow()
    {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        AddFiles(files_);
        test::Type(Child<QLineEdit>("titleEdit"), QStringLiteral("合并"));
        Child<QLineEdit>("titleEdit")->setFocus();
        bool dialogShown = false;
        test::OnNextDialog([&](QDialog& dialog) {
            dialogShown = qobject_cast<MergeCompleteDialog*>(&dialog) != nullptr;
            ChildOf<QAbstractButton>(dialog, "playButton")->click();
        });
        Start()->click();
        QVERIFY(dialogShown);
        QCOMPARE(window_->Page().LastRunOutcome(), RunOutcome::Done);
        QCOMPARE(ui_->openedFiles.back(), Output());
        QCOMPARE(Child<QLabel>("statusLabel")->text(), QStringLiteral("已完成"));
        QCOMPARE(Child<QProgressBar>("progressBar")->value(), 3);
        QCOMPARE(Start()->text(), QStringLiteral("开始合并(&M)"));
        QCOMPARE(window_->focusWidget(), &window_->List()); // once the dialog has gone

        long sourceSamples = 0;
        for (const QString& file : files_)
            sourceSamples += test::Mpg123SampleFrames(file.toStdString(), dir_->Path());
        QCOMPARE(test::Mpg123SampleFrames(Output(), dir_->Path()), sourceSamples);
        const test::Mp3valReport mp3val = test::RunMp3val(Output());
        QVERIFY2(mp3val.warnings.empty(),
                 mp3val.warnings.empty() ? "" : mp3val.warnings[0].c_str());
        CMP3Info joined;
        QVERIFY(joined.Analyse(Output()));
        QCOMPARE(joined.Tag().title, std::string("合并"));
    }

    // Only its three buttons choose; the close box neither plays nor stores.
    void theSuccessDialogsCloseBoxChoosesNothing()
    {
        settings_->SetSettingInt(setting::kStartNewMerge, 0);
        AddFiles({files_[0]});
        test::OnNextDialog([](QDialog& dialog) {
            test::Tick(dialog, "newMergeBox");
            dialog.close();
        });
        Start()->click();
        QVERIFY(ui_->openedFiles.empty());
        QVERIFY(ui_->openedFolders.empty());
        QCOMPARE(settings_->GetSettingInt(setting::kStartNewMerge, 1), 0);
        QCOMPARE(window_->Model().rowCount(), 1); // the ticked box started no new merge
    }

    void aStopClickEndsTheRunAndRemovesTheOutput()
    {
        settings_->SetSettingInt(setting::kJoinerShowSuccess, 0);
        AddFiles(files_);
        ui_->answers.push_back(MessageAnswer::Ok); // "你确定要中止吗?"
        bool clicked = false;
        ui_->onPump = [&] {
            if (clicked)
                return;
            clicked = true;
            QCOMPARE(Start()->text(), QStringLiteral("停止合并(&M)"));
            Start()->click();
        };
        Start()->click();
        QVERIFY(clicked);
        QCOMPARE(window_->Page().LastRunOutcome(), RunOutcome::Aborted);
        QCOMPARE(Child<QLabel>("statusLabel")->text(), QStringLiteral("已中止"));
        QVERIFY(!std::filesystem::exists(Output()));
        QCOMPARE(Start()->text(), QStringLiteral("开始合并(&M)"));
        QVERIFY(Child<QPushButton>("addButton")->isEnabled());
    }

    void aRunDisablesWhatChangesTheRowsOrTheTag()
    {
        settings_->SetSettingInt(setting::kJoinerShowSuccess, 0);
        window_->SetOtherSettingsAction([] {});
        AddFiles(files_);
        QMap<QString, bool> during;
        QMap<QString, bool> menu;
        bool rowDragRefused = false;
        ui_->onPump = [&] {
            if (!during.isEmpty())
                return;
            for (QWidget* widget : window_->findChildren<QWidget*>()) {
                if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                    qobject_cast<QComboBox*>(widget) || widget == &window_->List())
                    during[widget->objectName()] = widget->isEnabled();
            }
            menu = test::MenuStates(*window_->BuildContextMenu());
            QMimeData rows;
            rows.setData(MergeListView::RowsMimeType(), window_->List().DragToken());
            QDragEnterEvent drag({10, 10}, Qt::MoveAction, &rows, Qt::LeftButton, {});
            QApplication::sendEvent(window_->List().viewport(), &drag);
            rowDragRefused = !drag.isAccepted() && !window_->List().dragEnabled();
        };
        Start()->click();
        for (const char* name :
             {"addButton", "silenceButton", "removeButton", "clearButton", "upButton", "downButton",
              "topButton", "bottomButton", "copyTagsButton", "titleEdit", "artistEdit", "albumEdit",
              "yearEdit", "trackEdit", "commentEdit", "genreBox"})
            QVERIFY2(!during.value(QString::fromLatin1(name), true), name);
        for (const char* name : {"listView", "playButton", "destinationButton", "startButton"})
            QVERIFY2(during.value(QString::fromLatin1(name), false), name);
        // The menu stays: it offers playing and the settings, nothing that edits rows.
        QVERIFY(menu[QStringLiteral("播放(&P)")]);
        QVERIFY(menu[QStringLiteral("其他设置(&M)...")]);
        QVERIFY(!menu[QStringLiteral("移除(&R)")]);
        QVERIFY(!menu[QStringLiteral("添加文件进行合并(&A)")]);
        QVERIFY(rowDragRefused);
        QVERIFY(window_->List().dragEnabled());
        for (const char* name : {"addButton", "removeButton", "titleEdit", "genreBox"})
            QVERIFY2(ChildOf<QWidget>(*window_, name)->isEnabled(), name);
    }

    // Files of other parameters ask first: "忽略" merges, "取消" writes nothing;
    // "立即转换" without a converter shows where to get one and keeps asking.
    void theParameterWarningAndTheDownloadDialog()
    {
        AddFiles({files_[0], QString::fromStdString(test::CorpusFile("cbr_mono48"))});
        bool downloadShown = false;
        test::OnNextDialog([&](QDialog& warning) {
            QVERIFY(qobject_cast<MergeValidateDialog*>(&warning));
            test::OnNextDialog([&](QDialog& download) {
                downloadShown = qobject_cast<DownloadConverterDialog*>(&download) != nullptr;
                ChildOf<QAbstractButton>(download, "okButton")->click();
                test::OnNextDialog([](QDialog& again) {
                    ChildOf<QAbstractButton>(again, "cancelButton")->click();
                });
            });
            ChildOf<QAbstractButton>(warning, "convertButton")->click();
        });
        Start()->click();
        QVERIFY(downloadShown);
        QCOMPARE(window_->Page().LastRunOutcome(), RunOutcome::Refused);
        QVERIFY(!std::filesystem::exists(Output()));

        settings_->SetSettingInt(setting::kJoinerShowSuccess, 0);
        test::OnNextDialog(
            [](QDialog& warning) { ChildOf<QAbstractButton>(warning, "ignoreButton")->click(); });
        Start()->click();
        QCOMPARE(window_->Page().LastRunOutcome(), RunOutcome::Done);
        QVERIFY(std::filesystem::exists(Output()));
    }

    void theSilenceDialogSetsTheSelectedRowsOrAll()
    {
        AddFiles(files_);
        window_->List().selectRow(1);
        test::OnNextDialog([](QDialog& dialog) {
            ChildOf<QLineEdit>(dialog, "lengthEdit")->setText(QStringLiteral("2"));
            ChildOf<QAbstractButton>(dialog, "applyButton")->click();
        });
        Child<QPushButton>("silenceButton")->click();
        const auto silence = [this](int row) {
            return window_->Model().index(row, 2).data().toString();
        };
        QCOMPARE(silence(1), QStringLiteral("2"));
        QCOMPARE(silence(0), QStringLiteral("<无>"));
        test::OnNextDialog([](QDialog& dialog) {
            ChildOf<QLineEdit>(dialog, "lengthEdit")->setText(QStringLiteral("3"));
            ChildOf<QAbstractButton>(dialog, "applyAllButton")->click();
        });
        Child<QPushButton>("silenceButton")->click();
        for (int row = 0; row < 3; ++row)
            QCOMPARE(silence(row), QStringLiteral("3"));
    }
};

} // namespace keldro

QTEST_MAIN(keldro::MergePageWindowRunTest)
#include "merge_page_window_run_test.moc"
