// dashvane: the desktop program. Started by the dealer system's menu with the launch token as
// its only argument.
#include "shell/qt/program.h"

int main(int argc, char** argv) {
    return dv::qt::RunDashvane(argc, argv);
}
