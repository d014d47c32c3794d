// The equal-parts dialog: its controls at opening, the scope and method
// events, the auto-apply box, and the refusals that keep it open.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "scripted_interaction.h"
#include "splitter/bulk_split.h"
#include "splitter/ui/equal_parts_dialog.h"
#include "three_track_list.h"
#include "widget_child.h"
#include "widgets/time_edit.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace keldro;

namespace {

// The list's dialog model as the page prepares it.
struct Source : test::ThreeTrackList
{
    using ThreeTrackList::ThreeTrackList;
    SpecialTimeAdd Prepare() const { return SpecialTimeAdd::Prepare(list, settings); }
};

using test::Child;

QString Label(QWidget& dialog, const char* name)
{
    return Child<QLabel>(dialog, name)->text();
}

} // namespace

class EqualPartsDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void controlsMatchTheModelAtOpening()
    {
        Source source;
        source.settings.SetSettingInt(setting::kAddSpecialType, SpecialTimeAdd::ByFixedTime);
        source.settings.SetSettingInt(setting::kAddSpecialByTime, 20'000);
        source.settings.SetSettingInt(setting::kAddSpecialBySection, 5);
        source.settings.SetSettingInt(setting::kAutoAddSpecial, 1);
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("分割为相等片断"));
        QVERIFY(Child<QRadioButton>(dialog, "wholeRadio")->isChecked());
        QVERIFY(Child<QRadioButton>(dialog, "trackRadio")->isEnabled());
        QCOMPARE(Label(dialog, "wholeRangeLabel"), QStringLiteral("1 - 3  [0:00.000-1:40.000]"));
        QCOMPARE(Label(dialog, "trackRangeLabel"), QStringLiteral("2  [1:00.000-1:30.000]"));
        QVERIFY(Child<QRadioButton>(dialog, "timeRadio")->isChecked());
        QCOMPARE(Child<QLineEdit>(dialog, "partsEdit")->text(), QStringLiteral("5"));
        QCOMPARE(Child<TimeEdit>(dialog, "timeEdit")->displayText(),
                 QStringLiteral("00:00:20.000"));
        QVERIFY(Child<QCheckBox>(dialog, "autoApplyBox")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "autoApplyBox")->isEnabled());
        QCOMPARE(Label(dialog, "maximumLabel"), QStringLiteral("最大值: 1:40.000"));
        QCOMPARE(dialog.focusWidget(), Child<TimeEdit>(dialog, "timeEdit"));
    }

    // The two fields sit beside their choices with no label of their own:
    // screen readers take their names from the form.
    void theMethodFieldsHaveNames()
    {
        Source source;
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        const auto name = [&dialog](const char* child) {
            QWidget* field = Child<QWidget>(dialog, child);
            return QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name);
        };
        QCOMPARE(name("partsEdit"), QStringLiteral("按片断数"));
        QCOMPARE(name("timeEdit"), QStringLiteral("按固定时间"));
    }

    void withoutASelectedTrackItsChoiceIsDisabled()
    {
        Source source(-1);
        source.settings.SetSettingInt(setting::kAddSpecialByTime, 200'000); // beyond 1:40
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        QVERIFY(!Child<QRadioButton>(dialog, "trackRadio")->isEnabled());
        QCOMPARE(Label(dialog, "trackRangeLabel"), QStringLiteral("未选择区段"));
        QVERIFY(Child<QRadioButton>(dialog, "partsRadio")->isChecked());
        QCOMPARE(Child<QLineEdit>(dialog, "partsEdit")->text(), QStringLiteral("2"));
        QCOMPARE(Child<TimeEdit>(dialog, "timeEdit")->displayText(),
                 QStringLiteral("00:00:00.000"));
        QVERIFY(!Child<QCheckBox>(dialog, "autoApplyBox")->isChecked());
        QCOMPARE(dialog.focusWidget(), Child<QLineEdit>(dialog, "partsEdit"));
    }

    void theScopeMovesTheMaximumAndTheAutoApplyBox()
    {
        Source source;
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        dialog.show();
        auto* box = Child<QCheckBox>(dialog, "autoApplyBox");
        QTest::mouseClick(Child<QRadioButton>(dialog, "trackRadio"), Qt::LeftButton);
        QVERIFY(!box->isEnabled());
        QCOMPARE(Label(dialog, "maximumLabel"), QStringLiteral("最大值: 0:30.000"));
        QTest::mouseClick(Child<QRadioButton>(dialog, "wholeRadio"), Qt::LeftButton);
        QVERIFY(box->isEnabled());
        QCOMPARE(Label(dialog, "maximumLabel"), QStringLiteral("最大值: 1:40.000"));
    }

    void theAutoApplyBoxIsStoredAtEachClickEvenWhenCancelled()
    {
        Source source;
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        dialog.show();
        auto* box = Child<QCheckBox>(dialog, "autoApplyBox");
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(source.settings.GetSettingInt(setting::kAutoAddSpecial, -1), 1);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(source.settings.GetSettingInt(setting::kAutoAddSpecial, -1), 0);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(source.settings.GetSettingInt(setting::kAutoAddSpecial, -1), 1);
    }

    void typingInAFieldChoosesItsMethod()
    {
        Source source;
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        dialog.show();
        auto* time = Child<TimeEdit>(dialog, "timeEdit");
        time->setCursorPosition(4);
        QTest::keyClick(time, '9'); // refused (beyond 1:40): no choice made
        QVERIFY(Child<QRadioButton>(dialog, "partsRadio")->isChecked());
        QTest::keyClick(time, '0'); // 00:01:00.000 becomes 00:00:00.000
        QVERIFY(Child<QRadioButton>(dialog, "timeRadio")->isChecked());
        QTest::keyClicks(Child<QLineEdit>(dialog, "partsEdit"), QStringLiteral("4"));
        QVERIFY(Child<QRadioButton>(dialog, "partsRadio")->isChecked());
    }

    void choosingAMethodFocusesItsField()
    {
        Source source;
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* parts = Child<QLineEdit>(dialog, "partsEdit");
        auto* time = Child<TimeEdit>(dialog, "timeEdit");
        QVERIFY(parts->hasFocus());
        time->setCursorPosition(10);
        QTest::mouseClick(Child<QRadioButton>(dialog, "timeRadio"), Qt::LeftButton);
        QVERIFY(time->hasFocus());
        QCOMPARE(time->cursorPosition(), 4); // 00:01:40.000: the first digit that can change
        QVERIFY(!parts->hasSelectedText());
        QTest::mouseClick(Child<QRadioButton>(dialog, "partsRadio"), Qt::LeftButton);
        QVERIFY(parts->hasFocus());
        QCOMPARE(parts->selectedText(), QStringLiteral("2"));
    }

    // A refusal is told, focuses the field it names and keeps the dialog open.
    void refusesBadInput_data()
    {
        QTest::addColumn<bool>("track");
        QTest::addColumn<bool>("byTime");
        QTest::addColumn<QString>("parts");
        QTest::addColumn<qint64>("time");
        QTest::addColumn<QString>("message");
        const QString badParts = QStringLiteral("无效的区段数。它必须为 1-999。");
        QTest::newRow("no parts") << false << false << QStringLiteral("0") << qint64(60'000)
                                  << badParts;
        QTest::newRow("empty") << false << false << QString() << qint64(60'000) << badParts;
        QTest::newRow("1000 parts")
            << false << false << QStringLiteral("1000") << qint64(60'000) << badParts;
        QTest::newRow("time 0") << false << true << QStringLiteral("2") << qint64(0)
                                << QStringLiteral("0:00.000 无效。它必须大于 0，或者必须为“时:分("
                                                  "0-59):秒(0-59).毫秒(0-999)”的格式。");
        QTest::newRow("over 999 pieces")
            << false << true << QStringLiteral("2") << qint64(100)
            << QStringLiteral("0:00.100 太小。一次可以创建的最大片断必须小于 999。");
        QTest::newRow("beyond the track")
            << true << true << QStringLiteral("2") << qint64(40'000)
            << QStringLiteral("0:40.000 无效。它必须小于你想要分割的音轨的区段长度: 0:30.000。");
    }
    void refusesBadInput()
    {
        QFETCH(bool, track);
        QFETCH(bool, byTime);
        QFETCH(QString, parts);
        QFETCH(qint64, time);
        QFETCH(QString, message);
        Source source;
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        dialog.show();
        if (track)
            Child<QRadioButton>(dialog, "trackRadio")->click();
        Child<QRadioButton>(dialog, byTime ? "timeRadio" : "partsRadio")->click();
        Child<QLineEdit>(dialog, "partsEdit")->setText(parts);
        QCOMPARE(Child<TimeEdit>(dialog, "timeEdit")->SetTime(time), time);
        QWidget* timeField = Child<TimeEdit>(dialog, "timeEdit");
        QWidget* partsField = Child<QLineEdit>(dialog, "partsEdit");
        QWidget* expected = byTime ? timeField : partsField;
        (byTime ? partsField : timeField)->setFocus();
        Child<QPushButton>(dialog, "okButton")->click();
        QCOMPARE(source.ui.messages.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(source.ui.messages[0].text), message);
        QCOMPARE(source.ui.messages[0].icon, MessageIcon::Warning);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.focusWidget(), expected);
    }

    // The field's maximum is the whole length: a longer time cannot be typed
    // or pasted, and the whole length itself is taken.
    void theWholeLengthIsTheLongestTime()
    {
        Source source;
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        dialog.show();
        auto* time = Child<TimeEdit>(dialog, "timeEdit");
        QCOMPARE(time->SetTime(100'001), qint64(60'000));
        time->selectAll();
        time->insert(QStringLiteral("00:01:40.001"));
        QCOMPARE(time->GetTime(), qint64(60'000));
        time->setCursorPosition(4);
        QTest::keyClick(time, '2');
        QCOMPARE(time->GetTime(), qint64(60'000));
        QCOMPARE(time->SetTime(100'000), qint64(100'000));
        Child<QRadioButton>(dialog, "timeRadio")->click();
        Child<QPushButton>(dialog, "okButton")->click();
        QVERIFY(source.ui.messages.empty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.fixedTime, TimeMs{100'000});
    }

    // exec() ends with Accepted only once the check passes; the choices go
    // into the model and are not stored: the page stores them.
    void execAcceptsOnlyCheckedInput()
    {
        Source source;
        SpecialTimeAdd model = source.Prepare();
        EqualPartsDialog dialog(model, source.settings, source.ui);
        int attempts = 0;
        QTimer typist;
        connect(&typist, &QTimer::timeout, &dialog, [&] {
            if (QApplication::activeModalWidget() != &dialog)
                return;
            auto* parts = Child<QLineEdit>(dialog, "partsEdit");
            parts->selectAll();
            QTest::keyClicks(parts, attempts == 0 ? QStringLiteral("1000") : QStringLiteral("4"));
            ++attempts;
            QTest::mouseClick(Child<QRadioButton>(dialog, "trackRadio"), Qt::LeftButton);
            QTest::mouseClick(Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        typist.start(10);
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(attempts, 2);
        QCOMPARE(source.ui.messages.size(), std::size_t{1});
        QCOMPARE(model.scope, int(SpecialTimeAdd::SelectedTrack));
        QCOMPARE(model.method, int(SpecialTimeAdd::ByParts));
        QCOMPARE(model.parts, 4);
        QCOMPARE(source.settings.GetSettingInt(setting::kAddSpecialBySection, -1), -1);
    }
};

QTEST_MAIN(EqualPartsDialogTest)
#include "equal_parts_dialog_test.moc"
