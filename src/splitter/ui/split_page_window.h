// CMP3SplitPage's window: the source, the split list with its buttons and
// context menu, the naming rule, the destination and the run. Every decision is
// the page's (SplitPage); this class shows its state and forwards clicks, keys
// and drops to it.
#pragma once

#include "common/ui/page_slot.h"
#include "splitter/page_keys.h"
#include "splitter/position_controller.h"
#include "splitter/split_page.h"
#include "splitter/split_page_view.h"

#include <functional>
#include <memory>
#include <vector>

#include <QIcon>
#include <QWidget>

class QKeyEvent;
class QMenu;
class QTimer;

namespace Ui {
class SplitPageWindow;
}

namespace keldro {

class ByteLimitValidator;
class CheckHeaderView;
class PlaybackService;
class SettingsStore;
class SplitListModel;
class UserInteraction;

class SplitPageWindow final : public QWidget, public PageSlot, public SplitPageView
{
    Q_OBJECT

public:
    SplitPageWindow(UserInteraction& ui, SettingsStore& settings,
                    const PlaybackService* playback = nullptr, QWidget* parent = nullptr);
    ~SplitPageWindow() override;

    SplitPage& Page() { return page_; }
    SplitListModel& Model() { return *model_; }

    // PageSlot
    QWidget* Widget() override { return this; }
    // While a run or a frame table's pass is on the stack, the page still
    // calls into the playback library: the main window keeps it loaded.
    bool IsBusy() const override { return page_.IsRunning() || page_.IsLoadingFrames(); }
    void RequestStop() override { page_.RequestStop(false); }

    // "其他设置(&M)..." is opened by the main window on the page's behalf.
    void SetOtherSettingsAction(std::function<void()> action);
    // The context menu as it would open now (the caller owns it).
    std::unique_ptr<QMenu> BuildContextMenu();

    // SplitPageView
    bool EditTags(TrackTagEditor& editor) override;
    bool AskEqualParts(SpecialTimeAdd& dialog) override;
    bool AskOverlaps(TrackAddOverlap& dialog) override;
    bool AskTrackLength(TrackUpdate& dialog) override;
    bool ShowSplitComplete(SplitComplete& dialog) override;
    void SourceChanged() override;
    void ListChanged() override;
    void StatusChanged(std::string_view status) override;
    void ProgressChanged(int position, int maximum) override;
    void RunningChanged(bool running) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpList();
    void SetUpButtons();
    void SetUpMenus();
    void SetUpPosition();
    void WatchKeys();
    void ConnectFields();
    void SyncSelectionFromView();
    void ShowCoreSelection();
    void RefreshTrackLabel();
    void RefreshEnabling();
    void RefreshModeButton();
    QIcon ModeIcon(SplitMode mode) const;
    void RefreshListHint();
    void ShowNamingHelp();
    void AddCutPoint();
    PageFocus FocusOf(const QObject* widget) const;
    PageCommand CommandOf(const QObject* widget, const QKeyEvent& key) const;
    void RunPageCommand(PageCommand command);
    PositionController& Position();
    void AfterPosition(const std::function<void()>& command);
    void Move(PositionMove move);
    void PlayAround(bool before);
    void EditStepSizes();
    void RefreshPosition();
    void RefreshPositionEnabling();
    void Run(SplitCommand command, const std::function<void()>& action);

    std::unique_ptr<Ui::SplitPageWindow> ui_;
    UserInteraction& user_;
    SettingsStore& settings_;
    SplitPage page_;
    SplitListModel* model_ = nullptr;
    CheckHeaderView* header_ = nullptr;
    ByteLimitValidator* titleLimit_ = nullptr;
    ByteLimitValidator* artistLimit_ = nullptr;
    QMenu* modeMenu_ = nullptr;
    QMenu* specialMenu_ = nullptr;
    std::function<void()> otherSettings_;
    QTimer* ticker_ = nullptr;
    bool refreshingPosition_ = false;
    bool showingCoreSelection_ = false;
};

} // namespace keldro
