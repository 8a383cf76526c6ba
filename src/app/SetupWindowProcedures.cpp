// The Install and Remove buttons: the engine's install and removal, answered
// by the setup window. Its status line and gauge follow the steps, its
// message boxes ask and tell, and its windows are hidden before the restart
// question. Both run in one go inside the click handler; after either
// returns, by whatever way, the button's modal result ends the program.
#include "app/Platform.h"
#include "app/SetupState.h"
#include "app/SystemActions.h"
#include "app/setup1.h"
#include "app/setup2.h"
#include "app/setupf.h"
#include "controls/CheckListBox.h"
#include "controls/Gauge.h"
#include "engine/SetupProcedure.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/std_controls.h"

namespace app {

namespace {

class SetupWindowHost : public engine::SetupHost {
public:
    explicit SetupWindowHost(TSetupForm& form) : form_(form) {}

    void ShowStatus(const std::string& text, bool paintNow) override {
        if (paintNow) {
            form_.ShowStatus(text);
        } else {
            form_.StatusLabel->SetCaption(text);
        }
    }
    void ShowFreeSpace(std::int64_t bytes) override {
        form_.FreeSpaceLabel->SetCaption(FreeSpaceText(bytes));
    }
    void ShowError(const std::string& text) override {
        ui::MessageDlg(text, ui::TMsgDlgType::mtError, ui::TMsgDlgButtons::mbOK);
    }
    void ShowInformation(const std::string& text) override {
        ui::MessageDlg(text, ui::TMsgDlgType::mtInformation, ui::TMsgDlgButtons::mbOK);
    }
    bool Confirm(const std::string& question, ui::TMsgDlgType kind) override {
        return ui::MessageDlg(question, kind, ui::TMsgDlgButtons::mbYesNo) != ui::mrNo;
    }
    ui::TComponent* ProgressTarget() override { return form_.CurrentProgressBar; }
    void OpenReadme(const std::string& path) override { OpenDocument(form_.Handle(), path); }
    void HideWindows() override {
        form_.Hide();
        if (Form1 != nullptr) Form1->Hide();
        if (LicenseForm != nullptr) LicenseForm->Hide();
    }
    void OfferRestart(const std::string& question) override {
        if (ui::MessageDlg(question, ui::TMsgDlgType::mtInformation, ui::TMsgDlgButtons::mbYesNo) ==
            ui::mrYes)
            RestartWindows();
    }
    void RequestEnd() override { ui::Application()->Terminate(); }

private:
    TSetupForm& form_;
};

}  // namespace

void TSetupForm::InstallButtonClick(ui::TComponent*) {
    engine::InstallChoices choices;
    choices.installDir = InstallDir;
    choices.sourceDir = SourceDir;
    for (std::size_t i = 0; i < engine::kComponentCount; ++i)
        choices.components[i] = ProductToInstall->Checked(static_cast<int>(i));
    choices.menuGroup = MenuCreateCheckBox->Checked();
    choices.viewReadme = CheckBox1->Checked();
    choices.startupShortcut = CheckBox2->Checked();
    choices.answerFile = CommandLinePresets.saveAnswerFile;

    SetupWindowHost host(*this);
    engine::RunInstall(choices, host);
    InstallDir = choices.installDir;
}

void TSetupForm::RemoveButtonClick(ui::TComponent*) {
    SetupWindowHost host(*this);
    engine::RunRemoval(InstallDir, host);
}

}  // namespace app
