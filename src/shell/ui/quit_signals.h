// SIGTERM, SIGHUP (a session logging out) and SIGINT end the desktop program
// the way its close box does, without the question: the runs are asked to
// stop, the window closes and the event loop ends once the runs have returned.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace keldro {

class MainWindow;

class QuitSignals final : public QObject
{
    Q_OBJECT

public:
    // Takes the three signals over from whatever handled them; one instance
    // at a time. A second signal of the same kind ends the program at once.
    explicit QuitSignals(MainWindow& window, QObject* parent = nullptr);
    // Gives the signals back to their former handlers.
    ~QuitSignals() override;

    // False when the pipe to the event loop could not be made: the signals
    // then keep their former handlers.
    bool IsInstalled() const { return notifier_ != nullptr; }

private:
    void OnSignal();

    MainWindow& window_;
    QSocketNotifier* notifier_ = nullptr;
    bool quitting_ = false;
};

} // namespace keldro
