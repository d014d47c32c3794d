// The success dialog of a split run: its text follows the export box, each
// button closes with its choice, the close box with none.
#include "splitter/split_complete.h"
#include "splitter/ui/split_complete_dialog.h"
#include "widget_child.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace keldro;

namespace {

const QString kMessage = QStringLiteral("分割已成功完成，分割后的文件已保存到文件夹: /music/out!");
const QString kWithSheet = kMessage + QStringLiteral("\n导出 CUE Sheet 到 /music/专辑.cue");

SplitComplete Model()
{
    SplitComplete model;
    model.message = kMessage.toStdString();
    model.cuePath = "/music/专辑.cue";
    return model;
}

using test::Child;

using test::Tick;

QString Shown(QWidget& dialog)
{
    return Child<QPlainTextEdit>(dialog, "messageText")->toPlainText();
}

} // namespace

class SplitCompleteDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void textFollowsTheExportBox()
    {
        SplitComplete model = Model();
        SplitCompleteDialog dialog(model);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("成功"));
        QVERIFY(Child<QPlainTextEdit>(dialog, "messageText")->isReadOnly());
        auto* box = Child<QCheckBox>(dialog, "exportCueBox");
        QCOMPARE(box->text(), QStringLiteral("导出 CUE sheet (*.CUE)(&E)"));
        QVERIFY(!box->isChecked());
        QCOMPARE(Shown(dialog), kMessage);
        Tick(dialog, "exportCueBox");
        QCOMPARE(Shown(dialog), kWithSheet);
        QVERIFY(!model.exportCue); // kept only when closed with a button
        Tick(dialog, "exportCueBox");
        QCOMPARE(Shown(dialog), kMessage);
        QVERIFY(Child<QPushButton>(dialog, "okButton")->isDefault());
    }

    void theExportChoiceFromTheStoreIsShown()
    {
        SplitComplete model = Model();
        model.exportCue = true;
        SplitCompleteDialog dialog(model);
        QVERIFY(Child<QCheckBox>(dialog, "exportCueBox")->isChecked());
        QCOMPARE(Shown(dialog), kWithSheet);
    }

    void eachButtonSetsItsFlagAndCloses_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("newSplit");
        QTest::addColumn<bool>("openFolder");
        QTest::newRow("new split")
            << QStringLiteral("newSplitButton") << QStringLiteral("新建分割(&N)") << true << false;
        QTest::newRow("open folder") << QStringLiteral("openFolderButton")
                                     << QStringLiteral("打开文件夹(&F)") << false << true;
        QTest::newRow("ok") << QStringLiteral("okButton") << QStringLiteral("确定(&O)") << false
                            << false;
    }
    void eachButtonSetsItsFlagAndCloses()
    {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(bool, newSplit);
        QFETCH(bool, openFolder);
        SplitComplete model = Model();
        SplitCompleteDialog dialog(model);
        dialog.show();
        auto* dontShow = Child<QCheckBox>(dialog, "dontShowBox");
        QCOMPARE(dontShow->text(), QStringLiteral("不再显示该窗口(&D)"));
        Tick(dialog, "exportCueBox");
        Tick(dialog, "dontShowBox");
        auto* pressed = dialog.findChild<QPushButton*>(button);
        QCOMPARE(pressed->text(), caption);
        QTest::mouseClick(pressed, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(model.newSplit, newSplit);
        QCOMPARE(model.openFolder, openFolder);
        QVERIFY(model.exportCue);
        QVERIFY(model.dontShowAgain);
    }

    void okKeepsUntickedBoxes()
    {
        SplitComplete model = Model();
        model.exportCue = true;
        SplitCompleteDialog dialog(model);
        dialog.show();
        Tick(dialog, "exportCueBox");
        QTest::keyClick(&dialog, Qt::Key_Return); // the default button
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!model.exportCue);
        QVERIFY(!model.dontShowAgain);
        QVERIFY(!model.newSplit);
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
        SplitComplete model = Model();
        SplitCompleteDialog dialog(model);
        dialog.show();
        Tick(dialog, "exportCueBox");
        Tick(dialog, "dontShowBox");
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!model.exportCue);
        QVERIFY(!model.dontShowAgain);
        QVERIFY(!model.newSplit);
        QVERIFY(!model.openFolder);
    }
};

QTEST_MAIN(SplitCompleteDialogTest)
#include "split_complete_dialog_test.moc"
