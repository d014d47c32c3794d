#include "joiner/ui/merge_page_window.h"

#include "engine/id3v1.h"
#include "joiner/ui/merge_list_model.h"
#include "joiner/ui/merge_list_view.h"
#include "string_table.h"
#include "ui_merge_page_window.h"
#include "widgets/byte_limit_validator.h"
#include "widgets/qt_text.h"
#include "widgets/themed_icon.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QVBoxLayout>

namespace keldro {
namespace {

QString Text(StringId id)
{
    return FromBytes(LoadString(id));
}

} // namespace

MergePageWindow::MergePageWindow(UserInteraction& ui, SettingsStore& settings,
                                 ConverterHost& converters, const PlaybackService* playback,
                                 QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::MergePageWindow>()), user_(ui), settings_(settings),
      page_(ui, settings, *this, converters, playback)
{
    ui_->setupUi(this);
    setAcceptDrops(true);
    SetUpList();
    SetUpButtons();
    SetUpShortcuts();
    SetUpFields();
    ui_->statusLabel->setText(Text(StringId::StatusIdle));
    ListChanged();
    FieldsChanged();
}

MergePageWindow::~MergePageWindow() = default;

MergeListView& MergePageWindow::List()
{
    return *ui_->listView;
}

void MergePageWindow::SetOtherSettingsAction(std::function<void()> action)
{
    otherSettings_ = std::move(action);
}

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
    // The page sorts, by its own three-click rule: the view never does.
    QHeaderView* header = list->horizontalHeader();
    list->setSortingEnabled(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(true);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        page_.ClickHeader(column);
        RefreshSortIndicator();
    });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
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
    // The hint sits in the middle of an empty list and lets clicks through.
    auto* hint = new QLabel(
        Text(StringId::MergeListHint).replace(QStringLiteral("\n "), QStringLiteral("\n")),
        list->viewport());
    hint->setObjectName(QStringLiteral("listHint"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint->setEnabled(false);
    auto* hintLayout = new QVBoxLayout(list->viewport());
    hintLayout->addWidget(hint, 0, Qt::AlignCenter);
}

void MergePageWindow::SetUpButtons()
{
    ui_->removeButton->setIcon(ThemedIcon(ButtonIcon::Remove));
    ui_->clearButton->setIcon(ThemedIcon(ButtonIcon::Clear));
    ui_->upButton->setIcon(ThemedIcon(ButtonIcon::MoveUp));
    ui_->downButton->setIcon(ThemedIcon(ButtonIcon::MoveDown));
    ui_->topButton->setIcon(ThemedIcon(ButtonIcon::MoveTop));
    ui_->bottomButton->setIcon(ThemedIcon(ButtonIcon::MoveBottom));
    ui_->playButton->setIcon(ThemedIcon(ButtonIcon::Play));
    const std::pair<QAbstractButton*, MergeCommand> buttons[] = {
        {ui_->addButton, MergeCommand::AddFiles},
        {ui_->silenceButton, MergeCommand::InsertSilence},
        {ui_->removeButton, MergeCommand::Remove},
        {ui_->clearButton, MergeCommand::Clear},
        {ui_->upButton, MergeCommand::MoveUp},
        {ui_->downButton, MergeCommand::MoveDown},
        {ui_->topButton, MergeCommand::MoveTop},
        {ui_->bottomButton, MergeCommand::MoveBottom},
        {ui_->playButton, MergeCommand::Play},
        {ui_->copyTagsButton, MergeCommand::CopyTags},
        {ui_->destinationButton, MergeCommand::ChooseDestination},
        {ui_->startButton, MergeCommand::StartOrStopMerge},
    };
    for (const auto& [button, command] : buttons) {
        connect(button, &QAbstractButton::clicked, this,
                [this, command = command] { Run(command); });
    }
}

// Enter runs the merge from anywhere on the page, Alt+D picks the destination;
// the list's own keys are the list's (MergeListView).
void MergePageWindow::SetUpShortcuts()
{
    const auto add = [this](const QKeySequence& keys, MergeCommand command) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, command] { Run(command); });
    };
    add(QKeySequence(Qt::Key_Return), MergeCommand::StartOrStopMerge);
    add(QKeySequence(Qt::Key_Enter), MergeCommand::StartOrStopMerge);
    add(QKeySequence(Qt::ALT | Qt::Key_D), MergeCommand::ChooseDestination);
}

void MergePageWindow::SetUpFields()
{
    titleLimit_ = ByteLimitValidator::Install(*ui_->titleEdit, kId3v1TextWidth);
    artistLimit_ = ByteLimitValidator::Install(*ui_->artistEdit, kId3v1TextWidth);
    albumLimit_ = ByteLimitValidator::Install(*ui_->albumEdit, kId3v1TextWidth);
    ui_->yearEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kId3v1YearWidth)), ui_->yearEdit));
    ui_->trackEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kId3v1TrackTextWidth)),
        ui_->trackEdit));
    ui_->genreBox->addItem(QString());
    for (std::uint32_t genre = 0; genre < kGenreCount; ++genre)
        ui_->genreBox->addItem(FromBytes(GenreName(genre)));
    ConnectFieldEdits();
}

