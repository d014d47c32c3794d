// CDownloadConverterDlg: no converter is installed; two links to where one can
// be downloaded, opened in the desktop's browser.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class DownloadConverterDialog;
}

namespace keldro {

// The two addresses are the links' targets in the form.
class DownloadConverterDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit DownloadConverterDialog(QWidget* parent = nullptr);
    ~DownloadConverterDialog() override;

    // Shows the dialog modally until "确定" or the close box.
    static void Show(QWidget* parent);

private:
    std::unique_ptr<Ui::DownloadConverterDialog> ui_;
};

} // namespace keldro
