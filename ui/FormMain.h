// The main window: the program's one working surface.
#pragma once

#include <QMainWindow>

class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TFormMain(QWidget *parent = nullptr);
};

extern TFormMain *FormMain;
