// The check list box in a real window: loading from form data, toggling by
// mouse and keyboard, the grayed cycle, index errors, records across a
// re-creation of the window, row heights and the drawn check boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/CheckListBox.h"
#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/handles.h"

namespace {

using controls::cbChecked;
using controls::cbGrayed;
using controls::cbUnchecked;
using controls::TCheckBoxState;
using controls::TCheckListBox;
using controls::TListBoxStyle;

const char kDefaultList[] =
    "Items: [\"a\" \"b\" \"c\"] Style: lbOwnerDrawVariable ItemHeight: 16 OnClickCheck: Changed";

class CheckListBoxTest : public ::testing::Test {
protected:
    // The application object comes from the test entry.
    static void SetUpTestSuite() { controls::RegisterCheckListBoxClass(); }

    void SetUp() override {
        form_ = std::make_unique<ui::TForm>();
        form_->RegisterHandler("Changed", ui::TNotifyEvent([this](ui::TComponent* sender) {
                                   ++events_;
                                   senders_.push_back(sender);
                                   if (list_ != nullptr && watched_ >= 0)
                                       statesAtEvent_.push_back(list_->State(watched_));
                               }));
    }
    void TearDown() override { form_.reset(); }

    // Makes the form with one list box L whose form data body is `body`.
    void Load(const std::string& body = kDefaultList) {
        form_->CreateFromText(
            "F : TForm { ClientWidth: 300 ClientHeight: 200\n"
            "  L : TCheckListBox { Left: 4 Top: 4 Width: 200 Height: 97 " +
            body + " }\n}");
        list_ = form_->Find<TCheckListBox>("L");
    }

