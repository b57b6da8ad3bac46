// LED-matrix read-out: the shown text, which cells light, the dot font, the dot geometry, and
// that an unchanged shown text neither signals nor repaints.
#include "platform/MatrixFont.h"
#include "PaintCounter.h"
#include "platform/VrMatrix.h"

#include <QImage>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using GlyphRows = QList<int>;

namespace {

const QString kCovered = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. \u00B0+:");

GlyphRows RowsOf(QChar ch)
{
    GlyphRows rows;
    for (int row = 0; row < kGlyphRows; ++row)
        rows.append(MatrixGlyphRow(ch, row));
    return rows;
}

} // namespace

class TestVrMatrix : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shownText_data();
    void shownText();
    void rightAligned_data();
    void rightAligned();
    void glyphRows_data();
    void glyphRows();
    void glyphsDistinct();
    void dotGeometry_data();
    void dotGeometry();
    void dotsStayInsideAndApart();
    void paintsLitAndUnlitDots();
    void unchangedShownTextIsQuiet();
    void coloursRepaintOnlyWhenChanged();

private:
    bool Repainted(PaintCounter &counter);
    std::unique_ptr<TVrMatrix> m_matrix;
};

void TestVrMatrix::init()
{
    m_matrix = std::make_unique<TVrMatrix>();
}

void TestVrMatrix::cleanup()
{
    m_matrix.reset();
}

void TestVrMatrix::shownText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("value") << "12.3" << "12.3";
    QTest::newRow("lower case") << "abc" << "ABC";
    QTest::newRow("longer than seven") << "12345.678" << "12345.6";
    QTest::newRow("exactly seven") << "-12.300" << "-12.300";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("minus") << "-" << "-";
    QTest::newRow("degree sign") << "c\u00B0" << "C\u00B0";
    // upper-casing comes first: the sharp s grows into two letters
    QTest::newRow("upper-cased before the cut") << "stra\u00DFe12" << "STRASSE";
}

void TestVrMatrix::shownText()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);

    QCOMPARE(TVrMatrix::ShownTextOf(text), shown);
    m_matrix->SetText(text);
    QCOMPARE(m_matrix->Text(), text);
    QCOMPARE(m_matrix->ShownText(), shown);
}

void TestVrMatrix::rightAligned_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cells");   // the character of each cell, left to right

    QTest::newRow("empty") << "" << "       ";
    QTest::newRow("one character") << "-" << "      -";
    QTest::newRow("three characters") << "abc" << "    ABC";
    QTest::newRow("value") << "12.3" << "   12.3";
    QTest::newRow("seven") << "-12.300" << "-12.300";
    QTest::newRow("cut") << "12345.678" << "12345.6";
    QTest::newRow("inner space") << "a b" << "    A B";
}

void TestVrMatrix::rightAligned()
{
    QFETCH(QString, text);
    QFETCH(QString, cells);

    const QString shown = TVrMatrix::ShownTextOf(text);
    QString got;
    for (int cell = 0; cell < TVrMatrix::kCells; ++cell)
        got.append(TVrMatrix::CellCharacter(shown, cell));
    QCOMPARE(got, cells);

    // the dots follow the glyph of each cell's character; the blank cells stay dark
    for (int cell = 0; cell < TVrMatrix::kCells; ++cell) {
        int lit = 0;
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int column = 0; column < kGlyphColumns; ++column) {
                const bool expected = (MatrixGlyphRow(cells.at(cell), row) >> (4 - column)) & 1;
                QCOMPARE(TVrMatrix::DotLit(shown, cell, column, row), expected);
                lit += expected ? 1 : 0;
            }
        }
        QCOMPARE(lit > 0, cells.at(cell) != QLatin1Char(' '));
    }
}

