// TEMPORARY STAND-IN: see nc_output_standin.h.
#include "machine/nc_output_standin.h"

void CloseMachineConnection() {}

void RunControllerHandOver() {}

#include <cmath>

#include "machine/nc_settings.h"
#include "ui/input_form.h"

void ChooseNcDialect(int16_t& dialect) {
  TNcSettings settings;
  LoadNcSettings(settings);
  TInputField fields[kInputFieldEntries];
  fields[0].caption = "Maschinentyp";
  fields[0].kind = 'S';
  fields[0].value = settings.CurrentDialect >= 0 ? settings.CurrentDialect : 0;
  fields[0].lowerLimit = 0;
  fields[0].upperLimit = 100;
  fields[0].width = 5;
  fields[0].decimals = 0;
  dialect = -1;
  if (RunInputForm("DIN/ISO", fields, 1) == 3) return;
  dialect = static_cast<int16_t>(std::lround(fields[0].value));
  if (dialect < 0 || dialect > 100) {
    dialect = -1;
    return;
  }
  settings.CurrentDialect = dialect;
  StoreNcSettings(settings);
}
