// Program entry.
#include "app/program_start.h"

int main(int argc, char** argv) { ProgramBody(argc, argv); }