void TestVrMatrix::glyphRows_data()
{
    QTest::addColumn<QChar>("ch");
    QTest::addColumn<GlyphRows>("rows");

    const GlyphRows box{0b11111, 0b10001, 0b10001, 0b10001, 0b10001, 0b10001, 0b11111};
    QTest::newRow("one") << QChar('1')
                         << GlyphRows{0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110};
    QTest::newRow("zero") << QChar('0')
                          << GlyphRows{0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110};
    QTest::newRow("minus") << QChar('-') << GlyphRows{0, 0, 0, 0b11111, 0, 0, 0};
    QTest::newRow("point") << QChar('.') << GlyphRows{0, 0, 0, 0, 0, 0b01100, 0b01100};
    QTest::newRow("space") << QChar(' ') << GlyphRows{0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("fallback for #") << QChar('#') << box;
    QTest::newRow("fallback for lower case") << QChar('a') << box;
    QTest::newRow("fallback for NUL") << QChar() << box;
}

void TestVrMatrix::glyphRows()
{
    QFETCH(QChar, ch);
    QFETCH(GlyphRows, rows);

    QCOMPARE(RowsOf(ch), rows);
    // outside the seven rows nothing is lit
    QCOMPARE(int(MatrixGlyphRow(ch, -1)), 0);
    QCOMPARE(int(MatrixGlyphRow(ch, kGlyphRows)), 0);
}

void TestVrMatrix::glyphsDistinct()
{
    const GlyphRows fallback = RowsOf(QChar('#'));
    QVERIFY(!MatrixHasGlyph(QChar('#')));
    QHash<GlyphRows, QChar> seen;
    for (const QChar ch : kCovered) {
        QVERIFY2(MatrixHasGlyph(ch), qPrintable(QString(ch)));
        const GlyphRows rows = RowsOf(ch);
        QVERIFY2(rows != fallback, qPrintable(QString(ch)));
        for (const int bits : rows)
            QVERIFY2(bits >= 0 && bits < (1 << kGlyphColumns), qPrintable(QString(ch)));
        QVERIFY2(!seen.contains(rows),
                 qPrintable(QString("%1 looks like %2").arg(ch).arg(seen.value(rows))));
        seen.insert(rows, ch);
    }
}

void TestVrMatrix::dotGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("dot");
    QTest::addColumn<QRect>("firstCell");
    QTest::addColumn<QRect>("lastCell");
    QTest::addColumn<QRect>("lastDot");   // cell 6, column 4, row 6

    // 110 x 26 inside the bevels: cells of 5 x 7 dots of 2 px, 14 x 20, 2 px apart
    QTest::newRow("main window read-out") << QSize(114, 30) << 2 << QRect(2, 5, 14, 20)
                                          << QRect(98, 5, 14, 20) << QRect(110, 23, 2, 2);
    // 224 x 56 inside: dots of 4 px, a block of 192 x 34 centred
    QTest::newRow("twice the size") << QSize(228, 60) << 4 << QRect(18, 13, 24, 34)
                                    << QRect(186, 13, 24, 34) << QRect(206, 43, 4, 4);
    // the height limits: 7 rows of 1 px need 13 px; a block of 69 x 13 centred in 196 x 13
    QTest::newRow("flat") << QSize(200, 17) << 1 << QRect(65, 2, 9, 13) << QRect(125, 2, 9, 13)
                          << QRect(133, 14, 1, 1);
    QTest::newRow("too small") << QSize(40, 10) << 0 << QRect() << QRect() << QRect();
}

void TestVrMatrix::dotGeometry()
{
    QFETCH(QSize, size);
    QFETCH(int, dot);
    QFETCH(QRect, firstCell);
    QFETCH(QRect, lastCell);
    QFETCH(QRect, lastDot);

    QCOMPARE(TVrMatrix::DotSize(size), dot);
    if (dot == 0)
        return;
    QCOMPARE(TVrMatrix::CellRect(0, size), firstCell);
    QCOMPARE(TVrMatrix::CellRect(TVrMatrix::kCells - 1, size), lastCell);
    QCOMPARE(TVrMatrix::DotRect(TVrMatrix::kCells - 1, kGlyphColumns - 1, kGlyphRows - 1, size), lastDot);
    QCOMPARE(TVrMatrix::DotRect(0, 0, 0, size), QRect(firstCell.topLeft(), QSize(dot, dot)));
    QCOMPARE(TVrMatrix::DotRect(0, 1, 1, size).topLeft(),
             firstCell.topLeft() + QPoint(dot + TVrMatrix::kDotGap, dot + TVrMatrix::kDotGap));
}

void TestVrMatrix::dotsStayInsideAndApart()
{
    for (const QSize size : {QSize(114, 30), QSize(228, 60), QSize(300, 31), QSize(115, 90)}) {
        const int bevels = 2 * TVrMatrix::kBevelWidth;
        const QRect inside = QRect(QPoint(0, 0), size).adjusted(bevels, bevels, -bevels, -bevels);
        QVERIFY(TVrMatrix::DotSize(size) > TVrMatrix::kDotGap);
        QRect previousCell;
        for (int cell = 0; cell < TVrMatrix::kCells; ++cell) {
            const QRect cellRect = TVrMatrix::CellRect(cell, size);
            QVERIFY2(inside.contains(cellRect), qPrintable(QString("%1 %2").arg(size.width()).arg(cell)));
            // one dot side between cells, wider than the gap between the dots of a cell
            if (cell > 0)
                QCOMPARE(cellRect.left() - previousCell.right() - 1, TVrMatrix::DotSize(size));
            previousCell = cellRect;
            for (int row = 0; row < kGlyphRows; ++row) {
                for (int column = 0; column < kGlyphColumns; ++column)
                    QVERIFY(cellRect.contains(TVrMatrix::DotRect(cell, column, row, size)));
            }
        }
    }
}

