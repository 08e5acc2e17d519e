#pragma once
// What an O2 value of the live stream means for each kind of sensor: the dashboard's bar level, bar
// colour and read-out, and the hint that tells what a reference value stands for.
//
// Sensor types are the items of the sensor selector: 0 "0-1V Signal", 1 "Innovate MTX-L",
// 2 "0-5V Signal", 3 "AEM 30-41,42XX", 4 the empty item, -1 nothing selected. Types 1 and 3 send tenths
// of an air-fuel ratio; 0 and 2 send ADC counts; the others have no conversion.

#include <optional>
#include <string>
#include <string_view>

// Colours as 0x00BBGGRR (red in the low byte).
inline constexpr int kO2Blue = 0xFF8000;   // #0080FF
inline constexpr int kO2Green = 0x00DD00;  // #00DD00
inline constexpr int kO2Yellow = 0x00FFFF; // #FFFF00
inline constexpr int kO2Orange = 0x0080FF; // #FF8000
inline constexpr int kO2Red = 0x0000FF;    // #FF0000
// The dashboard's neutral colour (#EDF06C), for a sensor type without conversion.
inline constexpr int kO2Neutral = 0x6CF0ED;

struct O2Reading {
    int level = 0; // bar height, 0..255 for the voltage types; not clipped for the AFR types
    int colour = kO2Neutral;
    std::string text;
    friend bool operator==(const O2Reading&, const O2Reading&) = default;
};

// Types 1 and 3.
bool IsAfrSensor(int sensorType);

// The dashboard output of raw (0..255). A type without conversion gives level 0, the neutral colour
// and an empty read-out.
O2Reading ConvertO2(int raw, int sensorType, char separator);

// The hint for a reference value text ("147" with an AFR type gives "14.7 AFR", "30" with a voltage
// type "0.59 V"); nothing when the text is not a number, and the previous hint should stay.
std::optional<std::string> O2ReferenceHint(std::string_view valueText, int sensorType, char separator);

// The reference value the sensor selector puts into the O2 reference box when the type changes.
std::string_view DefaultO2Reference(int sensorType);
