// Converters found through their makers' stores and started for real.
#include "scripted_merge_view.h"
#include "shell/ui/qt_converter_host.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace keldro;

class QtConverterHostTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    void Install(const QString& application, const QString& folder)
    {
        QSettings store(dir_.filePath(QStringLiteral("Vantry/%1.conf").arg(application)),
                        QSettings::IniFormat);
        store.setValue(QStringLiteral("Convert Setting/Install Path"), folder);
    }

    // A converter that writes the arguments it was given beside itself.
    QString FakeConverter(const QString& name)
    {
        const QString path = dir_.filePath(name);
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly))
            return {};
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void nothingInstalledOpensTheDownloadDialog()
    {
        QtConverterHost host(dir_.filePath(QStringLiteral("empty")));
        test::ScriptedMergeView view;
        QCOMPARE(host.InstallPath("Wexlin"), std::nullopt);
        QVERIFY(!LaunchConverter(host, view, "KELDRO", "BATCHCONVERT_REMOVE", "/tmp/~ct1"));
        QCOMPARE(view.downloadDialogs, 1);
    }

    void aMissingProgramMovesOnToTheNextConverter()
    {
        Install(QStringLiteral("Wexlin"), dir_.filePath(QStringLiteral("nowhere")));
        Install(QStringLiteral("Brantor"), dir_.path());
        QVERIFY(!FakeConverter(QStringLiteral("brantor")).isEmpty());
        QtConverterHost host(dir_.path());
        test::ScriptedMergeView view;
        QCOMPARE(host.InstallPath("Brantor"), std::optional(dir_.path().toStdString()));
        QVERIFY(LaunchConverter(host, view, "KELDRO", "BATCHCONVERT_REMOVE", "/tmp/~ct2"));
        QCOMPARE(view.downloadDialogs, 0);
        QFile args(dir_.filePath(QStringLiteral("brantor.args")));
        QTRY_VERIFY(args.exists() && args.size() > 0);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(),
                 QByteArray("-o\nKELDRO\n-a\nBATCHCONVERT_REMOVE\n-s\n/tmp/~ct2\n"));
    }
};

QTEST_GUILESS_MAIN(QtConverterHostTest)
#include "qt_converter_host_test.moc"
