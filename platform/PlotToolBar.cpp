// Tool bar of the strip chart.
#include "platform/PlotToolBar.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <array>

namespace {

// Icons are drawn on a 16 x 16 grid and scaled to the pixmap.
constexpr double kGrid = 16.0;
constexpr double kArrowHead = 3.0;   // length of an arrow head, grid units

const QColor kInk(40, 40, 48);
const QColor kPaper(Qt::white);
const QColor kGlass(200, 225, 255);
const QColor kMarker(220, 30, 30);

struct ToolInfo
{
    const char *objectName;
    const char *text;
    const char *toolTip;
    bool checkable;
};

// The tracking button is checked while tracking is paused; its tip then offers to resume.
const char kResumeToolTip[] = "Resume axis tracking";

const std::array<ToolInfo, PlotToolBar::kToolCount> kTools{{
    {"TrackingButton", "Pause tracking", "Pause axis tracking", true},
    {"ScrollModeButton", "Scroll mode", "Scroll mode: drag to move the axes, wheel to zoom", true},
    {"ZoomModeButton", "Zoom mode",
     "Zoom mode: drag right or up to zoom in, left or down to zoom out; wheel to zoom", true},
    {"ZoomOutButton", "Zoom out", "Zoom out by 2", false},
    {"ZoomInButton", "Zoom in", "Zoom in by 2", false},
    {"ZoomBoxButton", "Zoom box", "Zoom box: drag a rectangle to zoom to it", true},
    {"CursorButton", "Data cursor", "Data cursor: show the value nearest the mouse", true},
    {"CopyButton", "Copy", "Copy the chart to the clipboard as a picture", false},
}};

const ToolInfo &Info(PlotToolBar::Tool tool)
{
    return kTools[size_t(tool)];
}

// A filled arrow head with its tip at tip, pointing away from from.
void DrawArrowHead(QPainter &p, QPointF from, QPointF tip)
{
    const QLineF back(tip, from);
    QLineF side1 = back;
    side1.setLength(kArrowHead);
    side1.setAngle(back.angle() + 30);
    QLineF side2 = back;
    side2.setLength(kArrowHead);
    side2.setAngle(back.angle() - 30);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{tip, side1.p2(), side2.p2()});
}

void DrawArrow(QPainter &p, QPointF from, QPointF tip)
{
    p.drawLine(from, tip);
    DrawArrowHead(p, from, tip);
}

// A magnifier: the lens, its handle, and a sign in the lens: '+', '-' or none.
void DrawMagnifier(QPainter &p, char sign)
{
    const QPointF centre(6.5, 6.5);
    constexpr double radius = 4.8;
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.2, 10.2), QPointF(14.5, 14.5));
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(kGlass);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(kInk, 1.4));
    if (sign == '+' || sign == '-')
        p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
    if (sign == '+')
        p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

void DrawPage(QPainter &p, const QRectF &page)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(page);
    const double left = page.left() + 2;
    const double right = page.right() - 2;
    for (double y = page.top() + 3; y < page.bottom() - 1; y += 2.5)
        p.drawLine(QPointF(left, y), QPointF(right, y));
}

