// The merge list in a table: its fifteen columns, the cells of added files,
// and a list that changes under the view.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "joiner/merge_page.h"
#include "joiner/ui/merge_list_model.h"
#include "mp3_builder.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "temp_dir.h"
#include "widgets/qt_text.h"

#include <functional>

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace keldro;

namespace {

// Tells the test of every ListChanged, as the page window hears it.
struct ListView final : test::ScriptedMergeView
{
    void ListChanged() override
    {
        if (onListChanged)
            onListChanged();
    }
    std::function<void()> onListChanged;
};

} // namespace

MemorySettings SortedBy(int column)
{
    MemorySettings settings;
    settings.SetSettingInt(setting::kSortingColumnOfJoiner, column);
    return settings;
}

// A merge page shown as the page window shows it: the model refreshed at
// every ListChanged; unsorted, the rows keep the order they come in.
struct ShownMergeList
{
    explicit ShownMergeList(int sortColumn = -1)
        : settings(SortedBy(sortColumn)), page(ui, settings, view, view), model(page)
    {
        view.onListChanged = [this] { model.Refresh(); };
        table.setModel(&model);
        table.setSelectionBehavior(QAbstractItemView::SelectRows);
        for (int column = 0; column < model.columnCount(); ++column)
            table.horizontalHeader()->resizeSection(column, model.DefaultWidth(column));
        table.resize(900, 300);
    }

    // 8 frames of 128 kbit/s at 44.1 kHz, 0.21 s.
    std::string MakeFile(const std::string& name, const test::Bytes& tag = {})
    {
        test::Bytes bytes = test::Frames(test::HeaderFields{}, 8);
        test::Append(bytes, tag);
        const std::string path = dir.File(name);
        test::WriteFile(path, bytes);
        return path;
    }
    QString Text(int row, int column) const { return model.index(row, column).data().toString(); }
    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts.push_back(ToBytes(Text(row, column)));
        return texts;
    }
    void Select(std::initializer_list<int> rows)
    {
        for (int row = 0; row < page.List().RowCount(); ++row)
            page.List().MutableRow(row).selected = false;
        for (const int row : rows)
            page.List().MutableRow(row).selected = true;
    }

    test::TempDir dir;
    test::ScriptedInteraction ui;
    MemorySettings settings;
    ListView view;
    MergePage page;
    MergeListModel model;
    QTableView table;
};

class MergeListModelTest final : public QObject
{
    Q_OBJECT

private slots:
    void fifteenColumnsTakeTheirCaptionsAndWidthsFromTheColumnList()
    {
        ShownMergeList list;
        // The column list spells the channels' caption with a leading blank; it is shown as given.
        const std::vector<const char*> captions = {
            "文件名称", "时间",  "静音", "标题",   "艺术家", "专辑",     "曲目号码", "采样率",
            "比特率",   " 声道", "流派", "发行年", "备注",   "文件大小", "文件路径"};
        const std::vector<int> widths = {120, 60, 55, 80, 80,  60, 50, 60,
                                         80,  60, 80, 60, 100, 60, 120};
        QCOMPARE(list.model.columnCount(), 15);
        QCOMPARE(list.table.horizontalHeader()->count(), 15);
        for (int column = 0; column < 15; ++column) {
            const auto at = static_cast<std::size_t>(column);
            QCOMPARE(list.model.headerData(column, Qt::Horizontal).toString(),
                     QString::fromUtf8(captions[at]));
            QVERIFY(!list.model.headerData(column, Qt::Horizontal, Qt::ToolTipRole).isValid());
            QCOMPARE(list.model.DefaultWidth(column), widths[at]);
            QCOMPARE(list.table.horizontalHeader()->sectionSize(column), widths[at]);
        }
        QCOMPARE(list.model.DefaultWidth(15), 0);
        QCOMPARE(list.model.DefaultWidth(-1), 0);
        QCOMPARE(list.model.rowCount(), 0);
    }

