// Owner-drawn push button; the click itself (reported on release over the button) is
// QAbstractButton's.
#include "platform/FreeButton.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>

namespace {

constexpr int kDefaultPointSize = 10;
constexpr int kPictureGap = 4;         // between the picture and the caption
constexpr int kHoverLighter = 125;     // percent, for QColor::lighter
constexpr int kDownDarker = 130;       // percent, for QColor::darker
constexpr double kLogical = 16.0;      // pictures are drawn on a 16 x 16 grid

void drawEraser(QPainter &p, const QColor &ink)
{
    // a tilted block, rubber end filled, sleeve outlined, over a wiped line
    p.save();
    p.translate(8.5, 7.0);
    p.rotate(-40);
    p.setPen(QPen(ink, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(-6.0, -3.0, 12.0, 6.0));
    p.setBrush(ink);
    p.drawRect(QRectF(-6.0, -3.0, 4.5, 6.0));
    p.restore();
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.0, 14.5), QPointF(14.5, 14.5));
    p.drawPoint(QPointF(2.0, 14.5));
}

void drawChart(QPainter &p, const QColor &ink)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::SquareCap));
    p.drawPolyline(QPolygonF{{1.5, 1.5}, {1.5, 14.5}, {14.5, 14.5}});
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{3.5, 11.5}, {6.5, 7.0}, {9.5, 9.5}, {13.5, 3.0}});
}

void drawGear(QPainter &p, const QColor &ink)
{
    constexpr int kTeeth = 8;
    constexpr double kTip = 7.6, kRoot = 5.4, kHole = 2.3;
    constexpr double kTipHalf = 9.0, kRootHalf = 15.0;   // degrees either side of a tooth
    const QPointF centre(8.0, 8.0);
    auto at = [&](double radius, double degrees) {
        const double a = qDegreesToRadians(degrees);
        return centre + QPointF(radius * std::cos(a), radius * std::sin(a));
    };
    QPolygonF outline;
    for (int i = 0; i < kTeeth; ++i) {
        const double a = i * 360.0 / kTeeth;
        outline << at(kRoot, a - kRootHalf) << at(kTip, a - kTipHalf)
                << at(kTip, a + kTipHalf) << at(kRoot, a + kRootHalf);
    }
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(outline);
    path.closeSubpath();
    path.addEllipse(centre, kHole, kHole);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(path);
}

void drawCross(QPainter &p, const QColor &ink)
{
    p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void drawTick(QPainter &p, const QColor &ink)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{2.5, 8.5}, {6.0, 12.0}, {13.5, 3.5}});
}

} // namespace

TFreeButton::TFreeButton(QWidget *parent)
    : QAbstractButton(parent)
    , m_drawColor(0x00, 0x80, 0x80)
    , m_backColor(212, 208, 200)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    QFont f(QStringLiteral("Verdana"), kDefaultPointSize);
    f.setStyleHint(QFont::SansSerif);
    setFont(f);
}

void TFreeButton::SetDrawColor(const QColor &color)
{
    if (color == m_drawColor)
        return;
    m_drawColor = color;
    update();
}

void TFreeButton::SetBackColor(const QColor &color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    update();
}

void TFreeButton::SetCaption(const QString &caption)
{
    setText(caption);   // stores, repaints and resizes only on a change
}

void TFreeButton::SetCaption2(const QString &caption)
{
    if (caption == m_caption2)
        return;
    m_caption2 = caption;
    update();
    updateGeometry();
}

void TFreeButton::SetPicture(TPicture picture)
{
    if (picture == m_picture)
        return;
    m_picture = picture;
    update();
}

QSize TFreeButton::sizeHint() const
{
    const QFontMetrics fm(font());
    const int lines = m_caption2.isEmpty() ? 1 : 2;
    const int textWidth = std::max(fm.horizontalAdvance(text()), fm.horizontalAdvance(m_caption2));
    const int frame = 2 * (kBodyMargin + kContentInset);
    return QSize(frame + kPictureSize + kPictureGap + textWidth,
                 frame + std::max(kPictureSize, lines * fm.height()));
}

QRect TFreeButton::BodyRect(const QSize &size)
{
    return QRect(QPoint(0, 0), size).adjusted(kBodyMargin, kBodyMargin, -kBodyMargin, -kBodyMargin);
}

QRect TFreeButton::PictureRect(const QSize &size)
{
    const QRect body = BodyRect(size);
    return QRect(body.left() + kContentInset, body.top() + kContentInset, kPictureSize, kPictureSize);
}

QColor TFreeButton::BodyColor(const QColor &drawColor, bool hovered, bool down)
{
    if (down)
        return drawColor.darker(kDownDarker);
    if (hovered)
        return drawColor.lighter(kHoverLighter);
    return drawColor;
}

void TFreeButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), m_backColor);

    const bool down = isDown();
    const QRect body = BodyRect(size());
    const QColor mid = BodyColor(m_drawColor, m_hovered, down);
    // light from above when raised, from below when pressed in
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0.0, down ? mid.darker(115) : mid.lighter(120));
    shade.setColorAt(1.0, down ? mid.lighter(110) : mid.darker(115));
    p.setPen(QPen(mid.darker(170), 1.0));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius, kCornerRadius);

    if (down)
        p.translate(1, 1);
    QColor ink(Qt::white);
    if (!isEnabled())
        ink.setAlphaF(0.5);

    const QRect pictureRect = PictureRect(size());
    if (m_picture != TPicture::None) {
        p.save();
        p.translate(pictureRect.topLeft());
        p.scale(pictureRect.width() / kLogical, pictureRect.height() / kLogical);
        switch (m_picture) {
        case TPicture::Clear: drawEraser(p, ink); break;
        case TPicture::Chart: drawChart(p, ink); break;
        case TPicture::Gear: drawGear(p, ink); break;
        case TPicture::Cross: drawCross(p, ink); break;
        case TPicture::Tick: drawTick(p, ink); break;
        case TPicture::None: break;
        }
        p.restore();
    }

    const QFontMetrics fm(font());
    QRect line(pictureRect.right() + 1 + kPictureGap, body.top() + kContentInset - 1, 0, fm.height());
    line.setRight(body.right() - kContentInset);
    p.setFont(font());
    p.setPen(ink);
    p.drawText(line, Qt::AlignRight | Qt::AlignTop, text());
    if (!m_caption2.isEmpty())
        p.drawText(line.translated(0, fm.height()), Qt::AlignRight | Qt::AlignTop, m_caption2);
}

void TFreeButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TFreeButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TFreeButton::hideEvent(QHideEvent *event)
{
    // no leave event comes for a widget hidden under the mouse
    m_hovered = false;
    QAbstractButton::hideEvent(event);
}

void TFreeButton::focusInEvent(QFocusEvent *event)
{
    // a mouse-only button: even setFocus() must not leave the keyboard here, where Space would
    // click it
    QAbstractButton::focusInEvent(event);
    clearFocus();
}
