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

#include <QShortcut>

namespace keldro {
namespace {

QString Text(StringId id)
{
    return FromBytes(LoadString(id));
}

// The tag keeps the track in one byte: three digits reach its largest number.
constexpr std::size_t kTrackDigits = 3;

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

std::array<std::pair<QAbstractButton*, MergeCommand>, 12> MergePageWindow::Buttons() const
{
    return {{
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
    }};
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
    for (const auto& [button, command] : Buttons()) {
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
    // Digits only, and a text from a row's tag that is not can still be shortened.
    ByteLimitValidator::Install(*ui_->yearEdit, kId3v1YearWidth,
                                ByteLimitValidator::Characters::Digits);
    ByteLimitValidator::Install(*ui_->trackEdit, kTrackDigits,
                                ByteLimitValidator::Characters::Digits);
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
// Delete can follow at once; the silence dialog, the folder chooser and the
// run leave the focus where they put it.
void MergePageWindow::Run(MergeCommand command)
{
    if (page_.Execute(command) && command != MergeCommand::InsertSilence &&
        command != MergeCommand::ChooseDestination && command != MergeCommand::StartOrStopMerge)
        ui_->listView->setFocus();
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
    // A run reads the rows by index: no drop adds or moves one meanwhile.
    ui_->listView->SetDropsAccepted(!busy);
    ui_->listView->setDragEnabled(!busy);
    if (busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
        ui_->listView->setFocus();
    }
    RefreshEnabling();
}

void MergePageWindow::RefreshTotals()
{
    ui_->durationLabel->setText(FromBytes(page_.DurationText()));
    ui_->sizeLabel->setText(FromBytes(page_.SizeText()));
}

void MergePageWindow::RefreshEnabling()
{
    const MergePageState state = page_.State();
    for (const auto& [button, command] : Buttons())
        button->setEnabled(IsMergeButtonEnabled(command, state));
    // The fields are the tag that copying a row's tag writes: both wait for a run.
    const bool tagEditable = IsMergeButtonEnabled(MergeCommand::CopyTags, state);
    for (QLineEdit* field : {ui_->titleEdit, ui_->artistEdit, ui_->albumEdit, ui_->yearEdit,
                             ui_->trackEdit, ui_->commentEdit})
        field->setEnabled(tagEditable);
    ui_->genreBox->setEnabled(tagEditable);
}

} // namespace keldro
