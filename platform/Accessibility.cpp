// Accessibility interfaces of our painted widgets. Everything is read from the widget when asked,
// so an interface never holds a stale copy; the widgets themselves send the change events.
#include "platform/Accessibility.h"

#include "platform/iPlot.h"
#include "platform/iSlider.h"
#include "platform/StatusBar.h"
#include "platform/VrMatrix.h"
#include "platform/VrMeter.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QStringList>

#include <algorithm>

namespace {

QRect ToGlobal(const QWidget *widget, const QRect &local)
{
    return QRect(widget->mapToGlobal(local.topLeft()), local.size());
}

// Text that is only read: no caret, no selection, no attributes.
class ReadOnlyText : public QAccessibleTextInterface
{
public:
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = Shown();
        const int start = std::clamp(startOffset, 0, int(all.size()));
        const int end = std::clamp(endOffset, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(Shown().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

protected:
    virtual QString Shown() const = 0;
};

// LED read-out: its name comes from the window (the label beside it), its text is what it shows.
class MatrixAccessible : public QAccessibleWidget, public ReadOnlyText
{
public:
    explicit MatrixAccessible(TVrMatrix *matrix) : QAccessibleWidget(matrix, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Matrix()->ShownText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The shown text is right-aligned in the cells.
    QRect characterRect(int offset) const override
    {
        const int count = characterCount();
        if (offset < 0 || offset >= count)
            return QRect();
        return ToGlobal(Matrix(), TVrMatrix::CellRect(TVrMatrix::kCells - count + offset, Matrix()->size()));
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = Matrix()->mapFromGlobal(point);
        const int count = characterCount();
        for (int offset = 0; offset < count; ++offset) {
            if (TVrMatrix::CellRect(TVrMatrix::kCells - count + offset, Matrix()->size()).contains(local))
                return offset;
        }
        return -1;
    }

protected:
    QString Shown() const override { return Matrix()->ShownText(); }

private:
    TVrMatrix *Matrix() const { return static_cast<TVrMatrix *>(widget()); }
};

// Needle meter: a read-only value in a range. Of Qt's roles a progress bar is the read-only
// value that AT-SPI and Orca know; the value interface carries the reading itself.
class MeterAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit MeterAccessible(TVrMeter *meter) : QAccessibleWidget(meter, QAccessible::ProgressBar) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && Meter()->accessibleName().isEmpty())
            return Meter()->Caption();
        if (t == QAccessible::Value)
            return QString::number(Meter()->Position());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return Meter()->Position(); }
    void setCurrentValue(const QVariant &) override {}   // it shows readings; nobody sets them
    QVariant maximumValue() const override { return Meter()->MaxValue(); }
    QVariant minimumValue() const override { return Meter()->MinValue(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    TVrMeter *Meter() const { return static_cast<TVrMeter *>(widget()); }
};

// Slider: a value set through accessibility goes through SetPosition, as a key does, so the
// window hears PositionChange and sends the byte.
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit SliderAccessible(TiSlider *slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(Slider()->Position());
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return Slider()->Position(); }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double v = value.toDouble(&ok);
        // a disabled slider takes no keys either
        if (ok && Slider()->isEnabled())
            Slider()->SetPosition(v);
    }
    QVariant maximumValue() const override { return Slider()->PositionMax(); }
    QVariant minimumValue() const override { return Slider()->PositionMin(); }
    QVariant minimumStepSize() const override { return Slider()->KeyArrowStepSize(); }

private:
    TiSlider *Slider() const { return static_cast<TiSlider *>(widget()); }
};

// One panel of the status bar. It has no object of its own: the bar's interface owns it through
// Qt's registry.
class PanelAccessible : public QAccessibleInterface, public ReadOnlyText
{
public:
    PanelAccessible(TStatusBar *bar, int index) : m_bar(bar), m_index(index) {}

    bool isValid() const override { return m_bar && m_index < m_bar->PanelCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return Parent() ? Parent()->window() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return Parent(); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!m_bar)
            return QString();
        switch (t) {
        case QAccessible::Name: {
            const QString name = m_bar->PanelName(m_index);
            return name.isEmpty() ? QStringLiteral("Panel %1").arg(m_index + 1) : name;
        }
        case QAccessible::Value:
            return m_bar->PanelText(m_index);
        case QAccessible::Description:
            return m_bar->PanelToolTip(m_index);
        default:
            return QString();
        }
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        return m_bar ? ToGlobal(m_bar, m_bar->PanelRect(m_index, m_bar->width())) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        s.invisible = !m_bar || !m_bar->isVisible();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return nullptr;
    }

protected:
    QString Shown() const override { return m_bar ? m_bar->PanelText(m_index) : QString(); }

private:
    QAccessibleInterface *Parent() const { return m_bar ? QAccessible::queryAccessibleInterface(m_bar) : nullptr; }

    QPointer<TStatusBar> m_bar;
    int m_index;
};

class StatusBarAccessible : public QAccessibleWidget
{
public:
    explicit StatusBarAccessible(TStatusBar *bar) : QAccessibleWidget(bar, QAccessible::StatusBar) {}
    ~StatusBarAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_panelIds)) {
            if (id)
                QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return Bar()->PanelCount(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (m_panelIds.size() < childCount())
            m_panelIds.resize(childCount(), 0);
        QAccessible::Id &id = m_panelIds[index];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new PanelAccessible(Bar(), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < int(m_panelIds.size()); ++i) {
            if (m_panelIds[i] && QAccessible::accessibleInterface(m_panelIds[i]) == child)
                return i;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const int index = Bar()->PanelAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }

private:
    TStatusBar *Bar() const { return static_cast<TStatusBar *>(widget()); }

    mutable QList<QAccessible::Id> m_panelIds;   // 0: not made yet
};

// Strip chart: its channels are told in the description; the tool bar and the plot are its
// child widgets, as Qt sees them.
class ChartAccessible : public QAccessibleWidget
{
public:
    explicit ChartAccessible(TiPlot *plot) : QAccessibleWidget(plot, QAccessible::Chart) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && Plot()->accessibleName().isEmpty())
            return QStringLiteral("Chart");
        if (t == QAccessible::Description && Plot()->accessibleDescription().isEmpty()) {
            QStringList titles;
            for (int i = 0; i < Plot()->ChannelCount(); ++i)
                titles << Plot()->GetChannel(i)->TitleText();
            return titles.join(QStringLiteral(", "));
        }
        return QAccessibleWidget::text(t);
    }

private:
    TiPlot *Plot() const { return static_cast<TiPlot *>(widget()); }
};

// Qt asks with the class name of each class of the object, the most derived first.
QAccessibleInterface *WidgetInterface(const QString &className, QObject *object)
{
    if (auto *matrix = qobject_cast<TVrMatrix *>(object); matrix && className == QLatin1String("TVrMatrix"))
        return new MatrixAccessible(matrix);
    if (auto *meter = qobject_cast<TVrMeter *>(object); meter && className == QLatin1String("TVrMeter"))
        return new MeterAccessible(meter);
    if (auto *slider = qobject_cast<TiSlider *>(object); slider && className == QLatin1String("TiSlider"))
        return new SliderAccessible(slider);
    if (auto *bar = qobject_cast<TStatusBar *>(object); bar && className == QLatin1String("TStatusBar"))
        return new StatusBarAccessible(bar);
    if (auto *plot = qobject_cast<TiPlot *>(object); plot && className == QLatin1String("TiPlot"))
        return new ChartAccessible(plot);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(WidgetInterface);
}
