// Applying the configuration record to the running window: the serial port and its status,
// the meter ranges and the sample interval.
#include "config/ConfigData.h"
#include "config/LineSettings.h"
#include "platform/ComPort.h"
#include "platform/StatusBar.h"
#include "platform/VrMeter.h"
#include "ui/FormMain.h"

#include <QMessageBox>
#include <QTimer>

namespace {
constexpr int kPortPanel = 0;
} // namespace

QString TFormMain::PortStatus(const char *format)
{
    char port[TConfigData::kPortSize];
    ConfigData.Port(port);
    return QString::fromLatin1(format).replace(QLatin1String("%s"), QString::fromLatin1(port));
}

void TFormMain::ConfigProgram()
{
    if (CP1->Connected())
        CP1->Close();
    QString status = PortStatus("COM%s");
    QString tip = tr("No port: the port setting begins with 0");
    char port[TConfigData::kPortSize];
    ConfigData.Port(port);
    if (port[0] != '0') {
        try {
            CP1->SetPort(status);
            CP1->SetBaudRate(MapSpeed(ConfigData.Speed()));
            CP1->SetParityBits(MapParity(ConfigData.Parity()));
            CP1->SetDataBits(MapDataBits(ConfigData.DataBits()));
            CP1->SetStopBits(MapStopBits(ConfigData.StopBits()));
            status = PortStatus("COM%s Ok");
            CP1->Open();
            CP1->ClearBuffer(true, true);
            tip = CP1->Status();
        } catch (...) {
            status = PortStatus("COM%s not opened");
            tip = CP1->Status();
            QMessageBox box(QMessageBox::NoIcon, QStringLiteral("ALT"),
                            QStringLiteral("Cannot open COM port - Check configuration"), QMessageBox::Ok);
            box.exec();
        }
    }
    SB1->SetPanelText(kPortPanel, status);
    SB1->SetPanelToolTip(kPortPanel, tip);

    // each minimum before its maximum: the meter takes only values that keep its range ordered
    VMV->SetMinValue(ConfigData.VMin());
    VMV->SetMaxValue(ConfigData.VMax());
    VMA->SetMinValue(ConfigData.AMin());
    VMA->SetMaxValue(ConfigData.AMax());
    VMR->SetMinValue(ConfigData.RMin());
    VMR->SetMaxValue(ConfigData.RMax());
    VMC->SetMinValue(ConfigData.CMin());
    VMC->SetMaxValue(ConfigData.CMax());

    int interval = 0;
    // QTimer restarts on every setInterval, even to the same value
    if (PollingInterval(ConfigData.Polling(), interval) && TimerPolling->interval() != interval)
        TimerPolling->setInterval(interval);
}

void TFormMain::CP1DeviceLost()
{
    SB1->SetPanelText(kPortPanel, PortStatus("COM%s not opened"));
    SB1->SetPanelToolTip(kPortPanel, CP1->Status());
}
