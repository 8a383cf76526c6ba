// Visual components: the common control base, windowless controls painted on
// their parent's surface, and controls with a window of their own.
#pragma once

#include <windows.h>

#include <any>
#include <functional>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/drag.h"
#include "ui/graphics.h"
#include "ui/offscreen.h"

namespace ui {

class TWinControl;
class TForm;
class TPopupMenu;

using TNotifyEvent = std::function<void(TComponent* sender)>;
// Mouse buttons are 0 (left), 1 (right) and 2 (middle); x and y are in the
// control's client coordinates.
using TMouseEvent = std::function<void(TComponent* sender, int button, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, int x, int y)>;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
// How a control paints: csOpaque covers its whole rectangle, so nothing
// behind it needs painting; csReplicatable can be drawn again elsewhere.
enum ControlStyle : unsigned { csOpaque = 1, csReplicatable = 2 };

class TControl : public TComponent {
    QUARNEL_COMPONENT(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control stands on (itself for a form), or none.
    TForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Hint() const { return hint_; }
    virtual void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    unsigned ControlStyle() const { return controlStyle_; }
    void SetControlStyle(unsigned style) { controlStyle_ = style; }

    TNotifyEvent OnClick;

    // Asks for a repaint at the next paint cycle, or now.
    virtual void Invalidate();
    virtual void Repaint();
    virtual void Click();

    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool GetIntProperty(const std::string& name, int& value) const override;
    bool SetEvent(const std::string& event, const std::any& handler) override;

    // Called by the parent when its font or colour changes.
    void ParentFontChanged();
    void ParentColorChanged();
    // Told by the form when the focus moves to `focused` (a control of the
    // form, or the form itself).
    virtual void FocusChanged(TWinControl* focused);
    // An accelerator key (Alt and a character) pressed in the form; answers
    // whether this control took it.
    virtual bool DialogChar(char key);

    // The menu a right click on the control shows; none by default.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    // Dragging this control: in automatic mode a press of the left button
    // on it starts a drag; in manual mode the program calls BeginDrag.
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode mode) { dragMode_ = mode; }
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor cursor) { dragCursor_ = cursor; }
    // Starts a drag at once, or once the mouse has moved more than
    // `threshold` pixels (5 when negative) with the button held.
    void BeginDrag(bool immediate, int threshold = -1);
    // Ends this control's drag, with a drop where the mouse is or cancelled.
    void EndDrag(bool drop);
    bool Dragging() const { return dragging::IsDragged(this); }

    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

    // The drag's calls: to the dragged control when the drag starts and
    // ends, to the control under the mouse as it is dragged over and dropped
    // on. DragOver answers whether a drop would be taken: only a control
    // with an OnDragOver handler that leaves `accept` true takes one.
    virtual void DoStartDrag();
    virtual void DoEndDrag(TControl* target, int x, int y);
    virtual bool DragOver(TControl* source, int x, int y, TDragState state);
    virtual void DragDrop(TControl* source, int x, int y);

    void Loaded() override;

protected:
    // For the classes that publish them: PopupMenu (named in form data and
    // found once loaded), DragMode and DragCursor, and the drag events.
    bool SetPopupMenuProperty(const std::string& name, const PropertyValue& value);
    bool SetDragProperty(const std::string& name, const PropertyValue& value);
    bool SetDragEvent(const std::string& event, const std::any& handler);
    void Notification(TComponent* component, Operation operation) override;

    virtual void FontChanged() {}
    virtual void TextChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void VisibleChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void BoundsChanged() {}
    // The parent's client rectangle changed (alignment follows it).
    virtual void RequestAlign();

    bool loadedCaption_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;

private:
    void FontChangedInternal();

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    std::string hint_;
    bool showHint_ = false;
    TFont font_;
    bool parentFont_ = true;
    bool settingParentFont_ = false;
    TAlign align_ = TAlign::alNone;
    unsigned controlStyle_ = 0;
    TPopupMenu* popupMenu_ = nullptr;
    std::string popupMenuName_;  // from form data, found once loaded
    TDragMode dragMode_ = TDragMode::dmManual;
    TCursor dragCursor_ = crDrag;

    friend class TWinControl;
};

// A control without a window: it paints on its parent's surface, in the
// parent's creation order, inside the parent's one off-screen composition.
class TGraphicControl : public TControl {
    QUARNEL_COMPONENT(TGraphicControl, TControl)
public:
    using TControl::TControl;

