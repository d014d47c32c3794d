// The split list in a table: its columns, cells and tooltips, the check boxes
// of the rows and of the header, and a list that changes under the view.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "scripted_split_view.h"
#include "splitter/split_page.h"
#include "splitter/ui/split_list_model.h"
#include "temp_dir.h"
#include "timecue/time_format.h"
#include "widgets/check_header_view.h"

#include <filesystem>

#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>

using namespace keldro;

// A loaded page of about 39 s with rows starting at 0, 10 and 20 s, shown as
// the page window shows it.
struct ShownList
{
    ShownList() : page(ui, settings, view), model(page)
    {
        const std::string source = dir.File("music.mp3");
        test::WriteFile(source, test::Frames(test::HeaderFields{}, 1500));
        loaded = page.LoadSource(source) && page.AddCutPointCommand(10'000) &&
                 page.AddCutPointCommand(20'000);
        model.Refresh();
        header = new CheckHeaderView(0, &table);
        table.setHorizontalHeader(header);
        table.setModel(&model);
        table.setSelectionBehavior(QAbstractItemView::SelectRows);
        for (int column = 0; column < model.columnCount(); ++column)
            header->resizeSection(column, model.DefaultWidth(column));
        header->SetChecked(model.HeaderChecked());
        QObject::connect(header, &CheckHeaderView::CheckClicked, &model, [this] {
            model.ToggleHeaderCheck();
            header->SetChecked(model.HeaderChecked());
        });
        table.resize(900, 300);
        table.show();
    }

    std::vector<bool> Checks() const
    {
        std::vector<bool> checks;
        for (int row = 0; row < model.rowCount(); ++row)
            checks.push_back(model.index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked);
        return checks;
    }
    QPoint CheckIndicator(int row) const
    {
        QStyleOptionViewItem option;
        option.initFrom(table.viewport());
        option.rect = table.visualRect(model.index(row, 0));
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        return table.style()
            ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &table)
            .center();
    }
    void ClickRowBox(int row)
    {
        QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, CheckIndicator(row));
    }
    QPoint HeaderPoint(int section) const
    {
        return {header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                header->height() / 2};
    }
    void ClickHeader()
    {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, HeaderPoint(0));
    }

    test::TempDir dir;
    test::ScriptedInteraction ui;
    MemorySettings settings;
    test::ScriptedSplitView view;
    SplitPage page;
    SplitListModel model;
    QTableView table;
    CheckHeaderView* header = nullptr;
    bool loaded = false;
};

class SplitListModelTest final : public QObject
{
    Q_OBJECT

private slots:
    void columnsTakeTheirCaptionsAndWidthsFromTheColumnList()
    {
        ShownList list;
        QVERIFY(list.loaded);
        const std::vector<const char*> captions = {
            " ",    "起点",   "终点",     "长度", "标题",     "艺术家",   "专辑",
            "流派", "发行年", "曲目号码", "注释", "向后交迭", " 向前交迭"};
        // The column list spells the last caption with a leading blank; it is shown as given.
        const std::vector<int> widths = {30, 60, 60, 60, 100, 100, 100, 80, 60, 60, 100, 80, 80};
        QCOMPARE(list.model.columnCount(), 13);
        for (int column = 0; column < 13; ++column) {
            QCOMPARE(list.model.headerData(column, Qt::Horizontal).toString(),
                     QString::fromUtf8(captions[std::size_t(column)]));
            QCOMPARE(list.model.DefaultWidth(column), widths[std::size_t(column)]);
            QCOMPARE(list.header->sectionSize(column), widths[std::size_t(column)]);
        }
        QCOMPARE(list.model.DefaultWidth(13), 0);
        QCOMPARE(list.model.DefaultWidth(-1), 0);
    }

