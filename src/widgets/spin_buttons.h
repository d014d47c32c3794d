// The spin beside a time field: a compact pair of up and down arrow buttons
// that repeat while held. The owner decides what a step is.
#pragma once

#include <QWidget>

class QToolButton;

namespace keldro {

class SpinButtons final : public QWidget
{
    Q_OBJECT

public:
    explicit SpinButtons(QWidget* parent = nullptr);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Once per click, and again at every repeat while the button is held.
    void StepUp();
    void StepDown();

private:
    QToolButton* AddButton(Qt::ArrowType arrow, const QString& name);

    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

} // namespace keldro
