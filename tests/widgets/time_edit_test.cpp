// The masked time field: what it shows, where the caret goes, and the
// keystrokes it refuses.
#include "widgets/time_edit.h"

#include <QTest>

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
};

QTEST_MAIN(TimeEditTest)
#include "time_edit_test.moc"
