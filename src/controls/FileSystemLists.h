// The lists of the select-directory dialog: the directory tree of one path
// with the subdirectories of its last directory, the files of a directory,
// the drives of the machine, and a label that shows a path shortened to fit.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/list_controls.h"
#include "ui/std_controls.h"

namespace controls {

// The path's directories from the root, each opened, then the last one's
// subdirectories, closed. Double-clicking a row opens its directory.
class TDirectoryListBox : public ui::TListBox {
    QUARNEL_COMPONENT(TDirectoryListBox, ui::TListBox)
public:
    explicit TDirectoryListBox(ui::TComponent* owner);

    // The shown directory: a full path, with a backslash only for a root.
    const std::string& Directory() const { return directory_; }
    // Shows a directory; a bare drive ("C:") shows that drive's current
    // directory. Answers false, changing nothing, when it cannot be read.
    bool SetDirectory(const std::string& directory);
    char Drive() const { return directory_.empty() ? '\0' : directory_[0]; }
    // Moves to the drive's current directory.
    bool SetDrive(char letter);
    // The directory that a row stands for.
    std::string ItemPath(int index) const;

    ui::TNotifyEvent OnChange;

    bool SetEvent(const std::string& event, const std::any& handler) override;

protected:
    void DrawItem(int index, HDC dc, const RECT& rect, UINT state) override;
    void DblClick() override;

private:
    struct Row {
        int level = 0;
        bool open = false;
    };
    std::string directory_;
    std::vector<Row> rows_;
};

// The normal files (neither directories, hidden nor system files) of a
// directory that match the mask, sorted by name.
class TFileListBox : public ui::TListBox {
    QUARNEL_COMPONENT(TFileListBox, ui::TListBox)
public:
    explicit TFileListBox(ui::TComponent* owner);

    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& directory);
    const std::string& Mask() const { return mask_; }

private:
    std::string directory_;
    std::string mask_ = "*.*";
};

// The drives of the machine, each with a picture of its kind.
class TDriveComboBox : public ui::TComboBox {
    QUARNEL_COMPONENT(TDriveComboBox, ui::TComboBox)
public:
    explicit TDriveComboBox(ui::TComponent* owner);

    // The chosen drive's letter, upper case; '\0' when none is chosen.
    char Drive() const;
    // Chooses a drive without telling OnChange.
    void SetDrive(char letter);
    // Reads the machine's drives again (after a network connection).
    void BuildList();

protected:
    void DrawItem(int index, HDC dc, const RECT& rect, UINT state) override;

private:
    std::vector<char> letters_;
};

// Shortens a path for `maxWidth` pixels: inner directories give way to
// "...", the drive and the last directory stay while they can.
std::string ShortenPathToFit(const std::string& path,
                             const std::function<int(const std::string&)>& widthOf, int maxWidth);

// A label that shows a directory, shortened to the label's width.
class TPathLabel : public ui::TLabel {
    QUARNEL_COMPONENT(TPathLabel, ui::TLabel)
public:
    explicit TPathLabel(ui::TComponent* owner);
    void SetDirectory(const std::string& directory) { SetCaption(directory); }
    // The text as drawn now.
    std::string ShownText() const;
    void Paint(HDC dc) override;
};

// Makes the dialog's list classes known to the form data loader.
void RegisterFileSystemListClasses();

}  // namespace controls
