#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/form_data.h"
#include "ui/handles.h"
#include "ui/std_controls.h"

namespace {

// Records every dialog and answers with a fixed result.
struct RecordingResponder {
    std::vector<ui::DialogRequest> seen;
    int answer = ui::mrOk;
    void Install() {
        ui::SetDialogResponder([this](const ui::DialogRequest& r) {
            seen.push_back(r);
            return answer;
        });
    }
    ~RecordingResponder() { ui::SetDialogResponder(nullptr); }
};

// Takes a pending quit request out of the queue so that later tests start clean.
void DrainQuit() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    ui::Application()->ResetTerminated();
}

}  // namespace

TEST(ErrorBox, FullStopAddedOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(ui::ErrorBoxText("Cannot open file C:\\a\\b"), "Cannot open file C:\\a\\b.");
    // A closing quote is below the full stop: no full stop after it.
    EXPECT_EQ(ui::ErrorBoxText("Invalid data type for 'Path'"), "Invalid data type for 'Path'");
    EXPECT_EQ(ui::ErrorBoxText("Stream read error."), "Stream read error.");
    EXPECT_EQ(ui::ErrorBoxText("Done!"), "Done!");   // '!' is below '.'
    EXPECT_EQ(ui::ErrorBoxText("50%-"), "50%-");     // '-' is below '.'
    EXPECT_EQ(ui::ErrorBoxText("path/"), "path/.");  // '/' is above '.'
    EXPECT_EQ(ui::ErrorBoxText(""), "");
}

TEST(ErrorBox, ShowsMessageUnderTheApplicationTitle) {
    RecordingResponder responder;
    responder.Install();
    ui::Application()->HandleException(ui::Exception("Cannot open file C:\\pelkin"));
    ui::Application()->HandleException(ui::EAbort());  // the silent kind shows nothing
    ASSERT_EQ(responder.seen.size(), 1u);
    EXPECT_TRUE(responder.seen[0].standardErrorBox);
    EXPECT_EQ(responder.seen[0].caption, "Quarnel Setup");
    EXPECT_EQ(responder.seen[0].text, "Cannot open file C:\\pelkin.");
}

TEST(MessageDialogs, CaptionsByKind) {
    RecordingResponder responder;
    responder.answer = ui::mrYes;
    responder.Install();
    EXPECT_EQ(ui::MessageDlg("q", ui::TMsgDlgType::mtConfirmation, ui::TMsgDlgButtons::mbYesNo),
              ui::mrYes);
    ui::MessageDlg("w", ui::TMsgDlgType::mtWarning, ui::TMsgDlgButtons::mbOK);
    ui::MessageDlg("e", ui::TMsgDlgType::mtError, ui::TMsgDlgButtons::mbOK);
    ui::MessageDlg("i", ui::TMsgDlgType::mtInformation, ui::TMsgDlgButtons::mbOK);
    ASSERT_EQ(responder.seen.size(), 4u);
    EXPECT_EQ(responder.seen[0].caption, "Confirm");
    EXPECT_EQ(responder.seen[1].caption, "Warning");
    EXPECT_EQ(responder.seen[2].caption, "Error");
    EXPECT_EQ(responder.seen[3].caption, "Information");
}

TEST(MessageDialogs, AfterATerminateRequestEveryDialogAnswersCancelUnasked) {
    RecordingResponder responder;
    responder.answer = ui::mrYes;
    responder.Install();
    ui::Application()->Terminate();
    EXPECT_EQ(ui::MessageDlg("Ok to reboot ?", ui::TMsgDlgType::mtInformation,
                             ui::TMsgDlgButtons::mbYesNo),
              ui::mrCancel);
    EXPECT_TRUE(ui::Application()->Terminated());
    EXPECT_EQ(ui::MessageDlg("again", ui::TMsgDlgType::mtError, ui::TMsgDlgButtons::mbOK),
              ui::mrCancel);
    EXPECT_TRUE(responder.seen.empty());
    DrainQuit();
}

TEST(FormData, ParsesNestedComponentsAndValueKinds) {
    const ui::FormNode root = ui::ParseFormData(R"(
        # comment
        F : TForm {
          Caption: "Quote \" and back\\slash"
          Left: -5
          Colour: 0x02CACACA
          Icons: [biSystemMenu biHelp]
          Lines: ["a" "" "c"]
          Image: @TILE
          OnCreate: FormCreate
          Inner : TLabel { Caption: "x" }
        })");
    EXPECT_EQ(root.name, "F");
    EXPECT_EQ(root.className, "TForm");
    ASSERT_EQ(root.properties.size(), 7u);
    EXPECT_EQ(root.properties[0].second.text, "Quote \" and back\\slash");
    EXPECT_EQ(root.properties[1].second.integer, -5);
    EXPECT_EQ(root.properties[2].second.integer, 0x02CACACA);
    EXPECT_EQ(root.properties[3].second.AsIdentSet("Icons"),
              (std::vector<std::string>{"biSystemMenu", "biHelp"}));
    EXPECT_EQ(root.properties[4].second.AsTextList("Lines"),
              (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(root.properties[5].second.kind, ui::PropertyValue::Kind::Resource);
    EXPECT_EQ(root.properties[6].second.AsIdent("OnCreate"), "FormCreate");
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0].className, "TLabel");
}

