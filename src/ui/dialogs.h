// The program's message dialogs: a kind (caption and icon), a word-wrapped
// text and either "OK" or "&Yes"/"&No". Tests answer them through a responder
// instead of a window.
#pragma once

#include <functional>
#include <string>

namespace ui {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum class TMsgDlgButtons { mbOK, mbYesNo };

struct DialogRequest {
    std::string caption;
    std::string text;
    TMsgDlgType type = TMsgDlgType::mtInformation;
    TMsgDlgButtons buttons = TMsgDlgButtons::mbOK;
    bool standardErrorBox = false;  // the application's error box for handler errors
};

// Answers a dialog with a modal result (mrOk, mrYes, mrNo, mrCancel).
using DialogResponder = std::function<int(const DialogRequest&)>;

// Installs a responder (tests); an empty one restores the real dialogs.
void SetDialogResponder(DialogResponder responder);
const DialogResponder& CurrentDialogResponder();

const char* DialogCaption(TMsgDlgType type);

// Shows a message dialog and answers mrOk, mrYes, mrNo, or mrCancel (close
// box, or a terminate request made before or while it is shown).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

}  // namespace ui
