// The registers and field bindings the CO2 sensors and transmitters share (TKDG, KDG, TKRG, KRG).
#ifndef ZENTIL_DEVICES_SENSORS_CO2_FIELDS_H
#define ZENTIL_DEVICES_SENSORS_CO2_FIELDS_H

#include "devices/sensors/model_dialog.h"

const int REG_CO2_LOW_LIMIT = 62;   // CO2 indication limits, whole ppm
const int REG_CO2_HIGH_LIMIT = 63;
const int REG_OFFSET_CO2 = 81;      // signed, whole ppm
const int CO2_GATE_WITH_HUMIDITY = 5;  // firmware gate of TKDG and KDG
const int CO2_GATE_CO2_ONLY = 4;       // firmware gate of TKRG and KRG

// When the calibration value field gets its "400".
enum CalibrationDefault {
    CALIBRATION_DEFAULT_ALWAYS = 0,      // at opening and on Default
    CALIBRATION_DEFAULT_AT_OPENING = 1,  // Default leaves the field alone
    CALIBRATION_DEFAULT_ON_DEFAULT = 2,  // opening leaves the field alone
};

// A CO2 indication limit: TKDG keeps it within 0..65535 (unsigned); the others show it signed and
// leave it out of the tick order, so it has no range check.
constexpr ModelField Co2LimitField(int controlId, int registerIndex, BYTE coding, const char* defaultText)
{
    return {controlId, registerIndex, coding, CHECK_UNSIGNED, 0, 65535, 0, defaultText};
}

// The CO2 offset is whole ppm, shown with "%d", but checked as tenths from -2000 to 2000, so the
// accepted entries run from -200.0 to 200.0 and Write keeps the whole part.
constexpr ModelField Co2OffsetField(int controlId)
{
    return {controlId, REG_OFFSET_CO2, CODING_SIGNED, CHECK_TENTHS, -2000, 2000, 0, "0"};
}

// The calibration value: in no register and no file line, outside the tick order.
constexpr ModelField CalibrationValueField(int controlId, int whenDefault)
{
    return {controlId, NO_REGISTER, CODING_UNSIGNED, CHECK_UNSIGNED, 0, 65535, 0, "400",
            (BYTE)(whenDefault == CALIBRATION_DEFAULT_AT_OPENING), (BYTE)(whenDefault == CALIBRATION_DEFAULT_ON_DEFAULT)};
}

#endif
