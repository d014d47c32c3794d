#include "shell/ui/qt_user_interaction.h"

#include "common/ui/confirm_overwrite_dialog.h"
#include "common/ui/loading_frames_dialog.h"
#include "common/ui/progress_dialog.h"
#include "common/ui/show_info_dialog.h"
#include "string_table.h"
#include "widgets/qt_text.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace keldro {
namespace {

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore:
        break;
    }
    return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
}

MessageAnswer AnswerOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Abort:
        return MessageAnswer::Abort;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    case QMessageBox::Ignore:
        return MessageAnswer::Ignore;
    default:
        return MessageAnswer::Cancel;
    }
}

// The folder and file name a file dialog starts with.
QString StartPath(const FileDialogRequest& request)
{
    if (request.fileName.empty())
        return FromBytes(request.folder);
    QString folder = FromBytes(request.folder);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + FromBytes(request.fileName);
}

// The desktop runs its handler in a folder of its own: a relative path (a file
// named on the command line) would name another file there, or none.
QUrl DesktopUrl(std::string_view path)
{
    return QUrl::fromLocalFile(QFileInfo(FromBytes(path)).absoluteFilePath());
}

} // namespace

QtUserInteraction::~QtUserInteraction()
{
    EndProgress();
    ShowFrameLoadingHint(false);
}

// A long pass calls this once per frame. Events wait a few milliseconds at
// most, and the pass does not run hundreds of thousands of empty event loops.
void QtUserInteraction::PumpEvents()
{
    constexpr qint64 kIntervalMs = 5;
    if (pumped_.isValid() && !pumped_.hasExpired(kIntervalMs))
        return;
    QCoreApplication::processEvents();
    pumped_.start();
}

MessageAnswer QtUserInteraction::ShowMessage(std::string_view text, MessageIcon icon,
                                             MessageButtons buttons)
{
    QMessageBox box(IconOf(icon), QApplication::applicationName(), FromBytes(text),
                    ButtonsOf(buttons), owner_);
    // A question asked in the middle of busy work (a file that fails while
    // several are added) waits for a click: the pointer says so.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    return AnswerOf(answer);
}

void QtUserInteraction::BeginProgress()
{
    EndProgress();
    progress_ = new ProgressDialog(owner_);
    progress_->show();
}

void QtUserInteraction::SetProgress(int percent)
{
    if (progress_)
        progress_->SetValue(percent);
}

// Closing the strip would be a cancel request: it is taken down instead.
void QtUserInteraction::EndProgress()
{
    if (progress_) {
        progress_->hide();
        progress_->deleteLater();
    }
    progress_ = nullptr;
}

bool QtUserInteraction::TakeCancelRequest()
{
    return progress_ && progress_->TakeCancelRequest();
}

std::optional<std::string> QtUserInteraction::ChooseOpenFile(const FileDialogRequest& request)
{
    const QString path = QFileDialog::getOpenFileName(owner_, FromBytes(request.title),
                                                      StartPath(request), QtFilter(request.filter));
    return path.isEmpty() ? std::nullopt : std::optional(ToBytes(path));
}

std::vector<std::string> QtUserInteraction::ChooseOpenFiles(const FileDialogRequest& request)
{
    std::vector<std::string> paths;
    for (const QString& path : QFileDialog::getOpenFileNames(
             owner_, FromBytes(request.title), StartPath(request), QtFilter(request.filter)))
        paths.push_back(ToBytes(path));
    return paths;
}

std::optional<std::string> QtUserInteraction::ChooseSaveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(owner_, FromBytes(request.title), StartPath(request),
                       QtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(FromBytes(request.defaultExtension));
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToBytes(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtUserInteraction::ChooseFolder(std::string_view title,
                                                           std::string_view startFolder)
{
    const QString folder =
        QFileDialog::getExistingDirectory(owner_, FromBytes(title), FromBytes(startFolder));
    return folder.isEmpty() ? std::nullopt : std::optional(ToBytes(folder));
}

void QtUserInteraction::OpenFolder(std::string_view folder)
{
    QDesktopServices::openUrl(DesktopUrl(folder));
}

void QtUserInteraction::OpenFile(std::string_view path)
{
    QDesktopServices::openUrl(DesktopUrl(path));
}

void QtUserInteraction::ShowFrameLoadingHint(bool shown)
{
    if (hint_)
        hint_->close();
    hint_ = nullptr;
    if (waitCursor_) {
        QApplication::restoreOverrideCursor();
        waitCursor_ = false;
    }
    if (!shown)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    waitCursor_ = true;
    hint_ = new LoadingFramesDialog(owner_);
    hint_->setAttribute(Qt::WA_DeleteOnClose);
    hint_->show();
    QCoreApplication::processEvents();
}

OverwriteAnswer QtUserInteraction::AskOverwrite(const OverwriteQuestion& question)
{
    ConfirmOverwriteDialog dialog(question, *this, owner_);
    dialog.exec();
    return dialog.Answer();
}

ShowOnceAnswer QtUserInteraction::ShowOnce(const ShowOnceMessage& message,
                                           const std::function<void(bool)>& dontShowChanged)
{
    ShowInfoDialog dialog(message, dontShowChanged, owner_);
    dialog.exec();
    return dialog.Answer();
}

QString QtUserInteraction::QtFilter(std::string_view filter)
{
    QStringList parts = FromBytes(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        // The name already shows the patterns; Qt reads them from the parentheses.
        QString name = parts[i];
        name.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << name;
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace keldro
