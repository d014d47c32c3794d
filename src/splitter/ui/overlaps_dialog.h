// CTrackAddOverlap: a backward and a forward overlap for every track or for
// the selected one.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class OverlapsDialog;
}

namespace keldro {

class SettingsStore;
struct TrackAddOverlap;

class OverlapsDialog final : public QDialog
{
    Q_OBJECT

public:
    // The auto-apply box is stored in settings at each click; the page applies
    // the overlaps and stores the times.
    OverlapsDialog(TrackAddOverlap& model, SettingsStore& settings, QWidget* parent = nullptr);
    ~OverlapsDialog() override;

    // Writes both times into the model; any time the fields take is valid.
    void accept() override;

private:
    void ScopeChosen();

    std::unique_ptr<Ui::OverlapsDialog> ui_;
    TrackAddOverlap& model_;
    SettingsStore& settings_;
};

} // namespace keldro
