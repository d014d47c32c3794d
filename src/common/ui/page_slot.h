// What the main window knows of a page: its widget, and for the merge and
// split pages whether a run is busy and how to stop it without asking.
#pragma once

#include <QWidget>

namespace keldro {

class PageSlot
{
public:
    virtual ~PageSlot() = default;
    virtual QWidget* Widget() = 0;
    virtual bool IsBusy() const { return false; }
    virtual void RequestStop() {}
};

} // namespace keldro
