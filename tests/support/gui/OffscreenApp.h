#pragma once
// The one QApplication of a widget test program, on the offscreen platform, and the settling of
// posted events that the tests do after each action.

namespace testsupport {

// Makes the application when there is none yet. `programName` is its argv[0].
void EnsureOffscreenApp(const char* programName);

// Processes posted events (deferred deletes and queued signals included) a few times, without
// waiting for time.
void Settle();

}  // namespace testsupport
