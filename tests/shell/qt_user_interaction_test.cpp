// The program's answers to the core: message boxes and their answers, file
// filters in Qt's form, the progress strip's cancel request, and the file URLs
// handed to the desktop.
#include "common/ui/loading_frames_dialog.h"
#include "common/ui/progress_dialog.h"
#include "shell/ui/qt_user_interaction.h"
#include "url_recorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

using namespace keldro;

namespace {} // namespace

class QtUserInteractionTest final : public QObject
{
    Q_OBJECT

    // Presses `button` in the next message box that opens.
    void PressInNextBox(QMessageBox::StandardButton button, QString* text = nullptr)
    {
        QTimer::singleShot(0, this, [button, text] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (text)
                *text = box->text();
            box->button(button)->click();
        });
    }

private slots:
    void filesAndFoldersGoToTheDesktopAsAbsoluteFileUrls()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QtUserInteraction ui;
        test::UrlRecorder desktop(QStringLiteral("file"));
        ui.OpenFile("歌曲 1.mp3"); // as named on the command line, in the working folder
        ui.OpenFolder("分割");
        ui.OpenFile(dir.filePath(QStringLiteral("a.mp3")).toStdString());
        QDir::setCurrent(previous);
        QCOMPARE(desktop.opened,
                 (QList<QUrl>{QUrl::fromLocalFile(dir.filePath(QStringLiteral("歌曲 1.mp3"))),
                              QUrl::fromLocalFile(dir.filePath(QStringLiteral("分割"))),
                              QUrl::fromLocalFile(dir.filePath(QStringLiteral("a.mp3")))}));
        for (const QUrl& url : desktop.opened)
            QVERIFY2(QDir::isAbsolutePath(url.toLocalFile()), qPrintable(url.toString()));
    }

    void messageAnswersFollowTheButtonPressed()
    {
        QtUserInteraction ui;
        QString text;
        PressInNextBox(QMessageBox::Retry, &text);
        QCOMPARE(
            ui.ShowMessage("未能创建文件", MessageIcon::Error, MessageButtons::AbortRetryIgnore),
            MessageAnswer::Retry);
        QCOMPARE(text, QStringLiteral("未能创建文件"));
        PressInNextBox(QMessageBox::No);
        QCOMPARE(ui.ShowMessage("?", MessageIcon::Question, MessageButtons::YesNo),
                 MessageAnswer::No);
        PressInNextBox(QMessageBox::Cancel);
        QCOMPARE(ui.ShowMessage("?", MessageIcon::Question, MessageButtons::OkCancel),
                 MessageAnswer::Cancel);
    }

    // Busy work shows the wait cursor; a message in the middle of it shows the
    // arrow until it is answered, then the wait cursor again.
    void aMessageDuringBusyWorkShowsTheArrow()
    {
        QtUserInteraction ui;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Qt::CursorShape during = Qt::WaitCursor;
        QTimer::singleShot(0, this, [&during] {
            during = QApplication::overrideCursor()->shape();
            qobject_cast<QMessageBox*>(QApplication::activeModalWidget())
                ->button(QMessageBox::Ok)
                ->click();
        });
        ui.ShowMessage("未能载入", MessageIcon::Error, MessageButtons::Ok);
        QCOMPARE(during, Qt::ArrowCursor);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QApplication::restoreOverrideCursor();
        QVERIFY(!QApplication::overrideCursor());
    }

    void filtersInQtsForm()
    {
        QCOMPARE(QtUserInteraction::QtFilter("MP3 (*.mp3)|*.mp3|所有文件 (*.*)|*.*||"),
                 QStringLiteral("MP3 (*.mp3);;所有文件 (*.*)"));
        QCOMPARE(QtUserInteraction::QtFilter("MP3/CUE (*.mp3;*.cue)|*.mp3;*.cue||"),
                 QStringLiteral("MP3/CUE (*.mp3 *.cue)"));
        QCOMPARE(QtUserInteraction::QtFilter(""), QString());
    }

    void aCancelIsTakenOnceAndTheStripStays()
    {
        QWidget owner;
        owner.show();
        QtUserInteraction ui(&owner);
        ui.BeginProgress();
        ui.SetProgress(40);
        QVERIFY(!ui.TakeCancelRequest());
        auto* strip = owner.findChild<ProgressDialog*>();
        QVERIFY(strip);
        QCOMPARE(strip->findChild<QToolButton*>()->toolTip(), QStringLiteral("取消载入帧"));
        strip->findChild<QToolButton*>()->click();
        QVERIFY(ui.TakeCancelRequest());
        QVERIFY(!ui.TakeCancelRequest());
        // Esc asks the same, and neither closes the strip: the work decides.
        QTest::keyClick(strip, Qt::Key_Escape);
        QVERIFY(ui.TakeCancelRequest());
        QVERIFY(strip->isVisible());
        QCOMPARE(strip->Value(), 40);
        ui.EndProgress();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!owner.findChild<ProgressDialog*>());
    }

    // A pass pumps once per frame: within a few milliseconds only the first
    // call runs the event loop, and nothing posted waits longer than that.
    void pumpingAgainAtOnceLeavesTheEventsForALaterPump()
    {
        QtUserInteraction ui;
        int ran = 0;
        const auto post = [&ran] {
            QMetaObject::invokeMethod(
                qApp, [&ran] { ++ran; }, Qt::QueuedConnection);
        };
        post();
        ui.PumpEvents();
        QCOMPARE(ran, 1);
        post();
        ui.PumpEvents();
        QCOMPARE(ran, 1);
        QThread::msleep(6);
        ui.PumpEvents();
        QCOMPARE(ran, 2);
    }

    void theLoadingHintDisablesItsOwnerWhileItIsUp()
    {
        QWidget owner;
        owner.show();
        QtUserInteraction ui(&owner);
        ui.ShowFrameLoadingHint(true);
        auto* hint = owner.findChild<LoadingFramesDialog*>();
        QVERIFY(hint);
        QVERIFY(hint->isVisible());
        QVERIFY(hint->isEnabled());
        QVERIFY(!owner.isEnabled());
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QCOMPARE(hint->windowTitle(), QStringLiteral("正在载入帧..."));
        QVERIFY(hint->findChild<QPlainTextEdit*>()->toPlainText().startsWith(
            QStringLiteral("提示: 使用“帧分割模式”")));
        ui.ShowFrameLoadingHint(false);
        QVERIFY(owner.isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!owner.findChild<LoadingFramesDialog*>());

        // An owner that was disabled before stays disabled after.
        owner.setEnabled(false);
        ui.ShowFrameLoadingHint(true);
        ui.ShowFrameLoadingHint(true); // shown twice, restored once
        ui.ShowFrameLoadingHint(false);
        QVERIFY(!owner.isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(QtUserInteractionTest)
#include "qt_user_interaction_test.moc"
