// The core's questions answered with Qt's dialogs and the program's own
// (overwrite confirmation, show-once messages, the frame-loading hint and the
// progress strip); long work pumps Qt's events.
#pragma once

#include "base/user_interaction.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QWidget;

namespace keldro {

class LoadingFramesDialog;
class ProgressDialog;

class QtUserInteraction final : public UserInteraction
{
public:
    // Dialogs open over `owner` (may be null).
    explicit QtUserInteraction(QWidget* owner = nullptr) : owner_(owner) {}
    ~QtUserInteraction() override;
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void PumpEvents() override;
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;

    void BeginProgress() override;
    void SetProgress(int percent) override;
    void EndProgress() override;
    bool TakeCancelRequest() override;

    std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
    std::vector<std::string> ChooseOpenFiles(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFolder(std::string_view title,
                                            std::string_view startFolder) override;
    void OpenFolder(std::string_view folder) override;
    void OpenFile(std::string_view path) override;
    void ShowFrameLoadingHint(bool shown) override;

    OverwriteAnswer AskOverwrite(const OverwriteQuestion& question) override;
    ShowOnceAnswer ShowOnce(const ShowOnceMessage& message,
                            const std::function<void(bool)>& dontShowChanged) override;

    // "Name (*.a;*.b)|*.a;*.b|...||" as Qt's "Name (*.a *.b);;...".
    static QString QtFilter(std::string_view filter);

private:
    QWidget* owner_;
    QPointer<ProgressDialog> progress_;
    QPointer<LoadingFramesDialog> hint_;
    bool waitCursor_ = false;
    QElapsedTimer pumped_;
};

} // namespace keldro
