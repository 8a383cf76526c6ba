// The standard controls the windows are made of: label and bevel (painted on
// the parent), push button, glyph button, check box, memo and edit (platform
// controls with the program's behaviour added).
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

// The windowed control a label's FocusControl names among the label's
// owner's components; EResourceError when there is none.
TWinControl* FindFocusControl(const TControl& label, const std::string& name);

class TLabel : public TGraphicControl {
    QUARNEL_COMPONENT(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* owner);
    void Paint(HDC dc) override;
    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    void Loaded() override;
    bool Transparent() const { return transparent_; }
    TAlignment Alignment() const { return alignment_; }

    // The control its accelerator ("&Name:") moves the focus to.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);
    bool DialogChar(char key) override;

protected:
    void Notification(TComponent* component, Operation operation) override;
    void TextChanged() override;
    void FontChanged() override;
    void AdjustSize();

private:
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool transparent_ = false;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    TWinControl* focusControl_ = nullptr;
    std::string focusControlName_;  // from form data, resolved once loaded
};

class TBevel : public TGraphicControl {
    QUARNEL_COMPONENT(TBevel, TGraphicControl)
public:
    enum class Shape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
    explicit TBevel(TComponent* owner);
    void Paint(HDC dc) override;
    bool SetProperty(const std::string& name, const PropertyValue& value) override;

private:
    Shape shape_ = Shape::bsBox;
    bool raised_ = false;
};

class TButton : public TWinControl {
    QUARNEL_COMPONENT(TButton, TWinControl)
public:
    explicit TButton(TComponent* owner);
    bool IsDefault() const { return default_; }
    bool IsCancel() const { return cancel_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // A modal result is handed to the form before the click handler runs.
    void Click() override;
    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void FillCreateParams(CreateParams& params) override;
    bool default_ = false;
    bool cancel_ = false;
    int modalResult_ = 0;
};

// A push button with a small picture beside its caption; the kind picks the
// picture, the modal result and whether it is the default or cancel button.
class TBitBtn : public TButton {
    QUARNEL_COMPONENT(TBitBtn, TButton)
public:
    enum class Kind { bkCustom, bkOK, bkCancel, bkAbort, bkNo, bkYes, bkClose };
    explicit TBitBtn(TComponent* owner);
    Kind GetKind() const { return kind_; }
    void SetKind(Kind kind);
    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Draws the face into dc at rect as the owner-drawn button shows it.
    void DrawFace(HDC dc, const RECT& rect, bool pressed, bool focused, bool isDefault) const;

protected:
    void FillCreateParams(CreateParams& params) override;

private:
    Kind kind_ = Kind::bkCustom;
};

class TCheckBox : public TWinControl {
    QUARNEL_COMPONENT(TCheckBox, TWinControl)
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool checked);
    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void FillCreateParams(CreateParams& params) override;
    void HandleCreated() override;
    void HandleDestroying() override;

private:
    bool checked_ = false;
};

class TMemo : public TWinControl {
    QUARNEL_COMPONENT(TMemo, TWinControl)
public:
    explicit TMemo(TComponent* owner);
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    bool ReadOnly() const { return readOnly_; }
    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void FillCreateParams(CreateParams& params) override;

private:
    bool readOnly_ = false;
    // Whether Tab and Enter stay in the memo; otherwise they move the focus
    // and press the default button as elsewhere in the form.
    bool wantTabs_ = false;
    bool wantReturns_ = false;
    bool wordWrap_ = true;
    bool vertical_ = false;
    bool horizontal_ = false;
};

class TEdit : public TWinControl {
    QUARNEL_COMPONENT(TEdit, TWinControl)
public:
    enum class CharCase { ecNormal, ecUpperCase, ecLowerCase };
    explicit TEdit(TComponent* owner);
    // The text as the edit holds it (upper case for an upper-case edit).
    std::string Text() const { return Caption(); }
    void SetText(const std::string& text);
    CharCase GetCharCase() const { return charCase_; }
    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    TNotifyEvent OnChange;

protected:
    void FillCreateParams(CreateParams& params) override;
    void TextChanged() override;
    std::string ApplyCase(const std::string& text) const;
    virtual void Change();

private:
    CharCase charCase_ = CharCase::ecNormal;
    bool readingWindow_ = false;
};

}  // namespace ui
