// An edit box with a small button inside its right end: the button sits in
// a bare child window of the edit, the edit's text area stops short of it,
// and a click key opens what the button opens.
#pragma once

#include <string>

#include "controls/ComboEditLayout.h"
#include "ui/speed_button.h"
#include "ui/std_controls.h"

namespace controls {

enum class TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };

// Modifier flags of a shortcut, added to the key code.
enum : int { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

class TCustomComboEdit;

// The button of a combo edit. It takes no focus: a press first gives the
// focus to its edit.
class TEditButton : public ui::TSpeedButton {
    QUARNEL_COMPONENT(TEditButton, ui::TSpeedButton)
public:
    TEditButton(ui::TComponent* owner, TCustomComboEdit* edit);

    void PaintFace(HDC dc, bool pressed) override;
    void MouseDown(int button, int x, int y) override;
    void Click() override;

private:
    TCustomComboEdit* edit_;
};

class TCustomComboEdit : public ui::TEdit {
    QUARNEL_COMPONENT(TCustomComboEdit, ui::TEdit)
public:
    explicit TCustomComboEdit(ui::TComponent* owner);

    TEditButton* Button() const { return button_; }
    ui::TWinControl* ButtonContainer() const { return container_; }

    int ButtonWidth() const { return buttonWidth_; }
    // A width of 1 or less hides the button; one that leaves no room for
    // text is refused once the control exists.
    void SetButtonWidth(int width);
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind kind);
    // The picture for gkCustom; the control keeps the bitmap.
    void SetGlyph(HBITMAP glyph);
    int NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int count) { button_->SetNumGlyphs(count); }
    const std::string& ButtonHint() const { return buttonHint_; }
    void SetButtonHint(const std::string& hint);

    int ClickKey() const { return clickKey_; }
    void SetClickKey(int shortcut) { clickKey_ = shortcut; }
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool on) { directInput_ = on; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    bool Ctl3D() const { return ctl3d_; }
    void SetCtl3D(bool on);
    TEditBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TEditBorderStyle style);
    bool OemConvert() const { return oemConvert_; }

    // What the button and the click key do: the button click, unless the
    // edit is read-only.
    void DoClick();

    ui::TNotifyEvent OnButtonClick;

    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Loaded() override;

    // The platform's major version, as the placement and the look use it.
    static int PlatformMajorVersion();

protected:
    // Runs the OnButtonClick event; derived classes add their dialog.
    virtual void ButtonClick();
    // The picture of gkDefault, or none; the caller owns it.
    virtual HBITMAP DefaultGlyph() const { return nullptr; }
    void SetOemConvert(bool on);

    void FillCreateParams(CreateParams& params) override;
    void HandleCreated() override;
    void BoundsChanged() override;
    void EnabledChanged() override;
    void TextChanged() override;

private:
    void RecreateGlyph();
    void UpdateButtonPlacement();
    void ApplyTextArea();
    void RaiseToMinimumHeight();
    int BorderWidth() const;
    int ClientWidthNow() const;
    void CreateOwnCaret();
    bool IsClickKey(UINT message, WPARAM key, LPARAM data) const;
    void HandDialogKey(WPARAM key);
    bool WantsTypedChar(WPARAM ch) const;

    ui::TWinControl* container_ = nullptr;
    TEditButton* button_ = nullptr;
    int buttonWidth_ = 21;
    TGlyphKind glyphKind_ = TGlyphKind::gkCustom;
    std::string buttonHint_;
    int clickKey_ = scAlt | VK_DOWN;
    bool directInput_ = true;
    bool readOnly_ = false;
    bool ctl3d_ = true;
    TEditBorderStyle borderStyle_ = TEditBorderStyle::bsSingle;
    ui::TAlignment alignment_ = ui::TAlignment::taLeftJustify;
    bool oemConvert_ = false;
    bool constructing_ = true;
    bool mouseEntry_ = false;
    bool reflecting_ = false;
    bool changeSeen_ = false;
};

}  // namespace controls
