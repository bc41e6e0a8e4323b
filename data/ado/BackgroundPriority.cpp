#include "data/ado/BackgroundPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace ado {

void LowerThisThreadPriority() {
  // On Linux the nice value belongs to the thread whose id is given.
  const pid_t thread = gettid();
  const int current = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
  if (current < 5) setpriority(PRIO_PROCESS, static_cast<id_t>(thread), 5);
}

}  // namespace ado