    // Draws the control into dc, whose origin is the control's top-left corner
    // and whose clip region is the control's rectangle.
    virtual void Paint(HDC dc) = 0;
    // Invalidate marks the area for the next paint; Repaint paints it at once
    // into the parent's window, without waiting for the message loop.
    void Invalidate() override;
    void Repaint() override;

    // Mouse notifications from the parent (client coordinates of the control).
    virtual void MouseDown(int button, int x, int y);
    virtual void MouseUp(int button, int x, int y);
    virtual void MouseMove(int x, int y);
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void DblClick();

    bool SetEvent(const std::string& event, const std::any& handler) override;

    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    void BoundsChanged() override;
    void VisibleChanged() override;

private:
    bool pressed_ = false;
};

// A control with a window of its own: a platform control subclassed so that
// the program sees its messages, or a window class of the program's own.
class TWinControl : public TControl {
    QUARNEL_COMPONENT(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle() const { return handle_; }
    int ControlId() const { return controlId_; }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    // Destroys and makes the window again (keeps the control's state).
    void RecreateWnd();

    const std::vector<TControl*>& Controls() const { return controls_; }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    TControl* ControlAtPos(POINT clientPoint, bool allowDisabled) const;

    int TabOrder() const { return tabOrder_; }
    bool TabStop() const { return tabStop_; }
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    void Invalidate() override;
    void Repaint() override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetHint(const std::string& hint) override;
    bool SetProperty(const std::string& name, const PropertyValue& value) override;

    // Paints the windowless children that meet `area` (client coordinates)
    // into dc, after filling the area with the background colour; used by the
    // buffered paint and by an immediate repaint.
    void PaintGraphicControls(HDC dc, const RECT& area);
    void PaintAreaNow(const RECT& area);
    // Composes `area` off screen and copies it to `target` in one operation.
    void ComposeInto(HDC target, const RECT& area);
    // The window's text as the platform holds it.
    std::string WindowText() const;
    // Passes the focus change on to the children (and theirs).
    void FocusChanged(TWinControl* focused) override;
    bool DialogChar(char key) override;
    // The windowless child under the mouse is told when the mouse leaves the
    // window for another one; the message loop asks this while it is idle.
    static void CheckMouseLeft();

    // Window procedure of this control; the default passes the message on.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification that the parent reflects back to the child that sent it
    // (WM_COMMAND, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*).
    virtual bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    static TWinControl* FromHandle(HWND window);

protected:
    struct CreateParams {
        const char* className = nullptr;  // a platform class, or null for the program's own
        DWORD style = 0;
        DWORD exStyle = 0;
        HWND parent = nullptr;
        int x = 0, y = 0, width = 0, height = 0;
    };
    virtual void FillCreateParams(CreateParams& params);
    virtual void CreateWnd();
    // After the window exists: fonts, texts and states are given to it.
    virtual void HandleCreated();
    // Before the window goes: state that must survive a re-creation is kept.
    virtual void HandleDestroying() {}
    void DestroyHandle();
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

    void TextChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void BoundsChanged() override;

    // Children aligned to the client area take its new size.
    void AlignControls();
    // Background brush for WM_CTLCOLOR* replies, in this control's colour.
    HBRUSH BackgroundBrush();
    void UpdateTooltip();
    // A right click (or the menu key) at the screen point in lParam: the
    // popup menu of the windowless control there, or of this window, is
    // shown; answers whether one was.
    bool ShowPopupMenu(LPARAM lParam);

    // The program's own window class used by forms and container windows.
    static const char* OwnClassName();
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int controlId_ = 0;

private:
    void RecreateChildren();
    void SetHoverControl(TGraphicControl* control);
    // Paints `area` into `memory`, whose top-left corner stands for the
    // area's; origins and clipping are put back afterwards.
    void ComposeArea(HDC memory, const RECT& area);

    HWND handle_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    std::vector<TControl*> controls_;
    int tabOrder_ = -1;
    bool tabStop_ = false;
    ScopedBrush background_;
    TColor backgroundColor_ = 0xFFFFFFFF;
    TGraphicControl* mouseControl_ = nullptr;
    TGraphicControl* hoverControl_ = nullptr;
    HWND tooltip_ = nullptr;
    OffscreenBitmap immediatePicture_;

    friend class TForm;
};

}  // namespace ui
