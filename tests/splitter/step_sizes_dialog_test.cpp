// The step dialog: its texts, the sizes it shows, what OK and Cancel leave in
// the model, and the sizes its fields refuse.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "splitter/step_sizes.h"
#include "splitter/ui/step_sizes_dialog.h"
#include "widget_child.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace keldro;

namespace {

using test::Child;

StepSizes Sizes(TimeMs step, TimeMs page)
{
    StepSizes sizes;
    sizes.step = step;
    sizes.page = page;
    return sizes;
}

void Retype(QWidget& dialog, const char* field, const QString& keys)
{
    auto* edit = Child<QLineEdit>(dialog, field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, keys);
}

} // namespace

class StepSizesDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void textsAndSizesAtOpening()
    {
        StepSizes model = Sizes(250, 5000);
        StepSizesDialog dialog(model);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("设置步进与分页大小"));
        QCOMPARE(Child<QLabel>(dialog, "stepLabel")->text(), QStringLiteral("步进大小(&S)"));
        QCOMPARE(Child<QLabel>(dialog, "pageLabel")->text(), QStringLiteral("分页大小(&P)"));
        QCOMPARE(Child<QLabel>(dialog, "stepLabel")->buddy(), Child<QLineEdit>(dialog, "stepEdit"));
        QCOMPARE(Child<QLabel>(dialog, "pageLabel")->buddy(), Child<QLineEdit>(dialog, "pageEdit"));
        QCOMPARE(Child<QLineEdit>(dialog, "stepEdit")->text(), QStringLiteral("250"));
        QCOMPARE(Child<QLineEdit>(dialog, "pageEdit")->text(), QStringLiteral("5000"));
        QVERIFY(Child<QPushButton>(dialog, "okButton")->isEnabled());

        auto* tip = Child<QPlainTextEdit>(dialog, "keysTip");
        QVERIFY(tip->isReadOnly());
        QVERIFY(tip->toPlainText().startsWith(
            QStringLiteral("下列键可以帮助你更改时间值或更加方便的移动滑动条:\n\n"
                           "    上/下: 按照一个步进单位向前或向后移动\n")));
        QVERIFY(tip->toPlainText().contains(QStringLiteral("PgUp/PgDn")));
    }

    void okWritesTheTypedSizes()
    {
        StepSizes model = Sizes(100, 1000);
        StepSizesDialog dialog(model);
        dialog.show();
        Retype(dialog, "stepEdit", QStringLiteral("40"));
        Retype(dialog, "pageEdit", QStringLiteral("60000"));
        QCOMPARE(model.step, 100u); // nothing changes before OK
        QTest::mouseClick(Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.step, 40u);
        QCOMPARE(model.page, 60'000u);
    }

    void enterInAFieldIsOk()
    {
        StepSizes model = Sizes(100, 1000);
        StepSizesDialog dialog(model);
        dialog.show();
        Retype(dialog, "stepEdit", QStringLiteral("7"));
        QTest::keyClick(Child<QLineEdit>(dialog, "stepEdit"), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.step, 7u);
        QCOMPARE(model.page, 1000u);
    }

    void cancelLeavesTheModel()
    {
        StepSizes model = Sizes(100, 1000);
        StepSizesDialog dialog(model);
        dialog.show();
        Retype(dialog, "stepEdit", QStringLiteral("40"));
        QTest::mouseClick(Child<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(model.step, 100u);
        QCOMPARE(model.page, 1000u);
    }

    void signsAndOtherCharactersCannotBeTyped()
    {
        StepSizes model = Sizes(100, 1000);
        StepSizesDialog dialog(model);
        dialog.show();
        Retype(dialog, "stepEdit", QStringLiteral("-5.x 3"));
        QCOMPARE(Child<QLineEdit>(dialog, "stepEdit")->text(), QStringLiteral("53"));
    }

    void zeroEmptyOrTooLargeDisablesOk_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::newRow("step 0") << QStringLiteral("stepEdit") << QStringLiteral("0");
        QTest::newRow("page 000") << QStringLiteral("pageEdit") << QStringLiteral("000");
        QTest::newRow("step empty") << QStringLiteral("stepEdit") << QString();
        QTest::newRow("page empty") << QStringLiteral("pageEdit") << QString();
        QTest::newRow("beyond the store")
            << QStringLiteral("stepEdit") << QStringLiteral("4294967296");
    }
    void zeroEmptyOrTooLargeDisablesOk()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        StepSizes model = Sizes(100, 1000);
        StepSizesDialog dialog(model);
        dialog.show();
        auto* ok = Child<QPushButton>(dialog, "okButton");
        Retype(dialog, field.toLatin1().constData(), typed);
        QVERIFY(!ok->isEnabled());
        // Enter in the field, or an accept from elsewhere, is refused alike.
        QTest::keyClick(Child<QLineEdit>(dialog, field.toLatin1().constData()), Qt::Key_Return);
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(model.step, 100u);
        QCOMPARE(model.page, 1000u);
        // A usable size again: OK comes back.
        Retype(dialog, field.toLatin1().constData(), QStringLiteral("5"));
        QVERIFY(ok->isEnabled());
    }

    void openThenOkThenStoreKeepsTheSizes()
    {
        MemorySettings store;
        StepSizes model = StepSizes::Open(store);
        StepSizesDialog dialog(model);
        QCOMPARE(Child<QLineEdit>(dialog, "stepEdit")->text(), QStringLiteral("100"));
        QCOMPARE(Child<QLineEdit>(dialog, "pageEdit")->text(), QStringLiteral("1000"));
        dialog.show();
        Retype(dialog, "pageEdit", QStringLiteral("2500"));
        QTest::mouseClick(Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        model.Store(store);
        QCOMPARE(StepSizes::Read(store), std::make_pair(TimeMs{100}, TimeMs{2500}));
    }
};

QTEST_MAIN(StepSizesDialogTest)
#include "step_sizes_dialog_test.moc"
