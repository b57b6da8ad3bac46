// The Config button of the main window: the dialog, then the configuration applied again,
// however the dialog was closed.
#include "config/FormConfig.h"
#include "ui/FormMain.h"

void TFormMain::FreeButton1Click()
{
    FormConfig->exec();
    ConfigProgram();
}
