// CLoadingFramesDlg: the hint shown while a source's frames load, with a tip on
// the two split modes. Modeless; its owner is disabled while it is open.
#pragma once

#include <memory>

#include <QDialog>
#include <QPointer>

namespace Ui {
class LoadingFramesDialog;
}

namespace keldro {

class LoadingFramesDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit LoadingFramesDialog(QWidget* owner);
    ~LoadingFramesDialog() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RestoreOwner();

    std::unique_ptr<Ui::LoadingFramesDialog> ui_;
    QPointer<QWidget> owner_;
    bool ownerWasEnabled_ = true;
    bool ownerDisabled_ = false;
};

} // namespace keldro
