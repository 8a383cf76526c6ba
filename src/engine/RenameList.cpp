#include "engine/RenameList.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "engine/FileUtil.h"
#include "ui/handles.h"

namespace engine {

namespace {

constexpr char kSectionHeader[] = "[rename]";
constexpr char kDeleteTarget[] = "NUL=";
constexpr char kCrLf[] = "\r\n";
// DOS takes this as the end of a text file: nothing after it is read.
constexpr char kEndOfText = '\x1A';
// Characters no file name may hold, long or short.
constexpr char kNeverInNames[] = "\"*/:<>?|";
// Characters a long name may hold but an 8.3 name may not.
constexpr char kLongNameOnly[] = "+,;=[]";

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::string::size_type i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type at = text.find(separator, start);
        parts.push_back(
            text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

// "X:\" and then one or more non-empty components naming nothing relative.
bool IsPlainAbsolutePath(const std::string& path) {
    for (char c : path) {
        if (IsControl(static_cast<unsigned char>(c))) return false;
    }
    if (path.size() < 4 || !IsAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\') {
        return false;
    }
    for (const std::string& part : Split(path.substr(3), '\\')) {
        if (part.empty() || part == "." || part == "..") return false;
        if (part.find_first_of(kNeverInNames) != std::string::npos) return false;
    }
    return true;
}

bool AllComponentsShort(const std::string& path) {
    for (const std::string& part : Split(path.substr(3), '\\')) {
        if (!IsEightDotThreeName(part)) return false;
    }
    return true;
}

// One line of a text file: its text, then its line end (CR LF, LF or none).
struct LineSpan {
    std::string::size_type begin;
    std::string::size_type end;
    std::string::size_type next;
};

std::vector<LineSpan> SplitLines(const std::string& text) {
    std::vector<LineSpan> lines;
    std::string::size_type position = 0;
    while (position < text.size()) {
        const std::string::size_type feed = text.find('\n', position);
        if (feed == std::string::npos) {
            lines.push_back({position, text.size(), text.size()});
            break;
        }
        const bool crlf = feed > position && text[feed - 1] == '\r';
        lines.push_back({position, crlf ? feed - 1 : feed, feed + 1});
        position = feed + 1;
    }
    return lines;
}

std::string TrimmedText(const std::string& text, const LineSpan& line) {
    std::string::size_type begin = line.begin;
    std::string::size_type end = line.end;
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

// The line end the file uses already; CR LF for a file of one line.
std::string LineEndOf(const std::string& text) {
    const std::string::size_type feed = text.find('\n');
    if (feed == std::string::npos) return kCrLf;
    return (feed > 0 && text[feed - 1] == '\r') ? kCrLf : "\n";
}

std::string MergeIntoText(const std::string& text, const std::string& line) {
    if (text.empty()) return std::string(kSectionHeader) + kCrLf + line;

    const std::string lineEnd = LineEndOf(text);
    const std::vector<LineSpan> lines = SplitLines(text);
    std::vector<LineSpan>::size_type header = 0;
    while (header < lines.size() && !SameText(TrimmedText(text, lines[header]), kSectionHeader)) {
        ++header;
    }

    if (header == lines.size()) {
        // A new section at the end, which keeps the file's own ending.
        const bool endsWithLineEnd = text.back() == '\n';
        std::string merged = text;
        if (!endsWithLineEnd) merged += lineEnd;
        merged += std::string(kSectionHeader) + lineEnd + line;
        if (endsWithLineEnd) merged += lineEnd;
        return merged;
    }

    // After the section's last line that holds something, so that the
    // operations already pending keep their order and run first.
    std::vector<LineSpan>::size_type last = header;
    for (auto i = header + 1; i < lines.size(); ++i) {
        const std::string trimmed = TrimmedText(text, lines[i]);
        if (!trimmed.empty() && trimmed[0] == '[') break;
        if (trimmed.empty()) continue;
        if (SameText(trimmed, line)) return text;
        last = i;
    }
    const LineSpan& after = lines[last];
    std::string merged = text;
    if (after.next == after.end) {
        // The file's last line, without a line end: ours follows it likewise.
        merged.insert(after.end, lineEnd + line);
    } else {
        merged.insert(after.next, line + lineEnd);
    }
    return merged;
}

// Existing list, or the empty text when there is none. False when a list is
// there but cannot be read: merging nothing into it would lose its content.
bool ReadList(const std::string& path, std::string& content) {
    content.clear();
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return false;
        if (read == 0) return true;
        content.append(buffer, read);
    }
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    std::string::size_type done = 0;
    while (done < content.size()) {
        DWORD written = 0;
        if (!::WriteFile(file.Get(), content.data() + done,
                         static_cast<DWORD>(content.size() - done), &written, nullptr) ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return file.Close();
}

// A name of the directory that no file has yet; empty when none can be had.
std::string FreeNameIn(const std::string& directory) {
    char name[MAX_PATH];
    // The platform makes the file to reserve the name; it is emptied or
    // replaced by the caller.
    if (::GetTempFileNameA(directory.c_str(), "qrn", 0, name) == 0) return std::string();
    return name;
}

// Without MoveFileEx (missing on Windows 95) a file cannot be replaced in one
// step. The new content is written whole beside the old file first; then the
// old file is moved aside, the new one moved in, and only then the old one
// deleted. At no moment is the list a partial file: it is the old one, the
// new one, or briefly absent while the old one waits beside it.
bool ReplaceFileContents(const std::string& path, const std::string& content) {
    std::string directory = DirectoryPart(path);
    if (directory.empty()) directory = ".";
    const std::string fresh = FreeNameIn(directory);
    if (fresh.empty()) return false;
    if (!WriteWholeFile(fresh, content)) {
        ::DeleteFileA(fresh.c_str());
        return false;
    }

    std::string aside;
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        aside = FreeNameIn(directory);
        if (!aside.empty()) ::DeleteFileA(aside.c_str());
        if (aside.empty() || !::MoveFileA(path.c_str(), aside.c_str())) {
            ::DeleteFileA(fresh.c_str());
            return false;
        }
    }
    if (!::MoveFileA(fresh.c_str(), path.c_str())) {
        if (!aside.empty()) ::MoveFileA(aside.c_str(), path.c_str());
        ::DeleteFileA(fresh.c_str());
        return false;
    }
    if (!aside.empty()) ::DeleteFileA(aside.c_str());
    return true;
}

}  // namespace

bool IsEightDotThreeName(const std::string& name) {
    const std::string::size_type dot = name.find('.');
    const std::string base = name.substr(0, dot);
    if (base.empty() || base.size() > 8) return false;
    if (dot != std::string::npos) {
        const std::string extension = name.substr(dot + 1);
        if (extension.empty() || extension.size() > 3) return false;
        if (extension.find('.') != std::string::npos) return false;
    }
    for (char c : name) {
        if (IsControl(static_cast<unsigned char>(c)) || c == ' ' || c == '\\') return false;
        if (std::strchr(kNeverInNames, c) != nullptr || std::strchr(kLongNameOnly, c) != nullptr) {
            return false;
        }
    }
    return true;
}

std::string PendingDeletionLine(const std::string& file) {
    if (!IsPlainAbsolutePath(file)) return std::string();
    if (AllComponentsShort(file)) return kDeleteTarget + file;

    char shortPath[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(file.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    const std::string shortened(shortPath, length);
    // What the platform gives must pass the same rules before it is written.
    if (!IsPlainAbsolutePath(shortened) || !AllComponentsShort(shortened)) return std::string();
    return kDeleteTarget + shortened;
}

std::string MergeRenameList(const std::string& existing, const std::string& line) {
    // A line after an end-of-text mark would never be read: ours goes before it.
    const std::string::size_type end = existing.find(kEndOfText);
    const std::string text = existing.substr(0, end);
    const std::string tail = end == std::string::npos ? std::string() : existing.substr(end);
    return MergeIntoText(text, line) + tail;
}

bool ScheduleDeletionAtStartup(const std::string& listPath, const std::string& file) {
    const std::string line = PendingDeletionLine(file);
    if (line.empty()) return false;
    std::string existing;
    if (!ReadList(listPath, existing)) return false;
    const std::string merged = MergeRenameList(existing, line);
    if (merged == existing) return true;
    return ReplaceFileContents(listPath, merged);
}

}  // namespace engine
