#include "controls/FileSystemLists.h"

#include <algorithm>
#include <cctype>

#include "controls/DirectoryCreation.h"
#include "controls/FolderIcons.h"
#include "ui/code_page.h"
#include "ui/form.h"
#include "ui/path_text.h"

namespace controls {
namespace {

constexpr int kIndentPerLevel = 8;

std::string FullPathOf(const std::string& path) {
    char full[MAX_PATH] = "";
    char* filePart = nullptr;
    const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, full, &filePart);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(full, length);
}

bool HasDriveLetter(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

bool LessWithoutCase(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

// Names of the entries of `directory` for which `wanted` answers true.
std::vector<std::string> EntriesOf(const std::string& directory,
                                   const std::function<bool(DWORD attributes)>& wanted) {
    std::vector<std::string> names;
    std::string pattern = directory;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA(pattern.c_str(), &found));
    if (!search.IsValid()) return names;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (wanted(found.dwFileAttributes)) names.push_back(name);
    } while (::FindNextFileA(search.Get(), &found));
    std::sort(names.begin(), names.end(), LessWithoutCase);
    return names;
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = "";
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

}  // namespace

// ------------------------------------------------------ TDirectoryListBox

TDirectoryListBox::TDirectoryListBox(ui::TComponent* owner) : ui::TListBox(owner) {
    ownerDraw_ = true;
    itemHeight_ = 17;
    SetDirectory(CurrentDirectory());
}

bool TDirectoryListBox::SetDirectory(const std::string& directory) {
    const std::string full = WithoutTrailingBackslash(FullPathOf(directory), 3);
    if (!HasDriveLetter(full) || !DirectoryExists(full)) return false;
    // The drive's root, then each directory of the path.
    std::vector<std::string> texts{full.substr(0, 3)};
    std::vector<Row> rows{Row{0, true}};
    std::string::size_type start = 3;
    while (start < full.size()) {
        std::string::size_type end = ui::NextBackslash(full, start, &ui::IsAnsiLeadByte);
        if (end == std::string::npos) end = full.size();
        texts.push_back(full.substr(start, end - start));
        rows.push_back(Row{static_cast<int>(rows.size()), true});
        start = end + 1;
    }
    const int current = static_cast<int>(rows.size()) - 1;
    for (const std::string& name :
         EntriesOf(full, [](DWORD a) { return (a & FILE_ATTRIBUTE_DIRECTORY) != 0; })) {
        texts.push_back(name);
        rows.push_back(Row{current + 1, false});
    }
    const bool changed = ::lstrcmpiA(full.c_str(), directory_.c_str()) != 0;
    directory_ = full;
    rows_ = rows;
    SetItems(texts);
    SetItemIndex(current);
    if (changed && OnChange) OnChange(this);
    return true;
}

bool TDirectoryListBox::SetDrive(char letter) {
    if (letter == '\0') return false;
    if (std::toupper(static_cast<unsigned char>(letter)) ==
        std::toupper(static_cast<unsigned char>(Drive())))
        return true;
    return SetDirectory(std::string(1, letter) + ":");
}

std::string TDirectoryListBox::ItemPath(int index) const {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return directory_;
    if (!rows_[static_cast<size_t>(index)].open) {
        std::string path = directory_;
        if (path.back() != '\\') path += '\\';
        return path + Item(index);
    }
    // An opened row: the path up to its directory.
    std::string path = directory_.substr(0, 3);
    for (int i = 1; i <= index; ++i) {
        if (i > 1) path += '\\';
        path += Item(i);
    }
    return path;
}

void TDirectoryListBox::DrawItem(int index, HDC dc, const RECT& rect, UINT state) {
    ui::ScopedBrush back(::CreateSolidBrush(ui::ColorToRGB(Color())));
    ::FillRect(dc, &rect, back.Get());
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    const Row& row = rows_[static_cast<size_t>(index)];
    const int iconLeft = rect.left + 2 + row.level * kIndentPerLevel;
    const int height = rect.bottom - rect.top;
    DrawFolderIcon(dc, iconLeft, rect.top + (height - kFolderIconHeight) / 2, row.open);
    const std::string text = Item(index);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT textRect{iconLeft + kFolderIconWidth + 3, rect.top,
                  iconLeft + kFolderIconWidth + 3 + extent.cx + 4, rect.bottom};
    const bool selected = (state & ODS_SELECTED) != 0;
    if (selected) {
        ui::ScopedBrush highlight(::CreateSolidBrush(ui::ColorToRGB(ui::clHighlight)));
        ::FillRect(dc, &textRect, highlight.Get());
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ui::ColorToRGB(selected ? ui::clHighlightText : Font().Color()));
    RECT inner = textRect;
    inner.left += 2;
    ::DrawTextA(dc, text.c_str(), -1, &inner, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TDirectoryListBox::DblClick() {
    const int index = ItemIndex();
    if (index >= 0) SetDirectory(ItemPath(index));
    ui::TListBox::DblClick();
}

bool TDirectoryListBox::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnChange") {
        OnChange = std::any_cast<ui::TNotifyEvent>(handler);
        return true;
    }
    return ui::TListBox::SetEvent(event, handler);
}

// ----------------------------------------------------------- TFileListBox

TFileListBox::TFileListBox(ui::TComponent* owner) : ui::TListBox(owner) {
    sorted_ = true;
    itemHeight_ = 13;
}

void TFileListBox::SetDirectory(const std::string& directory) {
    directory_ = directory;
    const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                           FILE_ATTRIBUTE_SYSTEM | 0x8 /* volume label */;
    SetItems(EntriesOf(directory, [excluded](DWORD a) { return (a & excluded) == 0; }));
}

// --------------------------------------------------------- TDriveComboBox

TDriveComboBox::TDriveComboBox(ui::TComponent* owner) : ui::TComboBox(owner) {
    ownerDraw_ = true;
    itemHeight_ = 16;
    BuildList();
}

void TDriveComboBox::BuildList() {
    const char chosen = Drive();
    letters_.clear();
    std::vector<std::string> texts;
    const DWORD drives = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((drives & (1u << i)) == 0) continue;
        const char letter = static_cast<char>('A' + i);
        const std::string root = std::string(1, letter) + ":\\";
        std::string text = std::string(1, static_cast<char>('a' + i)) + ":";
        const UINT type = ::GetDriveTypeA(root.c_str());
        // Only drives that answer at once are asked for their label.
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
            char label[MAX_PATH] = "";
            if (::GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr,
                                        nullptr, nullptr, 0) &&
                label[0] != '\0')
                text += std::string(" [") + label + "]";
        }
        letters_.push_back(letter);
        texts.push_back(text);
    }
    SetItems(texts);
    if (chosen != '\0') SetDrive(chosen);
}

