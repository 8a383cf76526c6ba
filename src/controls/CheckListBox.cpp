// OBM_CHECKBOXES is only declared with OEMRESOURCE, which has to come before
// the first inclusion of windows.h.
#define OEMRESOURCE
#include "controls/CheckListBox.h"

#include <memory>

#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/handles.h"

namespace controls {
namespace {

TCheckBoxState StateFromRecord(const TCheckListBoxDataWrapper* record) {
    return record != nullptr ? record->state : cbUnchecked;
}

TListBoxStyle StyleFromIdent(const std::string& name) {
    if (name == "lbStandard") return TListBoxStyle::lbStandard;
    if (name == "lbOwnerDrawFixed") return TListBoxStyle::lbOwnerDrawFixed;
    if (name == "lbOwnerDrawVariable") return TListBoxStyle::lbOwnerDrawVariable;
    throw ui::EResourceError("Unknown list box style " + name);
}

}  // namespace

TCheckListBox::TCheckListBox(ui::TComponent* owner) : ui::TWinControl(owner) {
    SetBounds(0, 0, 121, 97);
    SetProperty("TabStop", ui::PropertyValue::Ident("true"));
    color_ = ui::clWindow;
    parentColor_ = false;
}

TCheckListBox::~TCheckListBox() {
    // The base destructor would destroy the window too, but by then this
    // class's window procedure no longer runs and the records would leak.
    DestroyHandle();
}

// ------------------------------------------------------------------ check size

SIZE TCheckListBox::CheckSize() {
    static const SIZE size = [] {
        // The platform's check-box picture sheet holds 4 columns by 3 rows of
        // images. Where it cannot be loaded, the 13-pixel box every version of
        // the platform draws is assumed; DrawFrameControl fits the box to
        // whatever rectangle it is given.
        ui::ScopedBitmap sheet(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECKBOXES)));
        BITMAP info{};
        if (sheet && ::GetObjectA(sheet.Get(), sizeof(info), &info) == sizeof(info) &&
            info.bmWidth >= 4 && info.bmHeight >= 3)
            return SIZE{info.bmWidth / 4, info.bmHeight / 3};
        return SIZE{13, 13};
    }();
    return size;
}

int TCheckListBox::CheckAreaWidth() { return CheckSize().cx + 2; }

// ----------------------------------------------------------------------- items

