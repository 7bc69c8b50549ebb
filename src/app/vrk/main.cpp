// The desktop program: the start-up sequence and the message loop.
#include "shell/Startup.h"

int main(int argc, char** argv) { return vrk::runVrk(argc, argv); }
