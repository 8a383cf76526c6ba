// The platform's list box and drop-down list, with owner drawing of fixed
// rows when a derived class wants its own pictures in them.
#pragma once

#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

// Items kept by the control while it has no window and by the window
// while it has one; shared by the list box and the drop-down list.
class TItemListControl : public TWinControl {
    QUARNEL_COMPONENT(TItemListControl, TWinControl)
public:
    explicit TItemListControl(TComponent* owner);

    int Count() const;
    std::string Item(int index) const;
    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& items);
    int AddItem(const std::string& text);
    void ClearItems();
    // The selected row, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int index);

    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    bool OwnerDraw() const { return ownerDraw_; }

    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    // Message numbers of the kind of window (list box or combo box).
    struct Messages {
        UINT getCount, getText, getTextLength, addString, resetContent, getCurSel, setCurSel,
            setItemHeight;
    };
    virtual const Messages& Kind() const = 0;
    // Draws one row of an owner-drawn control; the default writes its text.
    virtual void DrawItem(int index, HDC dc, const RECT& rect, UINT state);
    void HandleCreated() override;
    void HandleDestroying() override;

    int itemHeight_ = 16;
    bool ownerDraw_ = false;
    bool sorted_ = false;

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

class TListBox : public TItemListControl {
    QUARNEL_COMPONENT(TListBox, TItemListControl)
public:
    explicit TListBox(TComponent* owner);

    int TopIndex() const;
    // Rows are shown whole: the platform trims the height to whole rows.
    bool IntegralHeight() const { return integralHeight_; }

    TNotifyEvent OnDblClick;

    bool SetProperty(const std::string& name, const PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const Messages& Kind() const override;
    void FillCreateParams(CreateParams& params) override;
    // The user chose another row (click or keys).
    virtual void SelectionChanged() { Click(); }
    virtual void DblClick();

private:
    bool integralHeight_ = true;
};

// A drop-down list: a selection field that opens a list below it. Its
// Height is the selection field's; the opened list is `DropDownCount` rows.
class TComboBox : public TItemListControl {
    QUARNEL_COMPONENT(TComboBox, TItemListControl)
public:
    explicit TComboBox(TComponent* owner);

    TNotifyEvent OnChange;

    bool SetEvent(const std::string& event, const std::any& handler) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const Messages& Kind() const override;
    void FillCreateParams(CreateParams& params) override;
    void HandleCreated() override;
    void BoundsChanged() override;
    // The user chose another item.
    virtual void Change();

private:
    int SelectionFieldHeight() const;
    int dropDownCount_ = 8;
};

}  // namespace ui
