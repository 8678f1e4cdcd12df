// TEMPORARY STAND-IN for the machine drivers, to be replaced when they are
// built. No serial port can be opened yet, so there is nothing to close.
#pragma once

void CloseSerialPort();
