// Start-up behind the splash window, the cooperative delay it uses, and the close of the port
// at the end.
#include "app/FormSplash.h"
#include "config/ConfigData.h"
#include "platform/ComPort.h"
#include "ui/FormMain.h"

#include <QCoreApplication>
#include <QTimer>

bool SleepDone = false;

void TFormMain::FormShow()
{
    FormSplash->show();
    ConfigData.Load("Cfg");
    SleepProcess(kFirstDelayMs);
    ConfigProgram();
    SleepProcess(kSecondDelayMs);
    TimerPolling->start();
    FormSplash->hide();
}

void TFormMain::SleepProcess(int ms)
{
    SleepDone = false;
    TimerSleep->setInterval(ms);
    TimerSleep->start();
    // every waiting event is handled; between them the thread sleeps until the next one
    while (!SleepDone)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    TimerSleep->stop();
}

void TFormMain::TimerSleepTimer()
{
    SleepDone = true;
}

void TFormMain::FormClose()
{
    if (CP1->Connected())
        CP1->Close();
}
