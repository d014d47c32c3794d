#include "joiner/ui/download_converter_dialog.h"

#include "string_table.h"
#include "ui_download_converter_dialog.h"
#include "widgets/qt_text.h"

#include <QStyle>

namespace keldro {

DownloadConverterDialog::DownloadConverterDialog(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::DownloadConverterDialog>())
{
    ui_->setupUi(this);
    ui_->iconLabel->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32));
    ui_->messageLabel->setText(FromBytes(LoadString(StringId::ConverterMissing)));
    connect(ui_->okButton, &QPushButton::clicked, this, &DownloadConverterDialog::accept);
}

DownloadConverterDialog::~DownloadConverterDialog() = default;

void DownloadConverterDialog::Show(QWidget* parent)
{
    DownloadConverterDialog dialog(parent);
    dialog.exec();
}

} // namespace keldro
