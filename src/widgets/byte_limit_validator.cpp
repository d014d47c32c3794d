#include "widgets/byte_limit_validator.h"

#include "widgets/qt_text.h"

#include <algorithm>

#include <QLineEdit>

namespace keldro {

ByteLimitValidator::ByteLimitValidator(std::size_t maxBytes, QObject* parent, Characters characters)
    : QValidator(parent), maxBytes_(maxBytes), characters_(characters)
{}

ByteLimitValidator* ByteLimitValidator::Install(QLineEdit& edit, std::size_t maxBytes,
                                                Characters characters)
{
    auto* validator = new ByteLimitValidator(maxBytes, &edit, characters);
    validator->edit_ = &edit;
    validator->allowed_ = validator->Measure(edit.text());
    edit.setValidator(validator);
    return validator;
}

void ByteLimitValidator::SetText(const QString& text)
{
    // Before the edit validates it: a text the line edit took as invalid would
    // let the user's next edit through unchecked.
    allowed_ = Measure(text);
    if (edit_ != nullptr)
        edit_->setText(text);
}

QValidator::State ByteLimitValidator::validate(QString& input, int& /*pos*/) const
{
    const Excess excess = Measure(input);
    if (excess.bytes == 0 && excess.characters == 0)
        return Acceptable;
    if (excess.bytes <= allowed_.bytes && excess.characters <= allowed_.characters)
        return Intermediate;
    return Invalid;
}

ByteLimitValidator::Excess ByteLimitValidator::Measure(const QString& text) const
{
    Excess excess;
    const std::size_t bytes = ToBytes(text).size();
    excess.bytes = bytes > maxBytes_ ? bytes - maxBytes_ : 0;
    if (characters_ == Characters::Digits) {
        excess.characters = std::count_if(text.cbegin(), text.cend(), [](QChar c) {
            return c < QLatin1Char('0') || c > QLatin1Char('9');
        });
    }
    return excess;
}

} // namespace keldro
