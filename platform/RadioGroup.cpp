// A captioned box of radio buttons in one column that holds one choice or none.
#include "platform/RadioGroup.h"

#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QRadioButton>

#include <algorithm>

namespace {

constexpr int kCaptionGap = 1;   // between the caption's line and the first item

} // namespace

TRadioGroup::TRadioGroup(QWidget *parent)
    : QGroupBox(parent)
    , m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idToggled, this, [this] { selectionChanged(); });
}

void TRadioGroup::SetCaption(const QString &caption)
{
    setTitle(caption);   // repaints only on a change
}

void TRadioGroup::SetItems(const QStringList &items)
{
    if (items == m_items)
        return;
    for (QRadioButton *b : std::as_const(m_buttons)) {
        m_group->removeButton(b);
        delete b;
    }
    m_buttons.clear();
    m_items = items;
    for (int i = 0; i < m_items.size(); ++i) {
        auto *b = new QRadioButton(m_items.at(i), this);
        m_group->addButton(b, i);
        b->installEventFilter(this);
        m_buttons.append(b);
        b->show();
    }
    arrange();
    selectionChanged();
    updateTabStop();
}

void TRadioGroup::SetItemIndex(int index)
{
    const int target = index >= 0 && index < Count() ? index : -1;
    if (target == m_itemIndex)
        return;
    if (target >= 0) {
        m_buttons.at(target)->setChecked(true);
        return;   // the group reports the change
    }
    // an exclusive group refuses to uncheck its checked button
    m_group->setExclusive(false);
    m_buttons.at(m_itemIndex)->setChecked(false);
    m_group->setExclusive(true);
}

QRect TRadioGroup::ItemRect(const QSize &box, int captionHeight, int count, int index)
{
    if (count <= 0 || index < 0 || index >= count)
        return QRect();
    const int top = captionHeight + kCaptionGap;
    const int height = std::max(0, box.height() - top - kBottomMargin) / count;
    return QRect(kItemLeft, top + index * height, std::max(0, box.width() - kItemLeft - kRightMargin), height);
}

void TRadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    arrange();
}

void TRadioGroup::changeEvent(QEvent *event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        arrange();
}

bool TRadioGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QGroupBox::eventFilter(watched, event);
    const int from = int(m_buttons.indexOf(qobject_cast<QRadioButton *>(watched)));
    int step = 0;
    switch (static_cast<QKeyEvent *>(event)->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: step = 1; break;
    default: break;
    }
    if (from < 0 || step == 0)
        return QGroupBox::eventFilter(watched, event);
    // the choice follows the focus and wraps at either end, as in a classic dialog
    const int to = (from + step + Count()) % Count();
    SetItemIndex(to);
    m_buttons.at(to)->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void TRadioGroup::arrange()
{
    const int captionHeight = fontMetrics().height();
    for (int i = 0; i < Count(); ++i)
        m_buttons.at(i)->setGeometry(ItemRect(size(), captionHeight, Count(), i));
}

void TRadioGroup::selectionChanged()
{
    const int now = m_group->checkedId();
    if (now == m_itemIndex)
        return;
    m_itemIndex = now;
    updateTabStop();
    emit ItemIndexChanged(now);
}

void TRadioGroup::updateTabStop()
{
    const int stop = std::max(m_itemIndex, 0);
    for (int i = 0; i < Count(); ++i)
        m_buttons.at(i)->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
}
