// The set-point slider: its truncated position goes to the device as one raw byte.
#include "platform/ComPort.h"
#include "platform/iSlider.h"
#include "ui/FormMain.h"

namespace {
// The two ends of the slider are never sent.
constexpr int kLowestSetPoint = 1;
constexpr int kHighestSetPoint = 99;
} // namespace

void TFormMain::S1PositionChange()
{
    const int p = static_cast<int>(S1->Position());   // toward zero: 37.9 sends 37
    if (p < kLowestSetPoint || p > kHighestSetPoint)
        return;
    if (!CP1->Connected())
        return;
    CP1->WriteCh(static_cast<char>(p));
}
