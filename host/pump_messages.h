// PumpMessages(): lets the host process the window messages waiting for its main window.
// PumpMessagesThrottled(): the same, but only when more than 0.5 s have passed since the last
// throttled pump (module-wide LastPumpTick), and always the first time after the module was
// loaded; gives 0. Long loops call it freely.
#pragma once

void PumpMessages();
int PumpMessagesThrottled();
