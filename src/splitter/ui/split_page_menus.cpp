// The split page's menus (context menu, split modes, special splits), its keys
// and the files dropped on it.
#include "splitter/ui/split_page_window.h"
#include "string_table.h"
#include "ui_split_page_window.h"
#include "widgets/qt_text.h"

#include <QActionGroup>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QUrl>

namespace keldro {
namespace {

QString Text(StringId id)
{
    return FromBytes(LoadString(id));
}

// The first local file of a drop, or empty.
QString FirstLocalFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

} // namespace

QIcon SplitPageWindow::ModeIcon(SplitMode mode) const
{
    switch (mode) {
    case SplitMode::Fast:
        return QIcon::fromTheme(QStringLiteral("media-seek-forward"),
                                style()->standardIcon(QStyle::SP_MediaSeekForward));
    case SplitMode::Frame:
        return QIcon::fromTheme(QStringLiteral("view-list-details"),
                                style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    case SplitMode::Auto:
        break;
    }
    return QIcon::fromTheme(QStringLiteral("view-refresh"),
                            style()->standardIcon(QStyle::SP_BrowserReload));
}

std::unique_ptr<QMenu> SplitPageWindow::BuildContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    const auto add = [this](QMenu* to, StringId text, SplitCommand command,
                            std::function<void()> action) {
        QAction* item = to->addAction(Text(text));
        item->setEnabled(page_.IsEnabled(command));
        connect(item, &QAction::triggered, this, std::move(action));
        return item;
    };
    add(menu.get(), StringId::MenuChooseSource, SplitCommand::ChooseSource,
        [this] { page_.ChooseSource(); });
    add(menu.get(), StringId::MenuUnloadSource, SplitCommand::UnloadSource,
        [this] { page_.UnloadCommand(); });
    menu->addSeparator();
    add(menu.get(), StringId::MenuEqualParts, SplitCommand::EqualParts,
        [this] { page_.EqualPartsCommand(); });
    add(menu.get(), StringId::MenuOverlaps, SplitCommand::Overlaps,
        [this] { page_.OverlapsCommand(); });
    menu->addSeparator();
    add(menu.get(), StringId::MenuPreviewTrack, SplitCommand::PreviewTrack,
        [this] { ui_->previewButton->click(); });
    QMenu* update = menu->addMenu(Text(StringId::MenuUpdateTrack));
    update->menuAction()->setEnabled(page_.IsEnabled(SplitCommand::UpdateTrack));
    add(update, StringId::MenuSetStart, SplitCommand::UpdateTrack,
        [this] { page_.SetStartCommand(ui_->timeEdit->GetTime()); });
    add(update, StringId::MenuSetEnd, SplitCommand::UpdateTrack,
        [this] { page_.SetEndCommand(ui_->timeEdit->GetTime()); });
    add(update, StringId::MenuSetLength, SplitCommand::UpdateTrack,
        [this] { page_.EditTrackLength(); });
    add(menu.get(), StringId::MenuEditTags, SplitCommand::EditTags,
        [this] { page_.EditTrackTags(); });
    add(menu.get(), StringId::MenuRemoveTrack, SplitCommand::RemoveTrack,
        [this] { page_.RemoveSelectedTrack(); });
    add(menu.get(), StringId::MenuClearList, SplitCommand::ClearList,
        [this] { page_.ClearList(); });
    menu->addSeparator();
    add(menu.get(), StringId::MenuSaveList, SplitCommand::SaveList,
        [this] { page_.SaveListAsCue(); });
    menu->addSeparator();
    QAction* settings = add(menu.get(), StringId::MenuOtherSettings, SplitCommand::OtherSettings,
                            [this] { otherSettings_(); });
    settings->setEnabled(static_cast<bool>(otherSettings_));
    return menu;
}

void SplitPageWindow::SetUpMenus()
{
    modeMenu_ = new QMenu(Text(StringId::ModeMenuTitle), this);
    auto* modes = new QActionGroup(modeMenu_);
    const std::pair<StringId, SplitMode> entries[] = {{StringId::ModeMenuAuto, SplitMode::Auto},
                                                      {StringId::ModeMenuFast, SplitMode::Fast},
                                                      {StringId::ModeMenuFrame, SplitMode::Frame}};
    for (const auto& [text, mode] : entries) {
        QAction* item = modeMenu_->addAction(ModeIcon(mode), Text(text));
        item->setCheckable(true);
        item->setData(static_cast<int>(mode));
        modes->addAction(item);
        connect(item, &QAction::triggered, this, [this, mode = mode] {
            page_.SwitchSplitMode(mode);
            RefreshModeButton();
        });
    }
    ui_->modeButton->setMenu(modeMenu_);

    specialMenu_ = new QMenu(this);
    connect(specialMenu_->addAction(Text(StringId::MenuEqualParts)), &QAction::triggered, this,
            [this] { page_.EqualPartsCommand(); });
    connect(specialMenu_->addAction(Text(StringId::MenuOverlaps)), &QAction::triggered, this,
            [this] { page_.OverlapsCommand(); });
    ui_->specialButton->setMenu(specialMenu_);
}

// A caption-only switch sends no notice: the button reads the mode again.
void SplitPageWindow::RefreshModeButton()
{
    ui_->modeButton->setText(FromBytes(SplitPage::ModeCaption(page_.Mode())));
    ui_->modeButton->setIcon(ModeIcon(page_.Mode()));
    for (QAction* item : modeMenu_->actions())
        item->setChecked(item->data().toInt() == static_cast<int>(page_.Mode()));
}

// Files dropped while a split runs are refused: the run reads the source.
void SplitPageWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!page_.IsRunning() && !FirstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void SplitPageWindow::dropEvent(QDropEvent* event)
{
    const QString file = FirstLocalFile(event->mimeData());
    if (page_.IsRunning() || file.isEmpty())
        return;
    event->acceptProposedAction();
    page_.LoadSource(ToBytes(file));
}

} // namespace keldro
