// The silence dialog: its controls as the page prepares them, apply and
// apply-to-all, save staying open, the integer refusal and the close box.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "joiner/silence.h"
#include "joiner/ui/insert_silence_dialog.h"
#include "scripted_interaction.h"
#include "widget_child.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace keldro;

namespace {

using test::Child;

// The store and the user around one opening of the dialog.
struct Page
{
    MemorySettings settings;
    test::ScriptedInteraction ui;

    // As the page opens it: the first selected row's silence, or none selected.
    InsertSilence Prepare(int selectedSeconds, bool noSelection = false) const
    {
        return InsertSilence::Prepare(settings, selectedSeconds, noSelection);
    }
};

QLineEdit* Length(QWidget& dialog)
{
    return Child<QLineEdit>(dialog, "lengthEdit");
}

void Type(QWidget& dialog, const QString& text)
{
    Length(dialog)->selectAll();
    QTest::keyClicks(Length(dialog), text);
}

void Click(QWidget& dialog, const char* button)
{
    QTest::mouseClick(Child<QPushButton>(dialog, button), Qt::LeftButton);
}

// On the box's indicator: a box stretched wider than its caption does not
// take clicks beyond it.
void Tick(QWidget& dialog)
{
    auto* box = Child<QCheckBox>(dialog, "automaticBox");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

int Stored(const Page& page, const SettingKey& key)
{
    return page.settings.GetSettingInt(key, -1);
}

} // namespace

class InsertSilenceDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void controlsShowTheStoredDefaults()
    {
        Page page;
        page.settings.SetSettingInt(setting::kSilenceLength, 3);
        page.settings.SetSettingInt(setting::kAutoApplySilence, 1);
        InsertSilence model = page.Prepare(0);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("插入静音"));
        auto* label = Child<QLabel>(dialog, "lengthLabel");
        QCOMPARE(label->text(), QStringLiteral("在选定的音轨后插入静音(&I):"));
        QCOMPARE(label->buddy(), Length(dialog));
        QCOMPARE(Child<QLabel>(dialog, "unitLabel")->text(),
                 QStringLiteral("秒    [0 代表不插入静音]"));
        auto* box = Child<QCheckBox>(dialog, "automaticBox");
        QCOMPARE(box->text(), QStringLiteral("载入 MP3 时自动插入静音(&A)"));
        QVERIFY(box->isChecked());
        QCOMPARE(Length(dialog)->text(), QStringLiteral("3"));
        QVERIFY(Length(dialog)->hasFocus());
        QCOMPARE(Length(dialog)->selectedText(), QStringLiteral("3"));
        auto* apply = Child<QPushButton>(dialog, "applyButton");
        QCOMPARE(apply->text(), QStringLiteral("应用"));
        QVERIFY(apply->isDefault() && apply->isEnabled());
        QCOMPARE(Child<QPushButton>(dialog, "applyAllButton")->text(), QStringLiteral("应用全部"));
        QVERIFY(Child<QPushButton>(dialog, "applyAllButton")->isEnabled());
        QCOMPARE(Child<QPushButton>(dialog, "saveButton")->text(), QStringLiteral("保存(&S)"));
    }

    void theSelectedRowsSilenceComesFirst()
    {
        Page page;
        page.settings.SetSettingInt(setting::kSilenceLength, 3);
        InsertSilence model = page.Prepare(8);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        QCOMPARE(Length(dialog)->text(), QStringLiteral("8"));
        QVERIFY(!Child<QCheckBox>(dialog, "automaticBox")->isChecked());
    }

    // Both close with OK and store nothing; only apply-to-all sets its flag.
    void applyClosesWithTheFields_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("toAll");
        QTest::newRow("apply") << QStringLiteral("applyButton") << false;
        QTest::newRow("apply to all") << QStringLiteral("applyAllButton") << true;
    }
    void applyClosesWithTheFields()
    {
        QFETCH(QString, button);
        QFETCH(bool, toAll);
        Page page;
        InsertSilence model = page.Prepare(2);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        dialog.show();
        Type(dialog, QStringLiteral("15"));
        Tick(dialog);
        Click(dialog, button.toLatin1().constData());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(model.Length(), std::optional<int>(15));
        QVERIFY(model.automatic);
        QCOMPARE(model.applyToAll, toAll);
        QVERIFY(page.ui.messages.empty());
        QCOMPARE(page.settings.Size(), std::size_t{0});
    }

    void enterApplies()
    {
        Page page;
        InsertSilence model = page.Prepare(0);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        dialog.show();
        Type(dialog, QStringLiteral("-4"));
        QTest::keyClick(Length(dialog), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.Length(), std::optional<int>(-4)); // the page writes "<无>"
        QVERIFY(!model.applyToAll);
    }

    void saveStoresBothValuesAndStaysOpen()
    {
        Page page;
        InsertSilence model = page.Prepare(2);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        dialog.show();
        Type(dialog, QStringLiteral("12"));
        Tick(dialog);
        Click(dialog, "saveButton");
        QVERIFY(dialog.isVisible());
        QCOMPARE(Stored(page, setting::kSilenceLength), 12);
        QCOMPARE(Stored(page, setting::kAutoApplySilence), 1);
        // Applying afterwards stores nothing more.
        Type(dialog, QStringLiteral("5"));
        Tick(dialog);
        Click(dialog, "applyButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.Length(), std::optional<int>(5));
        QVERIFY(!model.automatic);
        QCOMPARE(Stored(page, setting::kSilenceLength), 12);
        QCOMPARE(Stored(page, setting::kAutoApplySilence), 1);
    }

    void withoutASelectionOnlySaveWorksAndCloses()
    {
        Page page;
        InsertSilence model = page.Prepare(0, true);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        dialog.show();
        QVERIFY(!Child<QPushButton>(dialog, "applyButton")->isEnabled());
        QVERIFY(!Child<QPushButton>(dialog, "applyAllButton")->isEnabled());
        Type(dialog, QStringLiteral("7"));
        QTest::keyClick(Length(dialog), Qt::Key_Return); // the default is disabled
        QVERIFY(dialog.isVisible());
        QCOMPARE(page.settings.Size(), std::size_t{0});
        Click(dialog, "saveButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Stored(page, setting::kSilenceLength), 7);
        QCOMPARE(Stored(page, setting::kAutoApplySilence), 0);
        QVERIFY(!model.applyToAll);
    }

    // Each button refuses a length that is no integer: told, the field
    // focused, the dialog open, nothing stored.
    void aLengthThatIsNoIntegerIsRefused_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("length");
        for (const char* button : {"applyButton", "applyAllButton", "saveButton"}) {
            const QString name = QString::fromLatin1(button);
            QTest::addRow("%s empty", button) << name << QString();
            QTest::addRow("%s letters", button) << name << QStringLiteral("abc");
            QTest::addRow("%s fraction", button) << name << QStringLiteral("1.5");
            QTest::addRow("%s unit", button) << name << QStringLiteral("5秒");
            QTest::addRow("%s too large", button) << name << QStringLiteral("99999999999");
        }
    }
    void aLengthThatIsNoIntegerIsRefused()
    {
        QFETCH(QString, button);
        QFETCH(QString, length);
        Page page;
        InsertSilence model = page.Prepare(2);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Length(dialog)->setText(length);
        Child<QCheckBox>(dialog, "automaticBox")->setFocus();
        Click(dialog, button.toLatin1().constData());
        QCOMPARE(page.ui.messages.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(page.ui.messages[0].text),
                 QStringLiteral("请键入一个整数。"));
        QCOMPARE(page.ui.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(page.ui.messages[0].buttons, MessageButtons::Ok);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.focusWidget(), Length(dialog));
        QCOMPARE(Length(dialog)->selectedText(), length);
        QVERIFY(!model.applyToAll);
        QCOMPARE(page.settings.Size(), std::size_t{0});
    }

    void theCloseBoxCancels_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close box") << false;
        QTest::newRow("escape") << true;
    }
    void theCloseBoxCancels()
    {
        QFETCH(bool, escape);
        Page page;
        InsertSilence model = page.Prepare(2);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        dialog.show();
        Type(dialog, QStringLiteral("9"));
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!model.applyToAll);
        QCOMPARE(page.settings.Size(), std::size_t{0});
    }

    // exec() ends Accepted only once a length is taken; a save on the way
    // leaves it running.
    void execAcceptsOnlyAnIntegerLength()
    {
        Page page;
        InsertSilence model = page.Prepare(2);
        InsertSilenceDialog dialog(model, page.settings, page.ui);
        int step = 0;
        QTimer user;
        connect(&user, &QTimer::timeout, &dialog, [&] {
            if (QApplication::activeModalWidget() != &dialog)
                return;
            const QString texts[] = {QStringLiteral("x"), QStringLiteral("6"), QStringLiteral("4")};
            const char* buttons[] = {"applyButton", "saveButton", "applyAllButton"};
            Type(dialog, texts[step]);
            Click(dialog, buttons[step]);
            ++step;
        });
        user.start(10);
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(step, 3);
        QCOMPARE(page.ui.messages.size(), std::size_t{1});
        QCOMPARE(Stored(page, setting::kSilenceLength), 6);
        QCOMPARE(model.Length(), std::optional<int>(4));
        QVERIFY(model.applyToAll);
    }
};

QTEST_MAIN(InsertSilenceDialogTest)
#include "insert_silence_dialog_test.moc"
