#include "fuzz/start_over.h"

void StartOver(kafhost::Host& host) {
    host.resetDrawing();
    host.clearCommandLine();
    host.clearMeterEvents();
    host.clearMessageBoxes();
    host.clearFaults();
}
