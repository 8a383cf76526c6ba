#include "ui/drag.h"

#include <cstdlib>

#include "ui/control.h"
#include "ui/exceptions.h"

namespace ui {
namespace {

// The drag cursor: the arrow with a box below it. 'X' black, 'o' white,
// anything else lets the screen show through.
const char* const kDragCursorRows[] = {
    "X",
    "XX",
    "XoX",
    "XooX",
    "XoooX",
    "XooooX",
    "XoooooX",
    "XooooooX",
    "XoooooooX",
    "XooooooooX",
    "XoooooXXXXX",
    "XooXooX",
    "XoX XooX",
    "XX  XooX",
    "X    XooX",
    "     XooX   XXXXXXXXXXX",
    "      XX    XoooooooooX",
    "            XoooooooooX",
    "            XoooooooooX",
    "            XoooooooooX",
    "            XoooooooooX",
    "            XoooooooooX",
    "            XXXXXXXXXXX",
};

class OwnCursor {
public:
    OwnCursor() {
        constexpr int kSize = 32, kRowBytes = kSize / 8;
        unsigned char andPlane[kSize * kRowBytes], xorPlane[kSize * kRowBytes];
        for (int i = 0; i < kSize * kRowBytes; ++i) {
            andPlane[i] = 0xFF;  // transparent unless drawn
            xorPlane[i] = 0x00;
        }
        int y = 0;
        for (const char* row : kDragCursorRows) {
            for (int x = 0; row[x] != '\0' && x < kSize; ++x) {
                const unsigned char bit = static_cast<unsigned char>(0x80 >> (x % 8));
                const int at = y * kRowBytes + x / 8;
                if (row[x] == 'X' || row[x] == 'o')
                    andPlane[at] &= static_cast<unsigned char>(~bit);
                if (row[x] == 'o') xorPlane[at] |= bit;
            }
            ++y;
        }
        cursor_ =
            ::CreateCursor(::GetModuleHandleA(nullptr), 0, 0, kSize, kSize, andPlane, xorPlane);
    }
    ~OwnCursor() {
        if (cursor_ != nullptr) ::DestroyCursor(cursor_);
    }
    OwnCursor(const OwnCursor&) = delete;
    OwnCursor& operator=(const OwnCursor&) = delete;
    HCURSOR Get() const { return cursor_; }

private:
    HCURSOR cursor_ = nullptr;
};

struct Drag {
    TControl* source = nullptr;
    HWND capture = nullptr;  // the window that follows the mouse for the drag
    POINT start{};
    int threshold = 5;
    bool started = false;
    bool ending = false;  // the end events are being raised
    TControl* target = nullptr;
    POINT targetPoint{};  // in the target's client coordinates
    bool accepted = false;
    POINT last{};  // where the mouse was last followed to, on the screen
};

Drag g_drag;

// `screen` in the client coordinates of `control`.
POINT LocalPoint(const TControl* control, POINT screen) {
    POINT p = screen;
    if (auto* window = dynamic_cast<const TWinControl*>(control)) {
        if (window->HandleAllocated()) ::ScreenToClient(window->Handle(), &p);
        return p;
    }
    TWinControl* parent = control->Parent();
    if (parent != nullptr && parent->HandleAllocated()) ::ScreenToClient(parent->Handle(), &p);
    return POINT{p.x - control->Left(), p.y - control->Top()};
}

// Whether the window is one of the program's: the control property of
// another process's window holds an address that means nothing here. The
// program makes all its windows on this one thread.
bool IsOwnWindow(HWND window) {
    return ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

// The enabled control of the program under the screen point: a windowless
// control where one lies there, else the window. A window of another program
// (a second setup, say) is nobody's here, whatever it keeps in its property.
TControl* ControlAt(POINT screen) {
    HWND window = ::WindowFromPoint(screen);
    TWinControl* owner = nullptr;
    while (window != nullptr && IsOwnWindow(window) &&
           (owner = TWinControl::FromHandle(window)) == nullptr)
        window = ::GetParent(window);
    if (owner == nullptr) return nullptr;
    POINT client = screen;
    ::ScreenToClient(owner->Handle(), &client);
    TControl* hit = owner->ControlAtPos(client, false);
    if (hit != nullptr && dynamic_cast<TWinControl*>(hit) == nullptr) return hit;
    return owner;
}

void SetDragCursor() {
    if (g_drag.source == nullptr) return;
    ::SetCursor(CursorHandle(g_drag.accepted ? g_drag.source->DragCursor() : crNoDrop));
}

// Follows the mouse to `screen`: tells the control it leaves, enters or
// moves over, and shows whether that one would take a drop.
void MoveTo(POINT screen) {
    g_drag.last = screen;
    TControl* now = ControlAt(screen);
    if (now != g_drag.target) {
        if (TControl* old = g_drag.target) {
            g_drag.target = nullptr;
            g_drag.accepted = false;
            const POINT p = LocalPoint(old, screen);
            old->DragOver(g_drag.source, p.x, p.y, TDragState::dsDragLeave);
            if (g_drag.source == nullptr) return;
        }
        g_drag.target = now;
        if (now != nullptr) {
            g_drag.targetPoint = LocalPoint(now, screen);
            g_drag.accepted = now->DragOver(g_drag.source, g_drag.targetPoint.x,
                                            g_drag.targetPoint.y, TDragState::dsDragEnter);
        }
    } else if (now != nullptr) {
        g_drag.targetPoint = LocalPoint(now, screen);
        g_drag.accepted = now->DragOver(g_drag.source, g_drag.targetPoint.x, g_drag.targetPoint.y,
                                        TDragState::dsDragMove);
    }
    // A handler may have freed the source (the drag then is over) or the target.
    if (g_drag.target == nullptr) g_drag.accepted = false;
    SetDragCursor();
}

void Start(POINT screen) {
    g_drag.started = true;
    g_drag.source->DoStartDrag();
    if (g_drag.source != nullptr) MoveTo(screen);
}

// Forgets the drag when the end steps are over, also when one of the
// handlers they run throws: the message handler that catches the error
// would otherwise leave a drag that refuses every later one.
class DragReset {
public:
    DragReset() = default;
    ~DragReset() { g_drag = Drag{}; }
    DragReset(const DragReset&) = delete;
    DragReset& operator=(const DragReset&) = delete;
};

void Finish(bool drop) {
    if (g_drag.source == nullptr || g_drag.ending) return;
    const DragReset reset;
    g_drag.ending = true;
    if (::GetCapture() == g_drag.capture) ::ReleaseCapture();
    if (g_drag.started) {
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        TControl* target = g_drag.target;
        const POINT p = g_drag.targetPoint;
        const bool dropped = drop && target != nullptr && g_drag.accepted;
        if (dropped)
            target->DragDrop(g_drag.source, p.x, p.y);
        else if (target != nullptr)
            target->DragOver(g_drag.source, p.x, p.y, TDragState::dsDragLeave);
        // The drop handler may have freed either end.
        if (g_drag.source != nullptr) {
            TControl* taken = dropped ? g_drag.target : nullptr;
            g_drag.source->DoEndDrag(taken, taken != nullptr ? p.x : 0, taken != nullptr ? p.y : 0);
        }
    }
}

POINT ScreenPoint(HWND window, LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(window, &p);
    return p;
}

}  // namespace

HCURSOR CursorHandle(TCursor cursor) {
    switch (cursor) {
        case crDrag: {
            static OwnCursor drag;
            return drag.Get() != nullptr ? drag.Get() : ::LoadCursor(nullptr, IDC_ARROW);
        }
        case crNoDrop:
        case crNo:
            return ::LoadCursor(nullptr, IDC_NO);
        case crCross:
            return ::LoadCursor(nullptr, IDC_CROSS);
        case crIBeam:
            return ::LoadCursor(nullptr, IDC_IBEAM);
        case crHourGlass:
            return ::LoadCursor(nullptr, IDC_WAIT);
        default:
            return ::LoadCursor(nullptr, IDC_ARROW);
    }
}

TCursor CursorFromValue(const std::string& property, const PropertyValue& value) {
    if (value.kind == PropertyValue::Kind::Integer) return value.AsInt(property);
    static const std::pair<const char*, TCursor> kNames[] = {
        {"crDefault", crDefault},     {"crArrow", crArrow},
        {"crCross", crCross},         {"crIBeam", crIBeam},
        {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
        {"crNoDrop", crNoDrop},       {"crNo", crNo}};
    const std::string& name = value.AsIdent(property);
    for (const auto& [known, cursor] : kNames)
        if (name == known) return cursor;
    throw EResourceError("Property " + property + ": unknown cursor " + name);
}

namespace dragging {

void Begin(TControl* source, bool immediate, int threshold, POINT start) {
    if (source == nullptr || g_drag.source != nullptr) return;
    HWND capture = nullptr;
    if (auto* window = dynamic_cast<TWinControl*>(source))
        capture = window->Handle();
    else if (source->Parent() != nullptr)
        capture = source->Parent()->Handle();
    if (capture == nullptr) return;
    g_drag = Drag{};
    g_drag.source = source;
    g_drag.capture = capture;
    g_drag.start = start;
    g_drag.threshold = threshold < 0 ? 5 : threshold;
    ::SetCapture(capture);
    if (immediate) Start(start);
}

void End(TControl* source, bool drop) {
    if (source != nullptr && g_drag.source == source) Finish(drop);
}

bool IsDragged(const TControl* control) {
    return control != nullptr && g_drag.source == control && g_drag.started;
}

void ControlGone(TControl* control) {
    if (g_drag.source == nullptr) return;
    if (g_drag.target == control) {
        g_drag.target = nullptr;
        g_drag.accepted = false;
    }
    if (g_drag.source == control) {
        // Nobody is left to tell: the drag just stops.
        const bool ending = g_drag.ending;
        const HWND capture = g_drag.capture;
        g_drag.source = nullptr;
        if (!ending) {
            g_drag = Drag{};
            if (::GetCapture() == capture) ::ReleaseCapture();
        }
    }
}

bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_drag.source == nullptr || g_drag.ending) return false;
    switch (message) {
        case WM_MOUSEMOVE: {
            if (window != g_drag.capture) return false;
            const POINT p = ScreenPoint(window, lParam);
            if (!g_drag.started) {
                if (std::abs(p.x - g_drag.start.x) <= g_drag.threshold &&
                    std::abs(p.y - g_drag.start.y) <= g_drag.threshold)
                    return false;
                Start(p);
                return true;
            }
            MoveTo(p);
            return true;
        }
        case WM_LBUTTONUP:
            if (window != g_drag.capture) return false;
            if (g_drag.started) {
                const POINT p = ScreenPoint(window, lParam);
                if (p.x != g_drag.last.x || p.y != g_drag.last.y) MoveTo(p);
            }
            // The window's own handling of the release still runs: a control
            // that was pressed is told of the release.
            Finish(true);
            return false;
        case WM_RBUTTONDOWN:
            if (!g_drag.started) return false;
            Finish(false);
            return true;
        case WM_KEYDOWN:
            if (wParam != VK_ESCAPE) return false;
            Finish(false);
            return true;
        case WM_CAPTURECHANGED:
            // Another window took the mouse (a message box, say).
            if (window == g_drag.capture && reinterpret_cast<HWND>(lParam) != window) Finish(false);
            return false;
        case WM_CANCELMODE:
            Finish(false);
            return false;
        default:
            return false;
    }
}

}  // namespace dragging
}  // namespace ui
