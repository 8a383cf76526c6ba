// One setup at a time. Two quick starts from a slow CD drive, or the
// installed copy started from the Add/Remove Programs entry while the disc's
// setup runs, would otherwise race on the same files, the same records and
// the same start-up rename list.
#pragma once

#include "ui/handles.h"

namespace app {

// The name every copy of the program claims, wherever it was started from.
inline constexpr char kSingleInstanceName[] = "Quarnel Setup: one at a time";

// What a copy that finds another one running does about that one.
enum class RunningSetup {
    BringToFront,  // a start by the user: the running copy is what they want
    LeaveAlone,    // an unattended run: it ends with its code, disturbing nobody
};

// Claims the run for this process before it makes any window: `claim` then
// holds the claim until the program ends, and the answer is true. When
// another copy holds it, the answer is false: this copy is to end without
// showing anything; with RunningSetup::BringToFront that copy's front window
// (the agreement window, the setup window, or a box in front of them) is
// brought to the front first. A claim the platform cannot make at all lets
// the program run.
bool ClaimSingleInstance(ui::ScopedHandle& claim,
                         RunningSetup running = RunningSetup::BringToFront);

}  // namespace app
