// Horizontal slider with a fractional position from 0 to 100, moved by keys, wheel and drag.
#pragma once

#include <QWidget>

class TiSlider : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWheelIntervalMs = 30;   // at most one wheel step in this time
    static constexpr int kWheelNotch = 120;       // angleDelta units of one wheel notch
    static constexpr int kTrackMargin = 10;       // px each side, room for the thumb and figures
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 41;

    explicit TiSlider(QWidget *parent = nullptr);

    double Position() const { return m_position; }
    // Clamped to [PositionMin, PositionMax]; a value that is not a number is ignored.
    void SetPosition(double value);
    double PositionMin() const { return 0.0; }
    double PositionMax() const { return 100.0; }
    double KeyArrowStepSize() const { return 1.0; }
    double KeyPageStepSize() const { return 10.0; }
    double MouseWheelStepSize() const { return 1.0; }

    QSize sizeHint() const override { return QSize(kWidth, kHeight); }

    // Pixels of the track between the two ends, for a widget of the given width (at least 1).
    static int UsableWidth(int widgetWidth);
    // x of the middle of the thumb at a position in 0..100.
    static double PositionX(double position, int widgetWidth);
    // Units a horizontal mouse travel of dx pixels stands for.
    static double TravelToUnits(double dx, int widgetWidth);

signals:
    // After every change of the position, whatever caused it; never when it stays.
    void PositionChange();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double m_position = 0.0;
    int m_wheelRest = 0;               // angleDelta short of a whole notch
    bool m_wheelStepped = false;       // m_lastWheelStepMs is valid
    quint64 m_lastWheelStepMs = 0;     // event timestamp of the last wheel step taken
    bool m_dragging = false;
    double m_dragStartX = 0.0;
    double m_dragStartPosition = 0.0;
};
