#include "controls/DirectoryEdit.h"

#include <shellapi.h>

#include "controls/BrowseFolderDialog.h"
#include "controls/DirectoryCreation.h"
#include "ui/exceptions.h"
#include "ui/form.h"

namespace controls {
namespace {

// No critical-error box and no box for a file that cannot be opened.
constexpr UINT kQuietErrorMode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

DirectoryDialogRunner& Runner() {
    static DirectoryDialogRunner runner;
    return runner;
}

}  // namespace

// ------------------------------------------------------------ TFileDirEdit

TFileDirEdit::TFileDirEdit(ui::TComponent* owner) : TCustomComboEdit(owner) {
    SetOemConvert(true);
    SetGlyphKind(TGlyphKind::gkDefault);
}

TFileDirEdit::QuietErrors::QuietErrors(TFileDirEdit& edit) : edit_(edit) {
    edit_.savedErrorMode_ = ::SetErrorMode(kQuietErrorMode);
    edit_.errorModeSaved_ = true;
}

TFileDirEdit::QuietErrors::~QuietErrors() {
    if (!edit_.errorModeSaved_) return;
    ::SetErrorMode(edit_.savedErrorMode_);
    edit_.savedErrorMode_ = 0;
    edit_.errorModeSaved_ = false;
}

HBITMAP TFileDirEdit::DefaultGlyph() const {
    return ::LoadBitmapA(::GetModuleHandleA(nullptr), "DIREDITGLYPH");
}

void TFileDirEdit::SetAcceptFiles(bool on) {
    acceptFiles_ = on;
    if (HandleAllocated()) ::DragAcceptFiles(Handle(), on ? TRUE : FALSE);
}

void TFileDirEdit::HandleCreated() {
    TCustomComboEdit::HandleCreated();
    if (acceptFiles_) ::DragAcceptFiles(Handle(), TRUE);
}

void TFileDirEdit::DoBeforeDialog(std::string& name, bool& action) {
    if (OnBeforeDialog) OnBeforeDialog(this, name, action);
}

void TFileDirEdit::DoAfterDialog(std::string& name, bool& action) {
    if (OnAfterDialog) OnAfterDialog(this, name, action);
}

void TFileDirEdit::DeleteSelectedText() {
    if (!HandleAllocated()) return;
    ::SendMessageA(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    if (WindowText() != Text()) {
        // The window changed its text without telling: take the news as it would.
        LRESULT ignored = 0;
        HandleReflected(WM_COMMAND, MAKEWPARAM(ControlId(), EN_CHANGE),
                        reinterpret_cast<LPARAM>(Handle()), ignored);
    }
}

LRESULT TFileDirEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) {
        HDROP drop = reinterpret_cast<HDROP>(wParam);
        char name[MAX_PATH] = "";
        if (acceptFiles_ && ::DragQueryFileA(drop, 0, name, sizeof name) > 0)
            SetText(AcceptedDropName(name));
        ::DragFinish(drop);
        return 0;
    }
    return TCustomComboEdit::WndProc(message, wParam, lParam);
}

bool TFileDirEdit::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    if (name == "AcceptFiles") {
        SetAcceptFiles(value.AsBool(name));
        return true;
    }
    return TCustomComboEdit::SetProperty(name, value);
}

bool TFileDirEdit::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnBeforeDialog") {
        OnBeforeDialog = std::any_cast<TExecOpenDialogEvent>(handler);
    } else if (event == "OnAfterDialog") {
        OnAfterDialog = std::any_cast<TExecOpenDialogEvent>(handler);
    } else {
        return TCustomComboEdit::SetEvent(event, handler);
    }
    return true;
}

// ---------------------------------------------------------- TDirectoryEdit

TDirectoryEdit::TDirectoryEdit(ui::TComponent* owner) : TFileDirEdit(owner) {}

void TDirectoryEdit::SetDialogRunner(DirectoryDialogRunner runner) { Runner() = std::move(runner); }

bool TDirectoryEdit::RunDialog(std::string& name) {
    if (const DirectoryDialogRunner& runner = Runner())
        return runner(name, dialogOptions_, helpContext_);
    if (PlatformMajorVersion() >= 4 && dialogKind_ == TDirDialogKind::dkWin32)
        return BrowseForFolder(name, dialogText_, Handle());
    return SelectDirectory(name, dialogOptions_, helpContext_);
}

void TDirectoryEdit::ButtonClick() {
    TFileDirEdit::ButtonClick();
    std::string name = Text();
    bool action = true;
    DoBeforeDialog(name, action);
    if (!action) return;
    if (name.empty()) name = initialDir_.empty() ? std::string("\\") : initialDir_;
    if (!DirectoryExists(name)) name = "\\";
    {
        QuietErrors quiet(*this);
        std::string chosen = name;
        action = RunDialog(chosen);
        if (action) name = chosen;
    }
    if (CanFocus()) SetFocus();
    DoAfterDialog(name, action);
    if (!action) return;
    DeleteSelectedText();
    if (Text().empty() || !multipleDirs_)
        SetText(name);
    else
        SetText(Text() + ";" + name);
    if (!name.empty() && DirectoryExists(name)) initialDir_ = name;
}

std::string TDirectoryEdit::AcceptedDropName(const std::string& dropped) const {
    if (DirectoryExists(dropped)) return dropped;
    return WithoutTrailingBackslash(ExtractFilePath(dropped), 3);
}

bool TDirectoryEdit::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    if (name == "DialogKind") {
        const std::string& k = value.AsIdent(name);
        if (k == "dkClassic")
            dialogKind_ = TDirDialogKind::dkClassic;
        else if (k == "dkWin32")
            dialogKind_ = TDirDialogKind::dkWin32;
        else
            throw ui::EResourceError("Unknown dialog kind " + k);
    } else if (name == "DialogText") {
        dialogText_ = value.AsText(name);
    } else if (name == "DialogOptions") {
        TSelectDirOpts options = 0;
        for (const std::string& o : value.AsIdentSet(name)) {
            if (o == "sdAllowCreate")
                options |= sdAllowCreate;
            else if (o == "sdPerformCreate")
                options |= sdPerformCreate;
            else if (o == "sdPrompt")
                options |= sdPrompt;
            else
                throw ui::EResourceError("Unknown dialog option " + o);
        }
        dialogOptions_ = options;
    } else if (name == "InitialDir") {
        initialDir_ = value.AsText(name);
    } else if (name == "MultipleDirs") {
        multipleDirs_ = value.AsBool(name);
    } else if (name == "HelpContext") {
        helpContext_ = value.AsInt(name);
    } else {
        return TFileDirEdit::SetProperty(name, value);
    }
    return true;
}

void RegisterDirectoryEditClass() {
    ui::RegisterComponentClass("TDirectoryEdit",
                               [](ui::TComponent* o) { return new TDirectoryEdit(o); });
}

}  // namespace controls
