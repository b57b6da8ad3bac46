// The main window: the program's one working surface.
#include "ui/FormMain.h"

TFormMain *FormMain = nullptr;

TFormMain::TFormMain(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Rotavolt recorder"));
    resize(800, 600);
}
