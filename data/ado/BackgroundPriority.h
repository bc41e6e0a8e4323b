#pragma once
// Threads that work behind the window (the fetch worker, the release thread) step back for the
// thread that draws it: while both want the processor, the window's thread gets most of it, and
// when it sleeps they get all of it.
namespace ado {

// Lowers the calling thread's scheduling priority a little (Linux nice +5 on this thread only).
// Does nothing where the system refuses.
void LowerThisThreadPriority();

}  // namespace ado
