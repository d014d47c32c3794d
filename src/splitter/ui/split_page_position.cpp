// The split page's position controls: the time field with its spin buttons,
// the two sliders, playback, preview and the step dialog. The page's position
// controller decides; this shows what it says after every command and tick.
#include "splitter/step_sizes.h"
#include "splitter/ui/split_page_window.h"
#include "splitter/ui/step_sizes_dialog.h"
#include "string_table.h"
#include "ui_split_page_window.h"
#include "widgets/qt_text.h"

#include <QSignalBlocker>
#include <QTimer>

namespace keldro {
namespace {

QString Text(StringId id)
{
    return FromBytes(LoadString(id));
}

void SetUpSlider(QSlider& slider)
{
    slider.setRange(0, kSliderMaximum);
    slider.setPageStep(kSliderPage);
    slider.setTickInterval(kSliderPage);
    slider.setTickPosition(QSlider::TicksBelow);
}

} // namespace

void SplitPageWindow::SetUpPosition()
{
    SetUpSlider(*ui_->positionSlider);
    SetUpSlider(*ui_->trackSlider);
    ui_->fastForwardButton->setCheckable(true);
    ticker_ = new QTimer(this);
    ticker_->setInterval(kTickMs);
    connect(ticker_, &QTimer::timeout, this,
            [this] { AfterPosition([this] { Position().Tick(); }); });

    connect(ui_->playButton, &QPushButton::clicked, this, [this] {
        AfterPosition([this] { Position().TogglePlay(); });
        ui_->timeEdit->setFocus();
    });
    connect(ui_->pauseButton, &QToolButton::clicked, this, [this] {
        AfterPosition([this] { Position().TogglePause(); });
        // Paused, Up, Down and the page keys move the position at once;
        // playing again, Space on the button pauses again.
        if (Position().IsPaused())
            ui_->timeEdit->setFocus();
        else if (Position().IsPlaying())
            ui_->pauseButton->setFocus();
    });
    connect(ui_->fastForwardButton, &QToolButton::clicked, this,
            [this] { AfterPosition([this] { Position().CycleFastForward(); }); });
    connect(ui_->beforeButton, &QToolButton::clicked, this, [this] { PlayAround(true); });
    connect(ui_->afterButton, &QToolButton::clicked, this, [this] { PlayAround(false); });
    connect(ui_->previewButton, &QPushButton::clicked, this, [this] {
        AfterPosition([this] { Position().TogglePreview(); });
        ui_->listView->setFocus();
    });
    connect(ui_->goStartButton, &QToolButton::clicked, this,
            [this] { AfterPosition([this] { Position().GoToTrackStart(); }); });
    connect(ui_->goEndButton, &QToolButton::clicked, this,
            [this] { AfterPosition([this] { Position().GoToTrackEnd(); }); });
    connect(ui_->positionSlider, &QSlider::valueChanged, this, [this](int value) {
        AfterPosition([this, value] { Position().PositionSliderMoved(value); });
    });
    connect(ui_->trackSlider, &QSlider::valueChanged, this, [this](int value) {
        AfterPosition([this, value] { Position().TrackSliderMoved(value); });
    });
    connect(ui_->timeEdit, &TimeEdit::TimeEdited, this,
            [this](qint64 ms) { AfterPosition([this, ms] { Position().TimeTyped(ms); }); });
    connect(ui_->spinButtons, &SpinButtons::StepUp, this,
            [this] { Move(PositionMove::StepForward); });
    connect(ui_->spinButtons, &SpinButtons::StepDown, this,
            [this] { Move(PositionMove::StepBack); });
    connect(ui_->stepButton, &QPushButton::clicked, this, &SplitPageWindow::EditStepSizes);
}

PositionController& SplitPageWindow::Position()
{
    return page_.Position();
}

void SplitPageWindow::AfterPosition(const std::function<void()>& command)
{
    if (refreshingPosition_)
        return; // a value set while painting is not the user's
    command();
    RefreshPosition();
}

// The ticker runs while the two seconds play: a dialog opened meanwhile holds
// the controller's wait, and the ticks stop the stream in time instead.
void SplitPageWindow::PlayAround(bool before)
{
    ticker_->start();
    AfterPosition([this, before] { Position().PlayAround(before); });
}

void SplitPageWindow::Move(PositionMove move)
{
    AfterPosition([this, move] { Position().MovePosition(move); });
}

void SplitPageWindow::EditStepSizes()
{
    StepSizes sizes = StepSizes::Open(settings_);
    StepSizesDialog dialog(sizes, this);
    if (dialog.exec() == QDialog::Accepted) {
        sizes.Store(settings_);
        Position().SetSizes(sizes.step, sizes.page);
    }
    ui_->timeEdit->setFocus();
}

// Everything the position controls show, from the controller.
void SplitPageWindow::RefreshPosition()
{
    const PositionController& position = Position();
    refreshingPosition_ = true;
    if (ui_->timeEdit->GetTime() != static_cast<qint64>(position.FieldTime()))
        ui_->timeEdit->SetTime(position.FieldTime());
    ui_->positionSlider->setValue(position.PositionSlider());
    ui_->trackSlider->setValue(position.TrackSlider());
    refreshingPosition_ = false;
    const TimeMs total = page_.Total();
    const auto [first, last] = position.SelectedRange();
    if (page_.IsLoaded() && first < last)
        ui_->positionSlider->SetSelection(SliderValue(first, total), SliderValue(last, total));
    else
        ui_->positionSlider->ClearSelection();
    if (page_.IsLoaded() && page_.List().SelectedRow() >= 0)
        ui_->trackPositionLabel->setText(
            FromBytes(FormatTime(position.TrackPositionTime(), TimeStyle::Display)));
    ui_->playButton->setText(
        Text(position.IsPlaying() ? StringId::StopPlaybackButton : StringId::PlayButton));
    ui_->previewButton->setText(
        Text(position.IsPreviewing() ? StringId::StopPlaybackButton : StringId::PreviewButton));
    ui_->pauseButton->setChecked(position.IsPaused());
    ui_->fastForwardButton->setChecked(position.FastForwardLevel() > 0);
    ui_->fastForwardButton->setText(FromBytes(position.FastForwardText()));
    RefreshPositionEnabling();
    const bool ticking =
        position.IsPlaying() || position.IsPreviewing() || position.IsPlayingAround();
    if (ticking && !ticker_->isActive())
        ticker_->start();
    else if (!ticking)
        ticker_->stop();
}

void SplitPageWindow::RefreshPositionEnabling()
{
    const PositionController& position = Position();
    const auto enable = [&position](QWidget* widget, PositionControl control) {
        widget->setEnabled(position.IsEnabled(control));
    };
    enable(ui_->timeEdit, PositionControl::TimeField);
    enable(ui_->spinButtons, PositionControl::TimeField);
    enable(ui_->stepButton, PositionControl::TimeField);
    enable(ui_->positionSlider, PositionControl::TimeField);
    enable(ui_->playButton, PositionControl::Play);
    enable(ui_->fastForwardButton, PositionControl::FastForward);
    enable(ui_->pauseButton, PositionControl::Pause);
    enable(ui_->beforeButton, PositionControl::Before);
    enable(ui_->afterButton, PositionControl::After);
    enable(ui_->previewButton, PositionControl::Preview);
    enable(ui_->trackSlider, PositionControl::Preview);
    enable(ui_->goStartButton, PositionControl::GoToStart);
    enable(ui_->goEndButton, PositionControl::GoToEnd);
}

} // namespace keldro