    RECT Row(int index) const {
        RECT r{};
        ::SendMessageA(list_->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void Press(UINT down, int x, int y) {
        const LPARAM at = MAKELPARAM(x, y);
        ::SendMessageA(list_->Handle(), down, down == WM_LBUTTONDOWN ? MK_LBUTTON : 0, at);
        const UINT up = down == WM_LBUTTONDOWN   ? WM_LBUTTONUP
                        : down == WM_RBUTTONDOWN ? WM_RBUTTONUP
                                                 : WM_MBUTTONUP;
        ::SendMessageA(list_->Handle(), up, 0, at);
    }
    // A left click in the middle of the row's check box, or of its text.
    void ClickCheck(int row, UINT button = WM_LBUTTONDOWN) {
        const RECT r = Row(row);
        Press(button, r.left + TCheckListBox::CheckAreaWidth() / 2, (r.top + r.bottom) / 2);
    }
    void ClickText(int row) {
        const RECT r = Row(row);
        Press(WM_LBUTTONDOWN, r.left + TCheckListBox::CheckAreaWidth() + 10,
              (r.top + r.bottom) / 2);
    }
    void Space() { ::SendMessageA(list_->Handle(), WM_CHAR, ' ', 0); }

    std::vector<TCheckBoxState> States() const {
        std::vector<TCheckBoxState> states;
        for (int i = 0; i < list_->Count(); ++i) states.push_back(list_->State(i));
        return states;
    }

    std::unique_ptr<ui::TForm> form_;
    TCheckListBox* list_ = nullptr;
    int events_ = 0;
    std::vector<ui::TComponent*> senders_;
    int watched_ = -1;
    std::vector<TCheckBoxState> statesAtEvent_;
};

// ----------------------------------------------------------------- the window

TEST_F(CheckListBoxTest, LoadsItemsIntoAnOwnerDrawnListAllUnchecked) {
    Load();
    ASSERT_TRUE(list_->HandleAllocated());
    EXPECT_EQ(list_->Items(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(::SendMessageA(list_->Handle(), LB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(list_->Checked(i));
        EXPECT_EQ(list_->State(i), cbUnchecked);
        EXPECT_EQ(list_->ItemData(i), 0);
        // Reading never makes a record: the data slot stays empty.
        EXPECT_EQ(::SendMessageA(list_->Handle(), LB_GETITEMDATA, static_cast<WPARAM>(i), 0), 0);
    }
    const LONG style = ::GetWindowLongA(list_->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & LBS_OWNERDRAWVARIABLE);
    EXPECT_FALSE(style & LBS_OWNERDRAWFIXED);
    EXPECT_TRUE(style & LBS_HASSTRINGS);
    EXPECT_TRUE(style & LBS_NOTIFY);
    EXPECT_TRUE(::GetWindowLongA(list_->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(::SendMessageA(list_->Handle(), LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0), 16);
}

TEST_F(CheckListBoxTest, ScrollBarAppearsWhenRowsOverflow) {
    Load(
        "Items: [\"1\" \"2\" \"3\" \"4\" \"5\" \"6\" \"7\" \"8\"] "
        "Style: lbOwnerDrawFixed ItemHeight: 16");
    EXPECT_TRUE(::GetWindowLongA(list_->Handle(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(CheckListBoxTest, StandardStyleIsOwnerDrawnFixedWithRowsOfTheFontsTextHeight) {
    Load("Items: [\"a\" \"b\"] ItemHeight: 40");
    const LONG style = ::GetWindowLongA(list_->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & LBS_OWNERDRAWFIXED);
    const int textHeight = ui::MeasureText(list_->Font(), "Wg").cy;
    EXPECT_EQ(list_->ItemHeight(), textHeight);
    EXPECT_EQ(::SendMessageA(list_->Handle(), LB_GETITEMHEIGHT, 0, 0), textHeight);

    list_->Font().SetHeight(-30);
    const int largerHeight = ui::MeasureText(list_->Font(), "Wg").cy;
    ASSERT_GT(largerHeight, textHeight);
    EXPECT_EQ(list_->ItemHeight(), largerHeight);
    EXPECT_EQ(::SendMessageA(list_->Handle(), LB_GETITEMHEIGHT, 0, 0), largerHeight);
}

TEST_F(CheckListBoxTest, OwnerDrawFixedStyleKeepsItsStoredRowHeight) {
    Load("Items: [\"a\"] Style: lbOwnerDrawFixed ItemHeight: 23");
    EXPECT_TRUE(::GetWindowLongA(list_->Handle(), GWL_STYLE) & LBS_OWNERDRAWFIXED);
    EXPECT_EQ(::SendMessageA(list_->Handle(), LB_GETITEMHEIGHT, 0, 0), 23);
    list_->Font().SetHeight(-30);
    EXPECT_EQ(list_->ItemHeight(), 23);
}

TEST_F(CheckListBoxTest, MeasureEventSetsEachVariableRowsHeight) {
    form_->RegisterEventHandler(
        "Measure", std::any(controls::TMeasureItemEvent(
                       [](ui::TComponent*, int index, int& height) { height += 4 * index; })));
    Load(
        "Items: [\"a\" \"b\" \"c\"] Style: lbOwnerDrawVariable ItemHeight: 16 "
        "OnMeasureItem: Measure");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(::SendMessageA(list_->Handle(), LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0),
                  16 + 4 * i);
}

// ------------------------------------------------------------------ the mouse

TEST_F(CheckListBoxTest, ClickOnTheCheckBoxTogglesAndReportsEachChange) {
    Load();
    ClickCheck(1);
    EXPECT_TRUE(list_->Checked(1));
    EXPECT_EQ(events_, 1);
    ASSERT_EQ(senders_.size(), 1u);
    EXPECT_EQ(senders_[0], list_);
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbUnchecked, cbChecked, cbUnchecked}));

    ClickCheck(1);
    EXPECT_FALSE(list_->Checked(1));
    EXPECT_EQ(events_, 2);
}

TEST_F(CheckListBoxTest, EventSeesTheNewState) {
    Load();
    watched_ = 2;
    ClickCheck(2);
    ClickCheck(2);
    EXPECT_EQ(statesAtEvent_, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked}));
}

TEST_F(CheckListBoxTest, ClickOnTheTextSelectsOnlyThenSpaceToggles) {
    Load();
    ClickText(2);
    EXPECT_EQ(list_->ItemIndex(), 2);
    EXPECT_FALSE(list_->Checked(2));
    EXPECT_EQ(events_, 0);

    Space();
    EXPECT_TRUE(list_->Checked(2));
    EXPECT_EQ(events_, 1);
    Space();
    EXPECT_FALSE(list_->Checked(2));
    EXPECT_EQ(events_, 2);
}

TEST_F(CheckListBoxTest, CheckAreaEndsAtCheckWidthPlusTwo) {
    Load();
    const RECT r = Row(0);
    const int y = (r.top + r.bottom) / 2;
    Press(WM_LBUTTONDOWN, r.left + TCheckListBox::CheckAreaWidth(), y);
    EXPECT_EQ(events_, 0);
    EXPECT_FALSE(list_->Checked(0));
    Press(WM_LBUTTONDOWN, r.left + TCheckListBox::CheckAreaWidth() - 1, y);
    EXPECT_EQ(events_, 1);
    EXPECT_TRUE(list_->Checked(0));
    Press(WM_LBUTTONDOWN, r.left, y);
    EXPECT_FALSE(list_->Checked(0));
}

TEST_F(CheckListBoxTest, RightAndMiddlePressesToggleToo) {
    Load();
    ClickCheck(0, WM_RBUTTONDOWN);
    EXPECT_TRUE(list_->Checked(0));
    ClickCheck(1, WM_MBUTTONDOWN);
    EXPECT_TRUE(list_->Checked(1));
    EXPECT_EQ(events_, 2);
    // A right press selects nothing; only the state moved.
    EXPECT_EQ(list_->ItemIndex(), -1);
}

TEST_F(CheckListBoxTest, PressBelowTheLastRowTogglesNothing) {
    Load();
    const RECT last = Row(2);
    RECT client;
    ::GetClientRect(list_->Handle(), &client);
    ASSERT_LT(last.bottom + 4, client.bottom);
    for (UINT button : {WM_LBUTTONDOWN, WM_RBUTTONDOWN})
        Press(button, last.left + 3, last.bottom + 4);
    EXPECT_EQ(events_, 0);
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbUnchecked, cbUnchecked, cbUnchecked}));
}

TEST_F(CheckListBoxTest, SpaceWithoutSelectionAndOtherKeysDoNothing) {
    Load();
    Space();
    EXPECT_EQ(events_, 0);
    list_->SetItemIndex(0);
    ::SendMessageA(list_->Handle(), WM_CHAR, 'x', 0);
    ::SendMessageA(list_->Handle(), WM_CHAR, '\r', 0);
    EXPECT_EQ(events_, 0);
    EXPECT_FALSE(list_->Checked(0));
}

TEST_F(CheckListBoxTest, EmptyListIgnoresPressesAndSpace) {
    Load("Style: lbOwnerDrawVariable ItemHeight: 16 OnClickCheck: Changed");
    EXPECT_EQ(list_->Count(), 0);
    Press(WM_LBUTTONDOWN, 3, 3);
    Space();
    EXPECT_EQ(events_, 0);
}

// ------------------------------------------------------------ the state cycle

TEST_F(CheckListBoxTest, GrayedIsInTheCycleOnlyWhenAllowed) {
    Load(std::string(kDefaultList) + " AllowGrayed: true");
    watched_ = 0;
    for (int i = 0; i < 4; ++i) ClickCheck(0);
    EXPECT_EQ(statesAtEvent_,
              (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked, cbGrayed}));
    // Grayed reads as not checked.
    EXPECT_FALSE(list_->Checked(0));

    list_->SetAllowGrayed(false);
    statesAtEvent_.clear();
    for (int i = 0; i < 3; ++i) ClickCheck(0);
    EXPECT_EQ(statesAtEvent_, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbChecked}));
}

TEST_F(CheckListBoxTest, UserNeverReachesGrayedByDefault) {
    Load();
    watched_ = 1;
    for (int i = 0; i < 4; ++i) {
        ClickCheck(1);
        Space();
    }
    for (TCheckBoxState s : statesAtEvent_) EXPECT_NE(s, cbGrayed);
    EXPECT_EQ(statesAtEvent_.size(), 8u);
}

TEST_F(CheckListBoxTest, StateSetFromCodeRaisesNoEvent) {
    Load();
    list_->SetState(0, cbGrayed);
    list_->SetChecked(1, true);
    list_->SetState(1, cbChecked);  // unchanged
    EXPECT_EQ(events_, 0);
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_FALSE(list_->Checked(0));
    EXPECT_TRUE(list_->Checked(1));
}

TEST_F(CheckListBoxTest, ItemDataAndStateShareOneRecordButNotValues) {
    Load();
    list_->SetItemData(1, 0x5A5A);
    EXPECT_EQ(list_->State(1), cbUnchecked);
    list_->SetState(1, cbChecked);
    EXPECT_EQ(list_->ItemData(1), 0x5A5A);
    EXPECT_EQ(list_->ItemData(0), 0);
    EXPECT_NE(::SendMessageA(list_->Handle(), LB_GETITEMDATA, 1, 0), 0);
}

// -------------------------------------------------------------- index errors

void ExpectIndexError(const std::function<void()>& action, int index) {
    try {
        action();
        ADD_FAILURE() << "no error for index " << index;
    } catch (const ui::EListError& error) {
        EXPECT_EQ(error.Message(), ui::Format("List index out of bounds (%d)", index));
    }
}

TEST_F(CheckListBoxTest, IndexesOutsideTheListRaiseListErrors) {
    Load();
    ExpectIndexError([&] { list_->Checked(3); }, 3);
    ExpectIndexError([&] { list_->State(-1); }, -1);
    ExpectIndexError([&] { list_->SetState(7, cbChecked); }, 7);
    ExpectIndexError([&] { list_->ItemData(3); }, 3);
    ExpectIndexError([&] { list_->SetItemData(-2, 1); }, -2);
    ExpectIndexError([&] { list_->DeleteItem(3); }, 3);
    // The toggle itself only ignores such indexes.
    list_->ToggleClickCheck(3);
    list_->ToggleClickCheck(-1);
    EXPECT_EQ(events_, 0);
    EXPECT_EQ(list_->Count(), 3);
}

// ------------------------------------------------------------------- records

TEST_F(CheckListBoxTest, DeletingARowTakesItsStateAlong) {
    Load();
    list_->SetState(0, cbChecked);
    list_->SetState(2, cbGrayed);
    list_->DeleteItem(0);
    EXPECT_EQ(list_->Items(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbUnchecked, cbGrayed}));

