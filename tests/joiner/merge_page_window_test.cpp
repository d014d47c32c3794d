// The merge page's window over the real page logic, on files made by lame:
// what only the widgets can get wrong (the list and its header, selection,
// keys, drops and drags, the tag fields, the context menu).
#include "base/settings.h"
#include "common/setting_keys.h"
#include "joiner/ui/merge_list_model.h"
#include "joiner/ui/merge_list_view.h"
#include "joiner/ui/merge_page_window.h"
#include "lame_corpus.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "widget_events.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace keldro {

class MergePageWindowTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<test::ScriptedInteraction> ui_;
    std::unique_ptr<MemorySettings> settings_;
    std::unique_ptr<test::ScriptedMergeView> converters_;
    std::unique_ptr<MergePageWindow> window_;
    QStringList files_; // three lame files, in name order

    template <typename T>
    T* Child(const char* name)
    {
        T* child = window_->findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no child %s", name);
        return child;
    }
    MergeListView* List() { return &window_->List(); }
    QString Cell(int row, int column)
    {
        return window_->Model().index(row, column).data().toString();
    }
    QStringList Names()
    {
        QStringList names;
        for (int row = 0; row < window_->Model().rowCount(); ++row)
            names << Cell(row, 0);
        return names;
    }
    std::vector<int> ViewSelection()
    {
        std::vector<int> rows;
        for (const QModelIndex& index : List()->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void SelectInView(std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = List()->selectionModel();
        selection->clearSelection();
        for (const int row : rows)
            selection->select(window_->Model().index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void AddThreeFiles() { QVERIFY(test::DropFiles(*List()->viewport(), files_)); }
    void ClickHeader(int column)
    {
        QHeaderView* header = List()->horizontalHeader();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    void Activate()
    {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

private slots:
    void initTestCase()
    {
        for (const char* name : {"cbr128", "cbr128_bare", "cbr128_tagged"})
            files_ << QString::fromStdString(test::CorpusFile(name));
    }

    void init()
    {
        ui_ = std::make_unique<test::ScriptedInteraction>();
        settings_ = std::make_unique<MemorySettings>();
        converters_ = std::make_unique<test::ScriptedMergeView>();
        window_ = std::make_unique<MergePageWindow>(*ui_, *settings_, *converters_);
        window_->resize(1000, 700);
        window_->show();
    }

    void cleanup() { window_.reset(); }

    void threeFilesShowTheirColumnsAndTheTotals()
    {
        QVERIFY(Child<QLabel>("listHint")->isVisible());
        QCOMPARE(Child<QLabel>("durationLabel")->text(), QStringLiteral("0:00:00"));
        AddThreeFiles();
        QCOMPARE(window_->Model().rowCount(), 3);
        QCOMPARE(window_->Model().columnCount(), 15);
        QCOMPARE(window_->Model().headerData(14, Qt::Horizontal).toString(),
                 QStringLiteral("文件路径"));
        QCOMPARE(Names(),
                 (QStringList{QStringLiteral("cbr128.mp3"), QStringLiteral("cbr128_bare.mp3"),
                              QStringLiteral("cbr128_tagged.mp3")}));
        QCOMPARE(Cell(0, 7), QStringLiteral("44100"));
        QCOMPARE(Cell(0, 8), QStringLiteral("128kbps"));
        QCOMPARE(Cell(0, 2), QStringLiteral("<无>"));
        QVERIFY(!Child<QLabel>("listHint")->isVisible());
        QCOMPARE(Child<QLabel>("durationLabel")->text(),
                 QString::fromStdString(window_->Page().DurationText()));
        QCOMPARE(Child<QLabel>("durationLabel")->text(), QStringLiteral("0:00:10")); // 4 + 3 + 3 s
        QVERIFY(Child<QLabel>("sizeLabel")->text().endsWith(QStringLiteral(" KB")));
        // The row added last is selected, shown and focused.
        QCOMPARE(ViewSelection(), window_->Page().List().SelectedRows());
    }

    // Qt's own sorting would flip between two states and reorder the model.
    void theHeaderCyclesThreeStatesAndStoresEachClick()
    {
        AddThreeFiles();
        QHeaderView* header = List()->horizontalHeader();
        QCOMPARE(header->sortIndicatorSection(), 0); // first start: by file name
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        ClickHeader(0);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(Names().first(), QStringLiteral("cbr128_tagged.mp3"));
        QCOMPARE(settings_->GetSettingInt(setting::kSortingDir, -1), 0);
        ClickHeader(0);
        QCOMPARE(header->sortIndicatorSection(), -1);
        QCOMPARE(settings_->GetSettingInt(setting::kSortingColumnOfJoiner, 0), -1);
        QCOMPARE(settings_->GetSettingInt(setting::kSortingDir, -1), 1);
        QCOMPARE(Names().first(), QStringLiteral("cbr128_tagged.mp3")); // the order stays
        ClickHeader(13); // file size, a new column: ascending
        QCOMPARE(header->sortIndicatorSection(), 13);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(settings_->GetSettingInt(setting::kSortingColumnOfJoiner, -1), 13);
        QVERIFY(Cell(0, 13).toLongLong() <= Cell(1, 13).toLongLong());
        QVERIFY(Cell(1, 13).toLongLong() <= Cell(2, 13).toLongLong());
    }

    void theSelectionStaysInStepThroughMovesRemovalsAndAdds()
    {
        settings_->SetSettingInt(setting::kSortingColumnOfJoiner, -1);
        window_ = std::make_unique<MergePageWindow>(*ui_, *settings_, *converters_);
        window_->show();
        Activate();
        AddThreeFiles(); // unsorted: the drop's last file stands first
        AddThreeFiles();
        SelectInView({1, 3});
        QCOMPARE(window_->Page().List().SelectedRows(), (std::vector<int>{1, 3}));
        const QStringList before = Names();
        Child<QToolButton>("downButton")->click(); // they end in rows 3 and 4, in their order
        QCOMPARE(Names()[3], before[1]);
        QCOMPARE(Names()[4], before[3]);
        QCOMPARE(ViewSelection(), (std::vector<int>{3, 4}));
        QCOMPARE(window_->Page().List().SelectedRows(), ViewSelection());
        // A clicked button takes the focus; after a command on the rows the list has it back.
        QTest::mouseClick(Child<QPushButton>("copyTagsButton"), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), List());
        Child<QToolButton>("removeButton")->click();
        QCOMPARE(window_->Model().rowCount(), 4);
        QCOMPARE(ViewSelection(), (std::vector<int>{2})); // the row before the first removed
        QCOMPARE(List()->currentIndex().row(), 2);
        Child<QLineEdit>("titleEdit")->setFocus();
        QVERIFY(test::DropFiles(*List()->viewport(), {files_[0]}));
        QCOMPARE(ViewSelection(), (std::vector<int>{4}));
        QCOMPARE(QApplication::focusWidget(), List()); // as after any add
        QVERIFY(!QApplication::overrideCursor());      // the wait cursor is gone
        QCOMPARE(window_->Page().List().SelectedRows(), ViewSelection());
        // Without a selection the buttons stay enabled and the page says why nothing moves.
        List()->selectionModel()->clearSelection();
        QVERIFY(Child<QToolButton>("topButton")->isEnabled());
        Child<QToolButton>("topButton")->click();
        QCOMPARE(ui_->messages.back().text, std::string("请先从列表中选择项目!"));
    }

    void theListsKeysActOnlyWhileItHasTheFocus()
    {
        AddThreeFiles();
        Activate();
        SelectInView({2});
        auto* title = Child<QLineEdit>("titleEdit");
        title->setText(QStringLiteral("abc"));
        title->setFocus();
        title->setCursorPosition(3);
        QTest::keyClick(title, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(title, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(title, Qt::Key_Home);
        QTest::keyClick(title, Qt::Key_Delete);
        QCOMPARE(title->text(), QStringLiteral("bc")); // the field's own keys
        QCOMPARE(window_->Model().rowCount(), 3);
        QCOMPARE(Names()[2], QStringLiteral("cbr128_tagged.mp3"));

        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(Names()[0], QStringLiteral("cbr128_tagged.mp3"));
        QCOMPARE(ViewSelection(), (std::vector<int>{0}));
        QTest::keyClick(List(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(Names()[1], QStringLiteral("cbr128_tagged.mp3"));
        QTest::keyClick(List(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(Names()[2], QStringLiteral("cbr128_tagged.mp3"));
        QTest::keyClick(List(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(Names()[1], QStringLiteral("cbr128_tagged.mp3"));
        QTest::keyClick(List(), Qt::Key_F2);
        QCOMPARE(ui_->openedFiles.back(), files_[2].toStdString());
        QTest::keyClick(List(), Qt::Key_Delete);
        QCOMPARE(window_->Model().rowCount(), 2);
        ui_->answers.push_back(MessageAnswer::Yes);
        QTest::keyClick(List(), Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(window_->Model().rowCount(), 0);
        QVERIFY(Child<QLabel>("listHint")->isVisible());
    }

    // Enter runs the merge from any field; an empty list asks for files first.
    void enterAnywhereStartsTheMerge()
    {
        Activate();
        auto* comment = Child<QLineEdit>("commentEdit");
        comment->setFocus();
        QTest::keyClick(comment, Qt::Key_Return);
        QCOMPARE(ui_->messages.size(), std::size_t{1});
        QCOMPARE(ui_->messages.front().text, std::string("请先添加你想要合并的 MP3 文件!"));
    }

    void droppedFilesAreAddedUnlessAMergeRuns()
    {
        // Anywhere on the page, several at once.
        QVERIFY(test::DropFiles(*Child<QLineEdit>("destinationEdit")->parentWidget(), files_));
        QCOMPARE(window_->Model().rowCount(), 3);
        // During a run the list refuses them.
        settings_->SetSettingInt(setting::kValidateBeforeMerge, 0);
        settings_->SetSettingInt(setting::kJoinerShowSuccess, 0);
        ui_->saveFiles.push_back(QDir::tempPath().toStdString() + "/keldro-window-drop.mp3");
        bool refused = false;
        ui_->onPump = [&] {
            if (!refused)
                refused = !test::DropFiles(*List()->viewport(), files_);
        };
        Child<QPushButton>("startButton")->click();
        QVERIFY(refused);
        QCOMPARE(window_->Model().rowCount(), 3);
        std::remove((QDir::tempPath().toStdString() + "/keldro-window-drop.mp3").c_str());
    }

    // A drag of rows names the row under the pointer, or the last row below them.
    void rowsDraggedInsideTheListMoveTheSelection()
    {
        AddThreeFiles();
        SelectInView({0});
        QMimeData rows;
        rows.setData(MergeListView::RowsMimeType(), List()->DragToken());
        QWidget* viewport = List()->viewport();
        const QPoint belowTheRows(10, viewport->height() - 5);
        QDragEnterEvent enter(belowTheRows, Qt::MoveAction, &rows, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(belowTheRows, Qt::MoveAction, &rows, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        QCOMPARE(List()->DropRow(), 2);
        const QPoint overRow1(10, List()->visualRect(window_->Model().index(1, 0)).center().y());
        QDragMoveEvent over(overRow1, Qt::MoveAction, &rows, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &over);
        QCOMPARE(List()->DropRow(), 1);
        QDropEvent drop(overRow1, Qt::MoveAction, &rows, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &drop);
        QCOMPARE(Names()[1], QStringLiteral("cbr128.mp3"));
        QCOMPARE(List()->DropRow(), -1);
        QCOMPARE(ViewSelection(), (std::vector<int>{1}));

        // Rows of another list (another window of the program) are no move here.
        QMimeData foreign;
        foreign.setData(MergeListView::RowsMimeType(), "other");
        QDragEnterEvent other(overRow1, Qt::MoveAction, &foreign, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &other);
        QVERIFY(!other.isAccepted());
    }

    void theFieldsAreThePagesTag()
    {
        AddThreeFiles();
        auto* genre = Child<QComboBox>("genreBox");
        QCOMPARE(genre->count(), 149);
        QCOMPARE(genre->itemText(0), QString());
        QCOMPARE(genre->itemText(1), QStringLiteral("Blues"));
        test::Type(Child<QLineEdit>("titleEdit"), QStringLiteral("合"));
        QCOMPARE(window_->Page().Tags().title, std::string("合"));
        for (int i = 0; i < 11; ++i)
            test::Type(Child<QLineEdit>("albumEdit"), QStringLiteral("音"));
        QCOMPARE(window_->Page().Tags().album.size(), 30u); // ten characters of three bytes
        test::Type(Child<QLineEdit>("yearEdit"), QStringLiteral("20261"));
        QCOMPARE(window_->Page().Tags().year, std::string("2026"));
        test::Type(Child<QLineEdit>("trackEdit"), QStringLiteral("x"));
        test::Type(Child<QLineEdit>("trackEdit"), QStringLiteral("7"));
        QCOMPARE(window_->Page().Tags().track, 7);
        genre->setCurrentIndex(18); // genre 17
        QCOMPARE(window_->Page().Tags().genreSelection, 18);

        // Copying a row's tag fills every field from it.
        SelectInView({2}); // the tagged file
        Child<QPushButton>("copyTagsButton")->click();
        const MergeEntry& row = window_->Page().List().Row(2);
        QCOMPARE(Child<QLineEdit>("titleEdit")->text(),
                 QString::fromStdString(row.Text(MergeColumn::Title)));
        QVERIFY(!Child<QLineEdit>("titleEdit")->text().isEmpty());
        QCOMPARE(Child<QLineEdit>("yearEdit")->text(),
                 QString::fromStdString(row.Text(MergeColumn::Year)));
        QCOMPARE(genre->currentText(), QString::fromStdString(row.Text(MergeColumn::Genre)));
    }

    void theContextMenuGreysRowCommandsWithoutASelection()
    {
        int settingsOpened = 0;
        QVERIFY(!test::MenuStates(*window_->BuildContextMenu())[QStringLiteral("其他设置(&M)...")]);
        window_->SetOtherSettingsAction([&] { ++settingsOpened; });
        AddThreeFiles();
        List()->selectionModel()->clearSelection();
        auto menu = window_->BuildContextMenu();
        const QMap<QString, bool> none = test::MenuStates(*menu);
        QCOMPARE(none.size(), 10);
        QVERIFY(none[QStringLiteral("添加文件进行合并(&A)")]);
        QVERIFY(none[QStringLiteral("设置静音(&S)...")]);
        for (const char* entry : {"移除(&R)", "清除列表(&C)", "上移(&U)", "下移(&D)",
                                  "移至顶端(&T)", "移至底端(&E)", "播放(&P)"})
            QVERIFY2(!none[QString::fromUtf8(entry)], entry);
        SelectInView({1});
        menu = window_->BuildContextMenu();
        QVERIFY(test::MenuStates(*menu)[QStringLiteral("移至顶端(&T)")]);
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("移至顶端(&T)"))
                action->trigger();
            if (action->text() == QStringLiteral("其他设置(&M)..."))
                action->trigger();
        }
        QCOMPARE(Names()[0], QStringLiteral("cbr128_bare.mp3"));
        QCOMPARE(settingsOpened, 1);
    }
};

} // namespace keldro

QTEST_MAIN(keldro::MergePageWindowTest)
#include "merge_page_window_test.moc"
