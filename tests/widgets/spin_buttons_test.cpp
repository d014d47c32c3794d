// The spin beside a time field: one step per click, repeats while held,
// nothing while disabled, names for screen readers, and the focus left where
// it was.
#include "widgets/spin_buttons.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace keldro;

class SpinButtonsTest final : public QObject
{
    Q_OBJECT

private slots:
    void eachClickStepsOnce()
    {
        SpinButtons spin;
        spin.show();
        QSignalSpy up(&spin, &SpinButtons::StepUp);
        QSignalSpy down(&spin, &SpinButtons::StepDown);
        QTest::mouseClick(spin.UpButton(), Qt::LeftButton);
        QCOMPARE(up.size(), 1);
        QCOMPARE(down.size(), 0);
        QTest::mouseClick(spin.DownButton(), Qt::LeftButton);
        QTest::mouseClick(spin.DownButton(), Qt::LeftButton);
        QCOMPARE(up.size(), 1);
        QCOMPARE(down.size(), 2);
    }

    void holdingRepeatsUntilReleased()
    {
        SpinButtons spin;
        spin.show();
        QToolButton* button = spin.DownButton();
        QVERIFY(button->autoRepeat());
        button->setAutoRepeatDelay(40);
        button->setAutoRepeatInterval(20);
        QSignalSpy down(&spin, &SpinButtons::StepDown);
        QTest::mousePress(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(down.size() >= 3, 2000);
        QTest::mouseRelease(button, Qt::LeftButton);
        const qsizetype released = down.size();
        QTest::qWait(100);
        QCOMPARE(down.size(), released);
        QVERIFY(spin.UpButton()->autoRepeat());
    }

    void disabledEmitsNothing()
    {
        SpinButtons spin;
        spin.show();
        spin.setEnabled(false);
        QSignalSpy up(&spin, &SpinButtons::StepUp);
        QSignalSpy down(&spin, &SpinButtons::StepDown);
        QTest::mouseClick(spin.UpButton(), Qt::LeftButton);
        QTest::mouseClick(spin.DownButton(), Qt::LeftButton);
        spin.UpButton()->click();
        QCOMPARE(up.size(), 0);
        QCOMPARE(down.size(), 0);
        spin.setEnabled(true);
        QTest::mouseClick(spin.UpButton(), Qt::LeftButton);
        QCOMPARE(up.size(), 1);
    }

    void buttonsHaveArrowsAndNames()
    {
        SpinButtons spin;
        QCOMPARE(spin.UpButton()->arrowType(), Qt::UpArrow);
        QCOMPARE(spin.DownButton()->arrowType(), Qt::DownArrow);
        QCOMPARE(spin.UpButton()->accessibleName(), QStringLiteral("增加一个步进"));
        QCOMPARE(spin.DownButton()->accessibleName(), QStringLiteral("减少一个步进"));
    }

    void clickingLeavesTheFocusInTheField()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* field = new QLineEdit(&window);
        auto* spin = new SpinButtons(&window);
        layout->addWidget(field);
        layout->addWidget(spin);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), field);
    }

    void thePairIsAsHighAsOneLineAndOneButtonWide()
    {
        SpinButtons spin;
        QLineEdit field;
        QVERIFY(spin.sizeHint().height() <= field.sizeHint().height() + 4);
        QCOMPARE(spin.sizeHint().width(), spin.UpButton()->width());
    }
};

QTEST_MAIN(SpinButtonsTest)
#include "spin_buttons_test.moc"
