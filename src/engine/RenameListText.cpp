#include "engine/RenameListText.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace engine {

namespace {

constexpr char kSectionHeader[] = "[rename]";
constexpr char kDeleteTarget[] = "NUL=";
constexpr char kCrLf[] = "\r\n";
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// DOS takes this as the end of a text file: nothing after it is read.
constexpr char kEndOfText = '\x1A';
// Characters no file name may hold, long or short.
constexpr char kNeverInNames[] = "\"*/:<>?|";
// Characters a long name may hold but an 8.3 name may not.
constexpr char kLongNameOnly[] = "+,;=[]";

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool HasControl(const std::string& text) {
    for (char c : text) {
        if (IsControl(static_cast<unsigned char>(c))) return true;
    }
    return false;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsLeadAt(const std::string& text, std::size_t at, ui::LeadByteTest isLead) {
    return isLead(static_cast<unsigned char>(text[at])) && at + 1 < text.size();
}

// The single-byte characters of `text` (second bytes of double-byte ones are
// never looked at), each passed to `visit` with its position until it
// answers false.
template <typename Visit>
bool EverySingleByteCharacter(const std::string& text, ui::LeadByteTest isLead, Visit visit) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (IsLeadAt(text, at, isLead)) {
            ++at;
            continue;
        }
        if (!visit(text[at], at)) return false;
    }
    return true;
}

// The components between backslashes, found a character at a time.
std::vector<std::string> Components(const std::string& text, ui::LeadByteTest isLead) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    EverySingleByteCharacter(text, isLead, [&](char c, std::size_t at) {
        if (c == '\\') {
            parts.push_back(text.substr(start, at - start));
            start = at + 1;
        }
        return true;
    });
    parts.push_back(text.substr(start));
    return parts;
}

// One line of a text file: its text, then its line end (CR LF, LF, CR or none).
struct LineSpan {
    std::string::size_type begin;
    std::string::size_type end;
    std::string::size_type next;
    bool HasLineEnd() const { return next > end; }
};

std::vector<LineSpan> SplitLines(const std::string& text, std::string::size_type position) {
    std::vector<LineSpan> lines;
    while (position < text.size()) {
        const std::string::size_type at = text.find_first_of("\r\n", position);
        if (at == std::string::npos) {
            lines.push_back({position, text.size(), text.size()});
            break;
        }
        const bool crlf = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
        const std::string::size_type next = at + (crlf ? 2 : 1);
        lines.push_back({position, at, next});
        position = next;
    }
    return lines;
}