    list_->ClearItems();
    EXPECT_EQ(list_->Count(), 0);
    list_->AddItem("d");
    EXPECT_EQ(list_->State(0), cbUnchecked);
    EXPECT_EQ(list_->ItemData(0), 0);
}

TEST_F(CheckListBoxTest, StatesAndDataSurviveRecreatingTheWindow) {
    Load();
    list_->SetState(0, cbChecked);
    list_->SetState(2, cbGrayed);
    list_->SetItemData(1, 77);
    const HWND before = list_->Handle();
    list_->RecreateWnd();
    ASSERT_TRUE(list_->HandleAllocated());
    EXPECT_FALSE(::IsWindow(before));
    EXPECT_EQ(list_->Items(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbGrayed}));
    EXPECT_EQ(list_->ItemData(1), 77);
    EXPECT_EQ(list_->ItemData(0), 0);

    // What was given back is not given again at the next re-creation.
    list_->SetState(0, cbUnchecked);
    list_->DeleteItem(2);
    list_->RecreateWnd();
    EXPECT_EQ(States(), (std::vector<TCheckBoxState>{cbUnchecked, cbUnchecked}));

    // The re-made window still toggles and reports.
    ClickCheck(1);
    EXPECT_TRUE(list_->Checked(1));
    EXPECT_EQ(events_, 1);
}

