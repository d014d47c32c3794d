#include "widgets/time_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QValidator>

namespace keldro {
namespace {

// Paste, drop and undo bypass the key check; a whole text is taken only when
// every digit in it would have been accepted as typed.
class TimeValidator final : public QValidator
{
public:
    TimeValidator(const TimeCtrlLogic& logic, QObject* parent) : QValidator(parent), logic_(logic)
    {}

    State validate(QString& input, int& /*pos*/) const override
    {
        if (input.size() != TimeCtrlLogic::kLength)
            return Invalid;
        TimeCtrlLogic check = logic_;
        check.SetText(input.toStdString());
        for (int i = 0; i < TimeCtrlLogic::kLength; ++i) {
            if (TimeCtrlLogic::IsDigitPosition(i) && !check.AcceptsKey(i, input[i].toLatin1()))
                return Invalid;
        }
        return Acceptable;
    }

private:
    const TimeCtrlLogic& logic_;
};

} // namespace

TimeEdit::TimeEdit(QWidget* parent) : QLineEdit(parent)
{
    // '9' takes one digit; a cleared position shows '0', so the text always reads.
    setInputMask(QStringLiteral("99:99:99.999;0"));
    setText(QString::fromLatin1(TimeCtrlLogic::kDefaultText.data(), TimeCtrlLogic::kLength));
    setValidator(new TimeValidator(logic_, this));
    connect(this, &QLineEdit::textChanged, this, &TimeEdit::TextChanged);
}

void TimeEdit::SetMaxTime(qint64 ms)
{
    logic_.SetMaxTime(ms);
}

qint64 TimeEdit::SetTime(qint64 ms)
{
    logic_.SetText(displayText().toStdString());
    const qint64 shown = logic_.SetTime(ms);
    if (shown == ms) {
        const QScopedValueRollback<bool> setting(settingTime_, true);
        setText(QString::fromStdString(logic_.Text()));
        PlaceCaret();
    }
    return GetTime();
}

qint64 TimeEdit::GetTime() const
{
    return TimeCtrlLogic::ReadText(displayText().toStdString());
}

void TimeEdit::PlaceCaret()
{
    setCursorPosition(logic_.CaretIndex());
}

void TimeEdit::TextChanged()
{
    const qint64 ms = GetTime();
    if (ms == shown_)
        return;
    shown_ = ms;
    emit TimeChanged(ms);
    if (!settingTime_)
        emit TimeEdited(ms);
}

void TimeEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint()) {
        int index = hasSelectedText() ? selectionStart() : cursorPosition();
        // Typing on a separator goes to the digit after it, as the mask does.
        if (index < TimeCtrlLogic::kLength && !TimeCtrlLogic::IsDigitPosition(index))
            ++index;
        logic_.SetText(displayText().toStdString());
        const char key = typed[0].toLatin1();
        if (index >= TimeCtrlLogic::kLength || !logic_.AcceptsKey(index, key))
            return; // refused silently
    }
    QLineEdit::keyPressEvent(event);
}

void TimeEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        PlaceCaret();
}

} // namespace keldro
