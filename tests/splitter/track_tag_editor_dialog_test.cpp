// The tag editor's window over its logic: what it shows at opening, the three
// option boxes on what the user has typed, reset, the ways to close it, and
// the byte limits of its fields.
#include "base/settings.h"
#include "common/setting_keys.h"
#include "scripted_interaction.h"
#include "splitter/track_tag_editor.h"
#include "splitter/ui/track_tag_editor_dialog.h"
#include "widget_child.h"
#include "widgets/byte_limit_validator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace keldro;

namespace {

using Field = TrackTagEditor::Field;

// As the split page fills the editor for the second row of a source without
// a track number whose genre is Rock.
struct Setup
{
    explicit Setup(int autoTrack = -1)
    {
        if (autoTrack >= 0)
            settings.SetSettingInt(setting::kId3AutoTrack, autoTrack);
        editor = std::make_unique<TrackTagEditor>(settings);
        editor->resetValues = {"Source Title",  "1999",           "Source Album",
                               "Source Artist", "Source comment", "%S"};
        editor->sourceTrack = 0;
        editor->sourceGenrePosition = 18; // Rock
        editor->lineText = "区段 2 的 ID3 标签信息: [ 0:15.000 - 0:30.000 ]";
        editor->values = {"Intro", "2001", "专辑", "艺术家", "备注", "7"};
        editor->genreName = "Jazz";
        editor->Open();
    }

