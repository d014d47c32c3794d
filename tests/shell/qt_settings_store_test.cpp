// The program's store on QSettings, in a temporary configuration folder.
#include "common/setting_keys.h"
#include "shell/ui/qt_settings_store.h"

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace keldro;

namespace {

// Files cannot grow while it lives, as on a full disk (for root as well, whom
// a read-only file does not stop). Nothing may be logged meanwhile.
class FullDisk
{
public:
    FullDisk()
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit none = saved_;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

} // namespace

class QtSettingsStoreTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString IniPath() const { return dir_.filePath(QStringLiteral("Keldro.conf")); }

    static int NumberFor(std::size_t i) { return static_cast<int>(i) * 7 - 30; }
    static std::string TextFor(std::size_t i)
    {
        static const std::string samples[] = {"/home/用户/音乐 folder", "%F-%S",         "",
                                              "\xC4\xE3\xBA\xC3",       "C:\\old\\path", "a=b;c"};
        return samples[i % std::size(samples)] + std::to_string(i);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        // The user's configuration folder, moved here.
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    }

    void freshStoreAnswersWithTheReadersDefaults()
    {
        QtSettingsStore store(dir_.filePath(QStringLiteral("fresh.conf")));
        QVERIFY(store.IsOpen());
        for (const auto& entry : setting::kAll) {
            QCOMPARE(store.GetSettingInt(entry.key, -999), -999);
            QCOMPARE(store.GetSettingInt(entry.key, 1), 1);
            QCOMPARE(store.GetSettingText(entry.key, "default"), std::string("default"));
        }
    }

    void everyValueRoundTripsThroughTheFile()
    {
        {
            QtSettingsStore store(IniPath());
            for (std::size_t i = 0; i < setting::kAll.size(); ++i) {
                const auto& entry = setting::kAll[i];
                const bool written = entry.kind == setting::Kind::Int
                                         ? store.SetSettingInt(entry.key, NumberFor(i))
                                         : store.SetSettingText(entry.key, TextFor(i));
                QVERIFY(written);
            }
        }
        QtSettingsStore reopened(IniPath());
        for (std::size_t i = 0; i < setting::kAll.size(); ++i) {
            const auto& entry = setting::kAll[i];
            if (entry.kind == setting::Kind::Int)
                QCOMPARE(reopened.GetSettingInt(entry.key, 12345), NumberFor(i));
            else
                QCOMPARE(reopened.GetSettingText(entry.key, "?"), TextFor(i));
        }
    }

    void fileHasOneGroupPerSectionWithTheExactNames()
    {
        QSettings raw(IniPath(), QSettings::IniFormat);
        QCOMPARE(raw.childGroups(),
                 (QStringList{QStringLiteral("MP3 Joiner"), QStringLiteral("MP3 Splitter"),
                              QStringLiteral("Settings"), QStringLiteral("VantryDialogToggle")}));
        raw.beginGroup(QStringLiteral("Settings"));
        QVERIFY(raw.childKeys().contains(QStringLiteral("Splitter Count Generated Track Number")));
        QVERIFY(raw.childKeys().contains(QStringLiteral("Naming rule of Splitter")));
        raw.endGroup();
        QCOMPARE(raw.value(QStringLiteral("MP3 Splitter/Write VBR Header")).toString(),
                 QStringLiteral("%1").arg(NumberFor(48)));
    }

