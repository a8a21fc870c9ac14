// What screen readers learn of each control, asked of the session as they
// ask: its role, name, description, value and state; a press that clicks it;
// and a bet list's entries as items that can be selected.
#pragma once

#include "qt/control_widget.h"

namespace morvik {

// From now on, Qt's accessibility asks the session about every ControlWidget.
void installAccessibility();

// Tells assistive technology what changed between `before` and `now`; the
// readout's value is announced only when the spin stops.
void tellChanges(ControlWidget* widget, const Accessible& before, const Accessible& now);

} // namespace morvik
