// CTrackUpdateDlg: the selected track's start, end and length, three fields
// that follow each other.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class TrackLengthDialog;
}

namespace keldro {

struct TrackUpdate;

class TrackLengthDialog final : public QDialog
{
    Q_OBJECT

public:
    // The model follows the fields while the dialog is open; the page moves
    // the boundaries after OK.
    explicit TrackLengthDialog(TrackUpdate& model, QWidget* parent = nullptr);
    ~TrackLengthDialog() override;

private:
    // Each handler answers the user's edit of its own field and sets the
    // others; the fields do not report those settings back (TimeEdited), so
    // no handler re-enters another.
    void StartEdited(qint64 ms);
    void EndEdited(qint64 ms);
    void LengthEdited(qint64 ms);
    void ShowMaximumAndOk();

    std::unique_ptr<Ui::TrackLengthDialog> ui_;
    TrackUpdate& model_;
};

} // namespace keldro
