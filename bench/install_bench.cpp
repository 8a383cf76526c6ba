// Measures the install of a medium of the setup program and nine payload
// files beside an NSIS installer of the same medium (the peer) and the
// platform's own copy of the same files, in the same prefix, and shows where
// the install's time goes. bench/run.sh drives it:
//
//   install_bench.exe prepare DIR MIB   the medium in DIR\medium and the
//                                       peer's scripts, for makensis
//   install_bench.exe measure DIR RUNS [no-peer]
//                                       the figures, medians of RUNS rounds
//                                       (without the peer: see bench/run.sh)
//
// Each round runs the install and its breakdown in fresh processes of this
// program (modes `install` and `parts`), as a user's run of setup.exe would.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Classes.h"
#include "app/SetupState.h"
#include "app/SystemActions.h"
#include "app/setup1.h"
#include "bench_clock.h"
#include "bench_medium.h"
#include "controls/CheckListBox.h"
#include "controls/Gauge.h"
#include "engine/ComponentTable.h"
#include "engine/FileUtil.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"
#include "engine/RemovalList.h"
#include "engine/ShellLinks.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/handles.h"
#include "ui/std_controls.h"

namespace {

using bench::Now;

// Figures one process hands to the measuring one, as "name value" lines.
using Figures = std::map<std::string, double>;

void WriteFigures(const std::string& path, const Figures& figures) {
    std::ostringstream text;
    text.precision(9);
    for (const auto& [name, value] : figures) text << name << ' ' << value << '\n';
    bench::WriteTextFile(path, text.str());
}

Figures ReadFigures(const std::string& path) {
    Figures figures;
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) throw std::runtime_error("no figures in " + path);
    std::string text(1 << 16, '\0');
    DWORD got = 0;
    ::ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    text.resize(got);
    std::istringstream lines(text);
    std::string name;
    double value;
    while (lines >> name >> value) figures[name] = value;
    return figures;
}

std::string SelfPath() {
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    return self;
}

