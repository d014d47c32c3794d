#include "shell/ui/about_page.h"

#include "base/user_interaction.h"
#include "shell/other_settings.h"
#include "shell/ui/splitter_settings_dialog.h"
#include "string_table.h"
#include "ui_about_page.h"
#include "widgets/qt_text.h"

#include <QFileInfo>
#include <QShortcut>

namespace keldro {

AboutPage::AboutPage(SettingsStore& settings, UserInteraction& ui, QString helpFile,
                     QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::AboutPage>()), settings_(settings),
      interaction_(ui), helpFile_(std::move(helpFile))
{
    ui_->setupUi(this);
    connect(ui_->settingsButton, &QPushButton::clicked, this, &AboutPage::OpenSettings);
    connect(ui_->helpButton, &QPushButton::clicked, this, &AboutPage::OpenHelp);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WidgetWithChildrenShortcut);
    connect(help, &QShortcut::activated, this, &AboutPage::OpenHelp);
    RebuildSummaries();
}

AboutPage::~AboutPage() = default;

QString AboutPage::MergeSummary() const
{
    return ui_->mergeSummaryEdit->toPlainText();
}

QString AboutPage::SplitSummary() const
{
    return ui_->splitSummaryEdit->toPlainText();
}

void AboutPage::RebuildSummaries()
{
    ui_->mergeSummaryEdit->setPlainText(FromBytes(MergeSettingsSummary(settings_)));
    ui_->splitSummaryEdit->setPlainText(FromBytes(SplitSettingsSummary(settings_)));
}

void AboutPage::OpenSettings()
{
    SplitterSettingsDialog dialog(settings_, interaction_, this);
    if (dialog.exec() == QDialog::Accepted)
        RebuildSummaries();
}

void AboutPage::OpenHelp()
{
    const std::string path = ToBytes(helpFile_);
    if (QFileInfo::exists(helpFile_))
        interaction_.OpenFile(path);
    else
        interaction_.ShowMessage(FormatString(StringId::HelpFileMissing, path.c_str()),
                                 MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace keldro
