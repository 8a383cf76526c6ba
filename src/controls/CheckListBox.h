// A list box whose every row carries a check box in front of its text. The
// platform list box is owner-drawn; this class keeps a check state per item,
// draws the boxes, toggles them by mouse and space key and reports each
// change the user makes through OnClickCheck.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace controls {

enum TCheckBoxState { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

// What an item keeps in the list box's per-item data slot once its state or
// its user data has been set; an item without one reads as unchecked with
// data 0.
struct TCheckListBoxDataWrapper {
    LONG_PTR data = 0;
    TCheckBoxState state = cbUnchecked;
};

// Asks for the height of one row (owner-draw variable style only).
using TMeasureItemEvent = std::function<void(ui::TComponent* sender, int index, int& height)>;
// Draws the text part of a row (owner-draw styles only); the font and the
// colours of the row are already selected into dc.
using TDrawItemEvent =
    std::function<void(ui::TComponent* sender, int index, HDC dc, const RECT& rect, UINT state)>;

class TCheckListBox : public ui::TWinControl {
    QUARNEL_COMPONENT(TCheckListBox, ui::TWinControl)
public:
    explicit TCheckListBox(ui::TComponent* owner);
    ~TCheckListBox() override;

    // The item texts; kept by the window while it exists, by the control
    // otherwise.
    int Count() const;
    std::string Item(int index) const;
    std::vector<std::string> Items() const;
    void SetItems(const std::vector<std::string>& items);
    int AddItem(const std::string& text);
    void DeleteItem(int index);
    void ClearItems();
    // The selected row, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // Indexes outside the list raise ui::EListError.
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
    TCheckBoxState State(int index) const;
    // Redraws the row's check box at once; raises no event.
    void SetState(int index, TCheckBoxState state);
    LONG_PTR ItemData(int index) const;
    void SetItemData(int index, LONG_PTR data);

    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle style);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool allow) { allowGrayed_ = allow; }

    // Size of one check-box image, the same for the whole process.
    static SIZE CheckSize();
    // Width of the strip at the left of every row that holds the check box.
    static int CheckAreaWidth();

    // Moves the item on to its next state as a user's click does, then
    // raises OnClickCheck; an index outside the list does nothing.
    void ToggleClickCheck(int index);
    // Draws one row (index -1: the empty list's focus row) into dc as the
    // list box asks its owner to.
    void DrawItem(HDC dc, int index, const RECT& rect, UINT state);

    ui::TNotifyEvent OnClickCheck;
    TMeasureItemEvent OnMeasureItem;
    TDrawItemEvent OnDrawItem;

    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void FillCreateParams(CreateParams& params) override;
    void CreateWnd() override;
    void HandleCreated() override;
    void HandleDestroying() override;
    void FontChanged() override;

private:
    // An item while there is no window: at load time, and between the
    // destruction of a window and the creation of the next one.
    struct StoredItem {
        std::string text;
        bool hasRecord = false;
        TCheckListBoxDataWrapper record;
    };

    // The item's record, or null when it has none; raises ui::EListError for
    // an index outside the list.
    const TCheckListBoxDataWrapper* Record(int index) const;
    // The item's record, made when it has none.
    TCheckListBoxDataWrapper* NeededRecord(int index);
    // The record a window row keeps in its data slot, or null.
    TCheckListBoxDataWrapper* WindowRecord(int index) const;
    void FreeRecord(int index);
    void FreeRecords();
    void InvalidateCheck(int index);
    void DrawCheck(HDC dc, const RECT& area, TCheckBoxState state) const;
    int RowAt(POINT point, RECT& rowRect) const;
    void ResetItemHeight();
    [[noreturn]] static void RaiseIndexError(int index);

    std::vector<StoredItem> stored_;
    TListBoxStyle style_ = TListBoxStyle::lbStandard;
    int itemHeight_ = 16;
    bool allowGrayed_ = false;
};

void RegisterCheckListBoxClass();

}  // namespace controls