// Starts a program and waits for its end; its wall time, start included.
double RunProgram(const std::string& program, const std::string& arguments) {
    std::string command = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = Now();
    if (!::CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        throw std::runtime_error("cannot start " + program);
    ui::ScopedHandle processHandle(process.hProcess);
    ui::ScopedHandle threadHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    const double end = Now();
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    if (code != 0) throw std::runtime_error(program + " " + arguments + " failed");
    return end - start;
}

void Fresh(const std::string& directory) {
    engine::ClearDirectoryTree(directory, true);
    engine::MakeDirectory(directory);
}

// ------------------------------------------------------------ the setup window

// The setup window as a user leaves it before pressing Install: every
// component ticked, the menu group and start-up options on, no readme viewer.
class SetupWindow {
public:
    SetupWindow(const std::string& medium, const std::string& installDir) {
        ::SetCurrentDirectoryA(medium.c_str());
        ::InitCommonControls();
        app::RegisterClasses();
        application_.SetTitle("Quarnel Setup");
        app::SetSystemActions({[](HWND, const std::string&) {}, [] {}});
        app::SetupForm = new app::TSetupForm();
        app::SetupForm->Create();
        app::SetupForm->Show();
        for (int i = 0; i < 5; ++i) app::SetupForm->ProductToInstall->SetChecked(i, true);
        app::SetupForm->CheckBox1->SetChecked(false);
        app::InstallDir = installDir;
        // Let the window paint once, as it has by the time a user clicks.
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    ~SetupWindow() {
        delete app::SetupForm;
        app::SetupForm = nullptr;
    }
    SetupWindow(const SetupWindow&) = delete;
    SetupWindow& operator=(const SetupWindow&) = delete;

    app::TSetupForm& Form() { return *app::SetupForm; }

private:
    ui::ComApartment com_;
    ui::TApplication application_;
};

// The install as the user sees it: from the Yes to the install question to the
// reboot question on screen.
Figures RunInstall(const std::string& dir) {
    SetupWindow window(dir + "\\medium", dir + "\\install\\");
    double yes = 0, reboot = 0;
    ui::SetDialogResponder([&](const ui::DialogRequest& request) {
        if (request.text.rfind("Ready to install", 0) == 0) {
            yes = Now();
            return ui::mrYes;
        }
        if (request.buttons == ui::TMsgDlgButtons::mbYesNo) {
            reboot = Now();
            return ui::mrNo;
        }
        std::fprintf(stderr, "install stopped: %s\n", request.text.c_str());
        std::exit(2);
    });
    const long paintsBefore = window.Form().CurrentProgressBar->PaintCount();
    window.Form().InstallButtonClick(&window.Form());
    ui::SetDialogResponder(nullptr);
    return {{"install", reboot - yes},
            {"repaints",
             static_cast<double>(window.Form().CurrentProgressBar->PaintCount() - paintsBefore)}};
}

// ---------------------------------------------------------------- the parts

// One shortcut made call by call, as the install makes each; the time of each
// call is added to `calls`.
void TimedShortcut(const std::string& target, const std::string& workingDirectory,
                   const std::string& linkFile, Figures& calls) {
    double t = Now();
    auto lap = [&](const char* name) {
        const double now = Now();
        calls[name] += now - t;
        t = now;
    };
    ui::ComPtr<IUnknown> object;
    ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                       IID_IUnknown, object.ReceiveVoid());
    lap("call.CoCreateInstance");
    if (!object) throw std::runtime_error("no shell link object");
    ui::ComPtr<IShellLinkA> link;
    ui::ComPtr<IPersistFile> file;
    object->QueryInterface(IID_IShellLinkA, link.ReceiveVoid());
    object->QueryInterface(IID_IPersistFile, file.ReceiveVoid());
    lap("call.QueryInterface");
    link->SetPath(target.c_str());
    lap("call.SetPath");
    link->SetArguments("");
    lap("call.SetArguments");
    link->SetWorkingDirectory(workingDirectory.c_str());
    lap("call.SetWorkingDirectory");
    std::wstring path(linkFile.begin(), linkFile.end());
    file->Save(path.c_str(), FALSE);
    lap("call.Save");
    file.Reset();
    link.Reset();
    object.Reset();
    lap("call.Release");
}

struct Shortcut {
    std::string target, workingDirectory, linkFile;
};

// Where the install's time goes: its kinds of work timed apart, in the order
// the install first meets them, in a process as fresh as the install's.
Figures RunParts(const std::string& dir) {
    const std::string installDir = dir + "\\install\\";
    SetupWindow window(dir + "\\medium", installDir);
    app::TSetupForm& form = window.Form();
    Figures figures;

    double t = Now();
    {
        app::SetupRegistryGroup group;
        group.Registry().OpenRegistryKey(engine::records::kInstallKey, true);
        group.Registry().WriteTextValue(engine::records::kVersionValue, engine::records::kVersion);
        group.Registry().WriteTextValue(engine::records::kPathValue, installDir);
        group.Registry().CloseRegistryKey();
    }
    {
        app::SetupRegistryGroup group;
        group.Registry().OpenRegistryKey(engine::records::kUninstallKey, true);
        group.Registry().WriteTextValue(engine::records::kDisplayNameValue,
                                        engine::records::kDisplayName);
        group.Registry().WriteTextValue(engine::records::kUninstallStringValue,
                                        engine::records::UninstallCommand(installDir));
        group.Registry().CloseRegistryKey();
    }
    {
        app::SetupRegistryGroup group;
        group.Registry().OpenRegistryKey(engine::records::kDriverKey, true);
        group.Registry().WriteByteValue(engine::records::kStartValue, engine::records::kStart,
                                        sizeof engine::records::kStart);
        group.Registry().WriteTextValue(engine::records::kStaticVxdValue,
                                        engine::records::kStaticVxd);
        group.Registry().CloseRegistryKey();
    }
    figures["registry"] = Now() - t;

    t = Now();
    const std::string programs = engine::SpecialFolderPath(CSIDL_PROGRAMS);
    const std::string startup = engine::SpecialFolderPath(CSIDL_STARTUP);
    figures["folders"] = Now() - t;
    engine::MakeDirectory(programs + engine::kMenuGroupName);

    // The copies with the gauge following them but not painting: the window
    // is hidden, so the positions are set and nothing is drawn.
    for (const engine::Component& component : engine::ComponentTable())
        for (const char* directory : component.directories)
            if (directory != nullptr) engine::MakeDirectory(installDir + directory);
    form.Hide();
    t = Now();
    for (const bench::MediumFile& file : bench::MediumFiles()) {
        const std::string destination =
            file.toSystemDirectory ? engine::SystemDirectoryPath() + "\\" + file.destination
                                   : installDir + file.destination;
        engine::CopyFileWithProgress(app::SourceDir + file.source, destination,
                                     form.CurrentProgressBar);
    }
    figures["copies"] = Now() - t;
    form.Show();

    std::vector<Shortcut> shortcuts = {
        {installDir + "Setup.EXE", installDir, programs + "\\Quarnel\\Quarnel Setup.lnk"}};
    for (const engine::Component& component : engine::ComponentTable())
        shortcuts.push_back({installDir + component.shortcut.target,
                             installDir + component.directories[0],
                             programs + component.shortcut.linkName});
    shortcuts.push_back({installDir + "WARDEX\\WARDEX.EXE", installDir + "WARDEX\\",
                         startup + engine::kStartupShortcutName});
    t = Now();
    for (const Shortcut& s : shortcuts)
        engine::CreateShellLink(s.target, "", s.workingDirectory, s.linkFile);
    figures["shortcuts"] = Now() - t;
    figures["shortcut.count"] = static_cast<double>(shortcuts.size());

    // The same shortcuts again, call by call.
    Figures calls;
    for (const Shortcut& s : shortcuts)
        TimedShortcut(s.target, s.workingDirectory, s.linkFile, calls);
    for (const auto& [name, total] : calls)
        figures[name] = total / static_cast<double>(shortcuts.size());

    // One repaint: the gauge moved by whole percentages, window shown.
    controls::TGauge* gauge = form.CurrentProgressBar;
    gauge->SetMaxValue(100);
    const int steps = 500;
    const long paintsBefore = gauge->PaintCount();
    t = Now();
    for (int i = 0; i < steps; ++i) gauge->SetProgress(i % 100 + 1);
    const double elapsed = Now() - t;
    const long paints = gauge->PaintCount() - paintsBefore;
    figures["repaint"] = paints > 0 ? elapsed / static_cast<double>(paints) : 0.0;
    return figures;
}

// ----------------------------------------------------------- the measurement

double PlatformCopy(const std::string& dir) {
    const std::string copyDir = dir + "\\copy\\";
    Fresh(copyDir);
    for (const char* sub : {"WARDEX", "PELKIN", "ORVANE", "SULMET", "TRIVEL", "TRIVEL\\Diskware"})
        engine::MakeDirectory(copyDir + sub);
    const double start = Now();
    for (const bench::MediumFile& file : bench::MediumFiles()) {
        const std::string source = dir + "\\medium\\" + file.source;
        // The driver lands beside the others: the system directory's copy
        // belongs to the install measured before.
        if (!::CopyFileA(source.c_str(), (copyDir + file.destination).c_str(), FALSE))
            throw std::runtime_error("CopyFileA failed for " + file.source);
    }
    return Now() - start;
}

// With `withPeer` false the NSIS peer is not run: where it could only run
// emulated, its time would not compare with the native install's.
void Measure(const std::string& dir, int runs, bool withPeer) {
    const std::string self = SelfPath();
    std::map<std::string, std::vector<double>> seen;
    for (int run = 0; run < runs; ++run) {
        Fresh(dir + "\\install");
        RunProgram(self, "install \"" + dir + "\"");
        for (const auto& [name, value] : ReadFigures(dir + "\\figures.txt"))
            seen[name].push_back(value);

        if (withPeer) {
            Fresh(dir + "\\peer-install");
            seen["peer"].push_back(
                RunProgram(dir + "\\peer\\peer-setup.exe", "/S /D=" + dir + "\\peer-install"));
            seen["peer.empty"].push_back(RunProgram(dir + "\\peer\\empty-setup.exe", "/S"));
        }
        seen["copy"].push_back(PlatformCopy(dir));

        Fresh(dir + "\\install");
        RunProgram(self, "parts \"" + dir + "\"");
        for (const auto& [name, value] : ReadFigures(dir + "\\figures.txt"))
            seen[name].push_back(value);
        std::fprintf(stderr, "round %d of %d: install %.3f s, platform copy %.3f s\n", run + 1,
                     runs, seen["install"].back(), seen["copy"].back());
    }

    auto median = [&](const char* name) { return bench::Median(seen[name]); };
    auto row = [&](const char* label, const char* name, double scale, const char* unit) {
        std::printf("  %-38s %9.3f %-2s  (%.3f .. %.3f)\n", label, median(name) * scale, unit,
                    bench::Least(seen[name]) * scale, bench::Most(seen[name]) * scale);
    };
    const double files = static_cast<double>(bench::MediumFiles().size());
    std::printf("medium: setup.exe and %zu payload files; %d rounds, medians (least .. most)\n",
                bench::MediumFiles().size() - 1, runs);
    row("install, Yes to the reboot question", "install", 1, "s");
    if (withPeer) {
        row("peer: NSIS installer, silent", "peer", 1, "s");
        row("peer: empty NSIS installer, silent", "peer.empty", 1, "s");
    }
    row("platform copy (CopyFileA)", "copy", 1, "s");
    if (withPeer)
        std::printf("  %-38s %9.2f\n", "ratio install / peer", median("install") / median("peer"));
    std::printf("  %-38s %9.2f\n", "ratio install / platform copy",
                median("install") / median("copy"));
    if (withPeer)
        std::printf("  %-38s %9.2f\n", "ratio peer / platform copy",
                    median("peer") / median("copy"));
    row("one gauge repaint", "repaint", 1000, "ms");
    std::printf("  %-38s %9.1f\n", "gauge repaints per file", median("repaints") / files);

    const double repaints = median("repaints") * median("repaint");
    const double parts =
        median("copies") + repaints + median("shortcuts") + median("registry") + median("folders");
    std::printf("where the install's time goes (each part timed apart, in a fresh process):\n");
    row("copies (gauge set, not painted)", "copies", 1, "s");
    std::printf("  %-38s %9.3f s\n", "gauge repaints (count x one repaint)", repaints);
    row("shortcuts", "shortcuts", 1, "s");
    row("registry (three keys, six values)", "registry", 1000, "ms");
    row("special folders (two lookups)", "folders", 1000, "ms");
    std::printf("  %-38s %9.3f s\n", "the rest (status texts, directories...)",
                median("install") - parts);
    std::printf("one shortcut, call by call (mean of the %.0f, median of the rounds):\n",
                median("shortcut.count"));
    for (const char* call : {"CoCreateInstance", "QueryInterface", "SetPath", "SetArguments",
                             "SetWorkingDirectory", "Save", "Release"}) {
        const std::string name = std::string("call.") + call;
        std::printf("  %-38s %9.3f ms\n", call, bench::Median(seen[name]) * 1000);
    }
}

void Prepare(const std::string& dir, unsigned long long mib) {
    engine::ClearDirectoryTree(dir, true);
    engine::MakeDirectory(dir);
    engine::MakeDirectory(dir + "\\medium");
    engine::MakeDirectory(dir + "\\peer");
    bench::WriteMedium(dir + "\\medium", SelfPath(), mib * 1024 * 1024);
    bench::WriteTextFile(dir + "\\peer.nsi", bench::PeerScript("peer\\peer-setup.exe"));
    bench::WriteTextFile(dir + "\\empty.nsi", bench::EmptyPeerScript("peer\\empty-setup.exe"));
}

}  // namespace

int main(int argc, char** argv) try {
    const std::string mode = argc > 1 ? argv[1] : "";
    const std::string dir = argc > 2 ? argv[2] : "";
    if (mode == "prepare" && !dir.empty()) {
        Prepare(dir, argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 16);
    } else if (mode == "measure" && !dir.empty()) {
        Measure(dir, argc > 3 ? std::atoi(argv[3]) : 5,
                !(argc > 4 && std::string(argv[4]) == "no-peer"));
    } else if (mode == "install" && !dir.empty()) {
        WriteFigures(dir + "\\figures.txt", RunInstall(dir));
    } else if (mode == "parts" && !dir.empty()) {
        WriteFigures(dir + "\\figures.txt", RunParts(dir));
    } else {
        std::fprintf(stderr, "usage: install_bench prepare|measure DIR [MIB|RUNS [no-peer]]\n");
        return 1;
    }
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "install_bench: %s\n", error.what());
    return 1;
}