TEST(FormData, MalformedTextNamesTheLine) {
    try {
        ui::ParseFormData("F : TForm {\n  Caption: \"open\n}");
        FAIL() << "no error";
    } catch (const ui::EResourceError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ui::ParseFormData("F : TForm { Left: 1 "), ui::EResourceError);
    EXPECT_THROW(ui::ParseFormData("F : TForm { Left 1 }"), ui::EResourceError);
}

TEST(Forms, UnknownPropertyClassOrHandlerIsRefused) {
    auto* form = new ui::TForm();
    EXPECT_THROW(form->CreateFromText("F : TForm { Colour: 1 }"), ui::EResourceError);
    delete form;
    form = new ui::TForm();
    EXPECT_THROW(form->CreateFromText("F : TForm { X : TNoSuchThing { } }"), ui::EResourceError);
    delete form;
    form = new ui::TForm();
    EXPECT_THROW(form->CreateFromText("F : TForm { OnCreate: Missing }"), ui::EResourceError);
    delete form;
}

TEST(Forms, ModalResultOfAButtonEndsTheLoopAfterItsHandlerAndRunsTheCloseHandler) {
    auto* form = new ui::TForm();
    std::vector<std::string> order;
    form->RegisterHandler("Clicked", [&](ui::TComponent*) {
        order.push_back("click:" + std::to_string(form->ModalResult()));
    });
    form->RegisterEventHandler("Closing", ui::TCloseEvent([&](ui::TComponent*, ui::TCloseAction&) {
                                   order.push_back("close");
                               }));
    form->CreateFromText(R"(F : TForm {
        ClientWidth: 200 ClientHeight: 100 OnClose: Closing
        B : TBitBtn { Left: 4 Top: 4 Width: 105 Height: 33 Caption: "Exit" Kind: bkNo OnClick: Clicked }
      })");
    auto* button = form->Find<ui::TBitBtn>("B");
    EXPECT_TRUE(button->IsCancel());
    ::PostMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // Escape
    EXPECT_EQ(form->ShowModal(), ui::mrNo);
    EXPECT_EQ(order, (std::vector<std::string>{"click:7", "close"}));
    EXPECT_FALSE(::IsWindowVisible(form->Handle()));
    delete form;
}

TEST(Forms, QuitRequestEndsAModalLoopWithCancelWithoutTheCloseHandler) {
    auto* form = new ui::TForm();
    bool closed = false;
    form->RegisterEventHandler(
        "Closing", ui::TCloseEvent([&](ui::TComponent*, ui::TCloseAction&) { closed = true; }));
    form->CreateFromText("F : TForm { ClientWidth: 100 ClientHeight: 50 OnClose: Closing }");
    ui::Application()->Terminate();
    EXPECT_EQ(form->ShowModal(), ui::mrCancel);
    EXPECT_FALSE(closed);
    delete form;
    DrainQuit();
}

TEST(Forms, ClientSizeAndChildGeometryFollowTheFormData) {
    auto* form = new ui::TForm();
    form->CreateFromText(R"(F : TForm {
        Left: 162 Top: 285 BorderStyle: bsSingle BorderIcons: [biSystemMenu]
        ClientWidth: 457 ClientHeight: 262
        L : TLabel { Left: 4 Top: 184 Caption: "Progress" Font.Style: [fsBold] }
      })");
    RECT client;
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 457);
    EXPECT_EQ(client.bottom, 262);
    RECT window;
    ::GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(window.left, 162);
    EXPECT_EQ(window.top, 285);
    const LONG style = ::GetWindowLongA(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    // An auto-sized label takes the size of its text and grows with it.
    auto* label = form->Find<ui::TLabel>("L");
    EXPECT_EQ(label->Height(), 13);
    const int before = label->Width();
    label->SetCaption("Copying Wardex Executable");
    EXPECT_GT(label->Width(), before);
    delete form;
}

// The install's status line: a transparent label that shrinks to a shorter
// text and is repainted at once, with no message loop running. Nothing of
// the longer text may stay on the window beyond the shorter one.
TEST(Forms, ARepaintedLabelLeavesNothingOfItsLongerTextBehind) {
    ui::TForm form;
    form.CreateFromText(R"(F : TForm {
        ClientWidth: 457 ClientHeight: 262 Color: clSilver
        L : TLabel { Left: 4 Top: 184 Caption: "Progress" Transparent: true Font.Style: [fsBold] }
      })");
    auto* label = form.Find<ui::TLabel>("L");
    form.Show();
    ::UpdateWindow(form.Handle());

    label->SetCaption("Creating Trivel shortcut");
    label->Repaint();
    const RECT longer = label->BoundsRect();
    label->SetCaption("Copying VxD");
    label->Repaint();
    const int shorter = label->BoundsRect().right;
    ASSERT_LT(shorter, longer.right);

    ui::ScopedGetDC window(form.Handle());
    int leftOver = 0;
    for (int y = longer.top; y < longer.bottom; ++y)
        for (int x = shorter; x < longer.right; ++x)
            if (::GetPixel(window.Get(), x, y) != RGB(192, 192, 192)) ++leftOver;
    EXPECT_EQ(leftOver, 0);
}

