// The overwrite question: its buttons and results, the other-name box with
// its save dialog, and the do-not-ask box; and the core's loop through it.
#include "base/settings.h"
#include "common/overwrite_confirmation.h"
#include "common/setting_keys.h"
#include "common/ui/confirm_overwrite_dialog.h"
#include "scripted_interaction.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace keldro;

namespace {

OverwriteQuestion Question(bool yesToAll = true)
{
    OverwriteQuestion question;
    question.message = "/music/a.mp3 已经存在。你想要替换它吗?";
    question.newName = "/music/a.mp3";
    question.showYesToAll = yesToAll;
    return question;
}

template <typename T>
T* Child(QWidget& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}

} // namespace

class ConfirmOverwriteDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void eachButtonEndsWithItsResult_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("yes") << QStringLiteral("yesButton") << 1;
        QTest::newRow("yes to all") << QStringLiteral("yesToAllButton") << 1011;
        QTest::newRow("skip") << QStringLiteral("skipButton") << 2;
    }
    void eachButtonEndsWithItsResult()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        test::ScriptedInteraction files;
        ConfirmOverwriteDialog dialog(Question(), files);
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(dialog.result(), result);
        QCOMPARE(static_cast<int>(dialog.Answer().result), result);
        QCOMPARE(dialog.Answer().newName, std::string("/music/a.mp3"));
    }

    void closingIsASkipAndTheBoxCountsAnyway()
    {
        test::ScriptedInteraction files;
        ConfirmOverwriteDialog dialog(Question(false), files);
        dialog.show();
        QVERIFY(!Child<QPushButton>(dialog, "yesToAllButton")->isVisible());
        QVERIFY(!Child<QPushButton>(dialog, "browseButton")->isEnabled());
        Child<QCheckBox>(dialog, "dontAskBox")->click();
        dialog.close();
        QCOMPARE(dialog.Answer().result, OverwriteResult::Skip);
        QVERIFY(dialog.Answer().doNotAskAgain);
    }

    void anotherNameIsChosenAtOnceAndKeptWhenCancelled()
    {
        test::ScriptedInteraction files;
        files.saveFiles = {std::string("/music/b.mp3"), std::nullopt};
        ConfirmOverwriteDialog dialog(Question(), files);
        dialog.show();
        auto* saveAs = Child<QCheckBox>(dialog, "saveAsBox");
        saveAs->click();
        QCOMPARE(files.fileRequests.size(), std::size_t{1});
        QCOMPARE(files.fileRequests[0].title, std::string("选择目标 MP3 文件"));
        QCOMPARE(files.fileRequests[0].folder, std::string("/music/"));
        QCOMPARE(files.fileRequests[0].fileName, std::string("a.mp3"));
        QCOMPARE(Child<QLineEdit>(dialog, "newNameEdit")->text(), QStringLiteral("/music/b.mp3"));
        QVERIFY(!Child<QPushButton>(dialog, "yesToAllButton")->isEnabled());
        // "..." again, cancelled: the name stays.
        QTest::mouseClick(Child<QPushButton>(dialog, "browseButton"), Qt::LeftButton);
        QCOMPARE(Child<QLineEdit>(dialog, "newNameEdit")->text(), QStringLiteral("/music/b.mp3"));
        // Unticked: yes to all comes back, "..." goes; the name is kept but not used.
        saveAs->click();
        QVERIFY(Child<QPushButton>(dialog, "yesToAllButton")->isEnabled());
        QVERIFY(!Child<QPushButton>(dialog, "browseButton")->isEnabled());
        QTest::mouseClick(Child<QPushButton>(dialog, "yesButton"), Qt::LeftButton);
        const OverwriteAnswer answer = dialog.Answer();
        QCOMPARE(answer.result, OverwriteResult::Yes);
        QVERIFY(!answer.saveUnderAnotherName);
        QCOMPARE(answer.newName, std::string("/music/b.mp3"));
    }
};

QTEST_MAIN(ConfirmOverwriteDialogTest)
#include "confirm_overwrite_dialog_test.moc"
