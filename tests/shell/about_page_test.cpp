// The settings page: summaries from the store, rebuilt after the other-settings
// dialog's OK; the dialog's defaults, folders, OK and Cancel on a real store;
// the help book opened in the desktop's browser by the button and by F1.
#include "common/setting_keys.h"
#include "scripted_interaction.h"
#include "shell/ui/about_page.h"
#include "shell/ui/qt_settings_store.h"
#include "shell/ui/qt_user_interaction.h"
#include "shell/ui/splitter_settings_dialog.h"
#include "url_recorder.h"

#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace keldro;

namespace {

// Answers the message boxes that come up while `act` runs, keeping their texts.
QStringList MessagesWhile(const std::function<void()>& act)
{
    QStringList texts;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&texts] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts << box->text();
            box->accept();
        }
    });
    closer.start(10);
    act();
    return texts;
}

// F1 goes to the page's focused control, as it does in the program.
QPushButton* ShowActive(QWidget& page)
{
    page.show();
    page.activateWindow();
    if (!QTest::qWaitForWindowActive(&page))
        return nullptr;
    auto* focus = page.findChild<QPushButton*>(QStringLiteral("settingsButton"));
    focus->setFocus();
    return focus;
}

} // namespace

class AboutPageTest final : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;
    int stores_ = 0;

    QString NewStorePath() { return dir_.filePath(QStringLiteral("store%1.conf").arg(++stores_)); }

private slots:
    void cancelLeavesSeventeenDefaultsAndTwoEmptyFolders()
    {
        const QString path = NewStorePath();
        {
            QtSettingsStore settings(path);
            test::ScriptedInteraction ui;
            SplitterSettingsDialog dialog(settings, ui);
            dialog.show();
            dialog.reject();
        }
        QSettings file(path, QSettings::IniFormat);
        QCOMPARE(file.allKeys().size(), 19);
        QtSettingsStore settings(path);
        for (const OtherSettingsFlag& flag : kOtherSettingsFlags)
            QCOMPARE(settings.GetSettingInt(flag.key, -7), flag.defaultValue);
        QCOMPARE(settings.GetSettingText(setting::kMergingSourceFolder, "missing"), std::string());
        QCOMPARE(settings.GetSettingText(setting::kSplittingSourceFolder, "missing"),
                 std::string());
    }

    void okStoresWhatTheControlsShow()
    {
        QtSettingsStore settings(NewStorePath());
        test::ScriptedInteraction ui;
        ui.folders = {std::string("/music/in"), std::nullopt};
        SplitterSettingsDialog dialog(settings, ui);
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("splitFolderButton")),
                          Qt::LeftButton);
        QCOMPARE(ui.folderRequests.at(0).first, std::string("选择要分割的 MP3 源文件默认文件夹"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("mergeFolderButton")),
                          Qt::LeftButton); // cancelled: nothing changes
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("mergeFolderEdit"))->text(),
                 QString());
        dialog.findChild<QRadioButton*>(QStringLiteral("splitFolderAlways"))->setChecked(true);
        dialog.findChild<QCheckBox*>(QStringLiteral("exportCueBox"))->setChecked(true);
        dialog.findChild<QCheckBox*>(QStringLiteral("writeVbrBox"))->setChecked(false);
        dialog.findChild<QCheckBox*>(QStringLiteral("seamlessBox"))->setChecked(true);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.GetSettingText(setting::kSplittingSourceFolder, ""),
                 std::string("/music/in"));
        QCOMPARE(settings.GetSettingInt(setting::kSplitSourceFolderMode, -7), 0);
        QCOMPARE(settings.GetSettingInt(setting::kExportCue, -7), 1);
        QCOMPARE(settings.GetSettingInt(setting::kWriteVbrHeader, -7), 0);
        QCOMPARE(settings.GetSettingInt(setting::kSeamlessSplit, -7), 1);
    }

    void summariesFollowTheStoreAndTheDialog()
    {
        QtSettingsStore settings(NewStorePath());
        test::ScriptedInteraction ui;
        const QString help = dir_.filePath(QStringLiteral("Keldro.html"));
        AboutPage page(settings, ui, help);
        QVERIFY(page.MergeSummary().startsWith(
            QStringLiteral("默认源文件夹: \n    最后打开的文件夹\n")));
        QVERIFY(page.SplitSummary().contains(QStringLiteral("导出 CUE 文件:  否")));
        // A change elsewhere shows after the dialog's OK, not before.
        settings.SetSettingInt(setting::kExportCue, 1);
        QVERIFY(page.SplitSummary().contains(QStringLiteral("导出 CUE 文件:  否")));
        QTimer::singleShot(0, this, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        page.OpenSettings();
        QVERIFY(page.SplitSummary().contains(QStringLiteral("导出 CUE 文件:  是")));

        // No help file yet: the user is told; then it opens with the desktop's handler.
        page.OpenHelp();
        QVERIFY(ui.openedFiles.empty());
        QCOMPARE(ui.messages.at(0).text, "未能找到帮助文件 " + help.toStdString() + "。");
        QFile file(help);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        page.OpenHelp();
        QCOMPARE(ui.openedFiles, std::vector<std::string>{help.toStdString()});
    }

    void helpButtonAndF1OpenTheBookInTheBrowser()
    {
        // A folder name with blanks and Chinese letters must survive the URL.
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("帮助 书")));
        const QString book = dir_.filePath(QStringLiteral("帮助 书/Keldro.html"));
        QFile file(book);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QtSettingsStore settings(NewStorePath());
        QtUserInteraction ui;
        AboutPage page(settings, ui, book);
        QPushButton* focus = ShowActive(page);
        QVERIFY(focus);
        test::UrlRecorder desktop(QStringLiteral("file"));
        QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("helpButton")),
                          Qt::LeftButton);
        QCOMPARE(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(book)});
        QTest::keyClick(focus, Qt::Key_F1);
        QCOMPARE(desktop.opened.size(), 2);
        for (const QUrl& url : desktop.opened) {
            QCOMPARE(url.scheme(), QStringLiteral("file"));
            QCOMPARE(url.toLocalFile(), book);
        }
    }

    void aMissingBookIsSaidAndNothingOpens()
    {
        const QString book = dir_.filePath(QStringLiteral("none/Keldro.html"));
        QtSettingsStore settings(NewStorePath());
        QtUserInteraction ui;
        AboutPage page(settings, ui, book);
        QPushButton* focus = ShowActive(page);
        QVERIFY(focus);
        test::UrlRecorder desktop(QStringLiteral("file"));
        const QString said = QStringLiteral("未能找到帮助文件 %1。").arg(book);
        QCOMPARE(MessagesWhile([&page] {
                     QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("helpButton")),
                                       Qt::LeftButton);
                 }),
                 QStringList{said});
        focus = ShowActive(page); // the message box took the activation away
        QVERIFY(focus);
        QCOMPARE(MessagesWhile([focus] { QTest::keyClick(focus, Qt::Key_F1); }), QStringList{said});
        QVERIFY(desktop.opened.isEmpty());
    }
};

QTEST_MAIN(AboutPageTest)
#include "about_page_test.moc"
