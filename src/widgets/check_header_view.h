// A list header whose one section holds a check box (the split list's column
// 0): it paints the box in the section's middle and reports clicks on it; the
// owner decides what a click changes and sets the state shown.
#pragma once

#include <QHeaderView>
#include <QPoint>

namespace keldro {

class CheckHeaderView final : public QHeaderView
{
    Q_OBJECT

public:
    // Sections are movable, except that the section shown first stays first: the
    // box's column is meant to be that one, and no other column can push it
    // away by being dropped before it.
    explicit CheckHeaderView(int checkSection, QWidget* parent = nullptr);

    int CheckSection() const { return checkSection_; }
    void SetChecked(bool checked);
    bool IsChecked() const { return checked_; }

signals:
    // A press and a release on the box's section, without a resize or a drag
    // between them.
    void CheckClicked();

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void NotePress(const QMouseEvent* event);
    bool OnCheckSection(const QPoint& pos) const;
    bool OnResizeGrip(int position) const;

    int checkSection_;
    bool checked_ = false;
    bool pressedOnCheck_ = false;
    QPoint pressPos_;
};

} // namespace keldro
