// The relief file header checks.
#include "model/relief_header.h"

#include <cmath>
#include <cstring>

#include "frame/messages.h"

void CheckReliefHeaderAndWarn(uint8_t* header) {
  for (int offset = 10; offset <= 30; offset += 4) {
    float v;
    memcpy(&v, header + offset, 4);
    const bool step = offset <= 18;
    if (!std::isfinite(v) || (step && v == 0.0f)) {
      v = step ? 1.0f : 0.0f;
      memcpy(header + offset, &v, 4);
    }
  }
  int16_t lowest, highest;
  memcpy(&lowest, header + 6, 2);
  memcpy(&highest, header + 8, 2);
  if (highest < lowest) {
    lowest = -32767;
    highest = 32767;
    memcpy(header + 6, &lowest, 2);
    memcpy(header + 8, &highest, 2);
    header[0] = 255;
    ShowTitledMessage(GetMessageText(697, -39) + " - " + GetMessageText(58, -39));
  }
}
