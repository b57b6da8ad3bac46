// The main window: composition of the controls and the receive, decode and display path.
#include "ui/FormMain.h"

#include "platform/FormFont.h"

#include "acquisition/Decoder.h"
#include "acquisition/PanelText.h"
#include "acquisition/RxLine.h"
#include "acquisition/Stats.h"
#include "config/ConfigData.h"
#include "platform/ComboBox.h"
#include "platform/ComPort.h"
#include "platform/FreeButton.h"
#include "platform/iPlot.h"
#include "platform/iSlider.h"
#include "platform/PCheck.h"
#include "platform/StatusBar.h"
#include "platform/VrMatrix.h"
#include "platform/VrMeter.h"
#include "ui/Guard.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

TFormMain *FormMain = nullptr;

namespace {

constexpr int kCanvasHeight = TFormMain::kClientHeight - TStatusBar::kHeight;
constexpr int kTimerPollingInterval = 500;   // ms, until the configuration sets it
const QColor kButtonBack(212, 208, 200);
const QColor kButtonBody(0x00, 0x80, 0x80);  // teal

struct MeterSpec { const char *name; int left; const char *caption; int min; int max; int labels; };
struct MatrixSpec { const char *name; int top; const char *text; QRgb off; QRgb on; const char *spoken; };
struct LabelSpec { const char *name; int top; const char *text; };

// Left to right: current, voltage, revolutions, temperature.
const MeterSpec kMeters[] = {
    {"VMA", 148, "A", 0, 30, 6},
    {"VMV", 308, "V", 0, 20, 5},
    {"VMR", 468, "RPM", 0, 3000, 5},
    {"VMC", 628, "C\u00B0", -20, 120, 7},
};
const char *const kEnableBoxes[] = {"PChA", "PChV", "PChR", "PChC"};
// Screen-reader names: every box shows only "Enable".
const char *const kEnableBoxNames[] = {"Enable A", "Enable V", "Enable RPM", "Enable C"};
const MatrixSpec kMatrices[] = {
    {"VMUnits", 388, "-", 0x000080, 0x00FFFF, "Units"},
    {"VMMax", 420, "0", 0x800000, 0xFF0000, "Max"},
    {"VMMin", 452, "0", 0x008000, 0x00FF00, "Min"},
    {"VMCurrent", 484, "0", 0x808000, 0xFFFF00, "Curr"},
    {"VMAve", 516, "0", 0x000000, 0xC0C0C0, "Ave"},
};
const LabelSpec kLabels[] = {
    {"Label4", 396, "Units"}, {"Label3", 428, "Max"}, {"Label1", 460, "Min"},
    {"Label2", 492, "Curr"}, {"Label5", 524, "Ave"},
};
const QList<int> kPanelWidths = {200, 60, 60, 60, 60, 60};
const char *const kPanelTexts[] = {"...", "0", "1", "2", "3", "4", ""};
const char *const kPanelNames[] = {"Port", "V packet", "A packet", "R packet", "C packet", "P packet", "Line"};

struct ChartChannelSpec { const char *name; const char *title; QColor color; };
const ChartChannelSpec kChartChannels[kChannelCount] = {
    {"V", "V", QColor(255, 255, 0)},
    {"A", "A", QColor(128, 255, 255)},
    {"R", "RPM", QColor(255, 0, 0)},
    {"C", "C", QColor(0, 255, 0)},
};

TFreeButton *makeButton(QWidget *parent, const char *name, int left, const QString &caption,
                        const QString &caption2, int picture)
{
    // a screen reader says both caption lines, which the button alone would not
    const QString spoken = caption2.isEmpty() ? caption : caption + QLatin1Char(' ') + caption2;
    auto *b = new TFreeButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, 506, 99, 45);
    b->SetDrawColor(kButtonBody);
    b->SetBackColor(kButtonBack);
    b->SetCaption(caption);
    b->SetCaption2(caption2);
    b->SetPicture(TFreeButton::TPicture(picture));
    b->setAccessibleName(spoken);
    QFont font(QStringLiteral("Verdana"), 10);
    b->setFont(font);
    return b;
}

} // namespace