char TDriveComboBox::Drive() const {
    const int index = ItemIndex();
    if (index < 0 || index >= static_cast<int>(letters_.size())) return '\0';
    return letters_[static_cast<size_t>(index)];
}

void TDriveComboBox::SetDrive(char letter) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    const auto it = std::find(letters_.begin(), letters_.end(), upper);
    if (it != letters_.end()) SetItemIndex(static_cast<int>(it - letters_.begin()));
}

void TDriveComboBox::DrawItem(int index, HDC dc, const RECT& rect, UINT state) {
    const bool selected = (state & ODS_SELECTED) != 0;
    ui::ScopedBrush back(::CreateSolidBrush(ui::ColorToRGB(selected ? ui::clHighlight : Color())));
    ::FillRect(dc, &rect, back.Get());
    if (index < 0 || index >= static_cast<int>(letters_.size())) return;
    const std::string root = std::string(1, letters_[static_cast<size_t>(index)]) + ":\\";
    const int height = rect.bottom - rect.top;
    DrawDriveIcon(dc, rect.left + 2, rect.top + (height - kDriveIconHeight) / 2,
                  ::GetDriveTypeA(root.c_str()));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ui::ColorToRGB(selected ? ui::clHighlightText : Font().Color()));
    RECT text = rect;
    text.left += kDriveIconWidth + 6;
    const std::string item = Item(index);
    ::DrawTextA(dc, item.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// ------------------------------------------------------------- TPathLabel

std::string ShortenPathToFit(const std::string& path,
                             const std::function<int(const std::string&)>& widthOf, int maxWidth) {
    if (widthOf(path) <= maxWidth) return path;
    // The head keeps the drive ("C:\"), the tail the last directories.
    std::string::size_type headEnd = path.find('\\');
    if (headEnd == std::string::npos) return path;
    const std::string head = path.substr(0, headEnd + 1);
    std::string::size_type cut = headEnd + 1;
    while (true) {
        const std::string::size_type next = path.find('\\', cut);
        if (next == std::string::npos) break;
        cut = next + 1;
        const std::string candidate = head + "...\\" + path.substr(cut);
        if (widthOf(candidate) <= maxWidth) return candidate;
    }
    // Not even the drive fits beside the last directory.
    return "...\\" + path.substr(cut);
}

TPathLabel::TPathLabel(ui::TComponent* owner) : ui::TLabel(owner) {
    SetProperty("AutoSize", ui::PropertyValue::Ident("false"));
}

std::string TPathLabel::ShownText() const {
    ui::TFont font = Font();
    return ShortenPathToFit(
        Caption(), [&font](const std::string& text) { return ui::MeasureText(font, text).cx; },
        Width());
}

void TPathLabel::Paint(HDC dc) {
    RECT r = ClientRect();
    if (!Transparent()) {
        ui::ScopedBrush brush(::CreateSolidBrush(ui::ColorToRGB(Color())));
        ::FillRect(dc, &r, brush.Get());
    }
    ui::SelectObjectScope select(dc, Font().Handle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ui::ColorToRGB(Font().Color()));
    const std::string text = ShownText();
    ::DrawTextA(dc, text.c_str(), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
}

void RegisterFileSystemListClasses() {
    ui::RegisterComponentClass("TDirectoryListBox",
                               [](ui::TComponent* o) { return new TDirectoryListBox(o); });
    ui::RegisterComponentClass("TFileListBox",
                               [](ui::TComponent* o) { return new TFileListBox(o); });
    ui::RegisterComponentClass("TDriveComboBox",
                               [](ui::TComponent* o) { return new TDriveComboBox(o); });
    ui::RegisterComponentClass("TPathLabel", [](ui::TComponent* o) { return new TPathLabel(o); });
}

}  // namespace controls
