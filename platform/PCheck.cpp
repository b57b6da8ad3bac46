// Check box toggled at the press of the left mouse button; the keyboard works as QCheckBox's.
#include "platform/PCheck.h"

#include "platform/ClickSound.h"

#include <QMouseEvent>

TPCheck::TPCheck(QWidget *parent)
    : QCheckBox(parent)
{
}

void TPCheck::SetChecked(bool checked)
{
    setChecked(checked);   // repaints and signals only on a change
}

bool TPCheck::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void TPCheck::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !hitButton(event->position().toPoint())) {
        QCheckBox::mousePressEvent(event);
        return;
    }
    m_leftHeld = true;
    event->accept();
    PlayClick();
    click();   // toggles and emits pressed, released, toggled and clicked, as a full click would
}

void TPCheck::mouseMoveEvent(QMouseEvent *event)
{
    if (m_leftHeld) {
        event->accept();
        return;
    }
    QCheckBox::mouseMoveEvent(event);
}

void TPCheck::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_leftHeld) {
        m_leftHeld = false;
        event->accept();
        return;
    }
    QCheckBox::mouseReleaseEvent(event);
}
