#include "splitter/ui/split_page_window.h"

#include "base/user_interaction.h"
#include "engine/id3v1.h"
#include "splitter/ui/split_list_model.h"
#include "string_table.h"
#include "timecue/time_format.h"
#include "ui_split_page_window.h"
#include "widgets/byte_limit_validator.h"
#include "widgets/check_header_view.h"
#include "widgets/qt_text.h"
#include "widgets/themed_icon.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace keldro {
namespace {

QString Text(StringId id)
{
    return FromBytes(LoadString(id));
}

QString Display(TimeMs ms)
{
    return FromBytes(FormatTime(ms, TimeStyle::Display));
}

} // namespace

SplitPageWindow::SplitPageWindow(UserInteraction& ui, SettingsStore& settings,
                                 const PlaybackService* playback, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::SplitPageWindow>()), user_(ui), settings_(settings),
      page_(ui, settings, *this, playback)
{
    ui_->setupUi(this);
    setAcceptDrops(true);
    SetUpList();
    SetUpButtons();
    SetUpMenus();
    SetUpPosition();
    WatchKeys();
    ConnectFields();
    ui_->statusLabel->setText(Text(StringId::StatusIdle));
    SourceChanged();
    ListChanged();
    ui_->trackLabel->setText(Text(StringId::TrackLabelInitial));
}

SplitPageWindow::~SplitPageWindow() = default;

void SplitPageWindow::SetOtherSettingsAction(std::function<void()> action)
{
    otherSettings_ = std::move(action);
}

void SplitPageWindow::SetUpList()
{
    QTableView* list = ui_->listView;
    model_ = new SplitListModel(page_, this);
    header_ = new CheckHeaderView(0, list);
    list->setHorizontalHeader(header_);
    list->setModel(model_);
    // The widths were chosen for a font in which a time fills about 48 of a
    // time column's 60 pixels; larger fonts widen every column alike.
    const int timeWidth = list->fontMetrics().horizontalAdvance(QStringLiteral("0:00.000"));
    const double scale = std::max(1.0, (timeWidth + 16) / 60.0);
    for (int column = 0; column < model_->columnCount(); ++column)
        list->setColumnWidth(column, static_cast<int>(model_->DefaultWidth(column) * scale));
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 8);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->verticalHeader()->hide();
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        BuildContextMenu()->exec(ui_->listView->viewport()->mapToGlobal(at));
    });
    connect(list, &QAbstractItemView::doubleClicked, this,
            [this] { Run(SplitCommand::EditTags, [this] { page_.EditTrackTags(); }); });
    connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SplitPageWindow::SyncSelectionFromView);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SplitPageWindow::SyncSelectionFromView);
    connect(header_, &CheckHeaderView::CheckClicked, this, [this] {
        model_->ToggleHeaderCheck();
        header_->SetChecked(model_->HeaderChecked());
    });
    // The hint sits in the middle of an empty list and lets clicks through.
    auto* hint = new QLabel(Text(StringId::SplitListHint), list->viewport());
    hint->setObjectName(QStringLiteral("listHint"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint->setEnabled(false);
    auto* hintLayout = new QVBoxLayout(list->viewport());
    hintLayout->addWidget(hint, 0, Qt::AlignCenter);
}

void SplitPageWindow::SetUpButtons()
{
    ui_->removeButton->setIcon(ThemedIcon(ButtonIcon::Remove));
    ui_->clearButton->setIcon(ThemedIcon(ButtonIcon::Clear));
    ui_->pauseButton->setIcon(ThemedIcon(ButtonIcon::Pause));
    ui_->fastForwardButton->setIcon(ThemedIcon(ButtonIcon::FastForward));
    ui_->beforeButton->setIcon(ThemedIcon(ButtonIcon::Back));
    ui_->afterButton->setIcon(ThemedIcon(ButtonIcon::Forward));
    ui_->goStartButton->setIcon(ThemedIcon(ButtonIcon::GoStart));
    ui_->goEndButton->setIcon(ThemedIcon(ButtonIcon::GoEnd));

    connect(ui_->sourceButton, &QPushButton::clicked, this, [this] { page_.ChooseSource(); });
    connect(ui_->addButton, &QPushButton::clicked, this, &SplitPageWindow::AddCutPoint);
    connect(ui_->removeButton, &QToolButton::clicked, this,
            [this] { page_.RemoveSelectedTrack(); });
    connect(ui_->clearButton, &QToolButton::clicked, this, [this] { page_.ClearList(); });
    connect(ui_->saveListButton, &QPushButton::clicked, this, [this] { page_.SaveListAsCue(); });
    connect(ui_->setStartButton, &QPushButton::clicked, this, [this] {
        page_.SetStartCommand(ui_->timeEdit->GetTime());
        ui_->timeEdit->setFocus();
    });
    connect(ui_->setEndButton, &QPushButton::clicked, this, [this] {
        page_.SetEndCommand(ui_->timeEdit->GetTime());
        ui_->timeEdit->setFocus();
    });
    connect(ui_->lengthButton, &QPushButton::clicked, this, [this] { page_.EditTrackLength(); });
    connect(ui_->namingHelpButton, &QPushButton::clicked, this, &SplitPageWindow::ShowNamingHelp);
    connect(ui_->destinationButton, &QPushButton::clicked, this, [this] {
        if (page_.ChooseDestination())
            ui_->destinationEdit->setText(FromBytes(page_.Destination()));
    });
    connect(ui_->startButton, &QPushButton::clicked, this, [this] { page_.RunSplit(); });
}

void SplitPageWindow::ConnectFields()
{
    connect(ui_->titleEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.List().Source().titleField = ToBytes(text); });
    connect(ui_->artistEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.List().Source().artistField = ToBytes(text); });
    connect(ui_->namingRuleEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.SetNamingRule(ToBytes(text)); });
    connect(ui_->destinationEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { page_.SetDestination(ToBytes(text)); });
    connect(ui_->timeEdit, &QLineEdit::returnPressed, this, &SplitPageWindow::AddCutPoint);
    titleLimit_ = ByteLimitValidator::Install(*ui_->titleEdit, kId3v1TextWidth);
    artistLimit_ = ByteLimitValidator::Install(*ui_->artistEdit, kId3v1TextWidth);
    ui_->namingRuleEdit->setText(FromBytes(page_.NamingRule()));
    ui_->destinationEdit->setText(FromBytes(page_.Destination()));
}

