// The overlaps dialog: its controls at opening, the auto-apply box, and the
// two times and the scope written into the model at OK.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "scripted_interaction.h"
#include "splitter/bulk_split.h"
#include "splitter/ui/overlaps_dialog.h"
#include "three_track_list.h"
#include "widget_child.h"
#include "widgets/time_edit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace keldro;

namespace {

// The list's dialog model as the page prepares it.
struct Source : test::ThreeTrackList
{
    using ThreeTrackList::ThreeTrackList;
    TrackAddOverlap Prepare() const { return TrackAddOverlap::Prepare(list, settings); }
};

using test::Child;

} // namespace

class OverlapsDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void controlsMatchTheModelAtOpening()
    {
        Source source(2);
        source.settings.SetSettingInt(setting::kBwOverlap, 2'000);
        source.settings.SetSettingInt(setting::kFwOverlap, 1'000);
        source.settings.SetSettingInt(setting::kAutoOverlap, 1);
        TrackAddOverlap model = source.Prepare();
        OverlapsDialog dialog(model, source.settings);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("设置交迭"));
        QCOMPARE(Child<QGroupBox>(dialog, "overlapGroup")->title(),
                 QStringLiteral("交迭 (时:分:秒.毫秒)"));
        QVERIFY(Child<QRadioButton>(dialog, "wholeRadio")->isChecked());
        QVERIFY(Child<QRadioButton>(dialog, "trackRadio")->isEnabled());
        QCOMPARE(Child<QLabel>(dialog, "wholeRangeLabel")->text(),
                 QStringLiteral("1 - 3  [0:00.000-1:40.000]"));
        QCOMPARE(Child<QLabel>(dialog, "trackRangeLabel")->text(),
                 QStringLiteral("3  [1:30.000-1:40.000]"));
        QCOMPARE(Child<TimeEdit>(dialog, "backwardEdit")->displayText(),
                 QStringLiteral("00:00:02.000"));
        QCOMPARE(Child<TimeEdit>(dialog, "forwardEdit")->displayText(),
                 QStringLiteral("00:00:01.000"));
        QVERIFY(Child<QCheckBox>(dialog, "autoApplyBox")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "autoApplyBox")->isEnabled());
    }

    void withoutASelectedTrackItsChoiceIsDisabled()
    {
        Source source(-1);
        source.settings.SetSettingInt(setting::kBwOverlap, 200'000); // longer than the source
        TrackAddOverlap model = source.Prepare();
        OverlapsDialog dialog(model, source.settings);
        QVERIFY(!Child<QRadioButton>(dialog, "trackRadio")->isEnabled());
        QCOMPARE(Child<QLabel>(dialog, "trackRangeLabel")->text(), QStringLiteral("未选择区段"));
        QCOMPARE(Child<TimeEdit>(dialog, "backwardEdit")->displayText(),
                 QStringLiteral("00:00:00.000"));
        QVERIFY(!Child<QCheckBox>(dialog, "autoApplyBox")->isChecked());
    }

    void theAutoApplyBoxServesEveryTrackAndIsStoredAtEachClick()
    {
        Source source(0);
        TrackAddOverlap model = source.Prepare();
        OverlapsDialog dialog(model, source.settings);
        dialog.show();
        auto* box = Child<QCheckBox>(dialog, "autoApplyBox");
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(source.settings.GetSettingInt(setting::kAutoOverlap, -1), 1);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(source.settings.GetSettingInt(setting::kAutoOverlap, -1), 0);
        QTest::mouseClick(Child<QRadioButton>(dialog, "trackRadio"), Qt::LeftButton);
        QVERIFY(!box->isEnabled());
        QTest::mouseClick(Child<QRadioButton>(dialog, "wholeRadio"), Qt::LeftButton);
        QVERIFY(box->isEnabled());
        QTest::mouseClick(box, Qt::LeftButton);
        dialog.reject();
        QCOMPARE(source.settings.GetSettingInt(setting::kAutoOverlap, -1), 1);
    }

    // Both times as typed, 0 included, and the scope; the page stores them.
    void okWritesBothTimesAndTheScope()
    {
        Source source(1);
        source.settings.SetSettingInt(setting::kFwOverlap, 3'000);
        TrackAddOverlap model = source.Prepare();
        OverlapsDialog dialog(model, source.settings);
        dialog.show();
        auto* backward = Child<TimeEdit>(dialog, "backwardEdit");
        backward->setCursorPosition(7); // seconds
        QTest::keyClicks(backward, QStringLiteral("2500"));
        auto* forward = Child<TimeEdit>(dialog, "forwardEdit");
        forward->setCursorPosition(7);
        QTest::keyClick(forward, '0');
        QCOMPARE(forward->displayText(), QStringLiteral("00:00:00.000"));
        QTest::mouseClick(Child<QRadioButton>(dialog, "trackRadio"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.backward, TimeMs{2'500});
        QCOMPARE(model.forward, TimeMs{0});
        QCOMPARE(model.scope, int(TrackAddOverlap::SelectedTrack));
        QCOMPARE(source.settings.GetSettingInt(setting::kFwOverlap, -1), 3'000);
    }

    void theFieldsTakeAtMostTheTotal()
    {
        Source source(0);
        TrackAddOverlap model = source.Prepare();
        OverlapsDialog dialog(model, source.settings);
        for (const char* name : {"backwardEdit", "forwardEdit"}) {
            auto* field = Child<TimeEdit>(dialog, name);
            QCOMPARE(field->SetTime(100'001), qint64(0));
            QCOMPARE(field->SetTime(100'000), qint64(100'000));
        }
    }
};

QTEST_MAIN(OverlapsDialogTest)
#include "overlaps_dialog_test.moc"