std::vector<int> BoundsOf(const ui::TControl* control) {
    return {control->Left(), control->Top(), control->Width(), control->Height()};
}

TEST(Forms, ScalingFollowsTheScreenFontSizeAndKeepsInheritedFonts) {
    auto form = std::make_unique<ui::TForm>();
    // A screen of the designed size leaves the form as stored.
    form->CreateFromText(
        "F : TForm {\n ClientWidth: 406\n ClientHeight: 237\n Font.Height: -11\n"
        " PixelsPerInch: " +
        std::to_string(ui::TForm::ScreenPixelsPerInch()) +
        "\n L : TLabel { AutoSize: false Left: 8 Top: 4 Width: 100 Height: 13 }\n"
        " B : TLabel { AutoSize: false Left: 9 Top: 20 Width: 40 Height: 20 Font.Height: -16 }\n}");
    EXPECT_EQ(406, form->ClientWidth());
    auto* plain = form->Find<ui::TLabel>("L");
    auto* bold = form->Find<ui::TLabel>("B");
    EXPECT_EQ(100, plain->Width());

    // Large fonts: 120 pixels per inch for a form designed at 96.
    form->ScaleBy(120, 96);
    EXPECT_EQ(508, form->ClientWidth());  // rounded, not truncated
    EXPECT_EQ(296, form->ClientHeight());
    EXPECT_EQ(-14, form->Font().Height());
    EXPECT_EQ((std::vector<int>{10, 5, 125, 16}), BoundsOf(plain));
    EXPECT_EQ(-14, plain->Font().Height()) << "an inherited font follows the form's";
    EXPECT_EQ(-20, bold->Font().Height());
    EXPECT_EQ((std::vector<int>{11, 25, 50, 25}), BoundsOf(bold));
}

TEST(Forms, AFormStoredWithItsOuterSizeScalesTheClientAreaItWasLaidOutWith) {
    if (ui::TForm::ScreenPixelsPerInch() != 96) GTEST_SKIP() << "needs a 96 ppi screen";
    // Laid out on a large-fonts screen: a 500 x 300 client area in a frame of
    // 4-pixel borders and that screen's 24-pixel title bar.
    auto form = std::make_unique<ui::TForm>();
    form->CreateFromText(
        "F : TForm { Width: 508 Height: 332 PixelsPerInch: 120 Scaled: true\n"
        " L : TLabel { AutoSize: false Left: 10 Top: 20 Width: 100 Height: 15 }\n}");
    EXPECT_EQ(400, form->ClientWidth());
    EXPECT_EQ(240, form->ClientHeight());
    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(400, client.right);
    EXPECT_EQ(240, client.bottom);
    EXPECT_EQ((std::vector<int>{8, 16, 80, 12}), BoundsOf(form->Find<ui::TLabel>("L")));
}

TEST(Forms, ALabelsAcceleratorFocusesItsControlUnlessThatCannotTakeTheFocus) {
    auto form = std::make_unique<ui::TForm>();
    form->CreateFromText(
        "F : TForm { ClientWidth: 200 ClientHeight: 100\n"
        " L : TLabel { Caption: \"&Name:\" FocusControl: E }\n"
        " E : TEdit { Top: 20 Width: 100 Height: 21 TabOrder: 1 }\n"
        " G : TEdit { Top: 50 Width: 100 Height: 21 TabOrder: 0 }\n}");
    form->Show();
    auto* name = form->Find<ui::TEdit>("E");
    EXPECT_FALSE(form->DialogChar('x'));
    EXPECT_TRUE(form->DialogChar('n'));
    EXPECT_EQ(name->Handle(), ::GetFocus());
    name->SetVisible(false);
    EXPECT_FALSE(form->DialogChar('N')) << "a hidden control cannot take the focus";
    form->Hide();
    EXPECT_THROW(ui::TForm().CreateFromText("F : TForm { L : TLabel { FocusControl: Nothing } }"),
                 ui::EResourceError);
}

// A memo shows exactly its lines: no empty one after the last.
TEST(Memo, ShowsItsLinesAndNoEmptyOneAfterThem) {
    ui::TForm form;
    form.CreateFromText("F : TForm { M : TMemo { Lines: [\"a\" \"\" \"c\"] } }");
    form.Show();
    HWND memo = form.Find<ui::TMemo>("M")->Handle();
    EXPECT_EQ(::SendMessageA(memo, EM_GETLINECOUNT, 0, 0), 3);
    char text[16] = "";
    ::GetWindowTextA(memo, text, sizeof text);
    EXPECT_STREQ(text, "a\r\n\r\nc");
    form.Hide();
}
