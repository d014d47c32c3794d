// The track length dialog: its fields at opening, the three fields following
// each other without calling each other back, the maximum caption and OK.
#include "splitter/boundary_edit.h"
#include "splitter/ui/track_length_dialog.h"
#include "widget_child.h"
#include "widgets/time_edit.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace keldro;

namespace {

using test::Child;

// The second of three tracks of a 1:40.000 source: [1:00, 1:30].
TrackUpdate Model()
{
    TrackUpdate model;
    model.caption = "曲目号码 02/03:";
    model.Open(100'000, 60'000, 90'000);
    return model;
}

// Spies on what each field reports.
struct Spies
{
    explicit Spies(QWidget& dialog)
        : startEdited(Child<TimeEdit>(dialog, "startEdit"), &TimeEdit::TimeEdited),
          endEdited(Child<TimeEdit>(dialog, "endEdit"), &TimeEdit::TimeEdited),
          lengthEdited(Child<TimeEdit>(dialog, "lengthEdit"), &TimeEdit::TimeEdited),
          startChanged(Child<TimeEdit>(dialog, "startEdit"), &TimeEdit::TimeChanged),
          endChanged(Child<TimeEdit>(dialog, "endEdit"), &TimeEdit::TimeChanged),
          lengthChanged(Child<TimeEdit>(dialog, "lengthEdit"), &TimeEdit::TimeChanged)
    {}
    // Edited counts, then changed counts, for start, end and length.
    QList<int> Counts() const
    {
        return {int(startEdited.size()),  int(endEdited.size()),  int(lengthEdited.size()),
                int(startChanged.size()), int(endChanged.size()), int(lengthChanged.size())};
    }
    void Clear()
    {
        for (QSignalSpy* spy :
             {&startEdited, &endEdited, &lengthEdited, &startChanged, &endChanged, &lengthChanged})
            spy->clear();
    }

    QSignalSpy startEdited;
    QSignalSpy endEdited;
    QSignalSpy lengthEdited;
    QSignalSpy startChanged;
    QSignalSpy endChanged;
    QSignalSpy lengthChanged;
};

void TypeAt(QWidget& dialog, const char* field, int index, char digit)
{
    auto* edit = Child<TimeEdit>(dialog, field);
    edit->setCursorPosition(index);
    QTest::keyClick(edit, digit);
}

QString Shown(QWidget& dialog, const char* field)
{
    return Child<TimeEdit>(dialog, field)->displayText();
}

} // namespace

class TrackLengthDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void fieldsMatchTheModelAtOpening()
    {
        TrackUpdate model = Model();
        TrackLengthDialog dialog(model);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("设置音轨长度"));
        QCOMPARE(Child<QLabel>(dialog, "captionLabel")->text(), QStringLiteral("曲目号码 02/03:"));
        QCOMPARE(Shown(dialog, "startEdit"), QStringLiteral("00:01:00.000"));
        QCOMPARE(Shown(dialog, "endEdit"), QStringLiteral("00:01:30.000"));
        QCOMPARE(Shown(dialog, "lengthEdit"), QStringLiteral("00:00:30.000"));
        QCOMPARE(Child<QLabel>(dialog, "maximumLabel")->text(), QStringLiteral("最大值: 0:40.000"));
        QVERIFY(Child<QPushButton>(dialog, "okButton")->isEnabled());
        // Each field's limit is the source's length.
        for (const char* name : {"startEdit", "endEdit", "lengthEdit"}) {
            auto* field = Child<TimeEdit>(dialog, name);
            QCOMPARE(field->SetTime(100'001), field->GetTime());
            QCOMPARE(field->SetTime(100'000), qint64(100'000));
        }
    }

    // One keystroke: its field's handler runs once and sets the other fields,
    // which do not report back.
    void theFieldsFollowEachOtherWithoutLooping()
    {
        TrackUpdate model = Model();
        TrackLengthDialog dialog(model);
        dialog.show();
        Spies spies(dialog);
        auto* maximum = Child<QLabel>(dialog, "maximumLabel");

        TypeAt(dialog, "startEdit", 6, '1'); // start 1:10
        QCOMPARE(spies.Counts(), (QList<int>{1, 0, 0, 1, 0, 1}));
        QCOMPARE(model.newStart, TimeMs{70'000});
        QCOMPARE(Shown(dialog, "lengthEdit"), QStringLiteral("00:00:20.000"));
        QCOMPARE(Shown(dialog, "endEdit"), QStringLiteral("00:01:30.000"));
        QCOMPARE(maximum->text(), QStringLiteral("最大值: 0:30.000"));
        QCOMPARE(Child<TimeEdit>(dialog, "startEdit")->cursorPosition(), 7);

        spies.Clear();
        TypeAt(dialog, "endEdit", 6, '2'); // end 1:20
        QCOMPARE(spies.Counts(), (QList<int>{0, 1, 0, 0, 1, 1}));
        QCOMPARE(model.newEnd, TimeMs{80'000});
        QCOMPARE(Shown(dialog, "lengthEdit"), QStringLiteral("00:00:10.000"));
        QCOMPARE(maximum->text(), QStringLiteral("最大值: 0:30.000"));

        spies.Clear();
        TypeAt(dialog, "lengthEdit", 6, '2'); // length 0:20
        QCOMPARE(spies.Counts(), (QList<int>{0, 0, 1, 0, 1, 1}));
        QCOMPARE(model.newEnd, TimeMs{90'000});
        QCOMPARE(Shown(dialog, "endEdit"), QStringLiteral("00:01:30.000"));
        QCOMPARE(Shown(dialog, "startEdit"), QStringLiteral("00:01:10.000"));
        QCOMPARE(Child<TimeEdit>(dialog, "lengthEdit")->cursorPosition(), 7);
    }

    // A length that passes the maximum stops the end there; the length field
    // keeps what the user typed.
    void aLengthPastTheMaximumEndsTheTrackThere()
    {
        TrackUpdate model = Model();
        TrackLengthDialog dialog(model);
        dialog.show();
        TypeAt(dialog, "lengthEdit", 6, '5'); // 1:00 + 0:50 > 1:40
        QCOMPARE(Shown(dialog, "endEdit"), QStringLiteral("00:01:40.000"));
        QCOMPARE(Shown(dialog, "lengthEdit"), QStringLiteral("00:00:50.000"));
        QCOMPARE(model.newEnd, TimeMs{100'000});
    }

    void okIsEnabledOnlyForALengthAboveZero()
    {
        TrackUpdate model = Model();
        TrackLengthDialog dialog(model);
        dialog.show();
        auto* ok = Child<QPushButton>(dialog, "okButton");
        TypeAt(dialog, "startEdit", 6, '3'); // start 1:30, the end: length 0
        QCOMPARE(Shown(dialog, "lengthEdit"), QStringLiteral("00:00:00.000"));
        QVERIFY(!ok->isEnabled());
        TypeAt(dialog, "endEdit", 6, '4'); // end 1:40
        QCOMPARE(Shown(dialog, "lengthEdit"), QStringLiteral("00:00:10.000"));
        QVERIFY(ok->isEnabled());
        TypeAt(dialog, "lengthEdit", 6, '0'); // length 0
        QVERIFY(!ok->isEnabled());
        TypeAt(dialog, "lengthEdit", 10, '5'); // length 0:00.050
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.newStart, TimeMs{90'000});
        QCOMPARE(model.newEnd, TimeMs{90'050});
    }

    void focusingAFieldPlacesItsCaret()
    {
        TrackUpdate model = Model();
        TrackLengthDialog dialog(model);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* start = Child<TimeEdit>(dialog, "startEdit");
        auto* end = Child<TimeEdit>(dialog, "endEdit");
        start->setFocus();
        end->setCursorPosition(11);
        QTest::keyClick(start, Qt::Key_Tab);
        QVERIFY(end->hasFocus());
        QCOMPARE(end->cursorPosition(), 4); // 00:01:40.000: the first digit that can change
    }
};

QTEST_MAIN(TrackLengthDialogTest)
#include "track_length_dialog_test.moc"
