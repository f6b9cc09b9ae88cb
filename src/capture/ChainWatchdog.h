// Keeps capturing when the viewer chain breaks ahead of the main window: a viewer that was killed
// without leaving, or one that does not pass notices on. A clipboard format listener hears of every
// change without the chain; when a change does not arrive through the chain as well, the chain is
// repaired and the change captured. No timer: it only wakes when the clipboard changes.
#pragma once

#include <windows.h>

namespace capture {

// Starts listening for the main window (while the manager is on); false where the system has no
// clipboard format listener, and then nothing else changes.
bool StartWatchdog(HWND mainWindow);
void StopWatchdog();
bool WatchdogRunning();
// Messages the watchdog has handled, for tests that check it sleeps while nothing changes.
unsigned WatchdogMessageCount();

}  // namespace capture