    MemorySettings settings;
    test::ScriptedInteraction ui;
    std::unique_ptr<TrackTagEditor> editor;
};

using test::Child;

QString Text(QWidget& dialog, const char* edit)
{
    return Child<QLineEdit>(dialog, edit)->text();
}

// Near the left edge, on a check box's indicator: a box stretched wider than
// its caption does not take clicks beyond it.
void Click(QWidget& dialog, const char* name)
{
    auto* button = Child<QAbstractButton>(dialog, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

void Retype(QWidget& dialog, const char* edit, const QString& text)
{
    auto* field = Child<QLineEdit>(dialog, edit);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void Commit(QLineEdit& edit, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(&edit, &event);
}

} // namespace

class TrackTagEditorDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void controlsShowTheEditorAtOpening()
    {
        Setup setup;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ID3 标签编辑器"));
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(Child<QLabel>(dialog, "lineLabel")->text(),
                 QStringLiteral("区段 2 的 ID3 标签信息: [ 0:15.000 - 0:30.000 ]"));
        QVERIFY(Child<QCheckBox>(dialog, "autoTrackBox")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "onlyIfEmptyBox")->isChecked());
        QVERIFY(Child<QCheckBox>(dialog, "onlyIfEmptyBox")->isEnabled());
        QVERIFY(!Child<QCheckBox>(dialog, "autoSequenceBox")->isChecked());
        QCOMPARE(Text(dialog, "titleEdit"), QStringLiteral("Intro"));
        QCOMPARE(Text(dialog, "yearEdit"), QStringLiteral("2001"));
        QCOMPARE(Text(dialog, "albumEdit"), QStringLiteral("专辑"));
        QCOMPARE(Text(dialog, "artistEdit"), QStringLiteral("艺术家"));
        QCOMPARE(Text(dialog, "commentEdit"), QStringLiteral("备注"));
        QCOMPARE(Text(dialog, "trackEdit"), QStringLiteral("7"));

        auto* genre = Child<QComboBox>(dialog, "genreBox");
        QCOMPARE(genre->count(), 149);
        QCOMPARE(genre->itemText(0), QString());
        QCOMPARE(genre->itemText(1), QStringLiteral("Blues"));
        QCOMPARE(genre->itemText(148), QStringLiteral("SynthPop"));
        QCOMPARE(genre->currentIndex(), 9);
        QCOMPARE(genre->currentText(), QStringLiteral("Jazz"));

        auto* tip = Child<QPlainTextEdit>(dialog, "tipText");
        QVERIFY(tip->isReadOnly());
        QCOMPARE(tip->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(tip->toPlainText().startsWith(
            QStringLiteral("你可以在 ID3 标签栏为生成的分割音轨使用下列通配符 (区分大小写):\n")));
        QVERIFY(
            tip->toPlainText().contains(QStringLiteral("  %K: 曲目号码 (ID3 标签中的曲目号码)")));
        QCOMPARE(Child<QGroupBox>(dialog, "tipGroup")->title(), QStringLiteral("提示"));
        QVERIFY(Child<QPushButton>(dialog, "okButton")->isDefault());
    }

    void optionsFromTheStoreAndAGenreThatIsNotListed()
    {
        Setup setup(0); // auto track off
        setup.editor->genreName = "No Such Genre";
        setup.editor->Open();
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        QVERIFY(!Child<QCheckBox>(dialog, "autoTrackBox")->isChecked());
        QVERIFY(!Child<QCheckBox>(dialog, "onlyIfEmptyBox")->isEnabled());
        QCOMPARE(Child<QComboBox>(dialog, "genreBox")->currentIndex(), 0);
    }

    void autoSequenceWorksOnTheTitleAsTyped()
    {
        Setup setup;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        Retype(dialog, "titleEdit", QStringLiteral("Live"));
        Retype(dialog, "artistEdit", QStringLiteral("Band"));
        Child<QComboBox>(dialog, "genreBox")->setCurrentIndex(18);
        Click(dialog, "autoSequenceBox");
        QVERIFY(Child<QCheckBox>(dialog, "autoSequenceBox")->isChecked());
        QCOMPARE(Text(dialog, "titleEdit"), QStringLiteral("Live%S"));
        // What else was typed or chosen stays.
        QCOMPARE(Text(dialog, "artistEdit"), QStringLiteral("Band"));
        QCOMPARE(Child<QComboBox>(dialog, "genreBox")->currentIndex(), 18);
        QTest::keyClicks(Child<QLineEdit>(dialog, "titleEdit"), QStringLiteral("x%S"));
        Click(dialog, "autoSequenceBox");
        QVERIFY(!Child<QCheckBox>(dialog, "autoSequenceBox")->isChecked());
        QCOMPARE(Text(dialog, "titleEdit"), QStringLiteral("Livex"));
    }

    void theWildcardOnAFullTitleIsShownWhole()
    {
        Setup setup;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        const QString full(30, QLatin1Char('t'));
        Retype(dialog, "titleEdit", full);
        Click(dialog, "autoSequenceBox");
        QCOMPARE(Text(dialog, "titleEdit"), QString(full + QStringLiteral("%S")));
        Click(dialog, "okButton");
        QCOMPARE(setup.editor->values[Field::Title], std::string(30, 't') + "%S");
    }

    void onlyIfEmptyIsEnabledWhileAutoTrackIsOn()
    {
        Setup setup;
        setup.editor->sourceTrack = 5;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        auto* onlyIfEmpty = Child<QCheckBox>(dialog, "onlyIfEmptyBox");
        Click(dialog, "autoTrackBox"); // off: the source's number
        QVERIFY(!Child<QCheckBox>(dialog, "autoTrackBox")->isChecked());
        QVERIFY(!onlyIfEmpty->isEnabled());
        QCOMPARE(Text(dialog, "trackEdit"), QStringLiteral("5"));
        Click(dialog, "onlyIfEmptyBox"); // disabled: nothing happens
        QVERIFY(onlyIfEmpty->isChecked());
        Click(dialog, "autoTrackBox"); // on, the source has a number
        QVERIFY(onlyIfEmpty->isEnabled());
        QCOMPARE(Text(dialog, "trackEdit"), QStringLiteral("5"));
        Click(dialog, "onlyIfEmptyBox");
        QVERIFY(!onlyIfEmpty->isChecked());
        QCOMPARE(Text(dialog, "trackEdit"), QStringLiteral("%S"));
    }

    void okTakesWhatWasTypedAndStoresTheOptions()
    {
        Setup setup;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        Retype(dialog, "titleEdit", QStringLiteral("Song"));
        Retype(dialog, "yearEdit", QStringLiteral("2024"));
        Retype(dialog, "albumEdit", QStringLiteral("Album"));
        Retype(dialog, "artistEdit", QStringLiteral("Artist"));
        Retype(dialog, "commentEdit", QStringLiteral("Comment"));
        Retype(dialog, "trackEdit", QStringLiteral("12"));
        Child<QComboBox>(dialog, "genreBox")->setCurrentIndex(18);
        Click(dialog, "autoSequenceBox");
        Retype(dialog, "titleEdit", QStringLiteral("Song %S!"));
        Click(dialog, "okButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const TrackTagEditor::Texts expected{"Song %S!", "2024",    "Album",
                                             "Artist",   "Comment", "12"};
        QCOMPARE(setup.editor->values, expected);
        QCOMPARE(setup.editor->genreChoice, 18);
        QCOMPARE(setup.editor->ChosenGenreName(), std::string("Rock"));
        QVERIFY(!setup.editor->applyToAll);
        QCOMPARE(setup.settings.GetSettingInt(setting::kId3AutoSequence, -1), 1);
        QCOMPARE(setup.settings.GetSettingInt(setting::kId3AutoTrack, -1), 1);
    }

    void applyToAllTakesTheValuesForEveryRow()
    {
        Setup setup;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        Retype(dialog, "titleEdit", QStringLiteral("Track %S"));
        Click(dialog, "autoTrackBox");
        Child<QComboBox>(dialog, "genreBox")->setCurrentIndex(0);
        Click(dialog, "applyAllButton");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(setup.editor->applyToAll);
        QCOMPARE(setup.editor->values[Field::Title], std::string("Track %S"));
        QCOMPARE(setup.editor->values[Field::Track], std::string("0"));
        QCOMPARE(setup.editor->ChosenGenreName(), std::string());
        QCOMPARE(setup.settings.GetSettingInt(setting::kId3AutoTrack, -1), 0);
    }

    void execEndsAcceptedOnlyThroughOkOrApplyToAll()
    {
        for (const char* button : {"okButton", "applyAllButton", "cancelButton"}) {
            Setup setup;
            TrackTagEditorDialog dialog(*setup.editor, setup.ui);
            QTimer::singleShot(0, &dialog, [&dialog, button] { Click(dialog, button); });
            const int expected =
                QByteArray(button) == "cancelButton" ? QDialog::Rejected : QDialog::Accepted;
            QCOMPARE(dialog.exec(), expected);
        }
    }

    void cancelAndTheCloseBoxStoreNothing_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("cancel") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("escape") << 2;
    }
    void cancelAndTheCloseBoxStoreNothing()
    {
        QFETCH(int, way);
        Setup setup;
        const TrackTagEditor::Texts before = setup.editor->values;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        Click(dialog, "autoTrackBox");
        Click(dialog, "autoSequenceBox");
        Retype(dialog, "albumEdit", QStringLiteral("Other"));
        if (way == 0)
            Click(dialog, "cancelButton");
        else if (way == 1)
            dialog.close();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!setup.editor->applyToAll);
        QCOMPARE(setup.settings.GetSettingInt(setting::kId3AutoTrack, -1), 1);
        QCOMPARE(setup.settings.GetSettingInt(setting::kId3AutoSequence, -1), 0);
        QCOMPARE(setup.settings.GetSettingInt(setting::kId3AutoTrackIfNull, -1), 1);
        QCOMPARE(setup.editor->values[Field::Album], before[Field::Album]);
    }

