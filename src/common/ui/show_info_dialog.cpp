#include "common/ui/show_info_dialog.h"

#include "ui_show_info_dialog.h"
#include "widgets/qt_text.h"

#include <QApplication>
#include <QStyle>

namespace keldro {

ShowInfoDialog::ShowInfoDialog(const ShowOnceMessage& message,
                               std::function<void(bool)> dontShowChanged, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::ShowInfoDialog>()),
      dontShowChanged_(std::move(dontShowChanged))
{
    ui_->setupUi(this);
    setWindowTitle(message.caption.empty() ? QApplication::applicationName()
                                           : FromBytes(message.caption));
    ui_->iconLabel->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32));
    ui_->textLabel->setText(FromBytes(message.text));
    ui_->dontShowBox->setVisible(message.showDontShowBox);
    ui_->customBox->setVisible(message.showCustomBox);
    if (message.showCustomBox)
        ui_->customBox->setText(FromBytes(message.customCaption));
    connect(ui_->dontShowBox, &QCheckBox::clicked, this, [this](bool checked) {
        if (dontShowChanged_)
            dontShowChanged_(checked);
    });
}

ShowInfoDialog::~ShowInfoDialog() = default;

ShowOnceAnswer ShowInfoDialog::Answer() const
{
    ShowOnceAnswer answer;
    answer.ok = result() == QDialog::Accepted;
    answer.custom = answer.ok && ui_->customBox->isChecked();
    return answer;
}

} // namespace keldro
