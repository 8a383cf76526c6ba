// Top-level windows built from form data: border style, title-bar buttons,
// placement, modal showing with modal results, close handling, default and
// cancel buttons, and the handlers that the form data names.
#pragma once

#include <any>
#include <functional>
#include <map>
#include <string>

#include "ui/control.h"

namespace ui {

class TButton;

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum BorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TPosition { poDesigned, poScreenCenter };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;

// Creates a component of a class named in form data.
using ComponentFactory = std::function<TComponent*(TComponent* owner)>;
void RegisterComponentClass(const std::string& className, ComponentFactory factory);
TComponent* CreateComponentOfClass(const std::string& className, TComponent* owner);
// The framework's own classes (labels, buttons, edits, ...).
void RegisterStandardClasses();

class TForm : public TWinControl {
    QUARNEL_COMPONENT(TForm, TWinControl)
public:
    TForm();
    ~TForm() override;

    // Reads the form data resource, makes the controls, gives every component
    // its after-loading notification, makes the window and runs OnCreate.
    void CreateFromResource(const std::string& resourceName);
    void CreateFromText(const std::string& formData);

    void Show();
    void Hide();
    // Moves the window just enough to lie wholly on the screen's work area;
    // one that lies there already does not move.
    void KeepOnWorkArea();
    // Closes as the close box does: a modal form ends its loop with Cancel;
    // otherwise OnClose decides (hide by default; closing the main form ends
    // the program).
    void Close();
    int ShowModal();
    bool IsModal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    TBorderStyle BorderStyle() const { return borderStyle_; }
    unsigned BorderIcons() const { return borderIcons_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void SetClientSize(int width, int height);
    RECT ClientRect() const override { return RECT{0, 0, clientWidth_, clientHeight_}; }
    void SetWindowState(int showCommand) { windowState_ = showCommand; }

    // Grows or shrinks the form, its controls and their fonts by
    // multiplier / divider, as for a screen of another font size.
    void ScaleBy(int multiplier, int divider);
    static int ScreenPixelsPerInch();
    HICON Icon() const { return icon_; }

    // Handlers by the names the form data uses.
    // Handlers of any event type (the std::any holds that event's function type).
    void RegisterEventHandler(const std::string& name, std::any handler);
    void RegisterHandler(const std::string& name, TNotifyEvent handler) {
        RegisterEventHandler(name, std::any(std::move(handler)));
    }

    TNotifyEvent OnCreate;
    TCloseEvent OnClose;

    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A named component of this form, of the expected class.
    template <typename T>
    T* Find(const std::string& name) const {
        T* found = dynamic_cast<T*>(FindComponent(name));
        if (found == nullptr) ThrowMissing(name);
        return found;
    }

protected:
    void FillCreateParams(CreateParams& params) override;
    void HandleCreated() override;
    void BoundsChanged() override;

private:
    [[noreturn]] void ThrowMissing(const std::string& name) const;
    void LoadNode(const struct FormNode& node);
    void LoadChildren(const struct FormNode& node, TComponent* parent);
    void ApplyProperties(TComponent* component, const struct FormNode& node);
    void OrderTabStops();
    TButton* FindButton(bool wantDefault) const;
    void CloseModal();
    void PlaceWindow();
    // The client size of the stored outer size, with the frame of a screen
    // at divider / multiplier of today's font size.
    SIZE ClientSizeFromOuter(int multiplier, int divider);

    TBorderStyle borderStyle_ = TBorderStyle::bsSizeable;
    unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = TPosition::poDesigned;
    int clientWidth_ = 0, clientHeight_ = 0;
    int windowState_ = SW_SHOWNORMAL;
    bool scaled_ = true;
    int designPixelsPerInch_ = 96;
    bool modal_ = false;
    int modalResult_ = 0;
    HICON icon_ = nullptr;
    HWND focusedControl_ = nullptr;  // kept while the window is inactive
    std::map<std::string, std::any> handlers_;
};

}  // namespace ui
