// The warning before a merge of unlike files: its texts, the box stored at
// each click whatever closes it, convert now leaving it open, and the
// choices; then the page's own check answered through it.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "joiner/merge_check.h"
#include "joiner/merge_page.h"
#include "joiner/ui/merge_validate_dialog.h"
#include "scripted_interaction.h"
#include "scripted_merge_view.h"
#include "temp_dir.h"
#include "widget_child.h"

#include <fstream>
#include <sstream>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace keldro;
using test::Child;

Q_DECLARE_METATYPE(ValidateChoice)

namespace {

const QString kText =
    QStringLiteral("你将要合并的某些 MP3 文件使用了不同编码参数 (例如: "
                   "采样率，声道或比特率)，这可能会导致合并后的 MP3 "
                   "文件播放出现问题。\n\n强烈建议你在合并前将他们转换为相同编码。");

MergeValidate Model(int* conversions = nullptr)
{
    MergeValidate model;
    model.text = kText.toStdString();
    if (conversions != nullptr)
        model.convertNow = [conversions] { ++*conversions; };
    return model;
}

int Stored(const MemorySettings& settings)
{
    return settings.GetSettingInt(setting::kValidateBeforeMerge, -1);
}

// On the box's indicator: a box stretched wider than its caption does not
// take clicks beyond it.
void Tick(QWidget& dialog)
{
    auto* box = Child<QCheckBox>(dialog, "skipBox");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

MergeEntry Encoded(const char* rate, const char* name)
{
    MergeEntry entry;
    entry.Text(MergeColumn::SampleRate) = rate;
    entry.Text(MergeColumn::Bitrate) = "128kbps";
    entry.Text(MergeColumn::Channels) = "立体声";
    entry.Text(MergeColumn::FileName) = name;
    entry.Text(MergeColumn::Folder) = "/music/";
    return entry;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

class MergeValidateDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void showsTheWarningWithItsControls()
    {
        MemorySettings settings;
        int conversions = 0;
        MergeValidate model = Model(&conversions);
        MergeValidateDialog dialog(model, settings);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("警告"));
        QVERIFY(!Child<QLabel>(dialog, "iconLabel")->pixmap().isNull());
        QCOMPARE(Child<QLabel>(dialog, "messageLabel")->text(), kText);
        auto* box = Child<QCheckBox>(dialog, "skipBox");
        QCOMPARE(box->text(), QStringLiteral("下次不执行 MP3 有效性检查"));
        QVERIFY(!box->isChecked());
        auto* convert = Child<QToolButton>(dialog, "convertButton");
        QCOMPARE(convert->text(), QStringLiteral("立即转换(&V)"));
        QCOMPARE(convert->toolTip(), QStringLiteral("立即转换"));
        QVERIFY(!convert->icon().isNull());
        QVERIFY(convert->isEnabled());
        QCOMPARE(Child<QPushButton>(dialog, "ignoreButton")->text(), QStringLiteral("忽略(&I)"));
        QVERIFY(Child<QPushButton>(dialog, "ignoreButton")->isDefault());
        QCOMPARE(Child<QPushButton>(dialog, "cancelButton")->text(), QStringLiteral("取消(&C)"));
        QVERIFY(Child<QPushButton>(dialog, "cancelButton")->isVisible());
        QVERIFY(!settings.Contains(setting::kSettings, setting::kValidateBeforeMerge.value));
    }

    void theBoxIsStoredAtEachClickWhateverCloses_data()
    {
        QTest::addColumn<QString>("closing");
        QTest::addColumn<ValidateChoice>("choice");
        QTest::newRow("ignore") << QStringLiteral("ignoreButton") << ValidateChoice::Ignore;
        QTest::newRow("cancel") << QStringLiteral("cancelButton") << ValidateChoice::Cancel;
        QTest::newRow("close box") << QString() << ValidateChoice::Cancel;
    }
    void theBoxIsStoredAtEachClickWhateverCloses()
    {
        QFETCH(QString, closing);
        QFETCH(ValidateChoice, choice);
        MemorySettings settings;
        MergeValidate model = Model();
        MergeValidateDialog dialog(model, settings);
        dialog.show();
        Tick(dialog);
        QCOMPARE(Stored(settings), 0);
        QVERIFY(model.skipNextTime);
        Tick(dialog);
        QCOMPARE(Stored(settings), 1);
        QVERIFY(!Child<QCheckBox>(dialog, "skipBox")->isChecked());
        Tick(dialog);
        QCOMPARE(Stored(settings), 0);
        QVERIFY(Child<QCheckBox>(dialog, "skipBox")->isChecked());
        if (closing.isEmpty())
            dialog.close();
        else
            QTest::mouseClick(dialog.findChild<QPushButton*>(closing), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.Choice(), choice);
        QCOMPARE(Stored(settings), 0);
        QVERIFY(model.skipNextTime);
    }

    void convertNowRunsTheHandOffAndStaysOpen()
    {
        MemorySettings settings;
        int conversions = 0;
        MergeValidate model = Model(&conversions);
        MergeValidateDialog dialog(model, settings);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::mouseClick(Child<QToolButton>(dialog, "convertButton"), Qt::LeftButton);
        QCOMPARE(conversions, 1);
        QVERIFY(dialog.isVisible());
        // The mnemonic clicks the button after its pressed look.
        QTest::keyClick(&dialog, Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE(conversions, 2);
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(Child<QPushButton>(dialog, "ignoreButton"), Qt::LeftButton);
        QCOMPARE(dialog.Choice(), ValidateChoice::Ignore);
        QCOMPARE(conversions, 2);
    }

    void withoutAHandOffConvertIsDisabled()
    {
        MemorySettings settings;
        MergeValidate model = Model();
        MergeValidateDialog dialog(model, settings);
        dialog.show();
        auto* convert = Child<QToolButton>(dialog, "convertButton");
        QVERIFY(!convert->isEnabled());
        QTest::mouseClick(convert, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
    }

    void keysChooseIgnoreOrCancel_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<ValidateChoice>("choice");
        QTest::newRow("enter") << int(Qt::Key_Return) << ValidateChoice::Ignore;
        QTest::newRow("escape") << int(Qt::Key_Escape) << ValidateChoice::Cancel;
    }
    void keysChooseIgnoreOrCancel()
    {
        QFETCH(int, key);
        QFETCH(ValidateChoice, choice);
        MemorySettings settings;
        MergeValidate model = Model();
        MergeValidateDialog dialog(model, settings);
        dialog.show();
        QTest::keyClick(&dialog, static_cast<Qt::Key>(key));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.Choice(), choice);
        QVERIFY(!settings.Contains(setting::kSettings, setting::kValidateBeforeMerge.value));
    }

    // The page's check with this dialog as its view's answer: convert now
    // writes the list and starts the converter, twice, and the merge still
    // waits for the user's choice.
    void thePagesWarningHandsTheListOverAndGoesOn()
    {
        test::TempDir temp;
        qputenv("TMPDIR", QByteArray::fromStdString(temp.Path()));
        test::ScriptedInteraction ui;
        MemorySettings settings;
        test::ScriptedMergeView view;
        view.installed = {{"Brantor", "/opt/brantor"}};
        view.startable = "brantor";
        MergePage page(ui, settings, view, view);
        page.List().Insert(0, Encoded("44100", "a.mp3"));
        page.List().Insert(1, Encoded("48000", "b.mp3"));
        bool stayedOpen = false;
        view.onMismatch = [&](MergeValidate& model) {
            MergeValidateDialog dialog(model, settings);
            dialog.show();
            QTest::mouseClick(Child<QToolButton>(dialog, "convertButton"), Qt::LeftButton);
            QTest::mouseClick(Child<QToolButton>(dialog, "convertButton"), Qt::LeftButton);
            stayedOpen = dialog.isVisible();
            QTest::mouseClick(Child<QPushButton>(dialog, "ignoreButton"), Qt::LeftButton);
            return dialog.Choice();
        };
        const bool goOn = page.ValidateMergeInputs();
        qunsetenv("TMPDIR");
        QVERIFY(goOn);
        QVERIFY(stayedOpen);
        QCOMPARE(view.mismatchWarnings, 1);
        QCOMPARE(view.downloadDialogs, 0);
        QCOMPARE(view.started.size(), std::size_t{2});
        QCOMPARE(view.started[0].first, std::string("/opt/brantor/brantor"));
        const std::vector<std::string>& arguments = view.started[0].second;
        QCOMPARE(arguments.size(), std::size_t{6});
        QCOMPARE(arguments[3], std::string("BATCHCONVERT_REMOVE"));
        QCOMPARE(ReadFile(arguments[5]), FormatConvertList(page.List()));
        QVERIFY(ui.messages.empty());
    }

    void withoutAConverterThePageOffersTheDownloadAndCancelStops()
    {
        test::TempDir temp;
        qputenv("TMPDIR", QByteArray::fromStdString(temp.Path()));
        test::ScriptedInteraction ui;
        MemorySettings settings;
        test::ScriptedMergeView view;
        MergePage page(ui, settings, view, view);
        page.List().Insert(0, Encoded("44100", "a.mp3"));
        page.List().Insert(1, Encoded("22050", "b.mp3"));
        view.onMismatch = [&](MergeValidate& model) {
            MergeValidateDialog dialog(model, settings);
            dialog.show();
            QTest::mouseClick(Child<QToolButton>(dialog, "convertButton"), Qt::LeftButton);
            Tick(dialog);
            dialog.close();
            return dialog.Choice();
        };
        const bool goOn = page.ValidateMergeInputs();
        qunsetenv("TMPDIR");
        QVERIFY(!goOn);
        QCOMPARE(view.downloadDialogs, 1);
        QCOMPARE(Stored(settings), 0);
    }
};

QTEST_MAIN(MergeValidateDialogTest)
#include "merge_validate_dialog_test.moc"
