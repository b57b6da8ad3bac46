// Counts the paint events a widget receives, to show that a setter repaints only on a change.
#pragma once

#include <QEvent>
#include <QObject>

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};
