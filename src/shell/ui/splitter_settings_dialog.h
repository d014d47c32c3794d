// CSplitterSettings ("其他设置"): the options of both pages. Opening it stores
// the defaults of missing options; OK stores all eighteen values.
#pragma once

#include "shell/other_settings.h"

#include <memory>

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace Ui {
class SplitterSettingsDialog;
}

namespace keldro {

class UserInteraction;

class SplitterSettingsDialog final : public QDialog
{
    Q_OBJECT

public:
    // The "..." buttons ask `folders` for a folder.
    SplitterSettingsDialog(SettingsStore& settings, UserInteraction& folders,
                           QWidget* parent = nullptr);
    ~SplitterSettingsDialog() override;

    void accept() override;

private:
    struct FlagBox
    {
        QCheckBox* box;
        int OtherSettings::*field;
    };
    std::vector<FlagBox> FlagBoxes() const;
    void ShowValues(const OtherSettings& values);
    OtherSettings TakeValues() const;
    void ChooseFolder(QLineEdit* field, std::string_view title);

    std::unique_ptr<Ui::SplitterSettingsDialog> ui_;
    SettingsStore& settings_;
    UserInteraction& folders_;
};

} // namespace keldro
