#include "engine/ProgressTarget.h"

#include <vector>

namespace engine {

namespace {

// Built on first use and kept for the life of the program.
const std::vector<ProgressTarget::PropertyNames>& KnownKinds() {
    static const std::vector<ProgressTarget::PropertyNames> kinds = {
        {"TProgressBar", "Max", "Min", "Position"},
        {"TGauge", "MaxValue", "MinValue", "Progress"},
    };
    return kinds;
}

}  // namespace

ProgressTarget::ProgressTarget(ui::TComponent* control) : control_(control), names_(nullptr) {
    if (control_ == nullptr) return;
    for (const PropertyNames& names : KnownKinds()) {
        // A control derived from a listed kind counts as that kind.
        if (control_->InheritsFrom(names.kind)) {
            names_ = &names;
            break;
        }
    }
}

void ProgressTarget::Set(const char* PropertyNames::*which, int value) const {
    if (names_ != nullptr) control_->SetIntProperty(names_->*which, value);
}

void ProgressTarget::SetMaximum(int value) const { Set(&PropertyNames::maximum, value); }
void ProgressTarget::SetMinimum(int value) const { Set(&PropertyNames::minimum, value); }
void ProgressTarget::SetPosition(int value) const { Set(&PropertyNames::position, value); }

}  // namespace engine
