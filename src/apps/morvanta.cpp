// morvanta: the show. Run it in the folder that holds morvanta.dat and
// morvanta.xm.
#include "program/program.h"

int main(int argc, char** argv) { program::startup(argc, argv); }