int TCheckListBox::Count() const {
    if (HandleAllocated()) return static_cast<int>(::SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
    return static_cast<int>(stored_.size());
}

std::string TCheckListBox::Item(int index) const {
    if (!HandleAllocated()) {
        if (index < 0 || index >= static_cast<int>(stored_.size())) RaiseIndexError(index);
        return stored_[static_cast<size_t>(index)].text;
    }
    const LRESULT length = ::SendMessageA(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) RaiseIndexError(index);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = ::SendMessageA(Handle(), LB_GETTEXT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

std::vector<std::string> TCheckListBox::Items() const {
    std::vector<std::string> items;
    const int count = Count();
    for (int i = 0; i < count; ++i) items.push_back(Item(i));
    return items;
}

void TCheckListBox::SetItems(const std::vector<std::string>& items) {
    ClearItems();
    for (const std::string& text : items) AddItem(text);
}

int TCheckListBox::AddItem(const std::string& text) {
    if (!HandleAllocated()) {
        stored_.push_back(StoredItem{text, false, {}});
        return static_cast<int>(stored_.size()) - 1;
    }
    const LRESULT index =
        ::SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE) throw ui::EListError("Cannot add a list item");
    return static_cast<int>(index);
}

void TCheckListBox::DeleteItem(int index) {
    if (!HandleAllocated()) {
        if (index < 0 || index >= static_cast<int>(stored_.size())) RaiseIndexError(index);
        stored_.erase(stored_.begin() + index);
        return;
    }
    // The record goes with the row (see WndProc).
    if (::SendMessageA(Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0) == LB_ERR)
        RaiseIndexError(index);
}

void TCheckListBox::ClearItems() {
    if (HandleAllocated())
        ::SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
    else
        stored_.clear();
}

int TCheckListBox::ItemIndex() const {
    if (!HandleAllocated()) return -1;
    const LRESULT index = ::SendMessageA(Handle(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void TCheckListBox::SetItemIndex(int index) {
    if (HandleAllocated()) ::SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// --------------------------------------------------------------------- records

void TCheckListBox::RaiseIndexError(int index) {
    throw ui::EListError(ui::Format("List index out of bounds (%d)", index));
}

TCheckListBoxDataWrapper* TCheckListBox::WindowRecord(int index) const {
    const LRESULT data = ::SendMessageA(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    // The platform answers an index outside the list with an error for the
    // data slot; a negative index may wrap to a valid one, so it is refused
    // here first.
    if (index < 0 || data == LB_ERR) RaiseIndexError(index);
    return reinterpret_cast<TCheckListBoxDataWrapper*>(data);
}

const TCheckListBoxDataWrapper* TCheckListBox::Record(int index) const {
    if (HandleAllocated()) return WindowRecord(index);
    if (index < 0 || index >= static_cast<int>(stored_.size())) RaiseIndexError(index);
    const StoredItem& item = stored_[static_cast<size_t>(index)];
    return item.hasRecord ? &item.record : nullptr;
}

TCheckListBoxDataWrapper* TCheckListBox::NeededRecord(int index) {
    if (!HandleAllocated()) {
        if (index < 0 || index >= static_cast<int>(stored_.size())) RaiseIndexError(index);
        StoredItem& item = stored_[static_cast<size_t>(index)];
        item.hasRecord = true;
        return &item.record;
    }
    TCheckListBoxDataWrapper* record = WindowRecord(index);
    if (record == nullptr) {
        auto fresh = std::make_unique<TCheckListBoxDataWrapper>();
        ::SendMessageA(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(fresh.get()));
        // From here on the row owns it; FreeRecord gives it back.
        record = fresh.release();
    }
    return record;
}

void TCheckListBox::FreeRecord(int index) {
    const LRESULT data = ::SendMessageA(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == LB_ERR || data == 0) return;
    ::SendMessageA(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
    delete reinterpret_cast<TCheckListBoxDataWrapper*>(data);
}

void TCheckListBox::FreeRecords() {
    const int count = static_cast<int>(::SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) FreeRecord(i);
}

bool TCheckListBox::Checked(int index) const {
    const TCheckListBoxDataWrapper* record = Record(index);
    return record != nullptr && record->state == cbChecked;
}

void TCheckListBox::SetChecked(int index, bool checked) {
    SetState(index, checked ? cbChecked : cbUnchecked);
}

TCheckBoxState TCheckListBox::State(int index) const { return StateFromRecord(Record(index)); }

void TCheckListBox::SetState(int index, TCheckBoxState state) {
    if (State(index) == state) return;
    NeededRecord(index)->state = state;
    InvalidateCheck(index);
}

LONG_PTR TCheckListBox::ItemData(int index) const {
    const TCheckListBoxDataWrapper* record = Record(index);
    return record != nullptr ? record->data : 0;
}

void TCheckListBox::SetItemData(int index, LONG_PTR data) { NeededRecord(index)->data = data; }

void TCheckListBox::InvalidateCheck(int index) {
    if (!HandleAllocated()) return;
    RECT r;
    if (::SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return;
    r.right = r.left + CheckAreaWidth();
    // The list box has no opaque painting of its own, so the strip is erased.
    ::InvalidateRect(Handle(), &r, TRUE);
    ::UpdateWindow(Handle());
}

// ------------------------------------------------------------------ properties

void TCheckListBox::SetStyle(TListBoxStyle style) {
    if (style == style_) return;
    style_ = style;
    RecreateWnd();
}

void TCheckListBox::SetItemHeight(int height) {
    if (height == itemHeight_ || height <= 0) return;
    itemHeight_ = height;
    // Variable rows are measured as they are added, so the window is made
    // again for every style alike; the check states come along.
    RecreateWnd();
}

void TCheckListBox::ResetItemHeight() {
    if (style_ == TListBoxStyle::lbStandard) itemHeight_ = ui::MeasureText(Font(), "Wg").cy;
}

bool TCheckListBox::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    if (name == "Items" || name == "Items.Strings") {
        SetItems(value.AsTextList(name));
    } else if (name == "Style") {
        SetStyle(StyleFromIdent(value.AsIdent(name)));
    } else if (name == "ItemHeight") {
        SetItemHeight(value.AsInt(name));
    } else if (name == "AllowGrayed") {
        SetAllowGrayed(value.AsBool(name));
    } else {
        return ui::TWinControl::SetProperty(name, value);
    }
    return true;
}

bool TCheckListBox::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnClickCheck") {
        OnClickCheck = std::any_cast<ui::TNotifyEvent>(handler);
    } else if (event == "OnMeasureItem") {
        OnMeasureItem = std::any_cast<TMeasureItemEvent>(handler);
    } else if (event == "OnDrawItem") {
        OnDrawItem = std::any_cast<TDrawItemEvent>(handler);
    } else {
        return ui::TWinControl::SetEvent(event, handler);
    }
    return true;
}

// ---------------------------------------------------------------------- window

void TCheckListBox::FillCreateParams(CreateParams& params) {
    ui::TWinControl::FillCreateParams(params);
    params.className = "LISTBOX";
    params.exStyle |= WS_EX_CLIENTEDGE;
    params.style |= LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP;
    // The check boxes are drawn by this control, so a standard list is
    // owner-drawn all the same.
    params.style |=
        style_ == TListBoxStyle::lbOwnerDrawVariable ? LBS_OWNERDRAWVARIABLE : LBS_OWNERDRAWFIXED;
}

void TCheckListBox::CreateWnd() {
    // A fixed list asks for its row height while it is being created.
    ResetItemHeight();
    ui::TWinControl::CreateWnd();
}

void TCheckListBox::HandleCreated() {
    ui::TWinControl::HandleCreated();
    std::vector<StoredItem> items;
    items.swap(stored_);
    for (const StoredItem& item : items) {
        const int index = AddItem(item.text);
        if (item.hasRecord) *NeededRecord(index) = item.record;
    }
}

void TCheckListBox::HandleDestroying() {
    stored_.clear();
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        StoredItem item;
        item.text = Item(i);
        if (const TCheckListBoxDataWrapper* record = WindowRecord(i)) {
            item.hasRecord = true;
            item.record = *record;
        }
        stored_.push_back(std::move(item));
    }
}

void TCheckListBox::FontChanged() {
    ui::TWinControl::FontChanged();
    if (style_ != TListBoxStyle::lbStandard) return;
    ResetItemHeight();
    if (HandleAllocated()) {
        ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
        Invalidate();
    }
}

int TCheckListBox::RowAt(POINT point, RECT& rowRect) const {
    const LRESULT hit = ::SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit) != 0) return -1;  // outside every row, e.g. below the last one
    const int index = LOWORD(hit);
    if (index >= Count()) return -1;
    if (::SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&rowRect)) == LB_ERR ||
        !::PtInRect(&rowRect, point))
        return -1;
    return index;
}

LRESULT TCheckListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        // The second press of a double click is a press like any other.
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            // The list box selects the row first; then the check is toggled.
            const LRESULT result = ui::TWinControl::WndProc(message, wParam, lParam);
            if (HandleAllocated()) {
                const POINT p{static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
                RECT row;
                const int index = RowAt(p, row);
                if (index >= 0 && p.x - row.left < CheckAreaWidth()) ToggleClickCheck(index);
            }
            return result;
        }
        case WM_CHAR: {
            const LRESULT result = ui::TWinControl::WndProc(message, wParam, lParam);
            if (wParam == ' ' && HandleAllocated()) ToggleClickCheck(ItemIndex());
            return result;
        }
        case LB_DELETESTRING:
            FreeRecord(static_cast<int>(wParam));
            break;
        case LB_RESETCONTENT:
        case WM_DESTROY:
            FreeRecords();
            break;
        default:
            break;
    }
    return ui::TWinControl::WndProc(message, wParam, lParam);
}