TEST_F(CheckListBoxTest, ChangingStyleOrRowHeightRemakesTheWindowWithItsStates) {
    Load();
    list_->SetState(1, cbChecked);
    list_->SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    EXPECT_TRUE(::GetWindowLongA(list_->Handle(), GWL_STYLE) & LBS_OWNERDRAWFIXED);
    EXPECT_TRUE(list_->Checked(1));

    list_->SetItemHeight(25);
    EXPECT_EQ(::SendMessageA(list_->Handle(), LB_GETITEMHEIGHT, 0, 0), 25);
    EXPECT_TRUE(list_->Checked(1));
    EXPECT_EQ(list_->Count(), 3);
}

TEST_F(CheckListBoxTest, StatesSetBeforeTheWindowExistsAreGivenToIt) {
    Load("Items: [\"x\"]");
    auto* late = new TCheckListBox(form_.get());  // owned and freed by the form
    late->SetItems({"p", "q", "r"});
    late->SetState(2, cbChecked);
    late->SetItemData(0, 5);
    ExpectIndexError([&] { late->State(3); }, 3);
    EXPECT_FALSE(late->HandleAllocated());

    late->SetBounds(210, 4, 80, 80);
    late->SetParent(form_.get());
    ASSERT_TRUE(late->HandleAllocated());
    EXPECT_EQ(::SendMessageA(late->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_TRUE(late->Checked(2));
    EXPECT_FALSE(late->Checked(0));
    EXPECT_EQ(late->ItemData(0), 5);
}

// ------------------------------------------------------------------- drawing

// Colours of the rectangle r of a device context, row by row.
std::vector<COLORREF> Pixels(HDC dc, const RECT& r) {
    std::vector<COLORREF> out;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) out.push_back(::GetPixel(dc, x, y));
    return out;
}

// A row drawn by the control into a bitmap of its own.
class RowPicture {
public:
    RowPicture(TCheckListBox* list, int index, int width, int height, UINT state)
        : screen_(nullptr),
          memory_(screen_.Get()),
          bitmap_(::CreateCompatibleBitmap(screen_.Get(), width, height)),
          select_(memory_.Get(), bitmap_.Get()),
          width_(width),
          height_(height) {
        list->DrawItem(memory_.Get(), index, RECT{0, 0, width, height}, state);
    }
    HDC Dc() const { return memory_.Get(); }
    std::vector<COLORREF> CheckArea() const {
        return Pixels(Dc(), RECT{0, 0, TCheckListBox::CheckAreaWidth(), height_});
    }
    std::vector<COLORREF> TextPart() const {
        return Pixels(Dc(), RECT{TCheckListBox::CheckAreaWidth(), 0, width_, height_});
    }

private:
    ui::ScopedGetDC screen_;
    ui::MemoryDC memory_;
    ui::ScopedBitmap bitmap_;
    ui::SelectObjectScope select_;
    int width_, height_;
};

TEST_F(CheckListBoxTest, EachStateDrawsItsOwnCheckAndLeavesTheTextAlone) {
    Load();
    list_->SetState(1, cbChecked);
    list_->SetState(2, cbGrayed);
    const RowPicture unchecked(list_, 0, 80, 16, 0);
    const RowPicture checked(list_, 1, 80, 16, 0);
    const RowPicture grayed(list_, 2, 80, 16, 0);
    EXPECT_NE(unchecked.CheckArea(), checked.CheckArea());
    EXPECT_NE(unchecked.CheckArea(), grayed.CheckArea());
    EXPECT_NE(checked.CheckArea(), grayed.CheckArea());

    // Rows 0 and 1 differ in text and state; give row 0 row 1's text.
    list_->SetState(0, cbChecked);
    const RowPicture checkedToo(list_, 0, 80, 16, 0);
    EXPECT_EQ(checkedToo.CheckArea(), checked.CheckArea());
}

TEST_F(CheckListBoxTest, CheckBoxIsCentredInItsAreaByItsWidth) {
    Load();
    const COLORREF teal = RGB(0, 128, 128);
    list_->SetColor(teal);
    const SIZE check = TCheckListBox::CheckSize();
    ASSERT_GT(check.cx, 0);
    ASSERT_GT(check.cy, 0);
    for (int rowHeight : {16, 31, 40}) {
        const RowPicture row(list_, 0, 80, rowHeight, 0);
        // The drawn box: everything in the strip that is not the list's colour.
        int left = 1000, top = 1000, right = -1, bottom = -1;
        for (int y = 0; y < rowHeight; ++y)
            for (int x = 0; x < TCheckListBox::CheckAreaWidth(); ++x)
                if (::GetPixel(row.Dc(), x, y) != teal) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                    right = std::max(right, x + 1);
                    bottom = std::max(bottom, y + 1);
                }
        SCOPED_TRACE(rowHeight);
        EXPECT_EQ(left, (TCheckListBox::CheckAreaWidth() - check.cx) / 2);
        EXPECT_EQ(top, (rowHeight - check.cx) / 2);
        // The platform may draw its box a pixel smaller than the sheet's cell.
        EXPECT_LE(right - left, check.cx);
        EXPECT_GE(right - left, check.cx - 1);
        EXPECT_LE(bottom - top, check.cy);
        EXPECT_GE(bottom - top, check.cy - 1);
    }
}

