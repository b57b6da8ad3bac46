// A status bar of fixed-width text panels.
#include "platform/StatusBar.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <utility>

namespace {
constexpr int kPanelGap = 2;      // between two panels
constexpr int kTextMargin = 3;    // inside a panel's frame
} // namespace

TStatusBar::TStatusBar(const QList<int> &widths, QWidget *parent)
    : QWidget(parent)
    , m_widths(widths)
    , m_texts(widths.size() + 1)
    , m_toolTips(widths.size() + 1)
    , m_names(widths.size() + 1)
{
    setFixedHeight(kHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAutoFillBackground(true);
}

QString TStatusBar::PanelText(int index) const
{
    return m_texts.value(index);
}

void TStatusBar::SetPanelText(int index, const QString &text)
{
    if (index < 0 || index >= PanelCount() || m_texts[index] == text)
        return;
    const QString before = std::exchange(m_texts[index], text);
    update(PanelRect(index, width()));
    // a panel has no object of its own: the event names the panel's interface
    if (QAccessible::isActive()) {
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(this);
        if (QAccessibleInterface *panel = bar ? bar->child(index) : nullptr) {
            QAccessibleTextUpdateEvent changed(panel, 0, before, text);
            QAccessible::updateAccessibility(&changed);
        }
    }
    emit PanelTextChanged(index, text);
}

QString TStatusBar::PanelToolTip(int index) const
{
    return m_toolTips.value(index);
}

void TStatusBar::SetPanelToolTip(int index, const QString &toolTip)
{
    if (index >= 0 && index < PanelCount())
        m_toolTips[index] = toolTip;
}

QString TStatusBar::PanelName(int index) const
{
    return m_names.value(index);
}

void TStatusBar::SetPanelName(int index, const QString &name)
{
    if (index >= 0 && index < PanelCount())
        m_names[index] = name;
}

QRect TStatusBar::PanelRect(int index, int barWidth) const
{
    int left = 0;
    for (int i = 0; i < index && i < m_widths.size(); ++i)
        left += m_widths[i] + kPanelGap;
    const int w = index < m_widths.size() ? m_widths[index] : std::max(0, barWidth - left);
    return QRect(left, 0, w, kHeight);
}

int TStatusBar::PanelAt(const QPoint &pos) const
{
    for (int i = 0; i < PanelCount(); ++i) {
        if (PanelRect(i, width()).contains(pos))
            return i;
    }
    return -1;
}

QSize TStatusBar::sizeHint() const
{
    return QSize(PanelRect(PanelCount() - 1, 0).left() + 100, kHeight);
}

void TStatusBar::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QPalette &pal = palette();
    for (int i = 0; i < PanelCount(); ++i) {
        const QRect r = PanelRect(i, width());
        if (!r.intersects(event->rect()))
            continue;
        // sunken frame: dark top and left, light bottom and right
        p.setPen(pal.color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(pal.color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(pal.color(QPalette::WindowText));
        const QRect textRect = r.adjusted(kTextMargin, 1, -kTextMargin, -1);
        p.save();
        p.setClipRect(textRect);
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_texts[i]);
        p.restore();
    }
}

bool TStatusBar::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int panel = PanelAt(help->pos());
        const QString tip = panel >= 0 ? m_toolTips[panel] : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, PanelRect(panel, width()));
        return true;
    }
    return QWidget::event(event);
}
