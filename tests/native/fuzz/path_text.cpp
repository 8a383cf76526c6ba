// Path text on any bytes, in a single-byte and in a double-byte code page:
// the parts of a path put together give the path, separators are found only
// where a character starts, and a directory maker's walk goes outward by
// whole characters and ends.
#include "ui/path_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "path text: %s\n", what);
    std::abort();
}

// Lead bytes of Shift-JIS, code page 932: some second bytes are backslashes.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

void CheckChain(const std::vector<std::size_t>& chain, const std::string& path,
                const std::vector<bool>& starts) {
    std::size_t previous = path.size() + 1;
    for (const std::size_t length : chain) {
        if (length >= previous) Broken("the walk does not go outward");
        if (length < 3 || (length < path.size() && !starts[length]))
            Broken("the walk stops inside a character or below three");
        previous = length;
    }
}

void Check(const std::string& path, ui::LeadByteTest isLead) {
    std::vector<bool> starts(path.size(), false);
    std::size_t last = std::string::npos, separator = std::string::npos;
    for (std::size_t at = 0; at < path.size();
         at += isLead(static_cast<unsigned char>(path[at])) && at + 1 < path.size() ? 2 : 1) {
        starts[at] = true;
        last = at;
        if (path[at] == '\\' || path[at] == ':') separator = at;
    }
    if (ui::LastCharacterStart(path, isLead) != last) Broken("the wrong last character");
    if (ui::LastSeparator(path, isLead) != separator) Broken("the wrong last separator");
    // The forward search stops exactly at the backslashes that are characters.
    std::size_t found = ui::NextBackslash(path, 0, isLead);
    for (std::size_t at = 0; at < path.size(); ++at) {
        if (!starts[at] || path[at] != '\\') continue;
        if (found != at) Broken("a backslash character passed over, or a half taken");
        found = ui::NextBackslash(path, at + 1, isLead);
    }
    if (found != std::string::npos) Broken("a backslash found where none is");
    if (ui::DirectoryPart(path, isLead) + ui::FileNamePart(path, isLead) != path)
        Broken("directory and file name do not make the path");
    const bool backslash =
        last != std::string::npos && last + 1 == path.size() && path[last] == '\\';
    if (ui::EndsWithBackslash(path, isLead) != backslash) Broken("a trailing backslash misread");

    const std::string appended = ui::AppendBackslash(path, isLead);
    if (appended.compare(0, path.size(), path) != 0 || appended.size() > path.size() + 2)
        Broken("appending changed the path");
    // A path that ends in half a character (a lead byte and nothing after
    // it) is no text of that code page: the backslash appended completes the
    // character instead of ending the path. No typed path ends so.
    const bool loneLead = last != std::string::npos && last + 1 == path.size() &&
                          isLead(static_cast<unsigned char>(path[last]));
    if (!path.empty() && !loneLead && appended.size() > path.size() &&
        !ui::EndsWithBackslash(appended, isLead))
        Broken("appended, yet no trailing backslash");

    // Canonical once is canonical: no backslash character follows another
    // past the network pair, and only backslashes went.
    const std::string canonical = ui::CanonicalPath(path, isLead);
    if (ui::CanonicalPath(canonical, isLead) != canonical) Broken("canonical twice differs");
    std::size_t kept = 0;
    for (const char c : path) kept += c != '\\' ? 1 : 0;
    for (const char c : canonical) kept -= c != '\\' ? 1 : 0;
    if (kept != 0 || canonical.size() > path.size()) Broken("canonical lost more than backslashes");
    bool afterBackslash = false;
    for (std::size_t at = 0; at < canonical.size();) {
        const std::size_t length =
            isLead(static_cast<unsigned char>(canonical[at])) && at + 1 < canonical.size() ? 2 : 1;
        const bool backslash = length == 1 && canonical[at] == '\\';
        if (backslash && afterBackslash && at != 1) Broken("a doubled backslash left");
        afterBackslash = backslash;
        at += length;
    }

    const auto leave = ui::DirectoryChain(path, isLead, ui::OwnParent::Leave);
    const auto make = ui::DirectoryChain(path, isLead, ui::OwnParent::Make);
    CheckChain(leave, path, starts);
    CheckChain(make, path, starts);
    if (make.size() < leave.size() || make.size() > leave.size() + 1 ||
        !std::equal(leave.begin(), leave.end(), make.begin()))
        Broken("the two walks differ in more than the directory that is its own parent");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    Check(path, &ui::NoLeadBytes);
    Check(path, &ShiftJisLead);
    return 0;
}
