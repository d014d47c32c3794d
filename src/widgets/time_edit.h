// CMyTimeCtrl: the masked time field "hh:mm:ss.mmm". The mask overtypes digits
// and skips the separators; the time logic refuses digits that would leave
// the field out of range, and pasted or dropped text that would.
#pragma once

#include "timecue/time_ctrl_logic.h"

#include <QLineEdit>

namespace keldro {

class TimeEdit final : public QLineEdit
{
    Q_OBJECT

public:
    explicit TimeEdit(QWidget* parent = nullptr);

    void SetMaxTime(qint64 ms);
    // Shows ms when it lies in 0..maximum; returns the time shown afterwards.
    qint64 SetTime(qint64 ms);
    qint64 GetTime() const;
    // Puts the caret where typing can first change the value.
    void PlaceCaret();

signals:
    // The value shown changed, whoever changed it (SetTime or the user).
    void TimeChanged(qint64 ms);
    // The user changed the value (typing, deleting, pasting); never sent for
    // SetTime, so a handler may set other fields without being called back.
    void TimeEdited(qint64 ms);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Gives the caret its place after QLineEdit's own handling, except when
    // the window is merely reactivated or a popup closes: the user's caret stays.
    void focusInEvent(QFocusEvent* event) override;

private:
    void TextChanged();

    TimeCtrlLogic logic_;
    qint64 shown_ = 0;
    bool settingTime_ = false;
};

} // namespace keldro
