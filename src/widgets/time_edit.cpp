#include "widgets/time_edit.h"

#include <QKeyEvent>

namespace keldro {

TimeEdit::TimeEdit(QWidget* parent) : QLineEdit(parent)
{
    // '9' takes one digit; a cleared position shows '0', so the text always reads.
    setInputMask(QStringLiteral("99:99:99.999;0"));
    setText(QString::fromLatin1(TimeCtrlLogic::kDefaultText.data(), TimeCtrlLogic::kLength));
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

} // namespace keldro
