// The merge page's list: its view set up over the page's rows, the sorting
// header, and the selection kept in step with the page's.
#include "joiner/ui/merge_list_model.h"
#include "joiner/ui/merge_list_view.h"
#include "joiner/ui/merge_page_window.h"
#include "string_table.h"
#include "ui_merge_page_window.h"
#include "widgets/qt_text.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace keldro {

void MergePageWindow::SetUpList()
{
    MergeListView* list = ui_->listView;
    model_ = new MergeListModel(page_, this);
    list->setModel(model_);
    // The widths suit a font in which a clock time fills about 48 of a time
    // column's 60 pixels; larger fonts widen every column alike.
    const int timeWidth = list->fontMetrics().horizontalAdvance(QStringLiteral("0:00:00"));
    const double scale = std::max(1.0, (timeWidth + 20) / 60.0);
    for (int column = 0; column < model_->columnCount(); ++column)
        list->setColumnWidth(column, static_cast<int>(model_->DefaultWidth(column) * scale));
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 8);
    list->verticalHeader()->hide();
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    SetUpHeader();
    ConnectList();
    AddListHint();
}

// The page sorts, by its own three-click rule: the view never does.
void MergePageWindow::SetUpHeader()
{
    QHeaderView* header = ui_->listView->horizontalHeader();
    ui_->listView->setSortingEnabled(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        page_.ClickHeader(column);
        RefreshSortIndicator();
    });
}

void MergePageWindow::ConnectList()
{
    MergeListView* list = ui_->listView;
    connect(list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        BuildContextMenu()->exec(ui_->listView->viewport()->mapToGlobal(at));
    });
    connect(list, &QAbstractItemView::doubleClicked, this, [this] { Run(MergeCommand::Play); });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MergePageWindow::SyncSelectionFromView);
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &MergePageWindow::SyncSelectionFromView);
    connect(list, &MergeListView::KeyCommand, this, &MergePageWindow::Run);
    connect(list, &MergeListView::RowsDropped, this,
            [this](int target) { page_.MoveMergeSelection(target); });
    connect(list, &MergeListView::FilesDropped, this,
            [this](const std::vector<std::string>& paths) { page_.DropFiles(paths); });
}

// The hint sits in the middle of an empty list and lets clicks through.
void MergePageWindow::AddListHint()
{
    QWidget* viewport = ui_->listView->viewport();
    auto* hint = new QLabel(FromBytes(LoadString(StringId::MergeListHint))
                                .replace(QStringLiteral("\n "), QStringLiteral("\n")),
                            viewport);
    hint->setObjectName(QStringLiteral("listHint"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint->setEnabled(false);
    auto* layout = new QVBoxLayout(viewport);
    layout->addWidget(hint, 0, Qt::AlignCenter);
}

void MergePageWindow::SyncSelectionFromView()
{
    if (showingCoreState_)
        return;
    const QItemSelectionModel* selection = ui_->listView->selectionModel();
    std::vector<int> rows;
    for (const QModelIndex& index : selection->selectedRows())
        rows.push_back(index.row());
    page_.List().SetSelection(rows, selection->currentIndex().row());
    RefreshEnabling();
}

void MergePageWindow::ShowCoreSelection()
{
    showingCoreState_ = true;
    const MergeList& list = page_.List();
    QItemSelection rows;
    for (const int row : list.SelectedRows())
        rows.select(model_->index(row, 0), model_->index(row, model_->columnCount() - 1));
    QItemSelectionModel* selection = ui_->listView->selectionModel();
    selection->select(rows, QItemSelectionModel::ClearAndSelect);
    const int focused = list.FocusedRow();
    if (focused >= 0) {
        selection->setCurrentIndex(model_->index(focused, 0), QItemSelectionModel::NoUpdate);
        ui_->listView->scrollTo(model_->index(focused, 0));
    }
    showingCoreState_ = false;
}

void MergePageWindow::RefreshSortIndicator()
{
    const MergeList& list = page_.List();
    ui_->listView->horizontalHeader()->setSortIndicator(
        list.SortColumn(), list.SortDirection() == 1 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void MergePageWindow::RefreshListHint()
{
    if (auto* hint = ui_->listView->viewport()->findChild<QLabel*>(QStringLiteral("listHint")))
        hint->setVisible(page_.List().RowCount() == 0);
}

} // namespace keldro
