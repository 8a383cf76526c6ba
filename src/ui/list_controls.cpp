#include "ui/list_controls.h"

#include "ui/exceptions.h"

namespace ui {

// -------------------------------------------------------- TItemListControl

TItemListControl::TItemListControl(TComponent* owner) : TWinControl(owner) {
    SetProperty("TabStop", PropertyValue::Ident("true"));
    color_ = clWindow;
    parentColor_ = false;
}

int TItemListControl::Count() const {
    if (!HandleAllocated()) return static_cast<int>(items_.size());
    return static_cast<int>(::SendMessageA(Handle(), Kind().getCount, 0, 0));
}

std::string TItemListControl::Item(int index) const {
    if (!HandleAllocated()) {
        if (index < 0 || index >= static_cast<int>(items_.size()))
            throw EListError(Format("List index out of bounds (%d)", index));
        return items_[static_cast<size_t>(index)];
    }
    const LRESULT length = ::SendMessageA(Handle(), Kind().getTextLength, index, 0);
    if (length < 0) throw EListError(Format("List index out of bounds (%d)", index));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got =
        ::SendMessageA(Handle(), Kind().getText, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::vector<std::string> TItemListControl::Items() const {
    if (!HandleAllocated()) return items_;
    std::vector<std::string> items;
    const int count = Count();
    for (int i = 0; i < count; ++i) items.push_back(Item(i));
    return items;
}

void TItemListControl::SetItems(const std::vector<std::string>& items) {
    ClearItems();
    for (const std::string& item : items) AddItem(item);
}

int TItemListControl::AddItem(const std::string& text) {
    if (!HandleAllocated()) {
        items_.push_back(text);
        return static_cast<int>(items_.size()) - 1;
    }
    return static_cast<int>(
        ::SendMessageA(Handle(), Kind().addString, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void TItemListControl::ClearItems() {
    items_.clear();
    itemIndex_ = -1;
    if (HandleAllocated()) ::SendMessageA(Handle(), Kind().resetContent, 0, 0);
}

int TItemListControl::ItemIndex() const {
    if (!HandleAllocated()) return itemIndex_;
    return static_cast<int>(::SendMessageA(Handle(), Kind().getCurSel, 0, 0));
}

void TItemListControl::SetItemIndex(int index) {
    itemIndex_ = index;
    if (HandleAllocated()) ::SendMessageA(Handle(), Kind().setCurSel, index, 0);
}

void TItemListControl::SetItemHeight(int height) {
    if (height < 1 || height == itemHeight_) return;
    itemHeight_ = height;
    if (HandleAllocated()) ::SendMessageA(Handle(), Kind().setItemHeight, 0, height);
}

void TItemListControl::HandleCreated() {
    TWinControl::HandleCreated();
    ::SendMessageA(Handle(), Kind().setItemHeight, 0, itemHeight_);
    for (const std::string& item : items_)
        ::SendMessageA(Handle(), Kind().addString, 0, reinterpret_cast<LPARAM>(item.c_str()));
    items_.clear();
    if (itemIndex_ >= 0) ::SendMessageA(Handle(), Kind().setCurSel, itemIndex_, 0);
}

void TItemListControl::HandleDestroying() {
    std::vector<std::string> items = Items();
    itemIndex_ = ItemIndex();
    items_ = std::move(items);
}

bool TItemListControl::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "ItemHeight") {
        SetItemHeight(value.AsInt(name));
    } else if (name == "Items") {
        SetItems(value.AsTextList(name));
    } else if (name == "Sorted") {
        sorted_ = value.AsBool(name);
    } else if (name == "Style") {
        const std::string& s = value.AsIdent(name);
        if (s == "lbStandard" || s == "csDropDownList")
            ownerDraw_ = false;
        else if (s == "lbOwnerDrawFixed" || s == "csOwnerDrawFixed")
            ownerDraw_ = true;
        else
            throw EResourceError("Unsupported list style " + s);
    } else {
        return TWinControl::SetProperty(name, value);
    }
    return true;
}

void TItemListControl::DrawItem(int index, HDC dc, const RECT& rect, UINT state) {
    const bool selected = (state & ODS_SELECTED) != 0;
    ScopedBrush fill(::CreateSolidBrush(ColorToRGB(selected ? clHighlight : Color())));
    ::FillRect(dc, &rect, fill.Get());
    if (index < 0) return;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(selected ? clHighlightText : Font().Color()));
    RECT text = rect;
    text.left += 2;
    const std::string item = Item(index);
    ::DrawTextA(dc, item.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

bool TItemListControl::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    switch (message) {
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            item->itemHeight = static_cast<UINT>(itemHeight_);
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            SavedDCState state(item->hDC);
            SelectObjectScope font(item->hDC, Font().Handle());
            DrawItem(static_cast<int>(item->itemID), item->hDC, item->rcItem, item->itemState);
            if ((item->itemState & ODS_FOCUS) != 0 && static_cast<int>(item->itemID) >= 0)
                ::DrawFocusRect(item->hDC, &item->rcItem);
            result = TRUE;
            return true;
        }
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkColor(dc, ColorToRGB(Color()));
            ::SetTextColor(dc, ColorToRGB(Font().Color()));
            result = reinterpret_cast<LRESULT>(BackgroundBrush());
            return true;
        }
        default:
            return TWinControl::HandleReflected(message, wParam, lParam, result);
    }
}

// ---------------------------------------------------------------- TListBox

TListBox::TListBox(TComponent* owner) : TItemListControl(owner) {
    SetBounds(0, 0, 121, 97);
    itemHeight_ = 13;
}

const TItemListControl::Messages& TListBox::Kind() const {
    static const Messages kMessages{LB_GETCOUNT,     LB_GETTEXT,   LB_GETTEXTLEN, LB_ADDSTRING,
                                    LB_RESETCONTENT, LB_GETCURSEL, LB_SETCURSEL,  LB_SETITEMHEIGHT};
    return kMessages;
}

void TListBox::FillCreateParams(CreateParams& params) {
    TWinControl::FillCreateParams(params);
    params.className = "LISTBOX";
    params.exStyle |= WS_EX_CLIENTEDGE;
    params.style |= LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP;
    if (sorted_) params.style |= LBS_SORT;
    if (!integralHeight_) params.style |= LBS_NOINTEGRALHEIGHT;
    if (ownerDraw_) params.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

int TListBox::TopIndex() const {
    return HandleAllocated() ? static_cast<int>(::SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0)) : 0;
}

bool TListBox::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "IntegralHeight") {
        integralHeight_ = value.AsBool(name);
        return true;
    }
    return TItemListControl::SetProperty(name, value);
}

