// The main window: the strip chart, the needle meters with their enable boxes, the statistics
// panel, the buttons, the channel chooser, the set-point slider and the status bar. It owns its
// controls and the serial port and binds each handler to its event.
#pragma once

#include "acquisition/Channel.h"

#include <QMainWindow>

class QLabel;
class QScrollArea;
class QTimer;
class TComboBox;
class TComPort;
class TFreeButton;
class TiPlot;
class TiSlider;
class TPCheck;
class TStatusBar;
class TVrMatrix;
class TVrMeter;

class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 792;
    static constexpr int kClientHeight = 573;

    explicit TFormMain(QWidget *parent = nullptr);
    ~TFormMain() override;

    // The controls, by the names the rest of the system uses for them.
    TiPlot *P1;
    TVrMeter *VMA, *VMV, *VMR, *VMC;
    TPCheck *PChA, *PChV, *PChR, *PChC;
    TVrMatrix *VMUnits, *VMMax, *VMMin, *VMCurrent, *VMAve;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
    TFreeButton *FBClearD, *FBClearG, *FreeButton1;
    TComboBox *CB1;
    TiSlider *S1;
    TStatusBar *SB1;
    QTimer *TimerPolling, *TimerSleep;
    TComPort *CP1;

    // Receive event of CP1: count bytes are waiting.
    void CP1RxChar(int count);
    // Decodes the line collected in RxLine and shows what it carried.
    void Parse();
    // Shows the chosen channel's statistics on the read-outs.
    void Display();

    TVrMeter *Meter(TChannel channel) const { return m_meters[channel]; }
    TPCheck *EnableBox(TChannel channel) const { return m_enableBoxes[channel]; }

private:
    void createControls(QWidget *canvas);
    void bindChannels();

    QScrollArea *m_scroll;
    TVrMeter *m_meters[kChannelCount];
    TPCheck *m_enableBoxes[kChannelCount];
};

extern TFormMain *FormMain;
