// The success dialog of a merge run: its text and boxes at opening, each
// button closing with its choice and the boxes, the close box with none.
#include "joiner/merge_page_view.h"
#include "joiner/ui/merge_complete_dialog.h"
#include "widget_child.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace keldro;

namespace {

const QString kMessage = QStringLiteral("合并已成功完成，合并后的文件: /music/合并.mp3!");

MergeComplete Model()
{
    MergeComplete model;
    model.message = kMessage.toStdString();
    return model;
}

using test::Child;

using test::Tick;

} // namespace

class MergeCompleteDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void showsTheMessageAndTheBoxes()
    {
        MergeComplete model = Model();
        MergeCompleteDialog dialog(model);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("成功"));
        auto* text = Child<QPlainTextEdit>(dialog, "messageText");
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->toPlainText(), kMessage);
        auto* newMerge = Child<QCheckBox>(dialog, "newMergeBox");
        QCOMPARE(newMerge->text(), QStringLiteral("开始新的合并(&N)"));
        QVERIFY(!newMerge->isChecked());
        auto* dontShow = Child<QCheckBox>(dialog, "dontShowBox");
        QCOMPARE(dontShow->text(), QStringLiteral("不再显示该窗口(&D)"));
        QVERIFY(!dontShow->isChecked());
        QVERIFY(Child<QPushButton>(dialog, "okButton")->isDefault());
    }

    void theNewMergeChoiceFromTheStoreIsShown()
    {
        MergeComplete model = Model();
        model.startNewMerge = true;
        model.dontShowAgain = true; // never shown ticked: the notice is on
        MergeCompleteDialog dialog(model);
        QVERIFY(Child<QCheckBox>(dialog, "newMergeBox")->isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "dontShowBox")->isChecked());
    }

    void eachButtonSetsItsFlagAndCloses_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("playNow");
        QTest::addColumn<bool>("openFolder");
        QTest::newRow("play now") << QStringLiteral("playButton") << QStringLiteral("立即播放(&P)")
                                  << true << false;
        QTest::newRow("open folder") << QStringLiteral("openFolderButton")
                                     << QStringLiteral("打开文件夹(&F)") << false << true;
        QTest::newRow("ok") << QStringLiteral("okButton") << QStringLiteral("确定(&O)") << false
                            << false;
    }
    void eachButtonSetsItsFlagAndCloses()
    {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(bool, playNow);
        QFETCH(bool, openFolder);
        MergeComplete model = Model();
        MergeCompleteDialog dialog(model);
        dialog.show();
        Tick(dialog, "newMergeBox");
        Tick(dialog, "dontShowBox");
        QVERIFY(!model.startNewMerge); // kept only when closed with a button
        auto* pressed = dialog.findChild<QPushButton*>(button);
        QCOMPARE(pressed->text(), caption);
        QTest::mouseClick(pressed, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(model.playNow, playNow);
        QCOMPARE(model.openFolder, openFolder);
        QVERIFY(model.startNewMerge);
        QVERIFY(model.dontShowAgain);
    }

    // The stored open-folder default stays on whichever button closes.
    void okKeepsUntickedBoxesAndTheStoredOpenFolder()
    {
        MergeComplete model = Model();
        model.startNewMerge = true;
        model.openFolder = true;
        MergeCompleteDialog dialog(model);
        dialog.show();
        Tick(dialog, "newMergeBox");
        QTest::keyClick(&dialog, Qt::Key_Return); // the default button
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!model.startNewMerge);
        QVERIFY(!model.dontShowAgain);
        QVERIFY(!model.playNow);
        QVERIFY(model.openFolder);
    }

    void theCloseBoxSetsNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close box") << false;
        QTest::newRow("escape") << true;
    }
    void theCloseBoxSetsNothing()
    {
        QFETCH(bool, escape);
        MergeComplete model = Model();
        MergeCompleteDialog dialog(model);
        dialog.show();
        Tick(dialog, "newMergeBox");
        Tick(dialog, "dontShowBox");
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!model.startNewMerge);
        QVERIFY(!model.dontShowAgain);
        QVERIFY(!model.playNow);
        QVERIFY(!model.openFolder);
    }
};

QTEST_MAIN(MergeCompleteDialogTest)
#include "merge_complete_dialog_test.moc"