std::string Trimmed(const std::string& text, std::string::size_type begin,
                    std::string::size_type end) {
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

std::string TrimmedText(const std::string& text, const LineSpan& line) {
    return Trimmed(text, line.begin, line.end);
}

// The file's own line end: that of its first line that ends in a line feed;
// CR alone in a file without line feeds; CR LF in a file of one line.
std::string FileLineEnd(const std::string& text, const std::vector<LineSpan>& lines) {
    bool anyLineEnd = false;
    for (const LineSpan& line : lines) {
        if (text.find('\n', line.end) < line.next)
            return text.substr(line.end, line.next - line.end);
        anyLineEnd = anyLineEnd || line.HasLineEnd();
    }
    return anyLineEnd ? "\r" : kCrLf;
}

// What goes in before a line added after `line`: nothing, or a line feed when
// `line` ends in CR alone in a file whose lines end in line feeds. Readers
// that end lines only at line feeds would otherwise read the two as one.
std::string LineFeedAfter(const std::string& text, const LineSpan& line,
                          const std::string& lineEnd) {
    const bool crAlone = line.next == line.end + 1 && text[line.end] == '\r';
    return crAlone && lineEnd.find('\n') != std::string::npos ? "\n" : "";
}

// Where a byte-order mark ends: the first line starts there.
std::string::size_type TextStart(const std::string& text) {
    return text.compare(0, std::strlen(kByteOrderMark), kByteOrderMark) == 0
               ? std::strlen(kByteOrderMark)
               : 0;
}

bool IsSectionHeader(const std::string& trimmed) { return !trimmed.empty() && trimmed[0] == '['; }

bool IsRenameHeader(const std::string& trimmed) {
    // Plain ASCII: no code page reads it otherwise.
    return SamePathText(trimmed, kSectionHeader, &ui::NoLeadBytes);
}

std::string MergeIntoText(const std::string& text, const std::string& line,
                          ui::LeadByteTest isLead) {
    // A byte-order mark stays where it is; the first line starts after it.
    const std::string::size_type start = TextStart(text);
    if (text.size() == start) return text + kSectionHeader + kCrLf + line;

    const std::vector<LineSpan> lines = SplitLines(text, start);
    const std::string lineEnd = FileLineEnd(text, lines);
    std::size_t header = 0;
    while (header < lines.size() && !IsRenameHeader(TrimmedText(text, lines[header]))) {
        ++header;
    }

    if (header == lines.size()) {
        // A new section at the end, which keeps the file's own ending.
        const LineSpan& final = lines.back();
        std::string merged = text;
        merged += final.HasLineEnd() ? LineFeedAfter(text, final, lineEnd) : lineEnd;
        merged += kSectionHeader + lineEnd + line;
        if (final.HasLineEnd()) merged += lineEnd;
        return merged;
    }

    // After the section's last line that holds something, so that the
    // operations already pending keep their order and run first.
    // Lines are compared as a reader of the list takes them, without the
    // blanks around them.
    const std::string wanted = Trimmed(line, 0, line.size());
    std::size_t last = header;
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        const std::string trimmed = TrimmedText(text, lines[i]);
        if (IsSectionHeader(trimmed)) break;
        if (trimmed.empty()) continue;
        if (SamePathText(trimmed, wanted, isLead)) return text;
        last = i;
    }
    const LineSpan& after = lines[last];
    std::string merged = text;
    if (after.HasLineEnd()) {
        merged.insert(after.next, LineFeedAfter(text, after, lineEnd) + line + lineEnd);
    } else {
        // The file's last line, without a line end: ours follows it likewise.
        merged.insert(after.end, lineEnd + line);
    }
    return merged;
}

// What one line of a [rename] section does to `file`: nothing, a
// replacement by another file (its source given back), or a deletion.
enum class Fate { Untouched, Replaced, Deleted };

Fate FateOf(const std::string& line, const std::string& file, ui::LeadByteTest isLead,
            std::string& source) {
    std::size_t equals = std::string::npos;
    EverySingleByteCharacter(line, isLead, [&](char c, std::size_t at) {
        if (c == '=') equals = at;
        return c != '=';
    });
    if (equals == std::string::npos) return Fate::Untouched;
    const std::string target = Trimmed(line, 0, equals);
    source = Trimmed(line, equals + 1, line.size());
    if (SamePathText(target, file, isLead)) return Fate::Replaced;
    if (SamePathText(target, "NUL", isLead) && SamePathText(source, file, isLead)) {
        return Fate::Deleted;
    }
    return Fate::Untouched;
}

}  // namespace

