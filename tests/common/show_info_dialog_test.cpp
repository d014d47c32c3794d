// The show-once message: its boxes, the choice stored at each click however
// the dialog ends, and the caption.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "common/show_once.h"
#include "common/ui/show_info_dialog.h"
#include "shell/ui/qt_user_interaction.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace keldro;

class ShowInfoDialogTest final : public QObject
{
    Q_OBJECT

    MemorySettings settings_;

    // Stores the don't-show choice the way the core's show-once flow does.
    std::function<void(bool)> Store()
    {
        return [this](bool dontShow) {
            settings_.SetSettingInt(SettingKey{setting::kDialogToggle, setting::kSwitchModeDlg},
                                    dontShow ? 0 : 1);
        };
    }
    int Stored()
    {
        return settings_.GetSettingInt(SettingKey{setting::kDialogToggle, setting::kSwitchModeDlg},
                                       -1);
    }

private slots:
    void theBoxIsStoredAtEachClickEvenWhenCancelled()
    {
        ShowOnceMessage message;
        message.caption = "切换分割模式";
        message.text = "切换分割模式需要重新载入音频文件";
        ShowInfoDialog dialog(message, Store());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("切换分割模式"));
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("dontShowBox"));
        QVERIFY(box->isVisible());
        QVERIFY(!dialog.findChild<QCheckBox*>(QStringLiteral("customBox"))->isVisible());
        QCOMPARE(Stored(), -1);
        box->click();
        QCOMPARE(Stored(), 0);
        box->click();
        QCOMPARE(Stored(), 1);
        box->click();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")),
                          Qt::LeftButton);
        QVERIFY(!dialog.Answer().ok);
        QCOMPARE(Stored(), 0);
    }

    // Through the core's show-once flow and the program's interaction: the
    // choice made in the dialog holds the next time.
    void theProgramsDialogSwitchesTheMessageOff()
    {
        MemorySettings settings;
        QtUserInteraction ui;
        ShowOnceMessage message;
        message.text = "切换分割模式需要重新载入音频文件";
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, this, [&clicker] {
            auto* dialog = qobject_cast<ShowInfoDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            clicker.stop();
            dialog->findChild<QCheckBox*>(QStringLiteral("dontShowBox"))->click();
            dialog->reject();
        });
        clicker.start(10);
        const ShowOnceResult shown =
            ShowMessageOnce(ui, settings, message, setting::kSwitchModeDlg);
        QCOMPARE(shown.outcome, ShowOnceOutcome::Cancel);
        QCOMPARE(
            settings.GetSettingInt(SettingKey{setting::kDialogToggle, setting::kSwitchModeDlg}, -1),
            0);
        QCOMPARE(ShowMessageOnce(ui, settings, message, setting::kSwitchModeDlg).outcome,
                 ShowOnceOutcome::Skipped);
    }

    void withoutTheBoxTheMessageCannotBeSwitchedOff()
    {
        ShowOnceMessage message;
        message.text = "无法载入下方已与 CUE 文件进行关联的音频文件";
        message.showDontShowBox = false;
        message.showCustomBox = true;
        message.customCaption = "记住";
        ShowInfoDialog dialog(message, nullptr);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QApplication::applicationName());
        QVERIFY(!dialog.findChild<QCheckBox*>(QStringLiteral("dontShowBox"))->isVisible());
        auto* custom = dialog.findChild<QCheckBox*>(QStringLiteral("customBox"));
        QVERIFY(custom->isVisible());
        QCOMPARE(custom->text(), QStringLiteral("记住"));
        custom->click();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        QVERIFY(dialog.Answer().ok);
        QVERIFY(dialog.Answer().custom);
    }
};

QTEST_MAIN(ShowInfoDialogTest)
#include "show_info_dialog_test.moc"
