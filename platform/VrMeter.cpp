// Needle meter.
#include "platform/VrMeter.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QEvent>
#include <QPainter>
#include <QPen>
#include <QtMath>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace {

// Face layout in logical units, one unit being one pixel at the design size; the origin is the
// needle pivot, y grows downwards.
constexpr double kFaceWidth = TVrMeter::kDesignWidth - 4 * TVrMeter::kBevelWidth;
constexpr double kFaceHeight = TVrMeter::kDesignHeight - 4 * TVrMeter::kBevelWidth;
constexpr double kPivotFromTop = 76;
constexpr double kBandRadius = 47.5;      // centre line of the colour band
constexpr double kBandWidth = 3;
constexpr double kTickInner = 49;
constexpr double kShortTickOuter = 53;
constexpr double kLongTickOuter = 57;
constexpr double kShortTickPen = 0.6;     // thin: 61 ticks leave about 1.3 units apiece
constexpr double kLongTickPen = 1.2;
constexpr double kNeedlePen = 1.5;
constexpr double kLabelInner = 59;        // figures keep outside this radius
constexpr double kNeedleLength = 55;
constexpr double kHubRadius = 3.5;
constexpr double kCaptionTop = 4;
constexpr double kCaptionHeight = 12;
constexpr int kLabelPixelSize = 9;
constexpr int kCaptionPixelSize = 11;

const QColor kFaceColor(0x00, 0x00, 0x80);     // navy
const QColor kLabelColor(0xC0, 0xC0, 0xC0);    // silver
const QColor kNeedleColor(Qt::white);
const QColor kCaptionColor(Qt::white);

QColor ZoneColor(TVrMeter::Zone zone)
{
    switch (zone) {
    case TVrMeter::Zone::Green:
        return QColor(0x00, 0xFF, 0x00);
    case TVrMeter::Zone::Yellow:
        return QColor(0xFF, 0xFF, 0x00);
    case TVrMeter::Zone::Red:
        break;
    }
    return QColor(0xFF, 0x00, 0x00);
}

// QPainter angles count counter-clockwise from 3 o'clock in 1/16 degree; ours clockwise from 12.
int QtArcAngle(double degreesFromVertical)
{
    return int(std::lround((90.0 - degreesFromVertical) * 16.0));
}

// Tells screen readers the new position; costs one test while none listens.
void NotifyPosition(TVrMeter *meter, int position)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent changed(meter, position);
    QAccessible::updateAccessibility(&changed);
}

} // namespace

TVrMeter::TVrMeter(QWidget *parent) : QWidget(parent) {}

int TVrMeter::MinValue() const
{
    return m_min;
}

void TVrMeter::SetMinValue(int value)
{
    if (value == m_min || value >= m_max)
        return;
    ApplyRange(value, m_max);
}

int TVrMeter::MaxValue() const
{
    return m_max;
}

void TVrMeter::SetMaxValue(int value)
{
    if (value == m_max || value <= m_min)
        return;
    ApplyRange(m_min, value);
}

void TVrMeter::ApplyRange(int min, int max)
{
    m_min = min;
    m_max = max;
    const int clamped = std::clamp(m_position, m_min, m_max);
    const bool moved = clamped != m_position;
    m_position = clamped;
    InvalidateFace();
    emit RangeChanged();
    if (moved) {
        NotifyPosition(this, m_position);
        emit PositionChanged(m_position);
    }
}

int TVrMeter::Position() const
{
    return m_position;
}

void TVrMeter::SetPosition(int value)
{
    const int clamped = std::clamp(value, m_min, m_max);
    if (clamped == m_position)
        return;
    m_position = clamped;
    update();
    NotifyPosition(this, m_position);
    emit PositionChanged(m_position);
}

QString TVrMeter::Caption() const
{
    return m_caption;
}

void TVrMeter::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    InvalidateFace();
}

int TVrMeter::Labels() const
{
    return m_labels;
}

void TVrMeter::SetLabels(int count)
{
    count = std::max(count, kMinLabels);
    if (count == m_labels)
        return;
    m_labels = count;
    InvalidateFace();
}

QSize TVrMeter::sizeHint() const
{
    return QSize(kDesignWidth, kDesignHeight);
}

double TVrMeter::NeedleAngle(int position, int min, int max)
{
    if (max <= min)
        return -kAngle;
    const int shown = std::clamp(position, min, max);
    // in double: max - min overflows int for the widest ranges
    const double fraction = (double(shown) - min) / (double(max) - min);
    return -kAngle + 2.0 * kAngle * fraction;
}

double TVrMeter::TickAngle(int tick)
{
    return -kAngle + 2.0 * kAngle * tick / (kTicks - 1);
}

int TVrMeter::YellowFromTick()
{
    return (kTicks - 1) * 60 / 100;
}

int TVrMeter::RedFromTick()
{
    return (kTicks - 1) * 85 / 100;
}

TVrMeter::Zone TVrMeter::TickZone(int tick)
{
    if (tick < YellowFromTick())
        return Zone::Green;
    if (tick < RedFromTick())
        return Zone::Yellow;
    return Zone::Red;
}