bool TCheckListBox::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            DrawItem(item->hDC, static_cast<int>(item->itemID), item->rcItem, item->itemState);
            result = TRUE;
            return true;
        }
        case WM_MEASUREITEM: {
            // Sent while the window is being made, before Handle() is known.
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            int height = itemHeight_;
            if (style_ == TListBoxStyle::lbOwnerDrawVariable && OnMeasureItem)
                OnMeasureItem(this, static_cast<int>(item->itemID), height);
            item->itemHeight = static_cast<UINT>(height);
            result = TRUE;
            return true;
        }
        case WM_CTLCOLORLISTBOX: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkColor(dc, ui::ColorToRGB(Color()));
            ::SetTextColor(dc, ui::ColorToRGB(Font().Color()));
            result = reinterpret_cast<LRESULT>(BackgroundBrush());
            return true;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                Click();
                result = 0;
                return true;
            }
            break;
        default:
            break;
    }
    return ui::TWinControl::HandleReflected(message, wParam, lParam, result);
}

// --------------------------------------------------------------------- toggle

void TCheckListBox::ToggleClickCheck(int index) {
    if (index < 0 || index >= Count()) return;
    TCheckBoxState next = cbUnchecked;
    switch (State(index)) {
        case cbUnchecked:
            next = allowGrayed_ ? cbGrayed : cbChecked;
            break;
        case cbChecked:
            next = cbUnchecked;
            break;
        case cbGrayed:
            next = cbChecked;
            break;
    }
    SetState(index, next);
    if (OnClickCheck) OnClickCheck(this);
}

