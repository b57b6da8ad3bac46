// Program entry: the three windows, the message loop, and the guard around them.
#include "app/Program.h"

#include "app/FormSplash.h"
#include "config/FormConfig.h"
#include "platform/Accessibility.h"
#include "ui/FormMain.h"
#include "ui/Guard.h"

#include <QApplication>
#include <QTimer>

#include <memory>

int RunGuarded(const std::function<void()> &steps)
{
    Guarded(steps);
    return 0;
}

void RunProgram()
{
    // the main window is the first created; closing it ends the loop (TFormMain quits)
    QApplication::setQuitOnLastWindowClosed(false);
    // before the first widget: Qt keeps the interface it first made for each one
    InstallAccessibility();
    auto formMain = std::make_unique<TFormMain>();
    FormMain = formMain.get();
    auto formConfig = std::make_unique<TFormConfig>();
    FormConfig = formConfig.get();
    auto formSplash = std::make_unique<TFormSplash>();
    FormSplash = formSplash.get();

    // the loop's first act: the start-up, then the main window appears
    QTimer::singleShot(0, FormMain, [] { FormMain->ShowFirst(); });
    QApplication::exec();

    FormSplash = nullptr;
    FormConfig = nullptr;
    FormMain = nullptr;
}
