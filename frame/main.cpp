// Program entry.
#include "frame/program_start.h"

int main(int argc, char** argv) { ProgramBody(argc, argv); }
