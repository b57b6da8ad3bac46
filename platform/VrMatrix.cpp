// LED-matrix read-out.
#include "platform/VrMatrix.h"

#include "platform/MatrixFont.h"

#include <QAccessible>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>
#include <utility>

namespace {

const QColor kBackground(Qt::black);

QRect InnerRect(QSize size)
{
    const int b = 2 * TVrMatrix::kBevelWidth;
    return QRect(QPoint(0, 0), size).adjusted(b, b, -b, -b);
}

int CellWidth(int dot)
{
    return kGlyphColumns * dot + (kGlyphColumns - 1) * TVrMatrix::kDotGap;
}

int CellHeight(int dot)
{
    return kGlyphRows * dot + (kGlyphRows - 1) * TVrMatrix::kDotGap;
}

} // namespace

TVrMatrix::TVrMatrix(QWidget *parent) : QWidget(parent) {}

QString TVrMatrix::Text() const
{
    return m_text;
}

void TVrMatrix::SetText(const QString &text)
{
    m_text = text;
    const QString shown = ShownTextOf(text);
    if (shown == m_shown)
        return;
    const QString before = std::exchange(m_shown, shown);
    update();
    // AT-SPI turns a text update into text-changed delete and insert, which Orca reads
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent changed(this, 0, before, m_shown);
        QAccessible::updateAccessibility(&changed);
    }
    emit TextChanged(m_shown);
}

QString TVrMatrix::ShownText() const
{
    return m_shown;
}

QString TVrMatrix::ShownTextOf(const QString &text)
{
    // upper-case first: a few characters grow when upper-cased
    return text.toUpper().left(kCells);
}

QColor TVrMatrix::ColorOff() const
{
    return m_colorOff;
}

void TVrMatrix::SetColorOff(const QColor &color)
{
    if (color == m_colorOff)
        return;
    m_colorOff = color;
    m_unlit = QPixmap();
    update();
}

QColor TVrMatrix::ColorOn() const
{
    return m_colorOn;
}

void TVrMatrix::SetColorOn(const QColor &color)
{
    if (color == m_colorOn)
        return;
    m_colorOn = color;
    update();
}

QSize TVrMatrix::sizeHint() const
{
    return QSize(kDesignWidth, kDesignHeight);
}

int TVrMatrix::DotSize(QSize size)
{
    const QRect inner = InnerRect(size);
    // kCells cells of kGlyphColumns dots and kCells - 1 cell gaps of one dot side each
    const int byWidth = (inner.width() - kCells * (kGlyphColumns - 1) * kDotGap)
                        / (kCells * kGlyphColumns + kCells - 1);
    const int byHeight = (inner.height() - (kGlyphRows - 1) * kDotGap) / kGlyphRows;
    return std::max(0, std::min(byWidth, byHeight));
}

QRect TVrMatrix::CellRect(int cell, QSize size)
{
    const QRect inner = InnerRect(size);
    const int dot = DotSize(size);
    const int blockWidth = kCells * CellWidth(dot) + (kCells - 1) * dot;
    const int left = inner.left() + (inner.width() - blockWidth) / 2;
    const int top = inner.top() + (inner.height() - CellHeight(dot)) / 2;
    return QRect(left + cell * (CellWidth(dot) + dot), top, CellWidth(dot), CellHeight(dot));
}

QRect TVrMatrix::DotRect(int cell, int column, int row, QSize size)
{
    const int dot = DotSize(size);
    const QRect cellRect = CellRect(cell, size);
    return QRect(cellRect.left() + column * (dot + kDotGap), cellRect.top() + row * (dot + kDotGap), dot,
                 dot);
}

QChar TVrMatrix::CellCharacter(const QString &shownText, int cell)
{
    const qsizetype index = cell - (kCells - shownText.size());
    if (cell < 0 || cell >= kCells || index < 0 || index >= shownText.size())
        return QLatin1Char(' ');
    return shownText.at(index);
}

bool TVrMatrix::DotLit(const QString &shownText, int cell, int column, int row)
{
    if (column < 0 || column >= kGlyphColumns)
        return false;
    const quint8 bits = MatrixGlyphRow(CellCharacter(shownText, cell), row);
    return (bits >> (kGlyphColumns - 1 - column)) & 1;
}

void TVrMatrix::PaintUnlit(QPainter &painter) const
{
    const QRect inner = rect().adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth);
    qDrawShadePanel(&painter, rect(), palette(), false, kBevelWidth);
    qDrawShadePanel(&painter, inner, palette(), true, kBevelWidth);
    painter.fillRect(InnerRect(size()), kBackground);
    if (DotSize(size()) == 0)
        return;
    for (int cell = 0; cell < kCells; ++cell) {
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int column = 0; column < kGlyphColumns; ++column)
                painter.fillRect(DotRect(cell, column, row, size()), m_colorOff);
        }
    }
}

void TVrMatrix::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_unlit.isNull() || m_unlit.size() != size() * ratio) {
        m_unlit = QPixmap(size() * ratio);
        m_unlit.setDevicePixelRatio(ratio);
        QPainter unlitPainter(&m_unlit);
        PaintUnlit(unlitPainter);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_unlit);
    if (DotSize(size()) == 0)
        return;
    for (int cell = kCells - int(m_shown.size()); cell < kCells; ++cell) {
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int column = 0; column < kGlyphColumns; ++column) {
                if (DotLit(m_shown, cell, column, row))
                    painter.fillRect(DotRect(cell, column, row, size()), m_colorOn);
            }
        }
    }
}
