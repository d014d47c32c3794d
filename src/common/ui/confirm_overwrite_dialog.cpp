#include "common/ui/confirm_overwrite_dialog.h"

#include "string_table.h"
#include "ui_confirm_overwrite_dialog.h"
#include "widgets/qt_text.h"

#include <QStyle>

namespace keldro {

ConfirmOverwriteDialog::ConfirmOverwriteDialog(const OverwriteQuestion& question,
                                               UserInteraction& files, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::ConfirmOverwriteDialog>()), files_(files)
{
    ui_->setupUi(this);
    ui_->iconLabel->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32));
    ui_->messageLabel->setText(FromBytes(question.message));
    ui_->newNameEdit->setText(FromBytes(question.newName));
    ui_->yesToAllButton->setVisible(question.showYesToAll);
    ui_->browseButton->setEnabled(false);
    connect(ui_->saveAsBox, &QCheckBox::clicked, this, &ConfirmOverwriteDialog::SaveAsClicked);
    connect(ui_->browseButton, &QPushButton::clicked, this,
            &ConfirmOverwriteDialog::ChooseOtherName);
    connect(ui_->yesButton, &QPushButton::clicked, this,
            [this] { done(static_cast<int>(OverwriteResult::Yes)); });
    connect(ui_->yesToAllButton, &QPushButton::clicked, this,
            [this] { done(static_cast<int>(OverwriteResult::YesToAll)); });
    connect(ui_->skipButton, &QPushButton::clicked, this, &ConfirmOverwriteDialog::reject);
}

ConfirmOverwriteDialog::~ConfirmOverwriteDialog() = default;

void ConfirmOverwriteDialog::reject()
{
    done(static_cast<int>(OverwriteResult::Skip));
}

void ConfirmOverwriteDialog::SaveAsClicked(bool checked)
{
    ui_->yesToAllButton->setEnabled(!checked);
    ui_->browseButton->setEnabled(checked);
    if (checked)
        ChooseOtherName();
}

void ConfirmOverwriteDialog::ChooseOtherName()
{
    const std::string current = ToBytes(ui_->newNameEdit->text());
    const std::size_t slash = current.rfind('/');
    FileDialogRequest request;
    request.title = LoadString(StringId::ChooseTargetTitle);
    request.filter = LoadString(StringId::AudioFileFilter);
    request.defaultExtension = "mp3";
    request.folder = slash == std::string::npos ? "" : current.substr(0, slash + 1);
    request.fileName = slash == std::string::npos ? current : current.substr(slash + 1);
    if (const std::optional<std::string> chosen = files_.ChooseSaveFile(request)) {
        ui_->newNameEdit->setText(FromBytes(*chosen));
        ui_->newNameEdit->selectAll();
        ui_->newNameEdit->setFocus();
    }
}

OverwriteAnswer ConfirmOverwriteDialog::Answer() const
{
    OverwriteAnswer answer;
    const int code = result();
    answer.result = code == static_cast<int>(OverwriteResult::Yes) ? OverwriteResult::Yes
                    : code == static_cast<int>(OverwriteResult::YesToAll)
                        ? OverwriteResult::YesToAll
                        : OverwriteResult::Skip;
    answer.saveUnderAnotherName = ui_->saveAsBox->isChecked();
    answer.newName = ToBytes(ui_->newNameEdit->text());
    answer.doNotAskAgain = ui_->dontAskBox->isChecked();
    return answer;
}

} // namespace keldro
