// The start-up rename list's text: the deletion line made for a path, and
// its merge into a list other programs share. The input is a path, a zero
// byte and the list (or only a list, merged with a line of our own). Each
// is taken in a single-byte and in a double-byte code page.
//
// The line holds no control character and names the path as given. The
// merge keeps every byte of the list, in order and in one piece, and puts
// in nothing but our line, the section header and line ends; afterwards the
// first [rename] section holds our line, added only where it was missing,
// and merging again changes nothing. Taking out the operations on our file
// leaves none of them in a [rename] section but the line kept, keeps every
// other line in order, changes nothing when done again, and leaves our
// line, where one was kept, for the merge to find.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/RenameListText.h"
#include "ui/path_text.h"

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "rename list: %s\n", what);
    std::abort();
}

// Lead bytes of Shift-JIS, code page 932: some second bytes are backslashes.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Letters match in either case, but never a second byte of a double-byte
// character: that is compared as it stands.
bool SameText(const std::string& a, const std::string& b, ui::LeadByteTest isLead) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLead(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

// The list's lines, trimmed, read as the start-up reads the list: up to an
// end-of-text mark, after a byte-order mark, lines ended by CR LF, LF or CR,
// blanks around them ignored.
std::vector<std::string> ListLines(const std::string& list) {
    std::string text = list.substr(0, list.find('\x1A'));
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(Trimmed(text.substr(at, end - at)));
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

bool IsHeader(const std::string& line) { return !line.empty() && line[0] == '['; }

// How often the first [rename] section holds `line`, case ignored. -1 when
// there is no such section.
int TimesInSection(const std::string& list, const std::string& line, ui::LeadByteTest isLead) {
    int found = -1;
    for (const std::string& current : ListLines(list)) {
        if (found < 0) {
            if (SameText(current, "[rename]", &ui::NoLeadBytes)) found = 0;
        } else if (IsHeader(current)) {
            break;
        } else if (SameText(current, Trimmed(line), isLead)) {
            ++found;
        }
    }
    return found;
}

// The lines of every [rename] section that hold something.
std::vector<std::string> RenameLines(const std::string& list) {
    std::vector<std::string> lines;
    bool inRename = false;
    for (const std::string& current : ListLines(list)) {
        if (IsHeader(current)) {
            inRename = SameText(current, "[rename]", &ui::NoLeadBytes);
        } else if (inRename && !current.empty()) {
            lines.push_back(current);
        }
    }
    return lines;
}

// True for "file=..." and "NUL=file": what the start does to `file`. The
// first "=" that is not the second byte of a double-byte character splits.
bool DecidesOn(const std::string& line, const std::string& file, ui::LeadByteTest isLead) {
    std::size_t equals = 0;
    while (equals < line.size() && line[equals] != '=')
        equals +=
            isLead(static_cast<unsigned char>(line[equals])) && equals + 1 < line.size() ? 2 : 1;
    if (equals >= line.size()) return false;
    const std::string target = Trimmed(line.substr(0, equals));
    return SameText(target, file, isLead) ||
           (SameText(target, "NUL", isLead) &&
            SameText(Trimmed(line.substr(equals + 1)), file, isLead));
}

// After a take-out no operation on `file` is left but the line kept, and
// every other line of the [rename] sections is, in its order.
void CheckNothingLeftOn(const std::string& existing, const std::string& left,
                        const std::string& file, const std::string& keep, ui::LeadByteTest isLead) {
    std::vector<std::string> expected;
    for (const std::string& line : RenameLines(existing))
        if (!DecidesOn(line, file, isLead) || SameText(line, Trimmed(keep), isLead))
            expected.push_back(line);
    const std::vector<std::string> actual = RenameLines(left);
    for (const std::string& line : actual)
        if (DecidesOn(line, file, isLead) && !SameText(line, Trimmed(keep), isLead))
            Broken("an operation on the file is left after taking it out");
    if (actual != expected) Broken("taking out lost or changed another line");
}

void CheckLine(const std::string& line, const std::string& path, ui::LeadByteTest isLead) {
    if (line.compare(0, 4, "NUL=") != 0 || line.substr(4) != path)
        Broken("the line does not name the path");
    for (const char c : line)
        if (IsControl(static_cast<unsigned char>(c))) Broken("a control character in the line");
    if (path.size() > engine::kLongestStartupPath) Broken("a path longer than DOS takes");
    if (!engine::IsPlainAbsolutePath(path, isLead) || !engine::HasOnlyShortComponents(path, isLead))
        Broken("a line for a path that is refused");
}

void CheckMerge(const std::string& existing, const std::string& line, ui::LeadByteTest isLead) {
    const std::string merged = engine::MergeRenameList(existing, line, isLead);
    if (merged.size() < existing.size()) Broken("the merge lost bytes");
    std::size_t prefix = 0;
    while (prefix < existing.size() && merged[prefix] == existing[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < existing.size() - prefix &&
           merged[merged.size() - 1 - suffix] == existing[existing.size() - 1 - suffix])
        ++suffix;
    if (prefix + suffix != existing.size()) Broken("the list's bytes are not kept in one piece");

    std::string added = merged.substr(prefix, merged.size() - existing.size());
    const int before = TimesInSection(existing, line, isLead);
    const int after = TimesInSection(merged, line, isLead);
    if (added.empty()) {
        if (before < 1) Broken("nothing added to a list without our line");
    } else {
        const std::size_t at = added.find(line);
        if (at == std::string::npos || added.find(line, at + 1) != std::string::npos)
            Broken("our line not added exactly once");
        added.erase(at, line.size());
        const std::size_t header = added.find("[rename]");
        if (header != std::string::npos) added.erase(header, 8);
        if (added.find_first_not_of("\r\n") != std::string::npos)
            Broken("more than our line, the header and line ends added");
        if (before > 0) Broken("our line added to a section that holds it");
        if (after != 1) Broken("after the merge the first section does not hold our line once");
    }
    if (engine::MergeRenameList(merged, line, isLead) != merged)
        Broken("a second merge changes the list");
}

void CheckTakingOut(const std::string& existing, const std::string& file, const std::string& line,
                    ui::LeadByteTest isLead) {
    std::vector<std::string> sources;
    const std::string left = engine::WithoutOperationsOn(existing, file, line, isLead, &sources);
    if (left.size() > existing.size()) Broken("taking out made the list longer");
    CheckNothingLeftOn(existing, left, file, line, isLead);
    // Nothing kept: what a copy made now does to the list.
    CheckNothingLeftOn(existing, engine::WithoutOperationsOn(existing, file, "", isLead, nullptr),
                       file, "", isLead);
    if (engine::WithoutOperationsOn(left, file, line, isLead, nullptr) != left)
        Broken("taking out again changes the list");
    if (left.size() == existing.size() && !sources.empty())
        Broken("a replacement reported as taken out but nothing went");
    if (TimesInSection(existing, line, isLead) > 0 && TimesInSection(left, line, isLead) < 1)
        Broken("the line to keep went");
    CheckMerge(left, line, isLead);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string path =
        split == std::string::npos ? std::string("C:\\QUARNEL\\SETUP.EXE") : input.substr(0, split);
    const std::string existing = split == std::string::npos ? input : input.substr(split + 1);
    for (const ui::LeadByteTest isLead : {&ui::NoLeadBytes, &ShiftJisLead}) {
        std::string line = engine::DeletionLineFor(path, isLead);
        if (!line.empty())
            CheckLine(line, path, isLead);
        else
            line = "NUL=C:\\QUARNEL\\SETUP.EXE";
        CheckMerge(existing, line, isLead);
        CheckTakingOut(existing, line.substr(4), line, isLead);
    }
    return 0;
}
