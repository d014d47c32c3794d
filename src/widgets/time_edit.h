// CMyTimeCtrl: the masked time field "hh:mm:ss.mmm". The mask overtypes digits
// and skips the separators; the time logic refuses digits that would leave
// the field out of range.
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

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TimeCtrlLogic logic_;
};

} // namespace keldro
