// The strip chart as the main window sets it up: its size and its four channels.
#pragma once

#include "platform/iPlot.h"

inline TiPlot *NewWindowChart()
{
    auto *plot = new TiPlot;
    plot->resize(785, 373);
    plot->AddChannel("V", "V", QColor(0xFF, 0xFF, 0x00));
    plot->AddChannel("A", "A", QColor(128, 255, 255));
    plot->AddChannel("R", "RPM", QColor(0xFF, 0x00, 0x00));
    plot->AddChannel("C", "C", QColor(0x00, 0xFF, 0x00));
    return plot;
}
