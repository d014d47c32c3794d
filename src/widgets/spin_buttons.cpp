#include "widgets/spin_buttons.h"

#include "string_table.h"
#include "widgets/qt_text.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace keldro {
namespace {

constexpr int kButtonWidth = 16;

} // namespace

SpinButtons::SpinButtons(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = AddButton(Qt::UpArrow, FromBytes(LoadString(StringId::SpinStepUp)));
    down_ = AddButton(Qt::DownArrow, FromBytes(LoadString(StringId::SpinStepDown)));
    up_->setObjectName(QStringLiteral("upButton"));
    down_->setObjectName(QStringLiteral("downButton"));
    connect(up_, &QToolButton::clicked, this, &SpinButtons::StepUp);
    connect(down_, &QToolButton::clicked, this, &SpinButtons::StepDown);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

// As high as a line of text in a field, so that the pair sits beside one.
QSize SpinButtons::sizeHint() const
{
    return {kButtonWidth, fontMetrics().height() + 10};
}

QSize SpinButtons::minimumSizeHint() const
{
    return {kButtonWidth, 16};
}

// The buttons take no focus: a click leaves it in the time field, whose
// Up and Down keys make the same steps from the keyboard.
QToolButton* SpinButtons::AddButton(Qt::ArrowType arrow, const QString& name)
{
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(name);
    // Both halves share the height the row gives the pair.
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    button->setFixedWidth(kButtonWidth);
    layout()->addWidget(button);
    return button;
}

} // namespace keldro
