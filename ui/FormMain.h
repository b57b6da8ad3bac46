// The main window: the strip chart, the needle meters with their enable boxes, the statistics
// panel, the buttons, the channel chooser, the set-point slider and the status bar. It owns its
// controls and the serial port and binds each handler to its event.
#pragma once

#include "acquisition/Channel.h"
#include "acquisition/Simulation.h"

#include <QElapsedTimer>
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
    static constexpr const char *kCaption = "Rotavolt recorder";
    static constexpr int kClientWidth = 792;
    static constexpr int kClientHeight = 573;
    static constexpr int kFirstDelayMs = 500;    // start-up: before the configuration is applied
    static constexpr int kSecondDelayMs = 2500;  // start-up: before the sample timer starts

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

    // The first showing of the window: runs FormShow, then shows the window centred on the
    // screen, also when the start-up stopped on an error.
    void ShowFirst();
    // Start-up behind the splash.
    void FormShow();
    // Closes the port when the window closes.
    void FormClose();
    // Returns after at least ms milliseconds, handling every event meanwhile.
    void SleepProcess(int ms);
    void TimerSleepTimer();
    // Brings the port, the meter ranges and the sample interval in line with ConfigData.
    void ConfigProgram();
    // The port text of ConfigData in place of the %s of format ("COM%s Ok").
    static QString PortStatus(const char *format);

    // Receive event of CP1: count bytes are waiting.
    void CP1RxChar(int count);
    // CP1 closed itself because its device went away.
    void CP1DeviceLost();
    // Decodes the line collected in RxLine and shows what it carried.
    void Parse();
    // Shows the chosen channel's statistics on the read-outs.
    void Display();

    // Sample tick: records the enabled channels on the chart, or in simulation mode makes up
    // and decodes one line per channel.
    void TimerPollingTimer();
    void FBClearGClick();
    void FBClearDClick();
    // Sends the slider's position, 1 to 99, to the device as one byte.
    void S1PositionChange();
    // Opens the configuration dialog, then applies the configuration however it closed.
    void FreeButton1Click();

    TVrMeter *Meter(TChannel channel) const { return m_meters[channel]; }
    TPCheck *EnableBox(TChannel channel) const { return m_enableBoxes[channel]; }

    // At most this many repaints of the window a second: a device line every few milliseconds
    // moves meters, read-outs and panels far faster than anyone can read them.
    static constexpr int kFramesPerSecond = 10;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createControls(QWidget *canvas);
    void bindChannels();
    void bindHandlers();
    void simulateTick();

    QScrollArea *m_scroll;
    TVrMeter *m_meters[kChannelCount];
    TPCheck *m_enableBoxes[kChannelCount];
    TRandom m_random;   // the simulation's generator, the same sequence at every run
    QElapsedTimer m_lastFrame;
    QTimer *m_frameTimer;
};

extern TFormMain *FormMain;
// Set by the tick of TimerSleep; SleepProcess waits for it.
extern bool SleepDone;
