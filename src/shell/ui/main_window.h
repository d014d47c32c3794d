// CMP3JoinerDlg: the three page buttons, the pages in the placeholder, the
// status bar; the window rectangle and the page shown persist between runs.
#pragma once

#include "shell/startup.h"

#include <array>
#include <functional>
#include <memory>

#include <QMainWindow>

class QPushButton;

namespace Ui {
class MainWindow;
}

namespace keldro {

class PageSlot;
class SettingsStore;
class UserInteraction;

// The pages in the order of the placeholder and of "Initial Panel".
enum class PageIndex
{
    Split = 0,
    Merge = 1,
    Settings = 2
};
inline constexpr std::array kPageIndices{PageIndex::Split, PageIndex::Merge, PageIndex::Settings};

class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    // pages: split, merge and settings, in page-index order. beforeClose runs
    // once the close is decided (the program unloads its playback library).
    MainWindow(SettingsStore& settings, UserInteraction& ui, const StartupCommand& startup,
               std::array<PageSlot*, 3> pages, QWidget* parent = nullptr);
    ~MainWindow() override;

    void SetBeforeClose(std::function<void()> beforeClose)
    {
        beforeClose_ = std::move(beforeClose);
    }

    // Closes as the close box does but without asking about a run (the
    // session is ending): the runs are asked to stop all the same.
    void CloseWithoutAsking();

    void ShowPage(PageIndex index);
    void ShowNextPage();
    PageIndex CurrentPage() const { return current_; }
    QPushButton* PageButton(PageIndex index) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RestoreRectangle();
    void StoreRectangle();
    PageIndex InitialPage(const StartupCommand& startup);
    PageSlot& Page(PageIndex index) const;

    std::unique_ptr<Ui::MainWindow> ui_;
    SettingsStore& settings_;
    UserInteraction& interaction_;
    std::array<PageSlot*, 3> pages_;
    std::function<void()> beforeClose_;
    PageIndex current_ = PageIndex::Split;
    bool askBeforeClose_ = true;
};

} // namespace keldro
