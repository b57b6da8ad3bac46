// The configuration dialog: its controls as laid out, and the conversions between them and the
// record in both directions.
#include "config/FormConfig.h"

#include "platform/FormFont.h"

#include "acquisition/NumberText.h"
#include "acquisition/PanelText.h"
#include "config/ConfigData.h"
#include "platform/FreeButton.h"
#include "platform/LimitEdit.h"
#include "platform/RadioGroup.h"
#include "ui/Guard.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QShowEvent>

TFormConfig *FormConfig = nullptr;

namespace {

constexpr int kFontPixels = 11;
constexpr int kButtonFontPixels = 13;
constexpr int kEditHeight = 21;
const QColor kButtonBack(212, 208, 200);
// Group captions on the frame line, the classic look the tight boxes were sized for: where the
// style puts the caption above the frame, the two items of the 49-high Stop box run into the
// frame. The sample-time caption fills its box, so it starts at the corner.
const char *const kGroupBoxStyle =
    "QGroupBox { border: 2px groove palette(mid); margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0px 1px; }"
    "QGroupBox#RGPolling::title { left: 1px; padding: 0px; }";
const QColor kCancelColor(0x80, 0x00, 0x00);   // maroon
const QColor kOkColor(0x00, 0x80, 0x00);       // green

struct RadioGroupRow
{
    TRadioGroup *TFormConfig::*member;
    const char *name;
    QRect rect;
    const char *caption;
    QStringList items;
};

// One column of the channel grid in GroupBox2.
struct GridColumn { const char *heading; int left; int width; int typingLimit; };
const GridColumn kColumns[] = {
    {"Min", 32, 37, TFormConfig::kRangeTypingLimit},
    {"Max", 76, 37, TFormConfig::kRangeTypingLimit},
    {"Mult", 120, 37, TFormConfig::kMultTypingLimit},
    {"Dec", 160, 17, TFormConfig::kDecTypingLimit},
};
enum Column { colMin, colMax, colMult, colDec, kColumnCount };
constexpr int kHeadingTop = 28;
constexpr int kIdLeft = 200;
constexpr int kIdTop = 32;
constexpr int kRowHeadingLeft = 4;
constexpr int kRowHeadingDrop = 4;   // a row heading stands this much below its edits' top

// One row of the grid: its edits and the record fields they show.
struct ChannelRow
{
    char tag;
    int top;
    TLimitEdit *TFormConfig::*edits[kColumnCount];
    int32_t (TConfigData::*min)() const;
    int32_t (TConfigData::*max)() const;
    double (TConfigData::*mult)() const;
    int32_t (TConfigData::*dec)() const;
    void (TConfigData::*store)(int32_t min, int32_t max, double mult, int32_t dec);
};
const ChannelRow kRows[] = {
    {'V', 44, {&TFormConfig::EditVMin, &TFormConfig::EditVMax, &TFormConfig::EditVMult, &TFormConfig::EditVDec},
     &TConfigData::VMin, &TConfigData::VMax, &TConfigData::VMult, &TConfigData::VDec, &TConfigData::SetV},
    {'A', 68, {&TFormConfig::EditAMin, &TFormConfig::EditAMax, &TFormConfig::EditAMult, &TFormConfig::EditADec},
     &TConfigData::AMin, &TConfigData::AMax, &TConfigData::AMult, &TConfigData::ADec, &TConfigData::SetA},
    {'R', 92, {&TFormConfig::EditRMin, &TFormConfig::EditRMax, &TFormConfig::EditRMult, &TFormConfig::EditRDec},
     &TConfigData::RMin, &TConfigData::RMax, &TConfigData::RMult, &TConfigData::RDec, &TConfigData::SetR},
    {'C', 116, {&TFormConfig::EditCMin, &TFormConfig::EditCMax, &TFormConfig::EditCMult, &TFormConfig::EditCDec},
     &TConfigData::CMin, &TConfigData::CMax, &TConfigData::CMult, &TConfigData::CDec, &TConfigData::SetC},
};

QLabel *makeLabel(QWidget *parent, const char *text, int left, int top)
{
    auto *label = new QLabel(QLatin1String(text), parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TLimitEdit *makeEdit(QWidget *parent, const QString &name, const QRect &rect, int typingLimit)
{
    auto *edit = new TLimitEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(rect);
    edit->SetTypingLimit(typingLimit);
    return edit;
}

// A program-set text is shown from its start, so a long multiplier shows its leading digits.
void showText(TLimitEdit *edit, const QString &text)
{
    edit->setText(text);
    edit->setCursorPosition(0);
}

// Edits hold what the user typed; the record's conversions read it as bytes.
int32_t integerOf(const TLimitEdit *edit)
{
    return ReadInteger(edit->text().toLatin1().constData());
}

double decimalOf(const TLimitEdit *edit)
{
    return ReadDecimal(edit->text().toLatin1().constData());
}

} // namespace

TFormConfig::TFormConfig(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormConfig"));
    setWindowTitle(QLatin1String(kCaption));
    setFixedSize(kClientWidth, kClientHeight);
    QFont font;
    font.setFamilies(FormFontFamilies());
    font.setPixelSize(kFontPixels);
    setFont(font);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    // A style sheet stops the dialog's font from reaching its children: the sheet names it again
    // for the standard controls (the owner-drawn buttons keep their own).
    QStringList quoted;
    for (const QString &family : FormFontFamilies())
        quoted << QLatin1Char('"') + family + QLatin1Char('"');
    setStyleSheet(QLatin1String(kGroupBoxStyle)
                  + QStringLiteral("QGroupBox, QLabel, QCheckBox, QRadioButton, QLineEdit { font-size: %1px; font-family: %2; }")
                        .arg(kFontPixels)
                        .arg(quoted.join(QLatin1String(", "))));

    createCommunications();
    createLineGroups();
    createInstruments();
    createButtons();
    setKeyboardOrder();
}

TFormConfig::~TFormConfig() = default;

void TFormConfig::createCommunications()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Communications"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(0, 0, 177, 97);
    Label3 = makeLabel(GroupBox1, "COM", 12, 24);
    Label3->setObjectName(QStringLiteral("Label3"));
    EditC1 = makeEdit(GroupBox1, QStringLiteral("EditC1"), QRect(64, 20, 41, kEditHeight), kPortTypingLimit);
    CBSim = new QCheckBox(QStringLiteral("Simulation"), GroupBox1);
    CBSim->setObjectName(QStringLiteral("CBSim"));
    CBSim->setGeometry(12, 44, 93, 17);
    CBSingle = new QCheckBox(QStringLiteral("Single packets"), GroupBox1);
    CBSingle->setObjectName(QStringLiteral("CBSingle"));
    CBSingle->setGeometry(12, 68, 93, 17);
}

void TFormConfig::createLineGroups()
{
    // in keyboard order
    const RadioGroupRow rows[] = {
        {&TFormConfig::RGVelocita, "RGVelocita", QRect(0, 100, 73, 105), "Speed",
         {QStringLiteral("19200"), QStringLiteral("9600"), QStringLiteral("4800"), QStringLiteral("2400"),
          QStringLiteral("1200")}},
        {&TFormConfig::RGParita, "RGParita", QRect(128, 100, 49, 105), "Parity",
         {QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("O")}},
        {&TFormConfig::RGData, "RGData", QRect(76, 100, 49, 53), "Bit", {QStringLiteral("7"), QStringLiteral("8")}},
        {&TFormConfig::RGstop, "RGstop", QRect(76, 156, 49, 49), "Stop", {QStringLiteral("1"), QStringLiteral("2")}},
        {&TFormConfig::RGPolling, "RGPolling", QRect(180, 0, 89, 205), "Sample time (s)",
         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("30"),
          QStringLiteral("60")}},
    };
    for (const RadioGroupRow &s : rows) {
        auto *group = new TRadioGroup(this);
        group->setObjectName(QLatin1String(s.name));
        group->setGeometry(s.rect);
        group->SetCaption(QLatin1String(s.caption));
        group->SetItems(s.items);
        this->*s.member = group;
    }
}

