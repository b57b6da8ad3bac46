// The recorder's executable: no arguments are used, everything else is in the library.
#include "app/CrashReport.h"
#include "app/Program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    InstallCrashReport();
    QApplication app(argc, argv);
    return RunGuarded(RunProgram);
}