// The fields are the page's tag: every edit goes straight into it.
void MergePageWindow::ConnectFieldEdits()
{
    for (QLineEdit* edit : {ui_->titleEdit, ui_->artistEdit, ui_->albumEdit, ui_->yearEdit,
                            ui_->commentEdit, ui_->trackEdit})
        connect(edit, &QLineEdit::textChanged, this, &MergePageWindow::StoreTags);
    connect(ui_->genreBox, &QComboBox::currentIndexChanged, this, &MergePageWindow::StoreTags);
}

void MergePageWindow::StoreTags()
{
    if (showingCoreState_)
        return;
    page_.SetTags({.title = ToBytes(ui_->titleEdit->text()),
                   .artist = ToBytes(ui_->artistEdit->text()),
                   .album = ToBytes(ui_->albumEdit->text()),
                   .year = ToBytes(ui_->yearEdit->text()),
                   .comment = ToBytes(ui_->commentEdit->text()),
                   .track = ui_->trackEdit->text().toInt(),
                   .genreSelection = std::max(ui_->genreBox->currentIndex(), 0)});
}

// After a command on the rows the keys go on in the list, where Ctrl+Up or
// Delete can follow at once.
void MergePageWindow::Run(MergeCommand command)
{
    if (!page_.Execute(command))
        return;
    switch (command) {
    case MergeCommand::AddFiles:
    case MergeCommand::Remove:
    case MergeCommand::Clear:
    case MergeCommand::MoveUp:
    case MergeCommand::MoveDown:
    case MergeCommand::MoveTop:
    case MergeCommand::MoveBottom:
    case MergeCommand::Play:
    case MergeCommand::CopyTags:
        ui_->listView->setFocus();
        break;
    default:
        break;
    }
}

void MergePageWindow::ListChanged()
{
    model_->Refresh();
    ShowCoreSelection();
    RefreshSortIndicator();
    RefreshTotals();
    RefreshListHint();
    RefreshEnabling();
}

void MergePageWindow::FieldsChanged()
{
    showingCoreState_ = true;
    const MergeTags& tags = page_.Tags();
    titleLimit_->SetText(FromBytes(tags.title));
    artistLimit_->SetText(FromBytes(tags.artist));
    albumLimit_->SetText(FromBytes(tags.album));
    ui_->yearEdit->setText(FromBytes(tags.year));
    ui_->commentEdit->setText(FromBytes(tags.comment));
    ui_->trackEdit->setText(tags.track > 0 ? QString::number(tags.track) : QString());
    ui_->genreBox->setCurrentIndex(std::clamp(tags.genreSelection, 0, ui_->genreBox->count() - 1));
    ui_->destinationEdit->setText(FromBytes(page_.Destination()));
    ui_->destinationEdit->setCursorPosition(0);
    showingCoreState_ = false;
}

void MergePageWindow::StatusChanged(std::string_view status)
{
    ui_->statusLabel->setText(FromBytes(status));
}

void MergePageWindow::ProgressChanged(int position, int maximum)
{
    ui_->progressBar->setRange(0, std::max(maximum, 1));
    ui_->progressBar->setValue(position);
}

void MergePageWindow::RunningChanged(bool busy)
{
    ui_->startButton->setText(Text(busy ? StringId::StopMergeButton : StringId::StartMergeButton));
    ui_->listView->SetFileDropsAccepted(!busy);
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
        ui_->listView->setFocus();
    }
    RefreshEnabling();
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

void MergePageWindow::RefreshTotals()
{
    ui_->durationLabel->setText(FromBytes(page_.DurationText()));
    ui_->sizeLabel->setText(FromBytes(page_.SizeText()));
}

void MergePageWindow::RefreshListHint()
{
    if (auto* hint = ui_->listView->viewport()->findChild<QLabel*>(QStringLiteral("listHint")))
        hint->setVisible(page_.List().RowCount() == 0);
}

void MergePageWindow::RefreshEnabling()
{
    const MergePageState state = page_.State();
    const std::pair<QWidget*, MergeCommand> buttons[] = {
        {ui_->addButton, MergeCommand::AddFiles},
        {ui_->silenceButton, MergeCommand::InsertSilence},
        {ui_->removeButton, MergeCommand::Remove},
        {ui_->clearButton, MergeCommand::Clear},
        {ui_->upButton, MergeCommand::MoveUp},
        {ui_->downButton, MergeCommand::MoveDown},
        {ui_->topButton, MergeCommand::MoveTop},
        {ui_->bottomButton, MergeCommand::MoveBottom},
        {ui_->playButton, MergeCommand::Play},
        {ui_->copyTagsButton, MergeCommand::CopyTags},
        {ui_->destinationButton, MergeCommand::ChooseDestination},
        {ui_->startButton, MergeCommand::StartOrStopMerge},
    };
    for (const auto& [widget, command] : buttons)
        widget->setEnabled(IsMergeButtonEnabled(command, state));
    // The fields are the tag that copying a row's tag writes: both wait for a run.
    const bool tagEditable = IsMergeButtonEnabled(MergeCommand::CopyTags, state);
    for (QLineEdit* field : {ui_->titleEdit, ui_->artistEdit, ui_->albumEdit, ui_->yearEdit,
                             ui_->trackEdit, ui_->commentEdit})
        field->setEnabled(tagEditable);
    ui_->genreBox->setEnabled(tagEditable);
}

} // namespace keldro
