// The playback library embedded in the program: extracted, loaded and
// removed again; and the start-up message when it cannot be used.
#include "common/playback_service.h"
#include "playback_files.h"
#include "shell/ui/playback_loader.h"
#include "string_table.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace keldro;

class PlaybackLoaderTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir temp_;
    QString wrongVersion_;

    QStringList TolvexFiles() const
    {
        return QDir(temp_.path()).entryList({QStringLiteral("tolvex*")}, QDir::Files);
    }

    // Starts playback from `resource` and closes the message box it shows,
    // if any; the box's text, or nothing.
    QString StartAndCloseMessage(PlaybackService& playback, const QString& resource)
    {
        QString shown;
        // Local, so that it never fires after this returns.
        QTimer closer;
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, this, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        closer.start(0);
        StartPlayback(playback, nullptr, resource);
        return shown;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(temp_.isValid());
        // Extraction goes to the session's temporary folder, here one of our own.
        qputenv("TMPDIR", temp_.path().toUtf8());
        QCOMPARE(QDir(QDir::tempPath()).canonicalPath(), QDir(temp_.path()).canonicalPath());
        wrongVersion_ = temp_.filePath(QStringLiteral("wrong-version.so.bin"));
        QFile file(wrongVersion_);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(test::WrongVersionLibraryBytes()));
    }

    void embeddedLibraryLoadsAndLeavesNothingBehind()
    {
        PlaybackService playback;
        QVERIFY(LoadEmbeddedPlaybackLibrary(playback));
        QVERIFY(playback.IsAudioAvailable());
        QVERIFY(TolvexFiles().isEmpty()); // gone once loaded
        QCOMPARE(playback.Api().BASS_GetVersion(), kExpectedPlaybackVersion);
        playback.UnloadPlaybackLibrary();
        QVERIFY(TolvexFiles().isEmpty());
    }

    void unusableLibraryShowsTheMessageAndRunsOn_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::newRow("missing resource") << QStringLiteral(":/WAVE/201");
        QTest::newRow("unreadable") << temp_.filePath(QStringLiteral("no-such-file"));
        QTest::newRow("another version") << wrongVersion_;
    }
    void unusableLibraryShowsTheMessageAndRunsOn()
    {
        QFETCH(QString, resource);
        PlaybackService playback;
        const QString shown = StartAndCloseMessage(playback, resource);
        const std::string_view expected = LoadString(StringId::PlaybackLibraryFailed);
        QCOMPARE(shown,
                 QString::fromUtf8(expected.data(), static_cast<qsizetype>(expected.size())));
        QVERIFY(!playback.IsAudioAvailable());
        QVERIFY(TolvexFiles().isEmpty());
    }

    void workingLibraryShowsNothing()
    {
        PlaybackService playback;
        QVERIFY(StartAndCloseMessage(playback, kPlaybackResource).isEmpty());
        QVERIFY(playback.IsAudioAvailable());
    }

    void cleanupTestCase() { QVERIFY(TolvexFiles().isEmpty()); }
};

QTEST_MAIN(PlaybackLoaderTest)
#include "playback_loader_test.moc"
