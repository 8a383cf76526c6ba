// The control a file copy reports to. Controls of different kinds name their
// range and position differently; the kind decides which names are set, and a
// control of an unknown kind (or none at all) ignores the settings.
#pragma once

#include "ui/component.h"

namespace engine {

class ProgressTarget {
public:
    explicit ProgressTarget(ui::TComponent* control);

    // Each passes on whatever the control's setter raises (a range error).
    void SetMaximum(int value) const;
    void SetMinimum(int value) const;
    void SetPosition(int value) const;

    struct PropertyNames {
        const char* kind;
        const char* maximum;
        const char* minimum;
        const char* position;
    };

private:
    void Set(const char* PropertyNames::*which, int value) const;

    ui::TComponent* control_;
    const PropertyNames* names_;
};

}  // namespace engine
