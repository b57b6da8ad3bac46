// The four measurement channels and what each one is bound to. The table is data: the main
// window binds its controls to it by the object names given here.
#pragma once

#include "config/ConfigData.h"

enum TChannel : int { chV = 0, chA = 1, chR = 2, chC = 3 };

constexpr int kChannelCount = 4;

struct TChannelBinding
{
    TChannel Channel;
    char Tag;                                  // tag letter on the serial line
    double (TConfigData::*Mult)() const;       // multiplier applied to the channel's readings
    int32_t (TConfigData::*Dec)() const;       // decimals shown on the statistics panel
    const char *Meter;                         // needle meter
    const char *EnableBox;                     // check box that gates chart points
    int ChartChannel;                          // channel index on the strip chart
    int StatusPanel;                           // status-bar panel of its single-packet lines
};

// Indexed by TChannel.
constexpr TChannelBinding ChannelBindings[kChannelCount] = {
    {chV, 'V', &TConfigData::VMult, &TConfigData::VDec, "VMV", "PChV", 0, 1},
    {chA, 'A', &TConfigData::AMult, &TConfigData::ADec, "VMA", "PChA", 1, 2},
    {chR, 'R', &TConfigData::RMult, &TConfigData::RDec, "VMR", "PChR", 2, 3},
    {chC, 'C', &TConfigData::CMult, &TConfigData::CDec, "VMC", "PChC", 3, 4},
};
