// Painting leaves no drawing object behind: a long copy repaints the gauge
// hundreds of times, and every activation change repaints the caption.
#include <gtest/gtest.h>
#include <winternl.h>

#include <memory>

#include "app/setupf.h"
#include "controls/Gauge.h"
#include "ui/application.h"
#include "ui/form.h"

namespace {

// The process's drawing objects in use. Windows counts them for
// GetGuiResources; Wine answers that with 0 and keeps them in the handle
// table the process environment block points to, 24 bytes an entry on either
// processor, where a used entry has a type.
unsigned GdiObjectCount() {
    constexpr DWORD kGdiObjects = 0;  // GR_GDIOBJECTS
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), kGdiObjects);
    if (counted != 0) return counted;
#ifdef _WIN64
    constexpr std::size_t kTableField = 0xF8;
#else
    constexpr std::size_t kTableField = 0x94;
#endif
    constexpr std::size_t kEntries = 0x10000;
    constexpr std::size_t kEntrySize = 24;
    constexpr std::size_t kTypeOffset = 14;
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (query == nullptr ||
        query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
        return 0;
    }
    const auto* environment = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const unsigned char* const*>(environment + kTableField);
    if (table == nullptr) return 0;
    unsigned used = 0;
    for (std::size_t i = 0; i < kEntries; ++i) {
        if (table[i * kEntrySize + kTypeOffset] != 0) ++used;
    }
    return used;
}

TEST(DrawingObjects, CountGoesUpWithAnObjectAndBackWithoutIt) {
    // The counter itself, or the tests below could not fail.
    const unsigned before = GdiObjectCount();
    ASSERT_GT(before, 0u);
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(GdiObjectCount(), before + 1);
    ::DeleteObject(brush);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(DrawingObjects, AThousandGaugeRepaintsLeaveNone) {
    ui::TForm form;
    form.CreateFromText(R"(F : TForm {
        ClientWidth: 457 ClientHeight: 262 Font.Name: "MS Sans Serif" Font.Height: -11
        G : TGauge {
          Left: 4 Top: 200 Width: 449 Height: 17 Color: clSilver ParentColor: false
          ForeColor: clNavy BackColor: clSilver Progress: 0
        }
      })");
    auto* gauge = form.Find<controls::TGauge>("G");
    form.Show();
    ::UpdateWindow(form.Handle());
    gauge->SetMaxValue(100);
    // Objects made once on first use (stock objects, font caches) are not leaks.
    for (int i = 1; i <= 100; ++i) gauge->SetProgress(i);
    gauge->SetProgress(0);

    const unsigned before = GdiObjectCount();
    const long paints = gauge->PaintCount();
    for (int i = 1; i <= 1000; ++i) gauge->SetProgress(i % 101);
    EXPECT_GE(gauge->PaintCount() - paints, 1000);
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(DrawingObjects, CaptionActivationCyclesLeaveNone) {
    auto window = std::make_unique<app::TForm1>();
    window->Create();
    window->Show();
    ui::TForm other;
    other.CreateFromText("O : TForm { Left: 300 Top: 300 ClientWidth: 50 ClientHeight: 20 }");
    const auto cycle = [&] {
        other.Show();
        ui::Application()->ProcessMessages();
        ::SetForegroundWindow(window->Handle());
        ::SetActiveWindow(window->Handle());
        ui::Application()->ProcessMessages();
        ::SendMessageA(window->Handle(), WM_NCACTIVATE, FALSE, 0);
        ::SendMessageA(window->Handle(), WM_NCACTIVATE, TRUE, 0);
    };
    cycle();

    const unsigned before = GdiObjectCount();
    for (int i = 0; i < 50; ++i) cycle();
    EXPECT_EQ(GdiObjectCount(), before);
    window.reset();
    ui::Application()->ProcessMessages();
}

}  // namespace
