#include "app/setup1.h"

#include "app/Platform.h"
#include "app/SetupState.h"
#include "app/setupf.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryEdit.h"
#include "controls/Gauge.h"
#include "engine/CommandLine.h"
#include "engine/ComponentTable.h"
#include "engine/DriveSpace.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/std_controls.h"

namespace app {

TSetupForm::TSetupForm() {
    RegisterHandler("FormCreate", [this](ui::TComponent* s) { FormCreate(s); });
    RegisterEventHandler(
        "FormClose",
        ui::TCloseEvent([this](ui::TComponent* s, ui::TCloseAction& a) { FormClose(s, a); }));
    RegisterHandler("SelectDirectoryChange",
                    [this](ui::TComponent* s) { SelectDirectoryChange(s); });
    RegisterEventHandler(
        "SelectDirectoryAfterDialog",
        controls::TExecOpenDialogEvent([this](ui::TComponent* s, std::string& name, bool& action) {
            SelectDirectoryAfterDialog(s, name, action);
        }));
    RegisterHandler("ProductToInstallClickCheck",
                    [this](ui::TComponent* s) { ProductToInstallClickCheck(s); });
    RegisterHandler("BitBtn1Click", [this](ui::TComponent* s) { BitBtn1Click(s); });
    RegisterHandler("InstallButtonClick", [this](ui::TComponent* s) { InstallButtonClick(s); });
    RegisterHandler("RemoveButtonClick", [this](ui::TComponent* s) { RemoveButtonClick(s); });
}

void TSetupForm::BindControls() {
    FreeSpaceLabel = Find<ui::TLabel>("FreeSpaceLabel");
    StatusLabel = Find<ui::TLabel>("StatusLabel");
    CurrentProgressBar = Find<controls::TGauge>("CurrentProgressBar");
    SelectDirectory = Find<controls::TDirectoryEdit>("SelectDirectory");
    InstallButton = Find<ui::TBitBtn>("InstallButton");
    RemoveButton = Find<ui::TBitBtn>("RemoveButton");
    BitBtn1 = Find<ui::TBitBtn>("BitBtn1");
    ProductToInstall = Find<controls::TCheckListBox>("ProductToInstall");
    MenuCreateCheckBox = Find<ui::TCheckBox>("MenuCreateCheckBox");
    CheckBox1 = Find<ui::TCheckBox>("CheckBox1");
    CheckBox2 = Find<ui::TCheckBox>("CheckBox2");
}

void TSetupForm::FormCreate(ui::TComponent*) {
    BindControls();

    Form1 = new TForm1();
    Form1->Create();
    Form1->Show();

    if (!IsWindows95Family(OsVersionText())) {
        ui::MessageDlg("This software is designed for Windows95/98", ui::TMsgDlgType::mtError,
                       ui::TMsgDlgButtons::mbOK);
        ui::Application()->Terminate();
    }

    SourceDir = CurrentDirectoryWithBackslash();

    {
        SetupRegistryGroup group;
        engine::TRegistry& registry = group.Registry();
        InstallDir = engine::records::ReadInstallDir(registry, true);
        SelectDirectory->SetInitialDir(InstallDir);
        SelectDirectory->SetText(SelectDirectory->InitialDir());
        registry.CloseRegistryKey();
    }

    if (InstallDir.empty()) RemoveButton->SetEnabled(false);
    if (InstallDir.empty()) InstallDir = engine::records::kDefaultInstallDir;
    InstallButton->SetEnabled(false);
    ApplyPresets(CommandLinePresets);
}

void TSetupForm::ApplyPresets(const engine::SetupCommandLine& line) {
    // As if typed: the field's change handler sets InstallDir.
    if (line.directoryGiven) SelectDirectory->SetText(line.directory);
    if (line.componentsGiven) {
        for (std::size_t i = 0; i < engine::kComponentCount; ++i)
            ProductToInstall->SetChecked(static_cast<int>(i), line.components[i]);
        ProductToInstallClickCheck(this);
    }
    if (!line.menuGroup) MenuCreateCheckBox->SetChecked(false);
    if (!line.viewReadme) CheckBox1->SetChecked(false);
    if (!line.startupShortcut) CheckBox2->SetChecked(false);
}

void TSetupForm::FormClose(ui::TComponent*, ui::TCloseAction&) {
    if (Form1 != nullptr) Form1->Close();
    ui::Application()->Terminate();
}

void TSetupForm::SelectDirectoryChange(ui::TComponent*) { InstallDir = SelectDirectory->Text(); }

void TSetupForm::SelectDirectoryAfterDialog(ui::TComponent*, std::string& name, bool&) {
    // A cancelled dialog counts too: InstallDir takes the directory it started from.
    SelectDirectory->SetInitialDir(!name.empty() ? name : SelectDirectory->Text());
    InstallDir = SelectDirectory->InitialDir();
    SelectDirectory->SetHint(InstallDir);
    const int drive = engine::DriveNumberFromPath(InstallDir);
    FreeSpaceLabel->SetCaption(FreeSpaceText(engine::DriveFreeBytes(drive)));
    if (engine::DriveFreeBytes(drive) < 15000000)
        ui::MessageDlg("Not enough free space", ui::TMsgDlgType::mtWarning,
                       ui::TMsgDlgButtons::mbOK);
}

bool TSetupForm::AnyComponentChosen() const {
    // Every item is read, in order, also after a ticked one.
    bool chosen = false;
    for (std::size_t i = 0; i < engine::kComponentCount; ++i)
        if (ProductToInstall->Checked(static_cast<int>(i))) chosen = true;
    return chosen;
}

void TSetupForm::ProductToInstallClickCheck(ui::TComponent*) {
    InstallButton->SetEnabled(AnyComponentChosen());
}

void TSetupForm::BitBtn1Click(ui::TComponent*) { ui::Application()->Terminate(); }

void TSetupForm::ShowStatus(const std::string& text) {
    StatusLabel->SetCaption(text);
    StatusLabel->Repaint();
}

}  // namespace app
