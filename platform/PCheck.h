// Check box that toggles when the left mouse button goes down over it, with a click sound.
#pragma once

#include <QCheckBox>

class TPCheck : public QCheckBox
{
    Q_OBJECT

public:
    explicit TPCheck(QWidget *parent = nullptr);

    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked);

protected:
    // the whole control answers the mouse, not only the box and its text
    bool hitButton(const QPoint &pos) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_leftHeld = false;   // the press that toggled; its release is swallowed
};
