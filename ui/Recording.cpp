// The sample tick, which records the enabled channels on the chart or runs the simulation, and
// the two clear buttons.
#include "acquisition/RxLine.h"
#include "acquisition/Simulation.h"
#include "acquisition/Stats.h"
#include "config/ConfigData.h"
#include "platform/iPlot.h"
#include "platform/PCheck.h"
#include "ui/FormMain.h"

namespace {
// The tick records the chart channels in this order.
constexpr TChannel kTickOrder[] = {chA, chV, chR, chC};
} // namespace

void TFormMain::TimerPollingTimer()
{
    if (ConfigData.Simulation() != 0) {
        simulateTick();
        return;
    }
    for (TChannel ch : kTickOrder) {
        if (m_enableBoxes[ch]->Checked())
            P1->GetChannel(ChannelBindings[ch].ChartChannel)->AddYNow(Stats.Current[ch]);
    }
}

// One made-up line per channel, each decoded as if it had been received; a line that was
// being received is replaced.
void TFormMain::simulateTick()
{
    for (const TSimulatedRow &row : SimulatedRows) {
        RxCount = SimulatedLine(m_random, row, RxLine, kRxLineSize);
        Parse();
    }
}

void TFormMain::FBClearGClick()
{
    for (int i = 0; i < P1->ChannelCount(); ++i)
        P1->GetChannel(i)->Clear();
}

void TFormMain::FBClearDClick()
{
    ClearStats();
    Display();
}
