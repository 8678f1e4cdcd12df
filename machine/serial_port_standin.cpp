// TEMPORARY STAND-IN: see serial_port_standin.h.
#include "machine/serial_port_standin.h"

void CloseSerialPort() {}
