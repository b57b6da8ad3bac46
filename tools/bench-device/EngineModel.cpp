// A plausible engine on the bench, as first-order lags towards targets set by the set-point.
#include "EngineModel.h"

#include <cmath>

namespace {

constexpr double kAmpsIdle = 0.6;           // A at standstill (electronics)
constexpr double kAmpsPerRpm = 0.0013;
constexpr double kVoltsOpen = 12.6;         // battery without load
constexpr double kOhmsInternal = 0.15;      // so the voltage sags with the current
constexpr double kCelsiusPerRpm = 0.012;    // steady-state rise over ambient

double noise(std::mt19937 &random, double deviation)
{
    return std::normal_distribution<double>(0, deviation)(random);
}

int rounded(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

void EngineModel::setSetPoint(int setPoint)
{
    if (setPoint >= 1 && setPoint <= 99)
        m_setPoint = setPoint;
}

double EngineModel::targetRpm() const
{
    return m_setPoint == 0 ? kIdleRpm : m_setPoint * kRpmPerSetPoint;
}

void EngineModel::advance(double seconds)
{
    m_rpm += (targetRpm() - m_rpm) * (1 - std::exp(-seconds / kRpmLagSeconds));
    const double targetCelsius = kAmbientCelsius + kCelsiusPerRpm * m_rpm;
    m_celsius += (targetCelsius - m_celsius) * (1 - std::exp(-seconds / kHeatLagSeconds));
}

double EngineModel::amps() const
{
    return kAmpsIdle + kAmpsPerRpm * m_rpm;
}

int EngineModel::voltsTenths(std::mt19937 &random) const
{
    return rounded((kVoltsOpen - kOhmsInternal * amps() + noise(random, 0.03)) * 10);
}

int EngineModel::ampsHundredths(std::mt19937 &random) const
{
    return rounded((amps() + noise(random, 0.02)) * 100);
}

int EngineModel::rpm(std::mt19937 &random) const
{
    return rounded(m_rpm + noise(random, 4));
}

int EngineModel::celsiusTenths(std::mt19937 &random) const
{
    return rounded((m_celsius + noise(random, 0.05)) * 10);
}