void TFormConfig::createInstruments()
{
    GroupBox2 = new QGroupBox(QStringLiteral("Instruments"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(272, 0, 233, 157);
    for (const GridColumn &c : kColumns)
        makeLabel(GroupBox2, c.heading, c.left, kHeadingTop);
    makeLabel(GroupBox2, "ID", kIdLeft, kIdTop);   // over an empty column
    for (const ChannelRow &row : kRows) {
        const char tag[] = {row.tag, '\0'};
        makeLabel(GroupBox2, tag, kRowHeadingLeft, row.top + kRowHeadingDrop);
        for (int col = 0; col < kColumnCount; ++col) {
            const GridColumn &c = kColumns[col];
            const QString name = QStringLiteral("Edit") + QLatin1Char(row.tag) + QLatin1String(c.heading);
            this->*row.edits[col] = makeEdit(GroupBox2, name, QRect(c.left, row.top, c.width, kEditHeight),
                                             c.typingLimit);
        }
    }
}

void TFormConfig::createButtons()
{
    const struct { TFreeButton *TFormConfig::*member; const char *name; int left; const char *caption;
                   QColor color; TFreeButton::TPicture picture; } rows[] = {
        {&TFormConfig::FBAnnulla, "FBAnnulla", 274, "Cancel", kCancelColor, TFreeButton::TPicture::Cross},
        {&TFormConfig::FBOk, "FBOk", 404, "Ok", kOkColor, TFreeButton::TPicture::Tick},
    };
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(kButtonFontPixels);
    for (const auto &s : rows) {
        auto *b = new TFreeButton(this);
        b->setObjectName(QLatin1String(s.name));
        b->setGeometry(s.left, 160, 99, 45);
        b->SetDrawColor(s.color);
        b->SetBackColor(kButtonBack);
        b->SetCaption(QLatin1String(s.caption));
        b->SetPicture(s.picture);
        b->setAccessibleName(QLatin1String(s.caption));
        b->setFont(font);
        this->*s.member = b;
    }
    connect(FBOk, &TFreeButton::clicked, this, [this] { Guarded([this] { FBOkClick(); }); });
    connect(FBAnnulla, &TFreeButton::clicked, this, [this] { Guarded([this] { FBAnnullaClick(); }); });
}

void TFormConfig::setKeyboardOrder()
{
    QList<QWidget *> order = {EditC1, CBSim, CBSingle};
    // each group is one stop, taken by whichever of its buttons holds it
    for (TRadioGroup *group : {RGVelocita, RGParita, RGData, RGstop, RGPolling}) {
        for (int i = 0; i < group->Count(); ++i)
            order << group->Button(i);
    }
    for (const ChannelRow &row : kRows)
        order << this->*row.edits[colMin] << this->*row.edits[colMax] << this->*row.edits[colMult];
    for (const ChannelRow &row : kRows)
        order << this->*row.edits[colDec];
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

int TFormConfig::ShownIndex(int32_t choice, int count)
{
    if (choice < 0 || count <= 0)
        return -1;
    return choice < count ? int(choice) : count - 1;
}

void TFormConfig::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // restoring a minimised dialog is no new showing: it must not undo the user's edits
    if (!event->spontaneous())
        Guarded([this] { FormShow(); });
}

void TFormConfig::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();   // only Ok, Cancel and the close box close the dialog
        return;
    default:
        if (event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }
}

void TFormConfig::FormShow()
{
    ConfigData.Load(kConfigFile);
    fillControls();
}

void TFormConfig::FBOkClick()
{
    storeControls();
    ConfigData.Save(kConfigFile);
    accept();
}

void TFormConfig::FBAnnullaClick()
{
    reject();
}

void TFormConfig::fillControls()
{
    char port[TConfigData::kPortSize];
    ConfigData.Port(port);
    // as stored, however long: the typing limit is the user's, not the file's
    showText(EditC1, QString::fromLatin1(port));
    RGVelocita->SetItemIndex(ShownIndex(ConfigData.Speed(), RGVelocita->Count()));
    RGParita->SetItemIndex(ShownIndex(ConfigData.Parity(), RGParita->Count()));
    RGData->SetItemIndex(ShownIndex(ConfigData.DataBits(), RGData->Count()));
    RGstop->SetItemIndex(ShownIndex(ConfigData.StopBits(), RGstop->Count()));
    RGPolling->SetItemIndex(ShownIndex(ConfigData.Polling(), RGPolling->Count()));
    CBSim->setChecked(ConfigData.Simulation() != 0);
    CBSingle->setChecked(ConfigData.SinglePackets() != 0);
    for (const ChannelRow &row : kRows) {
        showText(this->*row.edits[colMin], QString::number((ConfigData.*row.min)()));
        showText(this->*row.edits[colMax], QString::number((ConfigData.*row.max)()));
        showText(this->*row.edits[colDec], QString::number((ConfigData.*row.dec)()));
        // The whole "%.3f" text, however long: the buffer holds that of any double, and a
        // multiplier of 1e26 or more (which "1e99" in the seven-character edit gives) is shown
        // with all its digits rather than cut or overrun.
        char mult[kFixedTextSize];
        FormatFixed(mult, (ConfigData.*row.mult)(), kMultDecimals);
        showText(this->*row.edits[colMult], QString::fromLatin1(mult));
    }
}

void TFormConfig::storeControls()
{
    ConfigData.SetPort(EditC1->text().toLatin1().constData());
    ConfigData.SetLine(RGVelocita->ItemIndex(), RGParita->ItemIndex(), RGData->ItemIndex(), RGstop->ItemIndex());
    ConfigData.SetPolling(RGPolling->ItemIndex());
    ConfigData.SetSimulation(CBSim->isChecked() ? 1 : 0);
    ConfigData.SetSinglePackets(CBSingle->isChecked() ? 1 : 0);
    for (const ChannelRow &row : kRows) {
        (ConfigData.*row.store)(integerOf(this->*row.edits[colMin]), integerOf(this->*row.edits[colMax]),
                                decimalOf(this->*row.edits[colMult]), integerOf(this->*row.edits[colDec]));
    }
}
