// The configuration dialog: shows the record of "Cfg" afresh at every showing, stores the
// controls back into it and saves it on Ok, and stores nothing on Cancel or the close box.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class TFreeButton;
class TLimitEdit;
class TRadioGroup;

class TFormConfig : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *kCaption = "Config";
    static constexpr const char *kConfigFile = "Cfg";
    static constexpr int kClientWidth = 506;
    static constexpr int kClientHeight = 209;
    static constexpr int kPortTypingLimit = 1;
    static constexpr int kRangeTypingLimit = 5;   // Min and Max
    static constexpr int kMultTypingLimit = 7;
    static constexpr int kDecTypingLimit = 1;
    static constexpr int kMultDecimals = 3;

    explicit TFormConfig(QWidget *parent = nullptr);
    ~TFormConfig() override;

    // The controls, by the names the rest of the system uses for them.
    QGroupBox *GroupBox1;
    QLabel *Label3;
    TLimitEdit *EditC1;
    QCheckBox *CBSim, *CBSingle;
    TRadioGroup *RGVelocita, *RGData, *RGstop, *RGParita, *RGPolling;
    QGroupBox *GroupBox2;
    TLimitEdit *EditVMin, *EditVMax, *EditVMult, *EditVDec;
    TLimitEdit *EditAMin, *EditAMax, *EditAMult, *EditADec;
    TLimitEdit *EditRMin, *EditRMax, *EditRMult, *EditRDec;
    TLimitEdit *EditCMin, *EditCMax, *EditCMult, *EditCDec;
    TFreeButton *FBAnnulla, *FBOk;

    // Every showing: reloads the record from "Cfg" and fills the controls from it.
    void FormShow();
    // Stores the controls into the record, saves it to "Cfg" and closes.
    void FBOkClick();
    // Closes; nothing is stored.
    void FBAnnullaClick();

    // The item a radio group of count items shows for a stored choice: none (-1) for a
    // negative choice, the last item for one beyond it.
    static int ShownIndex(int32_t choice, int count);

protected:
    void showEvent(QShowEvent *event) override;
    // There is no default or cancel key: Enter and Escape do not close the dialog.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createCommunications();
    void createLineGroups();
    void createInstruments();
    void createButtons();
    void setKeyboardOrder();
    void fillControls();
    void storeControls();
};

extern TFormConfig *FormConfig;
