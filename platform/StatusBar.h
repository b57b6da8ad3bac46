// A status bar of fixed-width text panels; the last panel takes the rest of the width.
// Painted by itself so that setting a panel's text costs a string compare and, at most,
// a repaint of that panel: no layout runs.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class TStatusBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 19;

    // widths of every panel but the last, in pixels
    explicit TStatusBar(const QList<int> &widths, QWidget *parent = nullptr);

    int PanelCount() const { return int(m_texts.size()); }
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString &text);
    QString PanelToolTip(int index) const;
    void SetPanelToolTip(int index, const QString &toolTip);
    // What the panel is for, told to screen readers; nothing shows it.
    QString PanelName(int index) const;
    void SetPanelName(int index, const QString &name);

    // The panel's rectangle for a bar of the given width.
    QRect PanelRect(int index, int barWidth) const;
    int PanelAt(const QPoint &pos) const;

    QSize sizeHint() const override;

signals:
    void PanelTextChanged(int index, const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QList<int> m_widths;
    QList<QString> m_texts;
    QList<QString> m_toolTips;
    QList<QString> m_names;
};
