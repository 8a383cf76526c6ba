// The setup window: install directory, free space, components, options, and
// the Install, Remove and Exit buttons.
#pragma once

#include "ui/form.h"

namespace ui {
class TLabel;
class TBitBtn;
class TCheckBox;
}  // namespace ui
namespace controls {
class TCheckListBox;
class TGauge;
class TDirectoryEdit;
}  // namespace controls

namespace engine {
struct SetupCommandLine;
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
    void SelectDirectoryAfterDialog(ui::TComponent* sender, std::string& name, bool& action);
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
    controls::TDirectoryEdit* SelectDirectory = nullptr;
    ui::TBitBtn* InstallButton = nullptr;
    ui::TBitBtn* RemoveButton = nullptr;
    ui::TBitBtn* BitBtn1 = nullptr;
    controls::TCheckListBox* ProductToInstall = nullptr;
    ui::TCheckBox* MenuCreateCheckBox = nullptr;
    ui::TCheckBox* CheckBox1 = nullptr;
    ui::TCheckBox* CheckBox2 = nullptr;

private:
    void BindControls();
    // Ticks and the directory the command line gave, as if the user had
    // set them.
    void ApplyPresets(const engine::SetupCommandLine& line);
    // Whether any of the five components is ticked.
    bool AnyComponentChosen() const;
};

}  // namespace app