    void cellsShowEachAddedFilesOwnTexts()
    {
        ShownMergeList list;
        const test::Bytes tag = test::Id3v1Tag("Song", "Singer", "Record", "1999", "note", 7, 17);
        const std::string tagged = list.MakeFile("tagged.mp3", tag);
        const std::string plain = list.MakeFile("第二首.mp3");
        list.page.DropFiles({tagged});
        list.page.DropFiles({plain});
        QCOMPARE(list.model.rowCount(), 2);
        QCOMPARE(list.table.verticalHeader()->count(), 2);
        QCOMPARE(list.model.rowCount(list.model.index(0, 0)), 0); // a table: no children
        QCOMPARE(list.model.columnCount(list.model.index(0, 0)), 0);

        const int kAudioBytes = 8 * test::FrameLengthOf(test::HeaderFields{});
        const QString folder = QString::fromStdString(list.dir.Path() + "/");
        const std::vector<std::string> first = {
            "tagged.mp3", "0:00:00", "<无>", "Song", "Singer", "Record", "7", "44100", "128kbps"};
        for (std::size_t column = 0; column < first.size(); ++column)
            QCOMPARE(ToBytes(list.Text(0, int(column))), first[column]);
        QCOMPARE(list.Text(0, 10), QStringLiteral("Rock"));
        QCOMPARE(list.Text(0, 11), QStringLiteral("1999"));
        QCOMPARE(list.Text(0, 12), QStringLiteral("note"));
        QCOMPARE(list.Text(0, 13), QString::number(kAudioBytes + 128));
        QCOMPARE(list.Text(0, 14), folder);
        QCOMPARE(list.Text(1, 0), QStringLiteral("第二首.mp3"));
        QCOMPARE(list.Text(1, 3), QString());
        QCOMPARE(list.Text(1, 6), QStringLiteral("0"));
        QCOMPARE(list.Text(1, 13), QString::number(kAudioBytes));

        // Every cell is its row's own text; none is editable.
        list.page.List().MutableRow(1).Text(MergeColumn::Silence) = "5";
        list.model.Refresh();
        QCOMPARE(list.Column(2), (std::vector<std::string>{"<无>", "5"}));
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 15; ++column) {
                const QModelIndex index = list.model.index(row, column);
                QCOMPARE(index.data().toString(),
                         FromBytes(list.page.List().Row(row).texts[std::size_t(column)]));
                QVERIFY(!index.data(Qt::ToolTipRole).isValid());
                QVERIFY(!index.data(Qt::CheckStateRole).isValid());
                const Qt::ItemFlags flags = list.model.flags(index);
                QVERIFY(flags & Qt::ItemIsSelectable);
                QVERIFY(flags & Qt::ItemIsEnabled);
                QVERIFY(!(flags & Qt::ItemIsEditable));
            }
        }
        QVERIFY(!list.model.setData(list.model.index(0, 3), QStringLiteral("x")));
        QCOMPARE(list.page.List().Row(0).Text(MergeColumn::Title), std::string("Song"));
    }

    void refreshFollowsAddsMovesAndRemoves()
    {
        ShownMergeList list;
        QSignalSpy reset(&list.model, &QAbstractItemModel::modelReset);
        list.page.DropFiles({list.MakeFile("a.mp3"), list.MakeFile("b.mp3")});
        // One drop, every file at the same position: the later stands first.
        QCOMPARE(list.Column(0), (std::vector<std::string>{"b.mp3", "a.mp3"}));
        QCOMPARE(reset.count(), 1);
        list.page.DropFiles({list.MakeFile("c.mp3")});
        QCOMPARE(list.Column(0), (std::vector<std::string>{"b.mp3", "a.mp3", "c.mp3"}));

        list.Select({2});
        list.page.MoveTop();
        QCOMPARE(list.Column(0), (std::vector<std::string>{"c.mp3", "b.mp3", "a.mp3"}));
        list.page.ClickHeader(0);
        QCOMPARE(list.Column(0), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));

        list.Select({0, 1});
        list.page.RemoveMergeSelection();
        QCOMPARE(list.Column(0), (std::vector<std::string>{"c.mp3"}));
        QCOMPARE(list.table.verticalHeader()->count(), 1);
        list.page.ClearMergeList(false);
        QCOMPARE(list.model.rowCount(), 0);
        QCOMPARE(list.table.verticalHeader()->count(), 0);
        QCOMPARE(reset.count(), 6);
    }

    // Until the window's Refresh the view may still ask for rows the page
    // removed; they give nothing rather than reaching past the list.
    void rowsRemovedBeforeTheRefreshGiveNothing()
    {
        ShownMergeList list;
        list.page.DropFiles({list.MakeFile("a.mp3"), list.MakeFile("b.mp3")});
        const QModelIndex last = list.model.index(1, 14);
        const QModelIndex first = list.model.index(0, 0);
        list.view.onListChanged = nullptr;
        list.Select({1});
        list.page.RemoveMergeSelection();
        QCOMPARE(list.page.List().RowCount(), 1);
        QVERIFY(!list.model.data(last).isValid());
        QCOMPARE(list.model.flags(last), Qt::NoItemFlags);
        QCOMPARE(list.model.data(first).toString(), QStringLiteral("b.mp3"));
        list.page.ClearMergeList(false);
        QVERIFY(!list.model.data(first).isValid());
        QCOMPARE(list.model.flags(first), Qt::NoItemFlags);
        QVERIFY(!list.model.data(QModelIndex()).isValid());
        list.model.Refresh();
        QCOMPARE(list.model.rowCount(), 0);
    }

    // The header's order is the page's: Qt's own sorting leaves the rows alone.
    void qtsSortingLeavesTheRowsInThePagesOrder()
    {
        ShownMergeList list(0);
        list.page.DropFiles({list.MakeFile("b.mp3"), list.MakeFile("a.mp3")});
        QCOMPARE(list.Column(0), (std::vector<std::string>{"a.mp3", "b.mp3"}));
        QSignalSpy layout(&list.model, &QAbstractItemModel::layoutChanged);
        list.model.sort(0, Qt::DescendingOrder);
        list.table.sortByColumn(0, Qt::DescendingOrder);
        QCOMPARE(list.Column(0), (std::vector<std::string>{"a.mp3", "b.mp3"}));
        QCOMPARE(layout.count(), 0);
        QVERIFY(!list.table.isSortingEnabled());
        QCOMPARE(list.page.List().Row(0).Text(MergeColumn::FileName), std::string("a.mp3"));
    }
};

QTEST_MAIN(MergeListModelTest)
#include "merge_list_model_test.moc"