void TestVrMatrix::paintsLitAndUnlitDots()
{
    m_matrix->resize(TVrMatrix::kDesignWidth, TVrMatrix::kDesignHeight);
    m_matrix->SetColorOff(QColor(0x80, 0x00, 0x00));
    m_matrix->SetColorOn(QColor(0xFF, 0x00, 0x00));
    m_matrix->SetText("1");
    const QImage image = m_matrix->grab().toImage();
    const QSize size = m_matrix->size();

    // '1': the top row lights only the middle column
    const auto colourAt = [&](int cell, int column, int row) {
        return image.pixelColor(TVrMatrix::DotRect(cell, column, row, size).center());
    };
    QCOMPARE(colourAt(6, 2, 0), m_matrix->ColorOn());
    QCOMPARE(colourAt(6, 0, 0), m_matrix->ColorOff());
    QCOMPARE(colourAt(0, 2, 0), m_matrix->ColorOff());
    // between two cells the background shows
    const QRect first = TVrMatrix::CellRect(0, size);
    QCOMPARE(image.pixelColor(first.right() + 1, first.top()), QColor(Qt::black));
}

bool TestVrMatrix::Repainted(PaintCounter &counter)
{
    return QTest::qWaitFor([&] { return counter.paints > 0; }, 300);
}

void TestVrMatrix::unchangedShownTextIsQuiet()
{
    m_matrix->resize(TVrMatrix::kDesignWidth, TVrMatrix::kDesignHeight);
    PaintCounter counter;
    m_matrix->installEventFilter(&counter);
    m_matrix->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_matrix.get()));
    QTRY_VERIFY(counter.paints > 0);
    QTest::qWait(50);
    QSignalSpy spy(m_matrix.get(), &TVrMatrix::TextChanged);

    counter.paints = 0;
    m_matrix->SetText("abc");
    QVERIFY(Repainted(counter));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QString("ABC"));

    counter.paints = 0;
    m_matrix->SetText("ABC");
    QVERIFY(!Repainted(counter));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(m_matrix->Text(), QString("ABC"));

    // differs only after the seventh character
    counter.paints = 0;
    m_matrix->SetText("1234567.1");
    QVERIFY(Repainted(counter));
    counter.paints = 0;
    m_matrix->SetText("1234567.9");
    QVERIFY(!Repainted(counter));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(m_matrix->Text(), QString("1234567.9"));
    QCOMPARE(m_matrix->ShownText(), QString("1234567"));
}

void TestVrMatrix::coloursRepaintOnlyWhenChanged()
{
    m_matrix->resize(TVrMatrix::kDesignWidth, TVrMatrix::kDesignHeight);
    m_matrix->SetColorOff(QColor(0x00, 0x80, 0x00));
    m_matrix->SetColorOn(QColor(0x00, 0xFF, 0x00));
    PaintCounter counter;
    m_matrix->installEventFilter(&counter);
    m_matrix->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_matrix.get()));
    QTRY_VERIFY(counter.paints > 0);
    QTest::qWait(50);

    counter.paints = 0;
    m_matrix->SetColorOff(QColor(0x00, 0x80, 0x00));
    m_matrix->SetColorOn(QColor(0x00, 0xFF, 0x00));
    QVERIFY(!Repainted(counter));

    m_matrix->SetColorOn(QColor(0xFF, 0xFF, 0x00));
    QVERIFY(Repainted(counter));
    QCOMPARE(m_matrix->ColorOn(), QColor(0xFF, 0xFF, 0x00));
    counter.paints = 0;
    m_matrix->SetColorOff(QColor(0x80, 0x80, 0x00));
    QVERIFY(Repainted(counter));
    QCOMPARE(m_matrix->ColorOff(), QColor(0x80, 0x80, 0x00));
}

QTEST_MAIN(TestVrMatrix)
#include "tst_vrmatrix.moc"
