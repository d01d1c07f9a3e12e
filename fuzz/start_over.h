// StartOver(host): what each fuzz input starts from and what it leaves behind: a fresh drawing
// and an empty command line, meter log and message-box log, and no injected host faults.
// Host::reset would do more, but every reset adds a new window tree to the host's list of windows,
// so a run of a million inputs would slow down and grow with it.
#pragma once

#include "kafhost/host.h"

void StartOver(kafhost::Host& host);