bool TListBox::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnDblClick") {
        OnDblClick = std::any_cast<TNotifyEvent>(handler);
        return true;
    }
    return TItemListControl::SetEvent(event, handler);
}

void TListBox::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

bool TListBox::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND) {
        if (HIWORD(wParam) == LBN_SELCHANGE)
            SelectionChanged();
        else if (HIWORD(wParam) == LBN_DBLCLK)
            DblClick();
        result = 0;
        return true;
    }
    return TItemListControl::HandleReflected(message, wParam, lParam, result);
}

// --------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* owner) : TItemListControl(owner) { SetBounds(0, 0, 145, 21); }

const TItemListControl::Messages& TComboBox::Kind() const {
    static const Messages kMessages{CB_GETCOUNT,  CB_GETLBTEXT,    CB_GETLBTEXTLEN,
                                    CB_ADDSTRING, CB_RESETCONTENT, CB_GETCURSEL,
                                    CB_SETCURSEL, CB_SETITEMHEIGHT};
    return kMessages;
}

int TComboBox::SelectionFieldHeight() const {
    // The platform adds a three-pixel edge above and below the field.
    const int field = Height() - 6;
    return field > 1 ? field : 1;
}

void TComboBox::FillCreateParams(CreateParams& params) {
    TWinControl::FillCreateParams(params);
    params.className = "COMBOBOX";
    params.style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    if (sorted_) params.style |= CBS_SORT;
    if (ownerDraw_) params.style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    params.height = Height() + dropDownCount_ * itemHeight_ + 2;
}

void TComboBox::HandleCreated() {
    TItemListControl::HandleCreated();
    ::SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), SelectionFieldHeight());
}

void TComboBox::BoundsChanged() {
    if (HandleAllocated())
        ::MoveWindow(Handle(), Left(), Top(), Width(), Height() + dropDownCount_ * itemHeight_ + 2,
                     TRUE);
}

bool TComboBox::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnChange") {
        OnChange = std::any_cast<TNotifyEvent>(handler);
        return true;
    }
    return TItemListControl::SetEvent(event, handler);
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

bool TComboBox::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_MEASUREITEM) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        item->itemHeight = static_cast<UINT>(
            item->itemID == static_cast<UINT>(-1) ? SelectionFieldHeight() : itemHeight_);
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND) {
        if (HIWORD(wParam) == CBN_SELCHANGE) Change();
        result = 0;
        return true;
    }
    return TItemListControl::HandleReflected(message, wParam, lParam, result);
}

}  // namespace ui
