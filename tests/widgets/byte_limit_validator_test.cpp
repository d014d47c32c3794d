// Field limits in bytes of UTF-8: typing and pasting stop at the limit, never
// inside a character, and a longer text from the program can only shrink.
#include "widgets/byte_limit_validator.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

using namespace keldro;

namespace {

const QString kTen = QStringLiteral("一二三四五六七八九十"); // 30 bytes

// How a Chinese input method hands over what the user typed.
void Commit(QLineEdit& edit, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(&edit, &event);
}

void TypeEach(QLineEdit& edit, const QString& text)
{
    for (const QChar c : text)
        Commit(edit, QString(c));
}

QValidator::State Check(const QValidator& validator, QString text)
{
    int pos = 0;
    return validator.validate(text, pos);
}

} // namespace

class ByteLimitValidatorTest final : public QObject
{
    Q_OBJECT

private slots:
    void countsBytesNotCharacters()
    {
        const ByteLimitValidator validator(30, nullptr);
        QCOMPARE(Check(validator, kTen), QValidator::Acceptable);
        QCOMPARE(Check(validator, kTen + QStringLiteral("壹")), QValidator::Invalid);
        QCOMPARE(Check(validator, kTen + QStringLiteral("a")), QValidator::Invalid);
        QCOMPARE(Check(validator, QString(30, QLatin1Char('a'))), QValidator::Acceptable);
        QCOMPARE(Check(validator, QString(31, QLatin1Char('a'))), QValidator::Invalid);
        QCOMPARE(Check(validator, QString()), QValidator::Acceptable);
        // Four bytes, two UTF-16 units.
        QCOMPARE(Check(ByteLimitValidator(3, nullptr), QStringLiteral("😀")), QValidator::Invalid);
        QCOMPARE(Check(ByteLimitValidator(4, nullptr), QStringLiteral("😀")),
                 QValidator::Acceptable);
    }

    void typingStopsAtTheLimit()
    {
        QLineEdit edit;
        ByteLimitValidator::Install(edit, 30);
        TypeEach(edit, kTen);
        QCOMPARE(edit.text(), kTen);
        Commit(edit, QStringLiteral("壹"));
        QCOMPARE(edit.text(), kTen);
        QTest::keyClick(&edit, 'a');
        QCOMPARE(edit.text(), kTen);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClick(&edit, 'a');
        QCOMPARE(edit.text(), QStringLiteral("一二三四五六七八九a"));
    }

    void aCharacterThatDoesNotFitWholeIsRefused()
    {
        QLineEdit edit;
        ByteLimitValidator::Install(edit, 30);
        const QString mixed = QStringLiteral("abcde一二三四五六七八"); // 5 + 24 = 29 bytes
        TypeEach(edit, mixed);
        QCOMPARE(edit.text(), mixed);
        Commit(edit, QStringLiteral("九"));
        QCOMPARE(edit.text(), mixed);
        edit.setCursorPosition(0); // nor anywhere else
        Commit(edit, QStringLiteral("九"));
        QCOMPARE(edit.text(), mixed);
        QTest::keyClick(&edit, 'z');
        QCOMPARE(edit.text(), QString(QStringLiteral("z") + mixed));
    }

    void aPasteThatDoesNotFitIsRefusedWhole()
    {
        QLineEdit edit;
        ByteLimitValidator::Install(edit, 30);
        edit.insert(QStringLiteral("ab"));
        QGuiApplication::clipboard()->setText(kTen); // 32 bytes with what is there
        edit.paste();
        QCOMPARE(edit.text(), QStringLiteral("ab"));
        edit.insert(QString(29, QLatin1Char('x')));
        QCOMPARE(edit.text(), QStringLiteral("ab"));
        // Replacing the whole text with one that fits is taken.
        edit.selectAll();
        edit.paste();
        QCOMPARE(edit.text(), kTen);
        QGuiApplication::clipboard()->setText(QStringLiteral("九十"));
        edit.setCursorPosition(0);
        edit.paste();
        QCOMPARE(edit.text(), kTen);
    }

    void digitsOnly()
    {
        QLineEdit edit;
        ByteLimitValidator::Install(edit, 4, ByteLimitValidator::Characters::Digits);
        QTest::keyClicks(&edit, QStringLiteral("19a-9 9"));
        QCOMPARE(edit.text(), QStringLiteral("1999"));
        QTest::keyClick(&edit, '0');
        QCOMPARE(edit.text(), QStringLiteral("1999"));
        edit.clear();
        Commit(edit, QStringLiteral("２０")); // full-width digits are not digits of a year
        QCOMPARE(edit.text(), QString());
        QCOMPARE(Check(ByteLimitValidator(4, nullptr, ByteLimitValidator::Characters::Digits),
                       QStringLiteral("٣")),
                 QValidator::Invalid);
    }

    void aLongerTextFromTheProgramCanOnlyShrink()
    {
        QLineEdit edit;
        ByteLimitValidator* validator = ByteLimitValidator::Install(edit, 30);
        const QString long15 = kTen + QStringLiteral("壹贰叁肆伍"); // 45 bytes
        validator->SetText(long15);
        QCOMPARE(edit.text(), long15);
        edit.end(false);
        QTest::keyClick(&edit, 'a');
        QCOMPARE(edit.text(), long15);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), long15.left(14));
        QTest::keyClick(&edit, 'a');
        QCOMPARE(edit.text(), QString(long15.left(14) + QStringLiteral("a")));
        Commit(edit, QStringLiteral("陆")); // 46 bytes
        QCOMPARE(edit.text(), QString(long15.left(14) + QStringLiteral("a")));
        // A text within the limit takes the allowance away again.
        validator->SetText(QStringLiteral("abc"));
        edit.end(false);
        QTest::keyClicks(&edit, QString(30, QLatin1Char('d')));
        QCOMPARE(edit.text(), QString(QStringLiteral("abc") + QString(27, QLatin1Char('d'))));
    }

    void aYearFromTheProgramWithOtherCharactersCanOnlyLoseThem()
    {
        QLineEdit edit;
        ByteLimitValidator* validator =
            ByteLimitValidator::Install(edit, 4, ByteLimitValidator::Characters::Digits);
        validator->SetText(QStringLiteral("99x"));
        QCOMPARE(edit.text(), QStringLiteral("99x"));
        edit.end(false);
        QTest::keyClick(&edit, 'y');
        QCOMPARE(edit.text(), QStringLiteral("99x"));
        QTest::keyClick(&edit, '1');
        QCOMPARE(edit.text(), QStringLiteral("99x1"));
        QTest::keyClick(&edit, '2');
        QCOMPARE(edit.text(), QStringLiteral("99x1"));
        edit.setCursorPosition(3);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QStringLiteral("991"));
    }
};

QTEST_MAIN(ByteLimitValidatorTest)
#include "byte_limit_validator_test.moc"
