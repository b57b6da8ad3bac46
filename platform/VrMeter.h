// Needle meter: an integer position shown by a needle over a 90-degree scale with colour zones,
// scale figures and a caption.
#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QPixmap>
#include <QWidget>

class TVrMeter : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kAngle = 45;        // the scale runs from -kAngle to +kAngle degrees from vertical
    static constexpr int kTicks = 61;
    static constexpr int kLongTickEvery = 5;
    static constexpr int kMinLabels = 2;
    static constexpr int kBevelWidth = 1;    // of each of the two bevels
    static constexpr int kDesignWidth = 160; // the size the face is laid out for, in pixels
    static constexpr int kDesignHeight = 97;

    enum class Zone { Green, Yellow, Red };

    explicit TVrMeter(QWidget *parent = nullptr);

    int MinValue() const;
    void SetMinValue(int value);
    int MaxValue() const;
    void SetMaxValue(int value);
    int Position() const;
    void SetPosition(int value);
    QString Caption() const;
    void SetCaption(const QString &caption);
    int Labels() const;
    void SetLabels(int count);   // a count below kMinLabels is taken as kMinLabels

    QSize sizeHint() const override;

    // Degrees from vertical, clockwise positive: -kAngle at min, +kAngle at max; a position
    // outside [min, max] gives the nearer end. An empty range (max <= min) gives -kAngle.
    static double NeedleAngle(int position, int min, int max);
    // Degrees from vertical of tick 0 .. kTicks - 1.
    static double TickAngle(int tick);
    // First tick of the yellow and of the red zone; the zones split the kTicks - 1 steps of the
    // scale 60 : 25 : 15, a boundary tick starting the next zone.
    static int YellowFromTick();
    static int RedFromTick();
    static Zone TickZone(int tick);
    // Value of figure index (0 .. count - 1) of count figures spread evenly from min to max,
    // rounded to the nearest integer, halves away from zero.
    static int LabelValue(int index, int count, int min, int max);
    static double LabelAngle(int index, int count);
    // Centre of a figure's box at the given angle, measured from the pivot, placed so that the
    // box reaches innerRadius along its ray and no nearer.
    static QPointF LabelCentre(double degrees, QSizeF box, double innerRadius);

signals:
    void PositionChanged(int position);
    void RangeChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void ApplyRange(int min, int max);
    // The scale changes rarely and the needle often: the scale is drawn once into m_face.
    void InvalidateFace();
    void PaintFace(QPainter &painter, const QRect &face) const;
    void ToFaceCoordinates(QPainter &painter, const QRect &face) const;

    QPixmap m_face;   // bevels, zones, ticks, figures and caption at the widget's size

    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_labels = 5;
    QString m_caption;
};