    void valueOfTheWrongKindReadsAsMissing()
    {
        QFile file(dir_.filePath(QStringLiteral("kinds.conf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\nSplit%20Mode=fast\nTime%20Step%20Size=250\n"
                   "Initial%20Panel=1x\nExport%20CUE=99999999999\n");
        file.close();
        QtSettingsStore store(file.fileName());
        QCOMPARE(store.GetSettingInt(setting::kSplitMode, 0), 0);
        QCOMPARE(store.GetSettingInt(setting::kTimeStepSize, 100), 250);
        QCOMPARE(store.GetSettingInt(setting::kInitialPanel, 0), 0);
        QCOMPARE(store.GetSettingInt(setting::kExportCue, 0), 0);
    }

    void defaultStoreLivesInTheUsersConfigurationFolder()
    {
        {
            QtSettingsStore store;
            QVERIFY(store.IsOpen());
            QVERIFY(store.SetSettingInt(setting::kInitialPanel, 2));
        }
        QVERIFY(QFile::exists(dir_.filePath(QStringLiteral("Vantry/Keldro.conf"))));
        QCOMPARE(QtSettingsStore().GetSettingInt(setting::kInitialPanel, 0), 2);
    }

    void aWriteThatFailsIsDroppedAndTheStoredValuesStillRead()
    {
        const QString path = dir_.filePath(QStringLiteral("full.conf"));
        {
            QtSettingsStore store(path);
            QVERIFY(store.SetSettingInt(setting::kInitialPanel, 2));
            QVERIFY(store.SetSettingText(setting::kNamingRuleOfSplitter, "%F-%S"));
        }
        QtSettingsStore store(path);
        bool written[2] = {true, true};
        {
            const FullDisk full;
            written[0] = store.SetSettingInt(setting::kInitialPanel, 1);
            written[1] = store.SetSettingText(setting::kInstallPath, "/opt");
        }
        QVERIFY(!written[0] && !written[1]);
        QCOMPARE(store.GetSettingInt(setting::kInitialPanel, 0), 2);
        QCOMPARE(store.GetSettingText(setting::kNamingRuleOfSplitter, ""), std::string("%F-%S"));
        QCOMPARE(store.GetSettingText(setting::kInstallPath, "none"), std::string("none"));
        QVERIFY(store.IsOpen());

        // Room again: writes get through, and only they reach the file.
        QVERIFY(store.SetSettingInt(setting::kExportCue, 1));
        QCOMPARE(store.GetSettingInt(setting::kExportCue, 0), 1);
        QtSettingsStore reopened(path);
        QCOMPARE(reopened.GetSettingInt(setting::kExportCue, 0), 1);
        QCOMPARE(reopened.GetSettingInt(setting::kInitialPanel, 0), 2);
        QCOMPARE(reopened.GetSettingText(setting::kInstallPath, "none"), std::string("none"));
    }

    void aReadOnlyFileKeepsGivingItsValues()
    {
        if (::geteuid() == 0)
            QSKIP("root writes read-only files");
        const QString path = dir_.filePath(QStringLiteral("read-only.conf"));
        QVERIFY(QtSettingsStore(path).SetSettingInt(setting::kInitialPanel, 2));
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        QtSettingsStore store(path);
        QVERIFY(!store.SetSettingInt(setting::kInitialPanel, 1));
        QCOMPARE(store.GetSettingInt(setting::kInitialPanel, 0), 2);
        QVERIFY(!store.SetSettingInt(setting::kExportCue, 1));
        QCOMPARE(store.GetSettingInt(setting::kExportCue, 0), 0);
    }

    void storeThatCannotBeWrittenGivesDefaultsAndDropsWrites()
    {
        QFile blocker(dir_.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QtSettingsStore store(blocker.fileName() + QStringLiteral("/Keldro.conf"));
        QCOMPARE(store.GetSettingInt(setting::kInitialPanel, 0), 0);
        QVERIFY(!store.SetSettingInt(setting::kInitialPanel, 2));
        QVERIFY(store.IsOpen());
        // What could not be stored is not read back either.
        QCOMPARE(store.GetSettingInt(setting::kInitialPanel, 0), 0);
        QVERIFY(!store.SetSettingText(setting::kInstallPath, "/opt"));
        QCOMPARE(store.GetSettingText(setting::kInstallPath, ""), std::string());
    }
};

QTEST_GUILESS_MAIN(QtSettingsStoreTest)
#include "qt_settings_store_test.moc"
