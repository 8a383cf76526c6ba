// A non-visual component that paints its form's title bar: a colour ramp
// from a start colour to the system caption colour, the small icon and the
// caption text, in place of the platform's flat title bar. It sees the
// form's messages through the window hook service and paints after the
// platform's own non-client painting.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/WindowHook.h"
#include "ui/form.h"
#include "ui/menus.h"

namespace controls {

enum class THideDirection { hdLeftToRight, hdRightToLeft };

class TGradientCaption;
class TCaptionList;

// An extra piece of caption text drawn before the form's caption.
class TCaptionSegment {
public:
    // A segment of `list` (which may be none) takes its caption's font.
    explicit TCaptionSegment(TCaptionList* list);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    ui::TFont& Font() { return font_; }
    const ui::TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    ui::TColor InactiveColor() const { return inactiveColor_; }
    void SetInactiveColor(ui::TColor color);
    // When segments are dropped for lack of room, this one goes with the next.
    bool GlueNext() const { return glueNext_; }
    void SetGlueNext(bool glue);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Takes the caption component's font again (ParentFont stays true).
    void TakeParentFont(const ui::TFont& font);

private:
    void Changed(bool onlyWhenInactive = false);

    TCaptionList* list_;
    std::string caption_;
    ui::TFont font_;
    bool parentFont_ = true;
    bool settingFont_ = false;
    ui::TColor inactiveColor_ = ui::clInactiveCaptionText;
    bool glueNext_ = false;
    bool visible_ = true;
};

class TCaptionList {
public:
    explicit TCaptionList(TGradientCaption* owner) : owner_(owner) {}
    TGradientCaption* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCaptionSegment& Item(int index) { return *items_.at(static_cast<size_t>(index)); }
    const TCaptionSegment& Item(int index) const { return *items_.at(static_cast<size_t>(index)); }
    TCaptionSegment& Add();
    void Clear();

private:
    TGradientCaption* owner_;
    std::vector<std::unique_ptr<TCaptionSegment>> items_;
};

// Where the painted caption lies, in screen coordinates, for a window of
// `windowRect` with the border style and icons of its form; the caption
// buttons at the right are left out.
struct CaptionGeometry {
    RECT rect;
    unsigned icons;  // the border icons the platform shows for this style
    int buttons;
};
CaptionGeometry CaptionRectFor(const RECT& windowRect, ui::TBorderStyle style, unsigned icons);

// `text` cut from its end and ended with "..." until it is at most
// `available` wide in dc's font; "..." alone when nothing shorter fits.
std::string ShortenCaptionText(HDC dc, const std::string& text, int available);

class TGradientCaption : public ui::TComponent {
    QUARNEL_COMPONENT(TGradientCaption, ui::TComponent)
public:
    explicit TGradientCaption(ui::TComponent* owner);
    ~TGradientCaption() override;

    bool Active() const { return active_; }
    void SetActive(bool active);
    TCaptionList& Captions() { return captions_; }
    bool DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(bool defaultFont);
    const std::string& FormCaption() const { return formCaption_; }
    void SetFormCaption(const std::string& caption);
    ui::TColor FontInactiveColor() const { return fontInactiveColor_; }
    void SetFontInactiveColor(ui::TColor color);
    ui::TFont& Font() { return font_; }
    bool GradientActive() const { return gradientActive_; }
    void SetGradientActive(bool gradient);
    bool GradientInactive() const { return gradientInactive_; }
    void SetGradientInactive(bool gradient);
    int GradientSteps() const { return gradientSteps_; }
    void SetGradientSteps(int steps);
    THideDirection HideDirection() const { return hideDirection_; }
    void SetHideDirection(THideDirection direction);
    ui::TColor StartColor() const { return startColor_; }
    void SetStartColor(ui::TColor color);
    // The menu a right click in the title bar shows; none once it is freed.
    ui::TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(ui::TPopupMenu* menu);

    ui::TNotifyEvent OnActivate;
    ui::TNotifyEvent OnDeactivate;

    // Whether the window counts as active for the look of the caption.
    bool WindowActive() const { return windowActive_; }
    // Hooks or unhooks the form as Active says and repaints its frame.
    void Update();
    // Active, on a new-style platform, and owned by a form.
    bool CountsAsActive() const;
    // Composes the caption and copies it into dc, the form's whole-window
    // device context.
    void DrawCaption(HDC dc);
    TWindowHook* Hook() const { return hook_; }

    void Loaded() override;
    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;

protected:
    void Notification(ui::TComponent* component, ui::Operation operation) override;

private:
    ui::TForm* OwnerForm() const;
    void SetSystemCaptionFont();
    void FontChanged();
    void BeforeMessage(THookMessage& message, bool& handled);
    void AfterMessage(THookMessage& message, bool& handled);
    void PaintNow(HWND window);
    void ShowAfterActivation(HWND window);
    void DrawSmallIcon(HDC dc, int x, int height);
    int DrawText(HDC dc, const std::string& text, const ui::TFont& font, ui::TColor inactive, int x,
                 int right, int height);
    void DrawSegments(HDC dc, int x, int right, int height);

    bool active_ = true;
    TCaptionList captions_;
    bool defaultFont_ = true;
    std::string formCaption_;
    ui::TColor fontInactiveColor_ = ui::clInactiveCaptionText;
    ui::TFont font_;
    bool settingFont_ = false;
    bool gradientActive_ = true;
    bool gradientInactive_ = false;
    int gradientSteps_ = 64;
    THideDirection hideDirection_ = THideDirection::hdLeftToRight;
    ui::TColor startColor_ = ui::clWindowText;
    ui::TPopupMenu* popupMenu_ = nullptr;
    std::string popupMenuName_;  // from form data, found once loaded

    bool windowActive_ = false;
    HRGN savedRegion_ = nullptr;
    bool regionReplaced_ = false;
    bool hiddenForActivation_ = false;
    bool rightButtonDown_ = false;  // a right button went down in the frame
    TWindowHook* hook_;

    friend class TCaptionSegment;
};

void RegisterGradientCaptionClass();

}  // namespace controls