TEST_F(CheckListBoxTest, SelectedRowFillsItsTextPartWithTheHighlight) {
    Load();
    const RowPicture plain(list_, 0, 80, 16, 0);
    const RowPicture selected(list_, 0, 80, 16, ODS_SELECTED);
    const int area = TCheckListBox::CheckAreaWidth();
    EXPECT_EQ(::GetPixel(selected.Dc(), 79, 8), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(::GetPixel(selected.Dc(), area, 0), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(::GetPixel(plain.Dc(), 79, 8), ::GetSysColor(COLOR_WINDOW));
    // The text is written 2 pixels into the text part: the first column stays clear.
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(::GetPixel(plain.Dc(), area, y), ::GetSysColor(COLOR_WINDOW)) << y;
    bool textSeen = false;
    for (int y = 0; y < 16 && !textSeen; ++y)
        for (int x = area + 2; x < area + 12; ++x)
            if (::GetPixel(plain.Dc(), x, y) != ::GetSysColor(COLOR_WINDOW)) textSeen = true;
    EXPECT_TRUE(textSeen);
    // The check strip keeps the list's colour.
    EXPECT_EQ(plain.CheckArea(), selected.CheckArea());
}

TEST_F(CheckListBoxTest, FocusedRowGetsADottedFrameAroundItsTextPart) {
    Load();
    const RowPicture plain(list_, 1, 80, 16, 0);
    const RowPicture focused(list_, 1, 80, 16, ODS_FOCUS);
    EXPECT_EQ(plain.CheckArea(), focused.CheckArea());
    EXPECT_NE(plain.TextPart(), focused.TextPart());
    // The text is too short to reach the right edge; only the frame does.
    const RECT rightEdge{79, 0, 80, 16};
    const std::vector<COLORREF> blank(16, ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Pixels(plain.Dc(), rightEdge), blank);
    EXPECT_NE(Pixels(focused.Dc(), rightEdge), blank);

    // An empty list's focus row is framed where a row's text would stand.
    const RowPicture emptyPlain(list_, -1, 80, 16, 0);
    const RowPicture emptyFocused(list_, -1, 80, 16, ODS_FOCUS);
    EXPECT_EQ(emptyPlain.CheckArea(), emptyFocused.CheckArea());
    EXPECT_NE(emptyPlain.TextPart(), emptyFocused.TextPart());
}

TEST_F(CheckListBoxTest, SettingAStateRepaintsTheCheckOnScreenAtOnce) {
    Load();
    form_->Show();
    ::UpdateWindow(list_->Handle());
    const RECT r0 = Row(0), r1 = Row(1);
    const int area = TCheckListBox::CheckAreaWidth();
    const RECT check0{r0.left, r0.top, r0.left + area, r0.bottom};
    const RECT check1{r1.left, r1.top, r1.left + area, r1.bottom};
    std::vector<COLORREF> before0, before1;
    {
        ui::ScopedGetDC dc(list_->Handle());
        before0 = Pixels(dc.Get(), check0);
        before1 = Pixels(dc.Get(), check1);
    }
    // Both unchecked: the same picture, and not an empty one.
    EXPECT_EQ(before0, before1);
    ASSERT_FALSE(before0.empty());
    EXPECT_NE(std::count(before0.begin(), before0.end(), before0[0]),
              static_cast<long>(before0.size()));

    list_->SetState(1, cbChecked);  // no message loop runs after this
    ui::ScopedGetDC dc(list_->Handle());
    EXPECT_EQ(Pixels(dc.Get(), check0), before0);
    EXPECT_NE(Pixels(dc.Get(), check1), before1);
}

}  // namespace
