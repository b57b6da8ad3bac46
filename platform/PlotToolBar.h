// Tool bar of the strip chart: small flat buttons with drawn icons for tracking, the mouse mode of
// the axes, zooming, the data cursor and copying. It only presents; the chart wires the actions.
#pragma once

#include <QList>
#include <QPixmap>
#include <QToolBar>

class QAction;

class PlotToolBar : public QToolBar
{
    Q_OBJECT

public:
    // In the order of the buttons. ScrollMode and ZoomMode are exclusive.
    enum class Tool { Tracking, ScrollMode, ZoomMode, ZoomOut, ZoomIn, ZoomBox, Cursor, Copy };
    static constexpr int kToolCount = 8;
    static constexpr int kIconSize = 16;

    explicit PlotToolBar(QWidget *parent = nullptr);

    // The action of a tool; its button carries the same object name, e.g. "TrackingButton".
    QAction *Action(Tool tool) const;
    static QString ObjectName(Tool tool);

    // The tool's icon at sizePx square; checked gives the look of a checked button where it
    // differs (tracking paused shows "resume").
    static QPixmap ToolPixmap(Tool tool, int sizePx, bool checked = false);

private:
    void TrackingToggled(bool paused);

    QList<QAction *> m_actions;   // indexed by Tool
};