TFormMain::TFormMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QLatin1String(kCaption));
    QFont font;
    font.setFamilies(FormFontFamilies());
    font.setPointSize(8);
    setFont(font);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_scroll = new QScrollArea(central);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto *canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("Canvas"));
    canvas->setFixedSize(kClientWidth, kCanvasHeight);
    createControls(canvas);
    m_scroll->setWidget(canvas);
    layout->addWidget(m_scroll, 1);
    SB1 = new TStatusBar(kPanelWidths, central);
    SB1->setObjectName(QStringLiteral("SB1"));
    for (int i = 0; i < SB1->PanelCount(); ++i) {
        SB1->SetPanelText(i, QLatin1String(kPanelTexts[i]));
        SB1->SetPanelName(i, QLatin1String(kPanelNames[i]));
    }
    layout->addWidget(SB1);
    setCentralWidget(central);
    resize(kClientWidth, kClientHeight);

    TimerPolling = new QTimer(this);
    TimerPolling->setObjectName(QStringLiteral("TimerPolling"));
    TimerPolling->setInterval(kTimerPollingInterval);
    TimerSleep = new QTimer(this);
    TimerSleep->setObjectName(QStringLiteral("TimerSleep"));
    // a delay lasts at least its time: a coarse timer may fire up to 5 % early
    TimerSleep->setTimerType(Qt::PreciseTimer);

    CP1 = new TComPort(this);
    CP1->setObjectName(QStringLiteral("CP1"));

    m_frameTimer = new QTimer(this);
    m_frameTimer->setSingleShot(true);
    connect(m_frameTimer, &QTimer::timeout, this, [this] {
        QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    });

    bindChannels();
    bindHandlers();
}

// Every handler runs inside the guard that reports an escaping error and goes on.
void TFormMain::bindHandlers()
{
    connect(TimerSleep, &QTimer::timeout, this, [this] { Guarded([this] { TimerSleepTimer(); }); });
    connect(TimerPolling, &QTimer::timeout, this, [this] { Guarded([this] { TimerPollingTimer(); }); });
    connect(CP1, &TComPort::RxChar, this, [this](int count) { Guarded([this, count] { CP1RxChar(count); }); });
    connect(CP1, &TComPort::DeviceLost, this, [this] { Guarded([this] { CP1DeviceLost(); }); });
    connect(FBClearD, &TFreeButton::clicked, this, [this] { Guarded([this] { FBClearDClick(); }); });
    connect(FBClearG, &TFreeButton::clicked, this, [this] { Guarded([this] { FBClearGClick(); }); });
    connect(FreeButton1, &TFreeButton::clicked, this, [this] { Guarded([this] { FreeButton1Click(); }); });
    connect(S1, &TiSlider::PositionChange, this, [this] { Guarded([this] { S1PositionChange(); }); });
}

TFormMain::~TFormMain() = default;

void TFormMain::createControls(QWidget *canvas)
{
    canvas->setAutoFillBackground(true);
    QPalette pal = canvas->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    canvas->setPalette(pal);

    P1 = new TiPlot(canvas);
    P1->setObjectName(QStringLiteral("P1"));
    P1->setGeometry(4, 4, 785, 373);
    P1->setAccessibleName(QStringLiteral("Chart"));
    for (const ChartChannelSpec &c : kChartChannels)
        P1->AddChannel(QLatin1String(c.name), QLatin1String(c.title), c.color);

    TVrMeter *meters[4];
    TPCheck *boxes[4];
    for (int i = 0; i < 4; ++i) {
        const MeterSpec &m = kMeters[i];
        auto *meter = new TVrMeter(canvas);
        meter->setObjectName(QLatin1String(m.name));
        meter->setGeometry(m.left, 380, 160, 97);
        meter->SetCaption(QString::fromUtf8(m.caption));
        meter->SetMaxValue(m.max);
        meter->SetMinValue(m.min);
        meter->SetLabels(m.labels);
        meters[i] = meter;

        auto *box = new TPCheck(canvas);
        box->setObjectName(QLatin1String(kEnableBoxes[i]));
        box->setGeometry(m.left, 480, 97, 19);
        box->setText(QStringLiteral("Enable"));
        box->setAccessibleName(QLatin1String(kEnableBoxNames[i]));
        box->SetChecked(true);
        boxes[i] = box;
    }
    VMA = meters[0]; VMV = meters[1]; VMR = meters[2]; VMC = meters[3];
    PChA = boxes[0]; PChV = boxes[1]; PChR = boxes[2]; PChC = boxes[3];

    TVrMatrix *matrices[5];
    for (int i = 0; i < 5; ++i) {
        const MatrixSpec &m = kMatrices[i];
        auto *matrix = new TVrMatrix(canvas);
        matrix->setObjectName(QLatin1String(m.name));
        matrix->setGeometry(4, m.top, 114, 30);
        matrix->SetColorOff(QColor::fromRgb(m.off));
        matrix->SetColorOn(QColor::fromRgb(m.on));
        matrix->SetText(QLatin1String(m.text));
        matrix->setAccessibleName(QLatin1String(m.spoken));
        matrices[i] = matrix;
    }
    VMUnits = matrices[0]; VMMax = matrices[1]; VMMin = matrices[2]; VMCurrent = matrices[3]; VMAve = matrices[4];

    QLabel *labels[5];
    for (int i = 0; i < 5; ++i) {
        auto *label = new QLabel(QLatin1String(kLabels[i].text), canvas);
        label->setObjectName(QLatin1String(kLabels[i].name));
        label->move(120, kLabels[i].top);
        label->adjustSize();
        labels[i] = label;
    }
    Label4 = labels[0]; Label3 = labels[1]; Label1 = labels[2]; Label2 = labels[3]; Label5 = labels[4];

    FBClearD = makeButton(canvas, "FBClearD", 152, QStringLiteral("Clear"), QStringLiteral("Data"),
                          int(TFreeButton::TPicture::Clear));
    FBClearG = makeButton(canvas, "FBClearG", 252, QStringLiteral("Clear"), QStringLiteral("Graph"),
                          int(TFreeButton::TPicture::Chart));
    FreeButton1 = makeButton(canvas, "FreeButton1", 688, QStringLiteral("Config"), QString(),
                             int(TFreeButton::TPicture::Gear));

    CB1 = new TComboBox(canvas);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->setGeometry(360, 516, 57, 21);
    CB1->addItems({QStringLiteral("V"), QStringLiteral("A"), QStringLiteral("RPM"), QStringLiteral("C\u00B0")});
    CB1->setCurrentIndex(0);

    S1 = new TiSlider(canvas);
    S1->setObjectName(QStringLiteral("S1"));
    S1->setGeometry(452, 508, 200, 41);
    S1->setAccessibleName(QStringLiteral("Set-point"));

    P1->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(P1, CB1);
    setTabOrder(CB1, S1);
    setTabOrder(S1, PChA);
    setTabOrder(PChA, PChV);
    setTabOrder(PChV, PChR);
    setTabOrder(PChR, PChC);
}

