// The masked time field: what it shows, where the caret goes, the
// keystrokes and pasted texts it refuses, and the changes it reports.
#include "widgets/time_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace keldro;

class TimeEditTest final : public QObject
{
    Q_OBJECT

private slots:
    void showsTimesWithinItsMaximumOnly()
    {
        TimeEdit edit;
        QCOMPARE(edit.displayText(), QStringLiteral("00:00:00.000"));
        QCOMPARE(edit.SetTime(1000), qint64(0)); // no maximum yet: only 0 is taken
        edit.SetMaxTime(205'000);                // 00:03:25.000
        QCOMPARE(edit.SetTime(65'432), qint64(65'432));
        QCOMPARE(edit.displayText(), QStringLiteral("00:01:05.432"));
        QCOMPARE(edit.cursorPosition(), 4);
        QCOMPARE(edit.SetTime(205'001), qint64(65'432)); // out of range: unchanged
        QCOMPARE(edit.SetTime(-1), qint64(65'432));
        edit.SetMaxTime(4'000'000'000LL);
        QCOMPARE(edit.SetTime(3'600'000LL * 99), qint64(3'600'000LL * 99));
        QCOMPARE(edit.displayText(), QStringLiteral("99:00:00.000"));
    }

    void refusesDigitsThatLeaveTheRange()
    {
        TimeEdit edit;
        edit.SetMaxTime(205'000);
        edit.SetTime(0);
        edit.setFocus();
        edit.setCursorPosition(3); // tens of minutes
        QTest::keyClick(&edit, '7');
        QCOMPARE(edit.displayText(), QStringLiteral("00:00:00.000"));
        edit.setCursorPosition(4);
        QTest::keyClick(&edit, '9'); // 00:09:00 is beyond 3:25
        QCOMPARE(edit.displayText(), QStringLiteral("00:00:00.000"));
        QTest::keyClick(&edit, '3');
        QCOMPARE(edit.displayText(), QStringLiteral("00:03:00.000"));
        QTest::keyClick(&edit, '3'); // over ':' to the tens of seconds: 3:30 > 3:25
        QCOMPARE(edit.displayText(), QStringLiteral("00:03:00.000"));
        QTest::keyClick(&edit, '2');
        QCOMPARE(edit.displayText(), QStringLiteral("00:03:20.000"));
    }

    void refusesLettersAndKeepsTheSeparators()
    {
        TimeEdit edit;
        edit.SetMaxTime(3'600'000);
        edit.setCursorPosition(0);
        QTest::keyClicks(&edit, QStringLiteral("x:"));
        QCOMPARE(edit.displayText(), QStringLiteral("00:00:00.000"));
        edit.setCursorPosition(6);
        QTest::keyClicks(&edit, QStringLiteral("59999"));
        QCOMPARE(edit.displayText(), QStringLiteral("00:00:59.999"));
        QCOMPARE(edit.GetTime(), qint64(59'999));
    }

    void reportsChangesAndTellsTheUsersFromSetTime()
    {
        TimeEdit edit;
        edit.SetMaxTime(205'000);
        QSignalSpy changed(&edit, &TimeEdit::TimeChanged);
        QSignalSpy edited(&edit, &TimeEdit::TimeEdited);
        QCOMPARE(edit.SetTime(65'432), qint64(65'432));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.takeFirst().at(0).toLongLong(), qint64(65'432));
        QCOMPARE(edited.size(), 0);
        edit.SetTime(65'432);  // the same value: no change
        edit.SetTime(205'001); // refused: no change
        QCOMPARE(changed.size(), 0);

        edit.setCursorPosition(4);
        QTest::keyClick(&edit, '9'); // refused by the maximum
        QCOMPARE(changed.size(), 0);
        QTest::keyClick(&edit, '2');
        QCOMPARE(edit.GetTime(), qint64(125'432));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.takeFirst().at(0).toLongLong(), qint64(125'432));
        QTest::keyClick(&edit, Qt::Key_Backspace); // clears the minute digit again
        QCOMPARE(edit.GetTime(), qint64(5'432));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.takeFirst().at(0).toLongLong(), qint64(5'432));
    }

    // Pasted or inserted text skips the key check; it must not bring in a
    // time beyond the maximum or a minute or second above 59.
    void refusesPastedTextsThatLeaveTheRange()
    {
        TimeEdit edit;
        edit.SetMaxTime(205'000);
        edit.SetTime(5'000);
        QSignalSpy edited(&edit, &TimeEdit::TimeEdited);
        for (const char* text : {"00:09:00.000", "00:00:75.000", "01:00:00.000"}) {
            edit.selectAll();
            edit.insert(QString::fromLatin1(text));
            QCOMPARE(edit.displayText(), QStringLiteral("00:00:05.000"));
        }
        QCOMPARE(edited.size(), 0);
        QGuiApplication::clipboard()->setText(QStringLiteral("00:04:00.000"));
        edit.selectAll();
        edit.paste();
        QCOMPARE(edit.displayText(), QStringLiteral("00:00:05.000"));
        QGuiApplication::clipboard()->setText(QStringLiteral("00:03:20.500"));
        edit.selectAll();
        edit.paste();
        QCOMPARE(edit.displayText(), QStringLiteral("00:03:20.500"));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited.takeFirst().at(0).toLongLong(), qint64(200'500));
    }

    void placesTheCaretWhenGivenTheFocus()
    {
        QWidget window;
        auto* other = new QLineEdit(&window);
        auto* edit = new TimeEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(other);
        layout->addWidget(edit);
        edit->SetMaxTime(205'000); // caret index 4
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        QVERIFY(other->hasFocus());
        edit->setCursorPosition(10);
        QTest::keyClick(other, Qt::Key_Tab); // QLineEdit's own handling runs first
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->cursorPosition(), 4);
        QVERIFY(!edit->hasSelectedText());

        other->setFocus();
        edit->setCursorPosition(0);
        edit->setFocus(Qt::OtherFocusReason);
        QCOMPARE(edit->cursorPosition(), 4);

        // Coming back to the window keeps the caret where the user left it.
        edit->setCursorPosition(7);
        QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(edit, &back);
        QCOMPARE(edit->cursorPosition(), 7);
    }
};

QTEST_MAIN(TimeEditTest)
#include "time_edit_test.moc"
