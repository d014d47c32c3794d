// The program's answers to the core: message boxes and their answers, file
// filters in Qt's form, and the progress strip's cancel request.
#include "shell/ui/qt_user_interaction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace keldro;

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
        auto* strip = owner.findChild<QProgressDialog*>();
        QVERIFY(strip);
        strip->findChild<QPushButton*>()->click(); // or Esc

        QVERIFY(ui.TakeCancelRequest());
        QVERIFY(!ui.TakeCancelRequest());
        QVERIFY(strip->isVisible());
        QCOMPARE(strip->value(), 40);
        ui.EndProgress();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!owner.findChild<QProgressDialog*>());
    }
};

QTEST_MAIN(QtUserInteractionTest)
#include "qt_user_interaction_test.moc"
