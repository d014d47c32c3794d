#include "shell/ui/main_window.h"

#include "base/user_interaction.h"
#include "common/setting_keys.h"
#include "common/ui/page_slot.h"
#include "string_table.h"
#include "ui_main_window.h"
#include "widgets/qt_text.h"
#include "widgets/themed_icon.h"

#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QShortcut>

namespace keldro {
namespace {

constexpr int kNoValue = -999;
// Large enough to tell the pages apart at a glance, small enough that the
// captions beside the icons are not squeezed.
constexpr int kPageIconSide = 24;

ButtonIcon PageIcon(PageIndex index)
{
    return index == PageIndex::Merge   ? ButtonIcon::MergePage
           : index == PageIndex::Split ? ButtonIcon::SplitPage
                                       : ButtonIcon::SettingsPage;
}

} // namespace

MainWindow::MainWindow(SettingsStore& settings, UserInteraction& ui, const StartupCommand& startup,
                       std::array<PageSlot*, 3> pages, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::MainWindow>()), settings_(settings),
      interaction_(ui), pages_(pages)
{
    ui_->setupUi(this);
    setWindowTitle(
        FromBytes(FormatString(StringId::WindowCaption, LoadString(StringId::ProductName).data(),
                               LoadString(StringId::ProductVersion).data())));
    setWindowIcon(QIcon(QStringLiteral(":/icons/keldro.png")));
    ui_->statusBar->addWidget(new QLabel(ui_->statusBar), 1);
    RestoreRectangle();
    for (PageSlot* page : pages_)
        ui_->placeholder->addWidget(page->Widget());
    for (const PageIndex index : kPageIndices) {
        QPushButton* button = PageButton(index);
        button->setIcon(ThemedIcon(PageIcon(index)));
        button->setIconSize(QSize(kPageIconSide, kPageIconSide));
        connect(button, &QPushButton::clicked, this, [this, index] { ShowPage(index); });
    }
    auto* next = new QShortcut(QKeySequence(Qt::Key_F9), this);
    connect(next, &QShortcut::activated, this, &MainWindow::ShowNextPage);
    ShowPage(InitialPage(startup));
}

MainWindow::~MainWindow()
{
    // The pages belong to their owners, not to the placeholder.
    for (PageSlot* page : pages_) {
        ui_->placeholder->removeWidget(page->Widget());
        page->Widget()->setParent(nullptr);
    }
}

QPushButton* MainWindow::PageButton(PageIndex index) const
{
    return index == PageIndex::Merge   ? ui_->mergeButton
           : index == PageIndex::Split ? ui_->splitButton
                                       : ui_->settingsButton;
}

// Stored only when all four values are there; a corner off the screen moves
// back to 0 on that axis, the size is kept as stored.
void MainWindow::RestoreRectangle()
{
    const int x = settings_.GetSettingInt(setting::kInitialPosX, kNoValue);
    const int y = settings_.GetSettingInt(setting::kInitialPosY, kNoValue);
    const int width = settings_.GetSettingInt(setting::kInitialWidth, kNoValue);
    const int height = settings_.GetSettingInt(setting::kInitialHeight, kNoValue);
    if (x == kNoValue || y == kNoValue || width == kNoValue || height == kNoValue)
        return;
    const QSize area = screen()->geometry().size();
    move(x < 0 || x > area.width() ? 0 : x, y < 0 || y > area.height() ? 0 : y);
    resize(width, height);
}

// The frame's corner and the inside's size: Qt places by the frame and sizes
// the inside, so the window reopens as it was instead of growing by its frame.
void MainWindow::StoreRectangle()
{
    settings_.SetSettingInt(setting::kInitialPosX, pos().x());
    settings_.SetSettingInt(setting::kInitialPosY, pos().y());
    settings_.SetSettingInt(setting::kInitialWidth, width());
    settings_.SetSettingInt(setting::kInitialHeight, height());
}

PageIndex MainWindow::InitialPage(const StartupCommand& startup)
{
    int page = settings_.GetSettingInt(setting::kInitialPanel, -1);
    if (page < static_cast<int>(PageIndex::Split) || page > static_cast<int>(PageIndex::Settings)) {
        page = static_cast<int>(PageIndex::Split);
        settings_.SetSettingInt(setting::kInitialPanel, page);
    }
    return startup.action == StartupAction::Merge ? PageIndex::Merge : static_cast<PageIndex>(page);
}

PageSlot& MainWindow::Page(PageIndex index) const
{
    return *pages_[static_cast<std::size_t>(index)];
}

void MainWindow::ShowPage(PageIndex index)
{
    current_ = index;
    ui_->placeholder->setCurrentWidget(Page(index).Widget());
    for (const PageIndex i : kPageIndices)
        PageButton(i)->setChecked(i == index);
    Page(index).Widget()->setFocus();
    settings_.SetSettingInt(setting::kInitialPanel, static_cast<int>(index));
}

// In the order of the buttons: merge, split, settings, merge...
void MainWindow::ShowNextPage()
{
    ShowPage(current_ == PageIndex::Merge   ? PageIndex::Split
             : current_ == PageIndex::Split ? PageIndex::Settings
                                            : PageIndex::Merge);
}

void MainWindow::CloseWithoutAsking()
{
    askBeforeClose_ = false;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!isMinimized())
        StoreRectangle();
    const bool busy = Page(PageIndex::Split).IsBusy() || Page(PageIndex::Merge).IsBusy();
    if (busy && askBeforeClose_ &&
        interaction_.ShowMessage(LoadString(StringId::ConfirmExitWhileBusy), MessageIcon::Question,
                                 MessageButtons::YesNo) != MessageAnswer::Yes) {
        event->ignore();
        return;
    }
    for (PageSlot* page : pages_) {
        if (page->IsBusy())
            page->RequestStop();
    }
    if (beforeClose_)
        beforeClose_();
    event->accept();
}

} // namespace keldro