// -------------------------------------------------------------------- drawing

void TCheckListBox::DrawCheck(HDC dc, const RECT& area, TCheckBoxState state) const {
    const SIZE check = CheckSize();
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    RECT box;
    box.left = area.left + (areaWidth - check.cx) / 2;
    // Centred by the check's width, which is what the rows were laid out for.
    box.top = area.top + (areaHeight - check.cx) / 2;
    box.right = box.left + check.cx;
    box.bottom = box.top + check.cy;
    UINT flags = DFCS_BUTTONCHECK;
    if (state == cbChecked) flags |= DFCS_CHECKED;
    if (state == cbGrayed) flags = DFCS_BUTTON3STATE | DFCS_CHECKED;
    ::DrawFrameControl(dc, &box, DFC_BUTTON, flags);
}

void TCheckListBox::DrawItem(HDC dc, int index, const RECT& rect, UINT state) {
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool exists = index >= 0 && index < Count();
    const COLORREF normalBack = ui::ColorToRGB(Color());
    const COLORREF back = selected && exists ? ui::ColorToRGB(ui::clHighlight) : normalBack;
    const COLORREF fore =
        selected && exists ? ui::ColorToRGB(ui::clHighlightText) : ui::ColorToRGB(Font().Color());

    // The text part starts after the check area on every row, the empty
    // list's focus row included.
    RECT text = rect;
    text.left += CheckAreaWidth();
    if (exists) {
        const RECT area{text.left - CheckAreaWidth(), rect.top, text.left, rect.bottom};
        // The strip keeps the list's own colour on a selected row too.
        ui::ScopedBrush strip(::CreateSolidBrush(normalBack));
        ::FillRect(dc, &area, strip.Get());
        DrawCheck(dc, area, State(index));
    }

    ui::SelectObjectScope selectFont(dc, Font().Handle());
    ::SetTextColor(dc, fore);
    ::SetBkColor(dc, back);
    ::SetBkMode(dc, OPAQUE);
    if (exists && style_ != TListBoxStyle::lbStandard && OnDrawItem) {
        OnDrawItem(this, index, dc, text, state);
    } else {
        ui::ScopedBrush fill(::CreateSolidBrush(back));
        ::FillRect(dc, &text, fill.Get());
        if (exists) {
            const std::string caption = Item(index);
            ::ExtTextOutA(dc, text.left + 2, text.top, 0, nullptr, caption.c_str(),
                          static_cast<UINT>(caption.size()), nullptr);
        }
    }
    if ((state & ODS_FOCUS) != 0) ::DrawFocusRect(dc, &text);
}

void RegisterCheckListBoxClass() {
    ui::RegisterComponentClass("TCheckListBox",
                               [](ui::TComponent* owner) { return new TCheckListBox(owner); });
}

}  // namespace controls