void TFormMain::bindChannels()
{
    for (const TChannelBinding &b : ChannelBindings) {
        m_meters[b.Channel] = findChild<TVrMeter *>(QLatin1String(b.Meter));
        m_enableBoxes[b.Channel] = findChild<TPCheck *>(QLatin1String(b.EnableBox));
        Q_ASSERT(m_meters[b.Channel] && m_enableBoxes[b.Channel]);
    }
}

void TFormMain::ShowFirst()
{
    Guarded([this] { FormShow(); });
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    show();
}

// Repaints of the window come as one update request for all its dirty widgets; one that comes
// sooner than a frame after the last is held back and sent again when the frame is due.
bool TFormMain::event(QEvent *event)
{
    if (event->type() == QEvent::UpdateRequest) {
        constexpr qint64 kFrameMs = 1000 / kFramesPerSecond;
        const qint64 since = m_lastFrame.isValid() ? m_lastFrame.elapsed() : kFrameMs;
        if (since < kFrameMs) {
            if (!m_frameTimer->isActive())
                m_frameTimer->start(int(kFrameMs - since));
            return true;
        }
        m_lastFrame.start();
    }
    return QMainWindow::event(event);
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    Guarded([this] { FormClose(); });
    QMainWindow::closeEvent(event);
    // the main window ends the program, whatever other windows are open
    QCoreApplication::quit();
}

void TFormMain::CP1RxChar(int count)
{
    RxReceive(count, [this](char *buffer, int32_t max) { return CP1->Read(buffer, max); },
              [this] { Parse(); });
}

void TFormMain::Parse()
{
    char line[kParseLineSize];
    RxTakeLine(line, kParseLineSize);
    RemoveChar(line, kCr);
    TDecodedLine decoded;
    DecodeLine(line, ConfigData, decoded);

    const QString text = QString::fromLatin1(line);
    if (decoded.Framing == TFraming::MultiField)
        SB1->SetPanelText(decoded.LinePanel, text);
    for (int i = 0; i < decoded.ReadingCount; ++i) {
        const TReading &r = decoded.Readings[i];
        RecordReading(r.Channel, r.Value);
        if (decoded.Framing == TFraming::MultiField && m_enableBoxes[r.Channel]->Checked())
            P1->GetChannel(ChannelBindings[r.Channel].ChartChannel)->AddYNow(r.Value);
        m_meters[r.Channel]->SetPosition(r.MeterPosition);
    }
    if (decoded.Framing == TFraming::SinglePacket && decoded.LinePanel >= 0)
        SB1->SetPanelText(decoded.LinePanel, text);
    if (decoded.ShowsPacket)
        SB1->SetPanelText(kPacketPanel, text);
    Display();
}

void TFormMain::Display()
{
    TPanelTexts texts;
    if (!PanelTexts(CB1->ItemIndex(), Stats, ConfigData, texts))
        return;
    VMUnits->SetText(QLatin1String(texts.Units));
    VMMin->SetText(QLatin1String(texts.Min));
    VMMax->SetText(QLatin1String(texts.Max));
    VMAve->SetText(QLatin1String(texts.Average));
    VMCurrent->SetText(QLatin1String(texts.Current));
}
