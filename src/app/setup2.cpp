#include "app/setup2.h"

#include "app/SetupState.h"
#include "app/setup1.h"
#include "controls/StringHolder.h"
#include "ui/application.h"
#include "ui/std_controls.h"

namespace app {

TLicenseForm::TLicenseForm() {
    RegisterHandler("FormCreate", [this](ui::TComponent* s) { FormCreate(s); });
    RegisterHandler("AcceptButtonClick", [this](ui::TComponent* s) { AcceptButtonClick(s); });
    RegisterHandler("DeclineButtonClick", [this](ui::TComponent* s) { DeclineButtonClick(s); });
}

void TLicenseForm::FormCreate(ui::TComponent*) {
    Memo1 = Find<ui::TMemo>("Memo1");
    StringHolder1 = Find<controls::TStringHolder>("StringHolder1");
    Memo1->SetLines(StringHolder1->Strings());
}

void TLicenseForm::AcceptButtonClick(ui::TComponent*) {
    Hide();
    SetupForm = new TSetupForm();
    SetupForm->Create();
    // Its place is fixed for an 800 x 600 screen; on a smaller one the
    // buttons at its foot would lie beyond the screen's edge.
    SetupForm->KeepOnWorkArea();
    SetupForm->ShowModal();
}

void TLicenseForm::DeclineButtonClick(ui::TComponent*) { ui::Application()->Terminate(); }

}  // namespace app
