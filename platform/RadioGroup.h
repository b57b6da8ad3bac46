// A captioned box of radio buttons in one column, spaced evenly over its height, that holds
// one choice or none. For the keyboard it is a single tab stop; the arrow keys move the choice.
#pragma once

#include <QGroupBox>
#include <QList>
#include <QRect>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    static constexpr int kItemLeft = 8;       // from the box's left edge to each button
    static constexpr int kRightMargin = 2;
    static constexpr int kBottomMargin = 4;

    explicit TRadioGroup(QWidget *parent = nullptr);

    QString Caption() const { return title(); }
    void SetCaption(const QString &caption);
    QStringList Items() const { return m_items; }
    // Replaces the buttons; none is selected afterwards.
    void SetItems(const QStringList &items);
    int Count() const { return int(m_buttons.size()); }
    QRadioButton *Button(int index) const { return m_buttons.value(index); }

    // -1 when no item is selected.
    int ItemIndex() const { return m_itemIndex; }
    // Any index outside 0 to Count() - 1 selects none; callers that want a different rule for
    // such indices apply it before calling.
    void SetItemIndex(int index);

    // Place of item index within a box of the given size whose caption is captionHeight high:
    // the height below the caption is shared equally by the items.
    static QRect ItemRect(const QSize &box, int captionHeight, int count, int index);

signals:
    void ItemIndexChanged(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void arrange();
    void selectionChanged();
    // The selected button, or the first when none is, is the group's one tab stop.
    void updateTabStop();

    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
    QStringList m_items;
    int m_itemIndex = -1;
};
