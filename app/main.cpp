// Program entry: creates the main window and runs the message loop.
#include "ui/FormMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TFormMain formMain;
    FormMain = &formMain;
    formMain.show();
    const int result = app.exec();
    FormMain = nullptr;
    return result;
}
