#include "splitter/ui/step_sizes_dialog.h"

#include "splitter/step_sizes.h"
#include "ui_step_sizes_dialog.h"
#include "widgets/qt_text.h"

#include <QRegularExpressionValidator>

namespace keldro {
namespace {

// Digits only: a sign cannot be typed. Ten digits reach past what the store
// holds, and the model refuses those at OK like 0.
void AcceptDigits(QLineEdit* field)
{
    field->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), field));
}

std::optional<TimeMs> Size(const QLineEdit* field)
{
    return StepSizes::ParseSize(ToBytes(field->text()));
}

} // namespace

StepSizesDialog::StepSizesDialog(StepSizes& model, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::StepSizesDialog>()), model_(model)
{
    ui_->setupUi(this);
    AcceptDigits(ui_->stepEdit);
    AcceptDigits(ui_->pageEdit);
    ui_->stepEdit->setText(QString::number(model_.step));
    ui_->pageEdit->setText(QString::number(model_.page));
    FieldsChanged();

    connect(ui_->stepEdit, &QLineEdit::textChanged, this, &StepSizesDialog::FieldsChanged);
    connect(ui_->pageEdit, &QLineEdit::textChanged, this, &StepSizesDialog::FieldsChanged);
    connect(ui_->okButton, &QPushButton::clicked, this, &StepSizesDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &StepSizesDialog::reject);

    ui_->stepEdit->selectAll();
    ui_->stepEdit->setFocus();
}

StepSizesDialog::~StepSizesDialog() = default;

void StepSizesDialog::FieldsChanged()
{
    ui_->okButton->setEnabled(Size(ui_->stepEdit) && Size(ui_->pageEdit));
}

void StepSizesDialog::accept()
{
    const std::optional<TimeMs> step = Size(ui_->stepEdit);
    const std::optional<TimeMs> page = Size(ui_->pageEdit);
    if (!step || !page)
        return;
    model_.step = *step;
    model_.page = *page;
    QDialog::accept();
}

} // namespace keldro
