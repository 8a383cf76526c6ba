// The setup window: install directory, free space, components, options, and
// the Install, Remove and Exit buttons.
#pragma once

#include "ui/form.h"

namespace ui {
class TLabel;
class TBitBtn;
class TCheckBox;
class TEdit;
}  // namespace ui
namespace controls {
class TCheckListBox;
class TGauge;
}

namespace app {

class TSetupForm : public ui::TForm {
    QUARNEL_COMPONENT(TSetupForm, ui::TForm)
public:
    TSetupForm();
    void Create() { CreateFromResource("SETUPFORM"); }

    void FormCreate(ui::TComponent* sender);
    void FormClose(ui::TComponent* sender, ui::TCloseAction& action);
    void SelectDirectoryChange(ui::TComponent* sender);
    void ProductToInstallClickCheck(ui::TComponent* sender);
    void BitBtn1Click(ui::TComponent* sender);
    void InstallButtonClick(ui::TComponent* sender);
    // The removal of the suite (RemoveProcedure.cpp).
    void RemoveButtonClick(ui::TComponent* sender);

    // Sets the status line and paints it at once.
    void ShowStatus(const std::string& text);

    ui::TLabel* FreeSpaceLabel = nullptr;
    ui::TLabel* StatusLabel = nullptr;
    controls::TGauge* CurrentProgressBar = nullptr;
    ui::TEdit* SelectDirectory = nullptr;
    ui::TBitBtn* InstallButton = nullptr;
    ui::TBitBtn* RemoveButton = nullptr;
    ui::TBitBtn* BitBtn1 = nullptr;
    controls::TCheckListBox* ProductToInstall = nullptr;
    ui::TCheckBox* MenuCreateCheckBox = nullptr;
    ui::TCheckBox* CheckBox1 = nullptr;
    ui::TCheckBox* CheckBox2 = nullptr;

    // Where the directory dialog starts when the edit names no directory.
    const std::string& InitialDir() const { return initialDir_; }

private:
    void BindControls();
    std::string initialDir_;
};

}  // namespace app