bool SamePathText(const std::string& a, const std::string& b, ui::LeadByteTest isLead) {
    if (a.size() != b.size()) return false;
    for (std::string::size_type i = 0; i < a.size(); ++i) {
        if (IsLeadAt(a, i, isLead)) {
            // The pair as a whole: its second byte is no letter to fold.
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsEightDotThreeName(const std::string& name, ui::LeadByteTest isLead) {
    if (HasControl(name)) return false;
    std::string::size_type dot = std::string::npos;
    const bool plain = EverySingleByteCharacter(name, isLead, [&](char c, std::size_t at) {
        if (c == '.' && dot == std::string::npos) dot = at;
        return c != ' ' && c != '\\' && std::strchr(kNeverInNames, c) == nullptr &&
               std::strchr(kLongNameOnly, c) == nullptr;
    });
    if (!plain) return false;
    const std::string::size_type baseLength = dot == std::string::npos ? name.size() : dot;
    if (baseLength == 0 || baseLength > 8) return false;
    if (dot == std::string::npos) return true;
    const std::string extension = name.substr(dot + 1);
    if (extension.empty() || extension.size() > 3) return false;
    return extension.find('.') == std::string::npos;
}

bool IsPlainAbsolutePath(const std::string& path, ui::LeadByteTest isLead) {
    if (HasControl(path)) return false;
    if (path.size() < 4 || !IsAsciiLetter(path[0]) || path[1] != ':' || path[2] != '\\') {
        return false;
    }
    for (const std::string& part : Components(path.substr(3), isLead)) {
        if (part.empty() || part == "." || part == "..") return false;
        const bool allowed = EverySingleByteCharacter(part, isLead, [](char c, std::size_t) {
            return std::strchr(kNeverInNames, c) == nullptr;
        });
        if (!allowed) return false;
    }
    return true;
}

bool HasOnlyShortComponents(const std::string& path, ui::LeadByteTest isLead) {
    if (path.size() < 3) return false;
    for (const std::string& part : Components(path.substr(3), isLead)) {
        if (!IsEightDotThreeName(part, isLead)) return false;
    }
    return true;
}

bool IsPlainAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) > 0x7F) return false;
    }
    return true;
}

std::string DeletionLineFor(const std::string& path, ui::LeadByteTest isLead) {
    if (path.size() > kLongestStartupPath || !IsPlainAbsolutePath(path, isLead) ||
        !HasOnlyShortComponents(path, isLead)) {
        return std::string();
    }
    return kDeleteTarget + path;
}

std::string ReplacementLineFor(const std::string& target, const std::string& source,
                               ui::LeadByteTest isLead) {
    const std::string deleting = DeletionLineFor(target, isLead);
    const std::string from = DeletionLineFor(source, isLead);
    if (deleting.empty() || from.empty()) return std::string();
    return target + "=" + source;
}

std::string MergeRenameList(const std::string& existing, const std::string& line,
                            ui::LeadByteTest isLead) {
    // A line after an end-of-text mark would never be read: ours goes before it.
    const std::string::size_type end = existing.find(kEndOfText);
    const std::string text = existing.substr(0, end);
    const std::string tail = end == std::string::npos ? std::string() : existing.substr(end);
    return MergeIntoText(text, line, isLead) + tail;
}

std::string WithoutOperationsOn(const std::string& existing, const std::string& file,
                                const std::string& keep, ui::LeadByteTest isLead,
                                std::vector<std::string>* replacedBy) {
    // Nothing after an end-of-text mark is read, so nothing there is taken out.
    const std::string::size_type end = std::min(existing.find(kEndOfText), existing.size());
    const std::string::size_type start = TextStart(existing);
    const std::string wanted = Trimmed(keep, 0, keep.size());
    std::string result = existing.substr(0, start);
    bool inRename = false;
    for (const LineSpan& line : SplitLines(existing.substr(0, end), start)) {
        const std::string trimmed = TrimmedText(existing, line);
        if (IsSectionHeader(trimmed)) {
            inRename = IsRenameHeader(trimmed);
        } else if (inRename && !trimmed.empty() && !SamePathText(trimmed, wanted, isLead)) {
            std::string source;
            const Fate fate = FateOf(trimmed, file, isLead, source);
            if (fate != Fate::Untouched) {
                if (fate == Fate::Replaced && replacedBy != nullptr) replacedBy->push_back(source);
                continue;
            }
        }
        result.append(existing, line.begin, line.next - line.begin);
    }
    return result + existing.substr(end);
}

}  // namespace engine