void SplitPageWindow::AddCutPoint()
{
    page_.AddCutPointCommand(ui_->timeEdit->GetTime());
    ui_->timeEdit->setFocus();
}

void SplitPageWindow::ShowNamingHelp()
{
    user_.ShowMessage(LoadString(StringId::NamingHelp), MessageIcon::Information,
                      MessageButtons::Ok);
}

void SplitPageWindow::Run(SplitCommand command, const std::function<void()>& action)
{
    if (page_.IsEnabled(command))
        action();
}

void SplitPageWindow::SourceChanged()
{
    const bool loaded = page_.IsLoaded();
    ui_->sourceFolderEdit->setText(FromBytes(page_.SourceFolder()));
    ui_->sourceFolderEdit->setCursorPosition(0);
    ui_->sourceFileEdit->setText(FromBytes(page_.SourceFileName()));
    ui_->sourceFileEdit->setCursorPosition(0);
    titleLimit_->SetText(FromBytes(page_.List().Source().titleField));
    artistLimit_->SetText(FromBytes(page_.List().Source().artistField));
    ui_->infoText->setPlainText(FromBytes(page_.InfoText()));
    ui_->totalLabel->setText(loaded ? QStringLiteral("/ ") + Display(page_.Total()) : QString());
    ui_->namingRuleEdit->setText(FromBytes(page_.NamingRule()));
    ui_->timeEdit->SetMaxTime(page_.Total());
    if (loaded) {
        ui_->timeEdit->setFocus();
    } else {
        ui_->trackLabel->clear();
        ui_->trackPositionLabel->clear();
        ui_->progressBar->setValue(0);
    }
    RefreshModeButton();
    RefreshEnabling();
}

void SplitPageWindow::ListChanged()
{
    model_->Refresh();
    header_->SetChecked(model_->HeaderChecked());
    ShowCoreSelection();
    RefreshListHint();
    RefreshEnabling();
}

void SplitPageWindow::StatusChanged(std::string_view status)
{
    ui_->statusLabel->setText(FromBytes(status));
}

void SplitPageWindow::ProgressChanged(int position, int maximum)
{
    ui_->progressBar->setRange(0, maximum);
    ui_->progressBar->setValue(position);
}

void SplitPageWindow::RunningChanged(bool running)
{
    ui_->startButton->setText(
        Text(running ? StringId::StopSplitButton : StringId::StartSplitButton));
    RefreshEnabling();
}

// The selected track is the current row when it is also selected.
void SplitPageWindow::SyncSelectionFromView()
{
    if (showingCoreSelection_)
        return;
    const QItemSelectionModel* selection = ui_->listView->selectionModel();
    const int current = selection->currentIndex().row();
    page_.SelectTrack(current >= 0 && selection->isRowSelected(current, {}) ? current : -1);
    RefreshTrackLabel();
    RefreshEnabling();
}

void SplitPageWindow::ShowCoreSelection()
{
    showingCoreSelection_ = true;
    const int row = page_.List().SelectedRow();
    QItemSelectionModel* selection = ui_->listView->selectionModel();
    if (row >= 0) {
        const QModelIndex index = model_->index(row, 0);
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        ui_->listView->scrollTo(index);
    } else {
        selection->clear();
    }
    showingCoreSelection_ = false;
    page_.SelectTrack(row);
    RefreshTrackLabel();
}

void SplitPageWindow::RefreshTrackLabel()
{
    const int row = page_.List().SelectedRow();
    if (row < 0)
        return;
    ui_->trackLabel->setText(FromBytes(page_.TrackLabel(row)));
}

void SplitPageWindow::RefreshListHint()
{
    if (auto* hint = ui_->listView->viewport()->findChild<QLabel*>(QStringLiteral("listHint")))
        hint->setVisible(page_.List().RowCount() == 0);
}

void SplitPageWindow::RefreshEnabling()
{
    const auto enable = [this](QWidget* widget, SplitCommand command) {
        widget->setEnabled(page_.IsEnabled(command));
    };
    enable(ui_->sourceButton, SplitCommand::ChooseSource);
    enable(ui_->addButton, SplitCommand::AddCutPoint);
    enable(ui_->specialButton, SplitCommand::SpecialSplit);
    enable(ui_->removeButton, SplitCommand::RemoveTrack);
    enable(ui_->clearButton, SplitCommand::ClearList);
    enable(ui_->saveListButton, SplitCommand::SaveList);
    enable(ui_->setStartButton, SplitCommand::UpdateTrack);
    enable(ui_->setEndButton, SplitCommand::UpdateTrack);
    enable(ui_->lengthButton, SplitCommand::UpdateTrack);
    enable(ui_->namingRuleEdit, SplitCommand::EditNamingRule);
    enable(ui_->modeButton, SplitCommand::SwitchMode);
    enable(ui_->destinationButton, SplitCommand::ChooseDestination);
    RefreshPosition();
    // The run reads the boxes row by row: the header's box is greyed meanwhile.
    header_->setEnabled(!page_.IsRunning());
}

} // namespace keldro