void DrawTool(QPainter &p, PlotToolBar::Tool tool, bool checked)
{
    using Tool = PlotToolBar::Tool;
    p.setPen(QPen(kInk, 1.2));
    switch (tool) {
    case Tool::Tracking:
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        if (checked) {
            p.drawPolygon(QPolygonF{{4.5, 2.5}, {13.5, 8}, {4.5, 13.5}});
        } else {
            p.drawRect(QRectF(4, 3, 3, 10));
            p.drawRect(QRectF(9, 3, 3, 10));
        }
        break;
    case Tool::ScrollMode: {
        const QPointF centre(8, 8);
        DrawArrow(p, centre, {8, 1});
        DrawArrow(p, centre, {8, 15});
        DrawArrow(p, centre, {1, 8});
        DrawArrow(p, centre, {15, 8});
        break;
    }
    case Tool::ZoomMode:
        DrawArrow(p, {8, 8}, {2, 14});
        DrawArrow(p, {8, 8}, {14, 2});
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(5.5, 5.5, 5, 5));
        break;
    case Tool::ZoomOut:
        DrawMagnifier(p, '-');
        break;
    case Tool::ZoomIn:
        DrawMagnifier(p, '+');
        break;
    case Tool::ZoomBox:
        p.setPen(QPen(kInk, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        p.drawLine(QPointF(8, 5), QPointF(8, 11));
        break;
    case Tool::Cursor:
        p.drawLine(QPointF(8, 1), QPointF(8, 15));
        p.setPen(QPen(kInk, 1));
        p.setBrush(kMarker);
        p.drawEllipse(QPointF(8, 6.5), 2.8, 2.8);
        break;
    case Tool::Copy:
        DrawPage(p, QRectF(1.5, 1.5, 8, 10));
        DrawPage(p, QRectF(6.5, 4.5, 8, 10));
        break;
    }
}

QIcon ToolIcon(PlotToolBar::Tool tool)
{
    QIcon icon;
    for (const int scale : {1, 2}) {
        const int size = PlotToolBar::kIconSize * scale;
        QPixmap off = PlotToolBar::ToolPixmap(tool, size, false);
        off.setDevicePixelRatio(scale);
        icon.addPixmap(off, QIcon::Normal, QIcon::Off);
        if (tool == PlotToolBar::Tool::Tracking) {
            QPixmap on = PlotToolBar::ToolPixmap(tool, size, true);
            on.setDevicePixelRatio(scale);
            icon.addPixmap(on, QIcon::Normal, QIcon::On);
        }
    }
    return icon;
}

} // namespace

PlotToolBar::PlotToolBar(QWidget *parent) : QToolBar(parent)
{
    setObjectName("PlotToolBar");
    setOrientation(Qt::Horizontal);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(kIconSize, kIconSize));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setContextMenuPolicy(Qt::PreventContextMenu);
    // flat: no panel, one thin line under the buttons
    setStyleSheet("QToolBar { border: none; border-bottom: 1px solid palette(mid); "
                  "padding: 1px; spacing: 1px; }");

    auto *modes = new QActionGroup(this);
    modes->setExclusive(true);
    for (int i = 0; i < kToolCount; ++i) {
        const Tool tool = Tool(i);
        const ToolInfo &info = Info(tool);
        // groups: tracking | mouse modes | zooming | cursor | copy
        if (tool == Tool::ScrollMode || tool == Tool::ZoomOut || tool == Tool::Cursor
            || tool == Tool::Copy)
            addSeparator();
        QAction *action = addAction(ToolIcon(tool), QString::fromLatin1(info.text));
        action->setObjectName(info.objectName);
        action->setToolTip(QString::fromLatin1(info.toolTip));
        action->setCheckable(info.checkable);
        if (QWidget *button = widgetForAction(action))
            button->setObjectName(info.objectName);
        m_actions.append(action);
    }
    Action(Tool::ScrollMode)->setActionGroup(modes);
    Action(Tool::ZoomMode)->setActionGroup(modes);
    Action(Tool::ScrollMode)->setChecked(true);
    connect(Action(Tool::Tracking), &QAction::toggled, this, &PlotToolBar::TrackingToggled);
}

QAction *PlotToolBar::Action(Tool tool) const
{
    return m_actions.at(int(tool));
}

QString PlotToolBar::ObjectName(Tool tool)
{
    return QString::fromLatin1(Info(tool).objectName);
}

QPixmap PlotToolBar::ToolPixmap(Tool tool, int sizePx, bool checked)
{
    QPixmap pixmap(sizePx, sizePx);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(sizePx / kGrid, sizePx / kGrid);
    DrawTool(p, tool, checked);
    return pixmap;
}

void PlotToolBar::TrackingToggled(bool paused)
{
    Action(Tool::Tracking)->setToolTip(
        QString::fromLatin1(paused ? kResumeToolTip : Info(Tool::Tracking).toolTip));
}