    void resetAsksThenShowsTheSourcesValues()
    {
        Setup setup;
        setup.ui.answers = {MessageAnswer::No, MessageAnswer::Yes};
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        Retype(dialog, "titleEdit", QStringLiteral("Typed"));
        Click(dialog, "resetButton");
        QCOMPARE(setup.ui.messages.size(), std::size_t{1});
        QCOMPARE(setup.ui.messages[0].text,
                 std::string("该操作将会重置你刚才选择进行分割的 MP3 文件的 ID3 标签信息。"
                             "你确定要继续吗?"));
        QCOMPARE(setup.ui.messages[0].buttons, MessageButtons::YesNo);
        QCOMPARE(Text(dialog, "titleEdit"), QStringLiteral("Typed")); // No
        QCOMPARE(Child<QComboBox>(dialog, "genreBox")->currentIndex(), 9);
        Click(dialog, "resetButton");
        QCOMPARE(Text(dialog, "titleEdit"), QStringLiteral("Source Title"));
        QCOMPARE(Text(dialog, "yearEdit"), QStringLiteral("1999"));
        QCOMPARE(Text(dialog, "albumEdit"), QStringLiteral("Source Album"));
        QCOMPARE(Text(dialog, "artistEdit"), QStringLiteral("Source Artist"));
        QCOMPARE(Text(dialog, "commentEdit"), QStringLiteral("Source comment"));
        QCOMPARE(Text(dialog, "trackEdit"), QStringLiteral("%S"));
        QCOMPARE(Child<QComboBox>(dialog, "genreBox")->currentText(), QStringLiteral("Rock"));
    }

