#include "workspace/ui/QelvoApp.h"

int main(int argc, char** argv) {
  return RunQelvo(argc, argv);
}
