// LED-matrix read-out: a short text, upper-cased and right-aligned, in seven cells of 5 x 7 dots.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QPixmap>
#include <QWidget>

class TVrMatrix : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCells = 7;
    static constexpr int kDotGap = 1;         // pixels between neighbouring dots of a cell
    static constexpr int kBevelWidth = 1;     // of each of the two bevels, as on the needle meter
    static constexpr int kDesignWidth = 114;  // size hint, in pixels
    static constexpr int kDesignHeight = 30;

    explicit TVrMatrix(QWidget *parent = nullptr);

    QString Text() const;
    void SetText(const QString &text);
    QString ShownText() const;
    // The text upper-cased and cut to its first kCells characters.
    static QString ShownTextOf(const QString &text);

    QColor ColorOff() const;
    void SetColorOff(const QColor &color);
    QColor ColorOn() const;
    void SetColorOn(const QColor &color);

    QSize sizeHint() const override;

    // Side of a square dot for a widget of the given size: the largest that fits the cells inside
    // the bevels, cells being one dot side apart. 0 when not even 1-pixel dots fit.
    static int DotSize(QSize size);
    // Cell 0 is the leftmost; the block of cells is centred inside the bevels.
    static QRect CellRect(int cell, QSize size);
    // Column 0 .. 4 from the left, row 0 .. 6 from the top.
    static QRect DotRect(int cell, int column, int row, QSize size);
    // The character in a cell for a shown text (at most kCells characters): right-aligned, the
    // cells before it blank.
    static QChar CellCharacter(const QString &shownText, int cell);
    static bool DotLit(const QString &shownText, int cell, int column, int row);

signals:
    void TextChanged(const QString &shownText);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The unlit matrix changes only with size and colour: drawn once, then only lit dots on it.
    void PaintUnlit(QPainter &painter) const;

    QPixmap m_unlit;
    QString m_text;
    QString m_shown;
    QColor m_colorOff{0x00, 0x00, 0x80};
    QColor m_colorOn{0x00, 0xFF, 0xFF};
};
