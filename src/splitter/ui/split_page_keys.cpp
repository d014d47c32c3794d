// The split page's keys: every key pressed in one of the page's widgets comes
// here first. The page's key map says whether it is the page's and what it
// runs; any other key goes on to the widget.
#include "splitter/ui/split_page_window.h"
#include "ui_split_page_window.h"

#include <array>
#include <optional>

#include <QKeyEvent>

namespace keldro {
namespace {

std::optional<PageKey> PageKeyOf(int key)
{
    static constexpr std::array<std::pair<int, PageKey>, 20> kKeys = {{
        {Qt::Key_Return, PageKey::Enter},  {Qt::Key_Enter, PageKey::Enter},
        {Qt::Key_Escape, PageKey::Escape}, {Qt::Key_Space, PageKey::Space},
        {Qt::Key_PageUp, PageKey::PageUp}, {Qt::Key_PageDown, PageKey::PageDown},
        {Qt::Key_Up, PageKey::Up},         {Qt::Key_Down, PageKey::Down},
        {Qt::Key_Left, PageKey::Left},     {Qt::Key_Right, PageKey::Right},
        {Qt::Key_Home, PageKey::Home},     {Qt::Key_End, PageKey::End},
        {Qt::Key_Delete, PageKey::Delete}, {Qt::Key_L, PageKey::L},
        {Qt::Key_D, PageKey::D},           {Qt::Key_O, PageKey::O},
        {Qt::Key_F2, PageKey::F2},         {Qt::Key_F3, PageKey::F3},
        {Qt::Key_F4, PageKey::F4},         {Qt::Key_F5, PageKey::F5},
    }};
    for (const auto& [qt, page] : kKeys) {
        if (qt == key)
            return page;
    }
    return std::nullopt;
}

PageModifiers ModifiersOf(Qt::KeyboardModifiers modifiers)
{
    return {modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::ShiftModifier),
            modifiers.testFlag(Qt::AltModifier)};
}

} // namespace

PageFocus SplitPageWindow::FocusOf(const QObject* widget) const
{
    if (widget == ui_->timeEdit)
        return PageFocus::TimeField;
    if (widget == ui_->spinButtons || (widget && widget->parent() == ui_->spinButtons))
        return PageFocus::Spin;
    if (widget == ui_->positionSlider)
        return PageFocus::PositionSlider;
    if (widget == ui_->listView || widget == ui_->listView->viewport())
        return PageFocus::List;
    if (widget == ui_->namingRuleEdit)
        return PageFocus::NamingRule;
    if (widget == ui_->titleEdit || widget == ui_->artistEdit || widget == ui_->destinationEdit)
        return PageFocus::TextField;
    return PageFocus::Other;
}

// The command a key pressed in widget runs, or None when it is the widget's.
PageCommand SplitPageWindow::CommandOf(const QObject* widget, const QKeyEvent& key) const
{
    const std::optional<PageKey> pageKey = PageKeyOf(key.key());
    if (!pageKey)
        return PageCommand::None;
    const PositionController& position = page_.Position();
    PageKeyStates states;
    states.pause = position.IsEnabled(PositionControl::Pause);
    states.play = position.IsEnabled(PositionControl::Play);
    states.preview = position.IsEnabled(PositionControl::Preview);
    states.before = position.IsEnabled(PositionControl::Before);
    states.after = position.IsEnabled(PositionControl::After);
    states.fastForward = position.IsEnabled(PositionControl::FastForward);
    return MapPageKey(*pageKey, ModifiersOf(key.modifiers()), FocusOf(widget), states);
}

// The page and the widgets inside it; its menus and dialogs are windows of
// their own and keep their keys.
void SplitPageWindow::WatchKeys()
{
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->window() == this)
            child->installEventFilter(this);
    }
}

bool SplitPageWindow::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    // A line edit or a slider claims keys such as Home or Up before any
    // shortcut; accepting the override sends the key here as a press.
    if (press || event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const PageCommand command = CommandOf(watched, key);
        if (command != PageCommand::None) {
            event->accept();
            if (press)
                RunPageCommand(command);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SplitPageWindow::RunPageCommand(PageCommand command)
{
    const TimeMs time = ui_->timeEdit->GetTime();
    switch (command) {
    case PageCommand::None:
    case PageCommand::Swallow:
        return;
    case PageCommand::AddCutPoint:
        return Run(SplitCommand::AddCutPoint, [this] { AddCutPoint(); });
    case PageCommand::EditTags:
        return Run(SplitCommand::EditTags, [this] { page_.EditTrackTags(); });
    case PageCommand::StartOrStopRun:
        return page_.RunSplit();
    case PageCommand::TogglePause:
        return ui_->pauseButton->click();
    case PageCommand::PageForward:
        return Move(PositionMove::PageForward);
    case PageCommand::PageBack:
        return Move(PositionMove::PageBack);
    case PageCommand::StepForward:
        return Move(PositionMove::StepForward);
    case PageCommand::StepBack:
        return Move(PositionMove::StepBack);
    case PageCommand::PositionStart:
        return Move(PositionMove::Start);
    case PageCommand::PositionEnd:
        return Move(PositionMove::End);
    case PageCommand::SetTrackStart:
        return page_.SetStartCommand(time);
    case PageCommand::SetTrackEnd:
        return page_.SetEndCommand(time);
    case PageCommand::GoToTrackStart:
        return AfterPosition([this] { Position().GoToTrackStart(); });
    case PageCommand::GoToTrackEnd:
        return AfterPosition([this] { Position().GoToTrackEnd(); });
    case PageCommand::RemoveTrack:
        return Run(SplitCommand::RemoveTrack, [this] { page_.RemoveSelectedTrack(); });
    case PageCommand::ClearList:
        return Run(SplitCommand::ClearList, [this] { page_.ClearList(); });
    case PageCommand::UnloadSource:
        return Run(SplitCommand::UnloadSource, [this] { page_.UnloadCommand(); });
    case PageCommand::EditTrackLength:
        return page_.EditTrackLength();
    case PageCommand::TogglePreview:
        return ui_->previewButton->click();
    case PageCommand::TogglePlay:
        return ui_->playButton->click();
    case PageCommand::PlayBefore:
        return ui_->beforeButton->click();
    case PageCommand::PlayAfter:
        return ui_->afterButton->click();
    case PageCommand::CycleFastForward:
        return ui_->fastForwardButton->click();
    case PageCommand::ChooseDestination:
        return ui_->destinationButton->click();
    case PageCommand::ChooseSource:
        return Run(SplitCommand::ChooseSource, [this] { page_.ChooseSource(); });
    }
}

} // namespace keldro
