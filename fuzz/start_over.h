// StartOver(host): what each fuzz input starts from and what it leaves behind: a fresh drawing
// and an empty command line, meter log and message-box log, and no injected host faults.
// Host::reset would do more than that: it also forgets the registered message filters, which the
// loaded module keeps track of itself, and rebuilds the window tree.
#pragma once

#include "kafhost/host.h"

inline void StartOver(kafhost::Host& host) {
    host.resetDrawing();
    host.clearCommandLine();
    host.clearMeterEvents();
    host.clearMessageBoxes();
    host.clearFaults();
}
