// CMP3JoinerPage's window: the merge list with its buttons, keys, drags and
// context menu, the tag of the result, the destination and the run. Every
// decision is the page's (MergePage); this class shows its state and forwards
// clicks, keys and drops to it.
#pragma once

#include "common/ui/page_slot.h"
#include "joiner/merge_commands.h"
#include "joiner/merge_page.h"
#include "joiner/merge_page_view.h"

#include <array>
#include <functional>
#include <memory>

#include <QWidget>

class QAbstractButton;
class QMenu;

namespace Ui {
class MergePageWindow;
}

namespace keldro {

class ByteLimitValidator;
class ConverterHost;
class MergeListModel;
class MergeListView;
class PlaybackService;
class SettingsStore;
class UserInteraction;

class MergePageWindow final : public QWidget, public PageSlot, public MergePageView
{
    Q_OBJECT

public:
    MergePageWindow(UserInteraction& ui, SettingsStore& settings, ConverterHost& converters,
                    const PlaybackService* playback = nullptr, QWidget* parent = nullptr);
    ~MergePageWindow() override;

    MergePage& Page() { return page_; }
    MergeListModel& Model() { return *model_; }
    MergeListView& List();

    // PageSlot
    QWidget* Widget() override { return this; }
    bool IsBusy() const override { return page_.IsBusy(); }
    void RequestStop() override { page_.RequestMergeStop(false); }

    // "其他设置(&M)..." is opened by the main window on the page's behalf.
    void SetOtherSettingsAction(std::function<void()> action);
    // The context menu as it would open now (the caller owns it).
    std::unique_ptr<QMenu> BuildContextMenu();

    // MergePageView
    bool ShowInsertSilence(InsertSilence& dialog) override;
    ValidateChoice AskMismatch(MergeValidate& dialog) override;
    bool ShowMergeComplete(MergeComplete& dialog) override;
    void ShowConverterDownload() override;
    void AddingFiles(bool adding) override;
    void ListChanged() override;
    void FieldsChanged() override;
    void StatusChanged(std::string_view status) override;
    void ProgressChanged(int position, int maximum) override;
    void RunningChanged(bool busy) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::array<std::pair<QAbstractButton*, MergeCommand>, 12> Buttons() const;
    void SetUpList();
    void SetUpHeader();
    void ConnectList();
    void AddListHint();
    void SetUpButtons();
    void SetUpShortcuts();
    void SetUpFields();
    void ConnectFieldEdits();
    void Run(MergeCommand command);
    void RunMenuCommand(MergeCommand command);
    void SyncSelectionFromView();
    void ShowCoreSelection();
    void RefreshSortIndicator();
    void RefreshTotals();
    void RefreshListHint();
    void RefreshEnabling();
    void StoreTags();

    std::unique_ptr<Ui::MergePageWindow> ui_;
    UserInteraction& user_;
    SettingsStore& settings_;
    MergePage page_;
    MergeListModel* model_ = nullptr;
    ByteLimitValidator* titleLimit_ = nullptr;
    ByteLimitValidator* artistLimit_ = nullptr;
    ByteLimitValidator* albumLimit_ = nullptr;
    std::function<void()> otherSettings_;
    bool showingCoreState_ = false;
};

} // namespace keldro
