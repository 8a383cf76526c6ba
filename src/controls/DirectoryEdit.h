// Combo edits that pick a file-system name in a dialog: TFileDirEdit adds the
// dialog events, dropped names, OEM conversion and the error mode kept quiet
// while a dialog is open; TDirectoryEdit picks a directory.
#pragma once

#include <functional>
#include <string>

#include "controls/ComboEdit.h"
#include "controls/SelectDirDialog.h"

namespace controls {

// Called around a dialog with the name it starts from (before) or leaves
// (after), and whether it goes ahead or was confirmed; both may be changed.
using TExecOpenDialogEvent =
    std::function<void(ui::TComponent* sender, std::string& name, bool& action)>;

class TFileDirEdit : public TCustomComboEdit {
    QUARNEL_COMPONENT(TFileDirEdit, TCustomComboEdit)
public:
    explicit TFileDirEdit(ui::TComponent* owner);

    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool on);

    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;

    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DoBeforeDialog(std::string& name, bool& action);
    virtual void DoAfterDialog(std::string& name, bool& action);
    // The name that one dropped file or directory puts into the edit.
    virtual std::string AcceptedDropName(const std::string& dropped) const { return dropped; }
    HBITMAP DefaultGlyph() const override;
    void HandleCreated() override;

    // Keeps the platform from showing its own boxes for drives without a
    // medium or unreachable paths while a dialog is open.
    class QuietErrors {
    public:
        explicit QuietErrors(TFileDirEdit& edit);
        ~QuietErrors();
        QuietErrors(const QuietErrors&) = delete;
        QuietErrors& operator=(const QuietErrors&) = delete;

    private:
        TFileDirEdit& edit_;
    };

    // Replaces the selection with nothing; reports the change.
    void DeleteSelectedText();

private:
    bool acceptFiles_ = false;
    UINT savedErrorMode_ = 0;
    bool errorModeSaved_ = false;
};

enum class TDirDialogKind { dkClassic, dkWin32 };

// Runs a folder dialog starting at `directory`; answers whether it was
// confirmed and then leaves the chosen directory there.
using DirectoryDialogRunner =
    std::function<bool(std::string& directory, TSelectDirOpts options, int helpContext)>;

class TDirectoryEdit : public TFileDirEdit {
    QUARNEL_COMPONENT(TDirectoryEdit, TFileDirEdit)
public:
    explicit TDirectoryEdit(ui::TComponent* owner);

    TDirDialogKind DialogKind() const { return dialogKind_; }
    void SetDialogKind(TDirDialogKind kind) { dialogKind_ = kind; }
    const std::string& DialogText() const { return dialogText_; }
    void SetDialogText(const std::string& text) { dialogText_ = text; }
    TSelectDirOpts DialogOptions() const { return dialogOptions_; }
    void SetDialogOptions(TSelectDirOpts options) { dialogOptions_ = options; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
    bool MultipleDirs() const { return multipleDirs_; }
    void SetMultipleDirs(bool on) { multipleDirs_ = on; }
    int HelpContext() const { return helpContext_; }

    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;

    // Tests put a stand-in for the dialog here; an empty runner restores the
    // real dialogs.
    static void SetDialogRunner(DirectoryDialogRunner runner);

protected:
    void ButtonClick() override;
    std::string AcceptedDropName(const std::string& dropped) const override;

private:
    bool RunDialog(std::string& name);

    TDirDialogKind dialogKind_ = TDirDialogKind::dkClassic;
    std::string dialogText_;
    TSelectDirOpts dialogOptions_ = 0;
    std::string initialDir_;
    bool multipleDirs_ = false;
    int helpContext_ = 0;
};

// Makes TDirectoryEdit known to the form data loader.
void RegisterDirectoryEditClass();

}  // namespace controls
