// The check box in a list header: the image it paints, which presses count as
// clicks on it, and the column that stays first.
#include "widgets/check_header_view.h"

#include <vector>

#include <QApplication>
#include <QProxyStyle>
#include <QStandardItemModel>
#include <QStyleOption>
#include <QTableView>
#include <QTest>

using namespace keldro;

namespace {

// Notes every check-box image drawn for one widget.
class RecordingStyle final : public QProxyStyle
{
public:
    struct Box
    {
        QStyle::State state;
        QRect rect;
    };

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element == PE_IndicatorCheckBox)
            boxes.push_back({option->state, option->rect});
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    mutable std::vector<Box> boxes;
};

} // namespace

class CheckHeaderViewTest final : public QObject
{
    Q_OBJECT

    QStandardItemModel model_{3, 5};
    std::unique_ptr<QTableView> view_;
    CheckHeaderView* header_ = nullptr;
    int clicks_ = 0;

    QPoint SectionPoint(int logical, int dx = 0) const
    {
        const int x = header_->sectionViewportPosition(logical) + header_->sectionSize(logical) / 2;
        return {x + dx, header_->height() / 2};
    }
    void Press(QPoint at) { QTest::mousePress(header_->viewport(), Qt::LeftButton, {}, at); }
    void Release(QPoint at) { QTest::mouseRelease(header_->viewport(), Qt::LeftButton, {}, at); }
    // A move with the left button held, in small steps as a hand makes it.
    void MoveHeld(QPoint from, QPoint to)
    {
        for (int step = 1; step <= 4; ++step) {
            const QPoint at = from + (to - from) * step / 4;
            QMouseEvent move(QEvent::MouseMove, at, header_->viewport()->mapToGlobal(at),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(header_->viewport(), &move);
        }
    }
    std::vector<int> VisualOrder() const
    {
        std::vector<int> order;
        for (int v = 0; v < header_->count(); ++v)
            order.push_back(header_->logicalIndex(v));
        return order;
    }

private slots:
    void init()
    {
        view_ = std::make_unique<QTableView>();
        header_ = new CheckHeaderView(0, view_.get());
        view_->setHorizontalHeader(header_);
        view_->setModel(&model_);
        for (int column = 0; column < model_.columnCount(); ++column)
            header_->resizeSection(column, 80);
        view_->resize(600, 200);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
        clicks_ = 0;
        connect(header_, &CheckHeaderView::CheckClicked, this, [this] { ++clicks_; });
    }

    void paintsOneBoxCentredInItsSectionWithTheStateSet()
    {
        RecordingStyle style;
        header_->setStyle(&style);
        header_->grab();
        QCOMPARE(int(style.boxes.size()), 1);
        const QRect section(header_->sectionViewportPosition(0), 0, header_->sectionSize(0),
                            header_->height());
        const QRect box = style.boxes[0].rect;
        QVERIFY(section.contains(box));
        QVERIFY(qAbs(box.center().x() - section.center().x()) <= 1);
        QVERIFY(qAbs(box.center().y() - section.center().y()) <= 1);
        QVERIFY(style.boxes[0].state & QStyle::State_Off);
        QVERIFY(style.boxes[0].state & QStyle::State_Enabled);

        header_->SetChecked(true);
        QVERIFY(header_->IsChecked());
        style.boxes.clear();
        header_->grab();
        QCOMPARE(int(style.boxes.size()), 1);
        QVERIFY(style.boxes[0].state & QStyle::State_On);
        QVERIFY(!(style.boxes[0].state & QStyle::State_Off));

        view_->setEnabled(false); // the third image: greyed
        style.boxes.clear();
        header_->grab();
        QCOMPARE(int(style.boxes.size()), 1);
        QVERIFY(style.boxes[0].state & QStyle::State_On);
        QVERIFY(!(style.boxes[0].state & QStyle::State_Enabled));
        header_->setStyle(nullptr);
    }

    void theThreeImagesDiffer()
    {
        const QRect section(header_->sectionViewportPosition(0), 0, header_->sectionSize(0),
                            header_->height());
        const QImage off = header_->grab(section).toImage();
        header_->SetChecked(true);
        const QImage on = header_->grab(section).toImage();
        view_->setEnabled(false);
        const QImage disabled = header_->grab(section).toImage();
        QVERIFY(off != on);
        QVERIFY(on != disabled);
        view_->setEnabled(true);
        header_->SetChecked(false);
        QCOMPARE(header_->grab(section).toImage(), off);
    }

    void aClickOnTheBoxSectionIsReportedAndChangesNothingByItself()
    {
        QTest::mouseClick(header_->viewport(), Qt::LeftButton, {}, SectionPoint(0));
        QCOMPARE(clicks_, 1);
        QVERIFY(!header_->IsChecked()); // the owner sets the state
        QTest::mouseClick(header_->viewport(), Qt::LeftButton, {}, SectionPoint(0, 30));
        QCOMPARE(clicks_, 2);
        QTest::mouseClick(header_->viewport(), Qt::LeftButton, {}, SectionPoint(1));
        QTest::mouseClick(header_->viewport(), Qt::RightButton, {}, SectionPoint(0));
        QCOMPARE(clicks_, 2);
        // A double click as Qt delivers it: press, release, double click, release.
        QTest::mouseClick(header_->viewport(), Qt::LeftButton, {}, SectionPoint(0));
        QTest::mouseDClick(header_->viewport(), Qt::LeftButton, {}, SectionPoint(0));
        Release(SectionPoint(0));
        QCOMPARE(clicks_, 4); // two quick clicks are two clicks
    }

    void aPressThatMovesOrResizesIsNoClick()
    {
        Press(SectionPoint(0)); // dragged away and back
        MoveHeld(SectionPoint(0), SectionPoint(3));
        MoveHeld(SectionPoint(3), SectionPoint(0));
        Release(SectionPoint(0));
        QCOMPARE(clicks_, 0);

        Press(SectionPoint(0)); // released over another section
        MoveHeld(SectionPoint(0), SectionPoint(2));
        Release(SectionPoint(2));
        QCOMPARE(clicks_, 0);

        Press(SectionPoint(2)); // pressed elsewhere, released on the box
        MoveHeld(SectionPoint(2), SectionPoint(0));
        Release(SectionPoint(0));
        QCOMPARE(clicks_, 0);

        const QPoint grip(header_->sectionSize(0) - 1, header_->height() / 2);
        Press(grip); // the resize grip at the section's right edge
        MoveHeld(grip, grip + QPoint(30, 0));
        Release(grip + QPoint(30, 0));
        QCOMPARE(header_->sectionSize(0), 110);
        QCOMPARE(clicks_, 0);
        const QPoint moved(header_->sectionSize(0) - 1, header_->height() / 2);
        QTest::mouseClick(header_->viewport(), Qt::LeftButton, {}, moved); // grip, not moved
        QCOMPARE(clicks_, 0);
        QTest::mouseClick(header_->viewport(), Qt::LeftButton, {}, SectionPoint(0));
        QCOMPARE(clicks_, 1);
    }

    void otherColumnsMoveButTheBoxColumnStaysFirst()
    {
        Press(SectionPoint(0));
        MoveHeld(SectionPoint(0), SectionPoint(3, 20));
        Release(SectionPoint(3, 20));
        QCOMPARE(VisualOrder(), (std::vector<int>{0, 1, 2, 3, 4}));

        Press(SectionPoint(3)); // dropped before the box column
        MoveHeld(SectionPoint(3), QPoint(2, header_->height() / 2));
        Release(QPoint(2, header_->height() / 2));
        QCOMPARE(header_->visualIndex(0), 0);

        Press(SectionPoint(4));
        MoveHeld(SectionPoint(4), SectionPoint(1, -20));
        Release(SectionPoint(1, -20));
        QCOMPARE(header_->visualIndex(4), 1);
        QCOMPARE(header_->visualIndex(0), 0);
        QCOMPARE(clicks_, 0);
    }
};

QTEST_MAIN(CheckHeaderViewTest)
#include "check_header_view_test.moc"
