#include "window_driver.h"

#include <vector>

#include "driver_error.h"
#include "setup_process.h"

namespace e2e {
namespace {

// Long enough for a busy program, short enough that a hung one fails the step.
constexpr UINT kSendTimeoutMs = 5000;

std::string WithoutMnemonics(const std::string& text) {
    std::string result;
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        result += text[i];
    }
    return result;
}

std::string Describe(const WindowQuery& query) {
    if (!query.description.empty()) return query.description;
    std::string text = "a window of class " + query.className;
    if (query.title) text += " titled \"" + *query.title + "\"";
    return text;
}

bool Matches(HWND window, const WindowQuery& query) {
    if (lstrcmpiA(ClassOf(window).c_str(), query.className.c_str()) != 0) return false;
    if (query.title) {
        std::string title;
        try {
            title = TextOf(window);
        } catch (const DriverError&) {
            // A window destroyed while it was looked at (the program is
            // ending) matches nothing.
            if (!::IsWindow(window)) return false;
            throw;
        }
        if (title != *query.title) return false;
    }
    return !query.accept || query.accept(window);
}

struct TopLevelSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TopLevelSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> ShownTopLevelWindows(DWORD processId) {
    TopLevelSearch search{processId, {}};
    ::EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

INPUT KeyInput(UINT virtualKey, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> children;
    ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

// The visible message text of a box: the non-empty static that is not its icon.
std::string MessageTextOf(HWND box) {
    for (HWND child : ChildrenOfClass(box, "STATIC")) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        std::string text = TextOf(child);
        if (!text.empty()) return text;
    }
    return std::string();
}

MessageBoxView ViewOf(HWND box) {
    MessageBoxView view;
    view.window = box;
    view.className = ClassOf(box);
    view.caption = TextOf(box);
    if (lstrcmpiA(view.className.c_str(), kMessageDialogClass) == 0) {
        HWND text = ::GetDlgItem(box, 0xFFFF);
        view.text = text != nullptr ? TextOf(text) : std::string();
    } else {
        view.text = MessageTextOf(box);
    }
    return view;
}

LPARAM KeyData(UINT virtualKey, bool release) {
    const UINT scanCode = ::MapVirtualKeyA(virtualKey, 0);
    LPARAM data = 1 | static_cast<LPARAM>(scanCode << 16);
    if (release) data |= static_cast<LPARAM>(0xC0000000u);
    return data;
}

}  // namespace

void WaitUntil(const std::function<bool()>& probe, const std::string& what,
               const SetupProcess* process, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (probe()) return;
        if (process != nullptr && process->HasExited()) {
            // One last look: the process may have done it just before ending.
            if (probe()) return;
            throw DriverError("setup.exe ended (exit code " +
                              std::to_string(process->ExitCode().value_or(0)) +
                              ") while waiting for " + what);
        }
        if (::GetTickCount() - start >= timeoutMs)
            throw DriverError("timed out after " + std::to_string(timeoutMs) + " ms waiting for " +
                              what);
        ::Sleep(kPollIntervalMs);
    }
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) {
    std::vector<HWND> seen;
    for (HWND window : ShownTopLevelWindows(processId)) {
        RECT r{};
        ::GetWindowRect(window, &r);
        if (r.right > r.left && r.bottom > r.top) seen.push_back(window);
    }
    return seen;
}

std::vector<HWND> TaskBarWindows(DWORD processId) {
    std::vector<HWND> buttons;
    for (HWND window : ShownTopLevelWindows(processId)) {
        const LONG exStyle = ::GetWindowLongA(window, GWL_EXSTYLE);
        const bool ownerless = ::GetWindow(window, GW_OWNER) == nullptr;
        if ((exStyle & WS_EX_APPWINDOW) != 0 || (ownerless && (exStyle & WS_EX_TOOLWINDOW) == 0))
            buttons.push_back(window);
    }
    return buttons;
}

HWND FindTopLevel(DWORD processId, const WindowQuery& query) {
    for (HWND window : VisibleTopLevelWindows(processId)) {
        if (Matches(window, query)) return window;
    }
    return nullptr;
}

