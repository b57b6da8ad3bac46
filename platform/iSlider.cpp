// Horizontal slider: the position is a double, every change is reported once, and the wheel is
// rate-limited by the events' own timestamps, so a fast wheel gives a steady stream of steps.
#include "platform/iSlider.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTrackTop = 7.0;      // the sunken groove, y in px
constexpr double kTrackHeight = 6.0;
constexpr double kThumbHalf = 5.0;     // the thumb: a block pointing down at the scale
constexpr double kThumbTop = 1.0;
constexpr double kThumbShoulder = 14.0;
constexpr double kThumbPoint = 19.0;
constexpr double kTickTop = 21.0;
constexpr double kMajorTick = 4.0;
constexpr double kMinorTick = 2.0;
constexpr int kMajorEvery = 10;        // units between figures
constexpr int kMinorEvery = 5;
constexpr int kFigureTop = 26;
constexpr int kFigureHeight = 12;
constexpr int kFigureWidth = 24;
constexpr int kFigurePixels = 8;

} // namespace

TiSlider::TiSlider(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TiSlider::SetPosition(double value)
{
    if (std::isnan(value))
        return;
    value = std::clamp(value, PositionMin(), PositionMax());
    if (value == m_position)
        return;
    m_position = value;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, m_position);
        QAccessible::updateAccessibility(&changed);
    }
    emit PositionChange();
}

int TiSlider::UsableWidth(int widgetWidth)
{
    return std::max(1, widgetWidth - 2 * kTrackMargin);
}

double TiSlider::PositionX(double position, int widgetWidth)
{
    return kTrackMargin + position / 100.0 * UsableWidth(widgetWidth);
}

double TiSlider::TravelToUnits(double dx, int widgetWidth)
{
    return dx * 100.0 / UsableWidth(widgetWidth);
}

void TiSlider::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        SetPosition(m_position + KeyArrowStepSize());
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        SetPosition(m_position - KeyArrowStepSize());
        break;
    case Qt::Key_PageUp:
        SetPosition(m_position + KeyPageStepSize());
        break;
    case Qt::Key_PageDown:
        SetPosition(m_position - KeyPageStepSize());
        break;
    case Qt::Key_Home:
        SetPosition(PositionMin());
        break;
    case Qt::Key_End:
        SetPosition(PositionMax());
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TiSlider::wheelEvent(QWheelEvent *event)
{
    event->accept();
    int delta = event->angleDelta().y();
    if (event->inverted())
        delta = -delta;
    if (delta == 0)
        return;
    // a turn the other way starts a new notch
    if ((delta > 0) != (m_wheelRest > 0))
        m_wheelRest = 0;
    m_wheelRest += delta;
    const int notches = m_wheelRest / kWheelNotch;
    if (notches == 0)
        return;
    m_wheelRest -= notches * kWheelNotch;

    const quint64 now = event->timestamp();
    if (m_wheelStepped && now - m_lastWheelStepMs < quint64(kWheelIntervalMs))
        return;   // too soon after the last step: dropped, not saved for later
    m_wheelStepped = true;
    m_lastWheelStepMs = now;
    SetPosition(m_position + (notches > 0 ? MouseWheelStepSize() : -MouseWheelStepSize()));
}

void TiSlider::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // a press only takes hold; the position follows the travel, not the press point
    m_dragging = true;
    m_dragStartX = event->position().x();
    m_dragStartPosition = m_position;
    event->accept();
}

void TiSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    SetPosition(m_dragStartPosition + TravelToUnits(event->position().x() - m_dragStartX, width()));
    event->accept();
}

void TiSlider::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    event->accept();
}

void TiSlider::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette &pal = palette();
    const int usable = UsableWidth(width());

    // logical x: 0 at the left end of the track, usable at the right end
    p.translate(kTrackMargin, 0);

    const QRectF groove(0.0, kTrackTop, usable, kTrackHeight);
    p.fillRect(groove, pal.base());
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(groove.topLeft(), groove.topRight());
    p.drawLine(groove.topLeft(), groove.bottomLeft());
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(groove.bottomLeft(), groove.bottomRight());
    p.drawLine(groove.topRight(), groove.bottomRight());
    // the stretch from 0 to the position, inside the bevel
    const double at = m_position / 100.0 * usable;
    if (at > 1.0)
        p.fillRect(QRectF(1.0, kTrackTop + 1.0, at - 1.0, kTrackHeight - 2.0), pal.highlight());

    QFont figureFont = font();
    figureFont.setPixelSize(kFigurePixels);
    p.setFont(figureFont);
    p.setPen(pal.color(QPalette::WindowText));
    for (int unit = 0; unit <= 100; unit += kMinorEvery) {
        const double x = std::round(unit / 100.0 * usable) + 0.5;
        const bool major = unit % kMajorEvery == 0;
        p.drawLine(QPointF(x, kTickTop), QPointF(x, kTickTop + (major ? kMajorTick : kMinorTick)));
        if (major) {
            const QRectF figure(x - kFigureWidth / 2.0, kFigureTop, kFigureWidth, kFigureHeight);
            p.drawText(figure, Qt::AlignHCenter | Qt::AlignTop, QString::number(unit));
        }
    }

    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath thumb;
    thumb.moveTo(at - kThumbHalf, kThumbTop);
    thumb.lineTo(at + kThumbHalf, kThumbTop);
    thumb.lineTo(at + kThumbHalf, kThumbShoulder);
    thumb.lineTo(at, kThumbPoint);
    thumb.lineTo(at - kThumbHalf, kThumbShoulder);
    thumb.closeSubpath();
    p.setPen(QPen(pal.color(QPalette::WindowText), 1.0));
    p.setBrush(hasFocus() ? pal.highlight() : pal.button());
    p.drawPath(thumb.translated(0.5, 0.5));
    p.setRenderHint(QPainter::Antialiasing, false);

    if (hasFocus()) {
        p.resetTransform();
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect();
        focus.backgroundColor = pal.color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}
