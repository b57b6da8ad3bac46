// A plausible engine on the bench: the rpm follows the set-point with a lag, and the current,
// voltage and temperature follow the rpm. Readings come out in the units sent on the line.
#pragma once

#include <random>

class EngineModel
{
public:
    static constexpr double kIdleRpm = 600;         // before any set-point
    static constexpr double kRpmPerSetPoint = 30;   // set-point 50 -> 1500 rpm
    static constexpr double kRpmLagSeconds = 2;
    static constexpr double kAmbientCelsius = 22;
    static constexpr double kHeatLagSeconds = 120;

    // 1..99; other values are not set-points and leave the target as it is.
    void setSetPoint(int setPoint);
    // Moves the engine on by the given simulated time.
    void advance(double seconds);

    double targetRpm() const;

    // Readings with a little noise, rounded: tenths of a volt, hundredths of an ampere, rpm,
    // tenths of a degree Celsius.
    int voltsTenths(std::mt19937 &random) const;
    int ampsHundredths(std::mt19937 &random) const;
    int rpm(std::mt19937 &random) const;
    int celsiusTenths(std::mt19937 &random) const;

private:
    double amps() const;

    int m_setPoint = 0;
    double m_rpm = kIdleRpm;
    double m_celsius = kAmbientCelsius;
};
