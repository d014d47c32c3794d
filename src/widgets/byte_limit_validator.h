// A text field's limit in bytes of the UTF-8 text the core stores. Limits are
// never counted in characters or UTF-16 units (what QLineEdit::maxLength counts):
// a Chinese character takes three bytes of a field's width.
#pragma once

#include <cstddef>

#include <QString>
#include <QValidator>

class QLineEdit;

namespace keldro {

// An edit that would take the text past the limit is refused whole, a paste
// included: the user sees nothing inserted rather than a silently shortened
// text, and a character is never cut. A text from the program may be longer
// than the limit (an old tag read as GB18030 grows in UTF-8; a wildcard is
// appended): put it in with SetText and the user can shorten it, but never
// make it longer than it came, until the program puts in another text.
class ByteLimitValidator final : public QValidator
{
    Q_OBJECT

public:
    enum class Characters
    {
        Any,
        Digits // 0 to 9 only
    };

    ByteLimitValidator(std::size_t maxBytes, QObject* parent,
                       Characters characters = Characters::Any);

    // A new validator, owned by edit and set on it.
    static ByteLimitValidator* Install(QLineEdit& edit, std::size_t maxBytes,
                                       Characters characters = Characters::Any);

    // Puts text into the edit the validator was installed on, whole.
    void SetText(const QString& text);

    std::size_t MaxBytes() const { return maxBytes_; }

    // Acceptable within the rules, Intermediate when over them but no worse
    // than the last text from the program, Invalid otherwise.
    State validate(QString& input, int& pos) const override;

private:
    // How far a text is over the rules: bytes past the limit, characters that
    // are not allowed.
    struct Excess
    {
        std::size_t bytes = 0;
        qsizetype characters = 0;
    };
    Excess Measure(const QString& text) const;

    std::size_t maxBytes_;
    Characters characters_;
    QLineEdit* edit_ = nullptr;
    Excess allowed_; // of the last text from the program
};

} // namespace keldro