    void resetOnASourceWithoutGenreEmptiesTheGenre()
    {
        Setup setup;
        setup.editor->sourceGenrePosition = 256; // genre byte 255
        setup.ui.answers = {MessageAnswer::Yes};
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        Click(dialog, "resetButton");
        QCOMPARE(Child<QComboBox>(dialog, "genreBox")->currentIndex(), 0);
        Click(dialog, "okButton");
        QCOMPARE(setup.editor->ChosenGenreName(), std::string());
    }

    void fieldsAreLimitedInBytes()
    {
        Setup setup;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        Retype(dialog, "titleEdit", QString(35, QLatin1Char('t')));
        QCOMPARE(Text(dialog, "titleEdit"), QString(30, QLatin1Char('t')));
        Retype(dialog, "yearEdit", QStringLiteral("2a0-245"));
        QCOMPARE(Text(dialog, "yearEdit"), QStringLiteral("2024"));
        Retype(dialog, "trackEdit", QStringLiteral("123"));
        QCOMPARE(Text(dialog, "trackEdit"), QStringLiteral("12"));
        for (const char* name : {"artistEdit", "albumEdit", "commentEdit"}) {
            auto* edit = Child<QLineEdit>(dialog, name);
            edit->clear();
            for (const QChar c : QStringLiteral("一二三四五六七八九十壹"))
                Commit(*edit, QString(c));
            QCOMPARE(edit->text(), QStringLiteral("一二三四五六七八九十"));
            QCOMPARE(edit->maxLength(), 32767); // no count of UTF-16 units
        }
        Click(dialog, "okButton");
        QCOMPARE(setup.editor->values[Field::Title], std::string(30, 't'));
        QCOMPARE(setup.editor->values[Field::Artist].size(), std::size_t{30});
    }

    void aLongerTextFromTheListIsKeptWhole()
    {
        // Texts the list holds beyond a field's width (a long sheet title,
        // a wildcard appended) are the caller's: shown and given back whole.
        Setup setup;
        const std::string longTitle = std::string(29, 'a') + "%S";
        setup.editor->values[Field::Title] = longTitle;
        TrackTagEditorDialog dialog(*setup.editor, setup.ui);
        dialog.show();
        auto* title = Child<QLineEdit>(dialog, "titleEdit");
        QCOMPARE(title->text(), QString::fromStdString(longTitle));
        title->end(false);
        QTest::keyClick(title, 'x');
        QCOMPARE(title->text(), QString::fromStdString(longTitle));
        Click(dialog, "okButton");
        QCOMPARE(setup.editor->values[Field::Title], longTitle);
    }
};

QTEST_MAIN(TrackTagEditorDialogTest)
#include "track_tag_editor_dialog_test.moc"
