// Drag and drop between the controls of the program's own windows: one drag
// at a time, started by a press on a control in automatic drag mode or by
// BeginDrag, followed with the mouse captured, ended by releasing the
// button (a drop where the control under the mouse accepts) or by Escape.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/component.h"

namespace ui {

class TControl;

enum class TDragMode { dmManual, dmAutomatic };
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// Mouse cursors by the numbers the form data uses.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crNo = -18;

// The platform cursor for a cursor number (the arrow for unknown numbers);
// crDrag is the program's own arrow with a box. The handle is shared: it is
// not to be destroyed.
HCURSOR CursorHandle(TCursor cursor);
// A cursor of the form data: one of the names above or a number.
TCursor CursorFromValue(const std::string& property, const PropertyValue& value);

// Dragging has begun (once the mouse has moved far enough, or at once).
using TStartDragEvent = std::function<void(TComponent* sender)>;
// The dragged `source` is over the sender at (x, y), in the sender's client
// coordinates; `accept` starts true and says whether a drop is welcome.
using TDragOverEvent = std::function<void(TComponent* sender, TComponent* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TComponent* sender, TComponent* source, int x, int y)>;
// Dragging has ended: `target` took the drop at (x, y), in its client
// coordinates, or is none when the drag was cancelled or nothing accepted it.
using TEndDragEvent = std::function<void(TComponent* sender, TComponent* target, int x, int y)>;

namespace dragging {

// Starts following a drag of `source` from the screen point `start`: at once
// when `immediate`, else once the mouse has moved more than `threshold`
// pixels away with the button held. Nothing when a drag is under way.
void Begin(TControl* source, bool immediate, int threshold, POINT start);
// Ends the drag of `source` (if it is the one dragged): with a drop on an
// accepting control under the mouse, or cancelled.
void End(TControl* source, bool drop);
bool IsDragged(const TControl* control);
// Seen by every window of the program before its own handling; answers
// whether the message was the drag's and is done with.
bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A control is being freed: the drag forgets it (and ends if it was the
// source).
void ControlGone(TControl* control);

}  // namespace dragging
}  // namespace ui
