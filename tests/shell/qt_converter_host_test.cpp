// Converters found through their makers' stores and started for real.
#include "shell/ui/qt_converter_host.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace keldro;

namespace {

class CountingHost final : public QtConverterHost
{
public:
    using QtConverterHost::QtConverterHost;
    void ShowConverterDownload() override { ++downloads; }
    int downloads = 0;
};

} // namespace

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
        CountingHost host(dir_.filePath(QStringLiteral("empty")));
        QCOMPARE(host.InstallPath("Wexlin"), std::nullopt);
        QVERIFY(!LaunchConverter(host, "KELDRO", "BATCHCONVERT_REMOVE", "/tmp/~ct1"));
        QCOMPARE(host.downloads, 1);
    }

    void aMissingProgramMovesOnToTheNextConverter()
    {
        Install(QStringLiteral("Wexlin"), dir_.filePath(QStringLiteral("nowhere")));
        Install(QStringLiteral("Brantor"), dir_.path());
        QVERIFY(!FakeConverter(QStringLiteral("brantor")).isEmpty());
        CountingHost host(dir_.path());
        QCOMPARE(host.InstallPath("Brantor"), std::optional(dir_.path().toStdString()));
        QVERIFY(LaunchConverter(host, "KELDRO", "BATCHCONVERT_REMOVE", "/tmp/~ct2"));
        QCOMPARE(host.downloads, 0);
        QFile args(dir_.filePath(QStringLiteral("brantor.args")));
        QTRY_VERIFY(args.exists() && args.size() > 0);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(args.readAll(),
                 QByteArray("-o\nKELDRO\n-a\nBATCHCONVERT_REMOVE\n-s\n/tmp/~ct2\n"));
    }
};

QTEST_GUILESS_MAIN(QtConverterHostTest)
#include "qt_converter_host_test.moc"
