// The dialog shown when no converter is installed: its texts, the two links
// opening their addresses in the browser, and OK closing it.
#include "joiner/ui/download_converter_dialog.h"
#include "url_recorder.h"
#include "widget_child.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QUrl>

using namespace keldro;
using test::Child;

namespace {

QString Caption(QLabel& link)
{
    return QTextDocumentFragment::fromHtml(link.text()).toPlainText();
}

// On the caption's first characters: the label is as wide as the dialog,
// the link only as wide as its text.
void ClickLink(QLabel& link)
{
    const QRect area = link.contentsRect();
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(area.left() + 6, area.center().y()));
}

} // namespace

class DownloadConverterDialogTest final : public QObject
{
    Q_OBJECT

private slots:
    void showsTheTextIconAndLinks()
    {
        DownloadConverterDialog dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("立即转换"));
        QCOMPARE(Child<QLabel>(dialog, "messageLabel")->text(),
                 QStringLiteral("未安装 Brantor 或 Wexlin，你可以点击下面的链接下载免费试用版。"));
        QVERIFY(!Child<QLabel>(dialog, "iconLabel")->pixmap().isNull());
        auto* download = Child<QLabel>(dialog, "downloadLink");
        auto* learnMore = Child<QLabel>(dialog, "learnMoreLink");
        QCOMPARE(Caption(*download), QStringLiteral("立即下载 Brantor!"));
        QCOMPARE(Caption(*learnMore), QStringLiteral("了解更多 >>"));
        QVERIFY(download->text().contains(
            QStringLiteral("href=\"https://www.vantry.example/brantor\"")));
        QVERIFY(learnMore->text().contains(
            QStringLiteral("href=\"https://www.vantry.example/converters\"")));
        QVERIFY(download->openExternalLinks());
        QVERIFY(learnMore->openExternalLinks());
        auto* ok = Child<QPushButton>(dialog, "okButton");
        QCOMPARE(ok->text(), QStringLiteral("确定"));
        QVERIFY(ok->isDefault());
    }

    void eachLinkOpensItsAddressInTheBrowser_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QUrl>("address");
        QTest::newRow("download") << QStringLiteral("downloadLink")
                                  << QUrl(QStringLiteral("https://www.vantry.example/brantor"));
        QTest::newRow("learn more")
            << QStringLiteral("learnMoreLink")
            << QUrl(QStringLiteral("https://www.vantry.example/converters"));
    }
    void eachLinkOpensItsAddressInTheBrowser()
    {
        QFETCH(QString, link);
        QFETCH(QUrl, address);
        test::UrlRecorder browser(QStringLiteral("https"));
        DownloadConverterDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ClickLink(*dialog.findChild<QLabel*>(link));
        QCOMPARE(browser.opened, QList<QUrl>{address});
        QVERIFY(dialog.isVisible());
    }

    void okCloses()
    {
        DownloadConverterDialog dialog;
        dialog.show();
        QTest::mouseClick(Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void showWaitsUntilOk()
    {
        QWidget owner;
        owner.show();
        QString caption;
        QTimer::singleShot(0, this, [&caption] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal != nullptr);
            caption = modal->windowTitle();
            QTest::mouseClick(Child<QPushButton>(*modal, "okButton"), Qt::LeftButton);
        });
        DownloadConverterDialog::Show(&owner);
        QCOMPARE(caption, QStringLiteral("立即转换"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(DownloadConverterDialogTest)
#include "download_converter_dialog_test.moc"
