// The window shown while the program starts: a fixed frame without border icons and a few
// lines of red text.
#pragma once

#include <QWidget>

class QLabel;

class TFormSplash : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 280;
    static constexpr int kClientHeight = 140;

    explicit TFormSplash(QWidget *parent = nullptr);

    QLabel *TransparentMemo1;

protected:
    void showEvent(QShowEvent *event) override;
};

extern TFormSplash *FormSplash;