HWND WaitForTopLevel(const SetupProcess& process, const WindowQuery& query, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevel(process.Id(), query)) != nullptr; },
              Describe(query), &process, timeoutMs);
    return found;
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               &length))
        throw DriverError("window of class " + ClassOf(window) + " did not answer WM_GETTEXT");
    std::vector<char> buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                          reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                          &copied);
    return std::string(buffer.data(), copied);
}

SIZE ClientSizeOf(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

bool IsEnabled(HWND window) { return ::IsWindowEnabled(window) != FALSE; }

HWND FindChild(HWND parent, const std::string& className, const std::optional<std::string>& text) {
    for (HWND child : Descendants(parent)) {
        if (lstrcmpiA(ClassOf(child).c_str(), className.c_str()) != 0) continue;
        if (!text || WithoutMnemonics(TextOf(child)) == *text) return child;
    }
    return nullptr;
}

HWND RequireChild(HWND parent, const std::string& className,
                  const std::optional<std::string>& text) {
    HWND child = FindChild(parent, className, text);
    if (child == nullptr)
        throw DriverError("no " + className + " control" + (text ? " \"" + *text + "\"" : "") +
                          " in the window \"" + TextOf(parent) + "\"");
    return child;
}

HWND RequireButton(HWND parent, const std::string& text) {
    return RequireChild(parent, "BUTTON", text);
}

HWND RequireChildById(HWND parent, int id) {
    HWND child = ::GetDlgItem(parent, id);
    if (child == nullptr)
        throw DriverError("no control with id " + std::to_string(id) + " in the window \"" +
                          TextOf(parent) + "\"");
    return child;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className) {
    std::vector<HWND> matching;
    for (HWND child : Descendants(parent)) {
        if (lstrcmpiA(ClassOf(child).c_str(), className.c_str()) == 0) matching.push_back(child);
    }
    return matching;
}

void Click(HWND button) {
    if (!IsEnabled(button) || !::IsWindowVisible(button))
        throw DriverError("cannot click \"" + TextOf(button) + "\": it is disabled or hidden");
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

void ClickAt(HWND window, int x, int y) {
    const LPARAM point = MAKELPARAM(x, y);
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageA(window, WM_LBUTTONUP, 0, point);
}

void ToggleListItem(HWND listBox, int index, int itemHeight) {
    if (!IsEnabled(listBox)) throw DriverError("cannot click the list: it is disabled");
    ClickAt(listBox, 5, index * itemHeight + itemHeight / 2);
}

void ClickCloseBox(HWND window) { ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

HWND FocusOf(HWND window) {
    // Asked without joining the thread's input: a joined input would share,
    // and on parting lose, the key state that typed keys build up there.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void PressKey(HWND window, UINT virtualKey) {
    HWND target = FocusOf(window);
    if (target == nullptr) target = window;
    ::PostMessageA(target, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false));
    ::PostMessageA(target, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
}

void TypeKey(UINT virtualKey, bool withShift) {
    std::vector<INPUT> inputs;
    if (withShift) inputs.push_back(KeyInput(VK_SHIFT, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (withShift) inputs.push_back(KeyInput(VK_SHIFT, true));
    const UINT sent = ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) throw DriverError("the platform took no keyboard input");
}

MessageBoxView WaitForMessageDialog(const SetupProcess& process, DWORD timeoutMs) {
    const WindowQuery query{kMessageDialogClass, std::nullopt, nullptr, "a message dialog"};
    return ViewOf(WaitForTopLevel(process, query, timeoutMs));
}

MessageBoxView WaitForStandardErrorBox(const SetupProcess& process, DWORD timeoutMs) {
    const WindowQuery query{kPlatformDialogClass, std::string("Quarnel Setup"), nullptr,
                            "the standard error box (a message box titled \"Quarnel Setup\")"};
    return ViewOf(WaitForTopLevel(process, query, timeoutMs));
}

std::string AnswerMessageBox(const SetupProcess& process, const MessageBoxView& box, int buttonId) {
    HWND button = RequireChildById(box.window, buttonId);
    const std::string text = TextOf(button);
    Click(button);
    WaitUntil(
        [&] {
            return process.HasExited() || !::IsWindow(box.window) || !::IsWindowVisible(box.window);
        },
        "the message box \"" + box.caption + "\" to close after \"" + text + "\"");
    return text;
}

}  // namespace e2e