    void cellsShowTheListsTextsAndEveryCellItsTooltip()
    {
        ShownList list;
        QVERIFY(list.loaded);
        list.page.List().MutableRow(1).title = "Überfahrt 第二";
        list.page.List().MutableRow(2).forwardOverlap = 1'500;
        list.model.Refresh();
        QCOMPARE(list.model.rowCount(), 3);
        auto text = [&](int row, int column) {
            return list.model.index(row, column).data().toString();
        };
        QCOMPARE(text(1, 1), QStringLiteral("0:10.000"));
        QCOMPARE(text(1, 2), QStringLiteral("0:20.000"));
        QCOMPARE(text(1, 3), QStringLiteral("0:10.000"));
        QCOMPARE(text(1, 4), QStringLiteral("Überfahrt 第二"));
        QCOMPARE(text(2, 2),
                 QString::fromStdString(FormatTime(list.page.Total(), TimeStyle::Display)));
        QCOMPARE(text(2, 12), QStringLiteral("0:01.500"));
        QCOMPARE(text(2, 11), QStringLiteral("0:00.000"));
        QVERIFY(!list.model.index(0, 0).data().isValid());
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 13; ++column) {
                const QModelIndex index = list.model.index(row, column);
                QCOMPARE(index.data(Qt::ToolTipRole).toString(),
                         QStringLiteral("双击该音轨编辑它的 ID3 标签。"));
                if (column > 0) {
                    QCOMPARE(text(row, column), QString::fromStdString(list.page.List().CellText(
                                                    row, static_cast<SplitColumn>(column))));
                    QVERIFY(!index.data(Qt::CheckStateRole).isValid());
                }
                const Qt::ItemFlags flags = list.model.flags(index);
                QVERIFY(flags & Qt::ItemIsSelectable);
                QVERIFY(flags & Qt::ItemIsEnabled);
                QVERIFY(!(flags & Qt::ItemIsEditable));
                QCOMPARE(bool(flags & Qt::ItemIsUserCheckable), column == 0);
            }
        }
        QVERIFY(!list.model.setData(list.model.index(1, 4), QStringLiteral("x")));
        QCOMPARE(list.page.List().Row(1).title, std::string("Überfahrt 第二"));
    }

    void aRowsBoxTogglesThatRowAloneAndLeavesTheHeader()
    {
        ShownList list;
        QVERIFY(QTest::qWaitForWindowExposed(&list.table));
        QSignalSpy changed(&list.model, &QAbstractItemModel::dataChanged);
        list.ClickRowBox(1);
        QCOMPARE(list.Checks(), (std::vector<bool>{true, false, true}));
        QVERIFY(!list.page.List().Row(1).checked);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), list.model.index(1, 0));
        QCOMPARE(changed[0][1].toModelIndex(), list.model.index(1, 0));
        QVERIFY(list.model.HeaderChecked());
        QVERIFY(list.header->IsChecked());
        list.ClickRowBox(1);
        QCOMPARE(list.Checks(), (std::vector<bool>{true, true, true}));
    }

    void theHeaderSetsEveryRowAndNewRowsFollowIt()
    {
        ShownList list;
        QVERIFY(QTest::qWaitForWindowExposed(&list.table));
        list.ClickRowBox(1);
        QSignalSpy changed(&list.model, &QAbstractItemModel::dataChanged);
        QSignalSpy headerChanged(&list.model, &QAbstractItemModel::headerDataChanged);
        const auto spoken = [&list] {
            return list.model.headerData(0, Qt::Horizontal, Qt::AccessibleTextRole).toString();
        };
        QCOMPARE(spoken(), QStringLiteral("全部生成 (已选中)"));
        list.ClickHeader();
        QCOMPARE(spoken(), QStringLiteral("全部生成 (未选中)"));
        QCOMPARE(headerChanged.count(), 1);
        QVERIFY(!list.model.HeaderChecked());
        QVERIFY(!list.header->IsChecked());
        QCOMPARE(list.Checks(), (std::vector<bool>{false, false, false}));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), list.model.index(0, 0));
        QCOMPARE(changed[0][1].toModelIndex(), list.model.index(2, 0));

        QVERIFY(list.page.AddCutPointCommand(30'000));
        list.model.Refresh();
        QCOMPARE(list.Checks(), (std::vector<bool>{false, false, false, false}));

        list.ClickRowBox(0);
        list.ClickHeader();
        QVERIFY(list.header->IsChecked());
        QCOMPARE(list.Checks(), (std::vector<bool>{true, true, true, true}));
        QVERIFY(list.page.AddCutPointCommand(5'000));
        list.model.Refresh();
        QCOMPARE(list.Checks(), (std::vector<bool>{true, true, true, true, true}));
    }

    void aHeaderPressThatDragsTogglesNothing()
    {
        ShownList list;
        QVERIFY(QTest::qWaitForWindowExposed(&list.table));
        QTest::mousePress(list.header->viewport(), Qt::LeftButton, {}, list.HeaderPoint(0));
        for (const int section : {2, 5, 0}) {
            const QPoint at = list.HeaderPoint(section);
            QMouseEvent move(QEvent::MouseMove, at, list.header->viewport()->mapToGlobal(at),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(list.header->viewport(), &move);
        }
        QTest::mouseRelease(list.header->viewport(), Qt::LeftButton, {}, list.HeaderPoint(0));
        QVERIFY(list.model.HeaderChecked());
        QVERIFY(list.header->IsChecked());
        QCOMPARE(list.Checks(), (std::vector<bool>{true, true, true}));
    }

    void refreshKeepsTheRowsOfTheList()
    {
        ShownList list;
        QSignalSpy reset(&list.model, &QAbstractItemModel::modelReset);
        QVERIFY(list.page.AddCutPointCommand(30'000));
        list.model.Refresh();
        QCOMPARE(list.model.rowCount(), 4);
        QCOMPARE(list.table.verticalHeader()->count(), 4);
        QCOMPARE(list.model.index(3, 1).data().toString(), QStringLiteral("0:30.000"));
        const QModelIndex last = list.model.index(3, 1);
        const QModelIndex lastBox = list.model.index(3, 0);

        list.page.SelectTrack(3);
        list.page.RemoveSelectedTrack();
        // Until the window's Refresh, the view may still ask for the old last row.
        QVERIFY(!list.model.data(last).isValid());
        QVERIFY(!list.model.data(last, Qt::ToolTipRole).isValid());
        QCOMPARE(list.model.flags(last), Qt::NoItemFlags);
        QVERIFY(!list.model.setData(lastBox, Qt::Unchecked, Qt::CheckStateRole));
        list.model.Refresh();
        QCOMPARE(reset.count(), 2);
        QCOMPARE(list.model.rowCount(), 3);
        QCOMPARE(list.table.verticalHeader()->count(), 3);
        QCOMPARE(list.model.index(2, 2).data().toString(),
                 QString::fromStdString(FormatTime(list.page.Total(), TimeStyle::Display)));

        list.page.UnloadSource();
        list.model.Refresh();
        QCOMPARE(list.model.rowCount(), 0);
        QVERIFY(list.model.ToggleHeaderCheck()); // no rows: nothing to announce
        QVERIFY(!list.model.HeaderChecked());
    }

    void theBoxesAreRefusedWhileASplitRuns()
    {
        ShownList list;
        const std::string out = list.dir.File("out");
        std::filesystem::create_directory(out);
        list.page.SetDestination(out);
        list.settings.SetSettingInt(setting::kSplitterOutputFolderConfirmation, 0);
        list.settings.SetSettingInt(setting::kSplitterShowSuccess, 0);
        QSignalSpy changed(&list.model, &QAbstractItemModel::dataChanged);
        int tries = 0;
        list.ui.onPump = [&] {
            if (!list.page.IsRunning() || tries > 0)
                return;
            ++tries;
            QVERIFY(!list.model.setData(list.model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
            QVERIFY(!list.model.ToggleHeaderCheck());
        };
        list.page.RunSplit();
        QCOMPARE(tries, 1);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(list.Checks(), (std::vector<bool>{true, true, true}));
        QVERIFY(list.model.HeaderChecked());
        QCOMPARE(list.page.LastRunOutcome(), RunOutcome::Done);
    }
};

QTEST_MAIN(SplitListModelTest)
#include "split_list_model_test.moc"
