// CAboutPage, the settings page: the two settings summaries, the help file and
// the other-settings dialog.
#pragma once

#include "common/ui/page_slot.h"

#include <memory>

#include <QWidget>

namespace Ui {
class AboutPage;
}

namespace keldro {

class SettingsStore;
class UserInteraction;

class AboutPage final : public QWidget, public PageSlot
{
    Q_OBJECT

public:
    AboutPage(SettingsStore& settings, UserInteraction& ui, QString helpFile,
              QWidget* parent = nullptr);
    ~AboutPage() override;

    QWidget* Widget() override { return this; }
    QString MergeSummary() const;
    QString SplitSummary() const;

    // Opens CSplitterSettings; the summaries are rebuilt after OK.
    void OpenSettings();
    // Opens the help file with the desktop's handler; says so when it is missing.
    void OpenHelp();

private:
    void RebuildSummaries();

    std::unique_ptr<Ui::AboutPage> ui_;
    SettingsStore& settings_;
    UserInteraction& interaction_;
    QString helpFile_;
};

} // namespace keldro