int TVrMeter::LabelValue(int index, int count, int min, int max)
{
    count = std::max(count, kMinLabels);
    index = std::clamp(index, 0, count - 1);
    const double value = min + (double(max) - min) * index / (count - 1);
    return int(std::lround(value));
}

double TVrMeter::LabelAngle(int index, int count)
{
    count = std::max(count, kMinLabels);
    return -kAngle + 2.0 * kAngle * index / (count - 1);
}

QPointF TVrMeter::LabelCentre(double degrees, QSizeF box, double innerRadius)
{
    const double radians = qDegreesToRadians(degrees);
    const double s = std::sin(radians);
    const double c = std::cos(radians);
    // half the box's extent along the ray, so wide figures at the ends clear the ticks
    const double reach = box.width() / 2 * std::abs(s) + box.height() / 2 * std::abs(c);
    return QPointF((innerRadius + reach) * s, -(innerRadius + reach) * c);
}

void TVrMeter::InvalidateFace()
{
    m_face = QPixmap();
    update();
}

void TVrMeter::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        m_face = QPixmap();
    QWidget::changeEvent(event);
}

// The face layout keeps its proportions and is centred when the widget is resized; the origin
// is the needle's pivot.
void TVrMeter::ToFaceCoordinates(QPainter &painter, const QRect &face) const
{
    const double scale = std::min(face.width() / kFaceWidth, face.height() / kFaceHeight);
    painter.translate(face.x() + face.width() / 2.0,
                      face.y() + (face.height() - scale * kFaceHeight) / 2.0 + scale * kPivotFromTop);
    painter.scale(scale, scale);
}

void TVrMeter::PaintFace(QPainter &painter, const QRect &face) const
{
    const QRect inner = rect().adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth);
    qDrawShadePanel(&painter, rect(), palette(), false, kBevelWidth);
    qDrawShadePanel(&painter, inner, palette(), true, kBevelWidth);
    if (face.isEmpty())
        return;
    painter.fillRect(face, kFaceColor);
    painter.setClipRect(face);
    painter.setRenderHint(QPainter::Antialiasing);
    ToFaceCoordinates(painter, face);

    const QRectF bandRect(-kBandRadius, -kBandRadius, 2 * kBandRadius, 2 * kBandRadius);
    const int zoneStarts[] = {0, YellowFromTick(), RedFromTick(), kTicks - 1};
    for (int z = 0; z < 3; ++z) {
        const double from = TickAngle(zoneStarts[z]);
        const double to = TickAngle(zoneStarts[z + 1]);
        painter.setPen(QPen(ZoneColor(TickZone(zoneStarts[z])), kBandWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(bandRect, QtArcAngle(to), QtArcAngle(from) - QtArcAngle(to));
    }

    for (int tick = 0; tick < kTicks; ++tick) {
        const bool isLong = tick % kLongTickEvery == 0;
        painter.save();
        painter.rotate(TickAngle(tick));
        painter.setPen(QPen(ZoneColor(TickZone(tick)), isLong ? kLongTickPen : kShortTickPen));
        painter.drawLine(QPointF(0, -kTickInner), QPointF(0, isLong ? -kLongTickOuter : -kShortTickOuter));
        painter.restore();
    }

    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPixelSize(kLabelPixelSize);
    painter.setFont(labelFont);
    painter.setPen(kLabelColor);
    const QFontMetricsF metrics(labelFont);
    for (int k = 0; k < m_labels; ++k) {
        const QString text = QString::number(LabelValue(k, m_labels, m_min, m_max));
        const QSizeF box(metrics.horizontalAdvance(text), metrics.height());
        const QPointF centre = LabelCentre(LabelAngle(k, m_labels), box, kLabelInner);
        painter.drawText(QRectF(centre - QPointF(box.width() / 2, box.height() / 2), box), Qt::AlignCenter,
                         text);
    }

    QFont captionFont(QStringLiteral("Arial"));
    captionFont.setPixelSize(kCaptionPixelSize);
    captionFont.setBold(true);
    painter.setFont(captionFont);
    painter.setPen(kCaptionColor);
    painter.drawText(QRectF(-kFaceWidth / 2, kCaptionTop, kFaceWidth, kCaptionHeight), Qt::AlignCenter,
                     m_caption);
}

void TVrMeter::paintEvent(QPaintEvent *)
{
    const QRect inner = rect().adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth);
    const QRect face = inner.adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth);
    const qreal ratio = devicePixelRatioF();
    if (m_face.isNull() || m_face.size() != size() * ratio) {
        m_face = QPixmap(size() * ratio);
        m_face.setDevicePixelRatio(ratio);
        m_face.fill(Qt::transparent);
        QPainter facePainter(&m_face);
        PaintFace(facePainter, face);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_face);
    if (face.isEmpty())
        return;
    painter.setClipRect(face);
    painter.setRenderHint(QPainter::Antialiasing);
    ToFaceCoordinates(painter, face);
    painter.save();
    painter.rotate(NeedleAngle(m_position, m_min, m_max));
    painter.setPen(QPen(kNeedleColor, kNeedlePen, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, 0), QPointF(0, -kNeedleLength));
    painter.restore();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLabelColor);
    painter.drawEllipse(QPointF(0, 0), kHubRadius, kHubRadius);
}
