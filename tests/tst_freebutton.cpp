// Owner-drawn button: a click comes at the release over the button, the button never holds the
// keyboard, setters repaint only on a change, and the looks follow mouse and settings.
#include "platform/FreeButton.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

using Setter = std::function<void(TFreeButton &)>;
Q_DECLARE_METATYPE(Setter)

namespace {

constexpr QSize kMainSize(99, 45);

// Counts the paints that reach the button.
class CountingButton : public TFreeButton
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        TFreeButton::paintEvent(event);
    }
};

void sendMove(QWidget *w, QPoint pos, Qt::MouseButtons held)
{
    QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

// A point of the body, low and in the middle, clear of picture and captions.
QColor bodyPixel(TFreeButton &button)
{
    return button.grab().toImage().pixelColor(kMainSize.width() / 2, kMainSize.height() - 6);
}

} // namespace

class TestFreeButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clickOnRelease_data();
    void clickOnRelease();
    void neverTakesFocus();
    void settersRepaintOnlyOnChange_data();
    void settersRepaintOnlyOnChange();
    void captions_data();
    void captions();
    void bodyColour_data();
    void bodyColour();
    void hoverAndPressedLooks();
    void picturesStayInTheirSquare_data();
    void picturesStayInTheirSquare();

private:
    std::unique_ptr<CountingButton> m_button;
};

void TestFreeButton::init()
{
    m_button = std::make_unique<CountingButton>();
    m_button->resize(kMainSize);
    m_button->SetCaption(QStringLiteral("Clear"));
    m_button->SetCaption2(QStringLiteral("Data"));
    m_button->SetPicture(TFreeButton::TPicture::Clear);
}

void TestFreeButton::cleanup()
{
    m_button.reset();
}

void TestFreeButton::clickOnRelease_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QList<QPoint>>("moves");   // with the button held, before the release
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("clicks");

    using L = QList<QPoint>;
    QTest::newRow("release inside") << Qt::LeftButton << L{} << QPoint(80, 30) << 1;
    QTest::newRow("release outside") << Qt::LeftButton << L{} << QPoint(150, 20) << 0;
    QTest::newRow("release one past the right edge")
        << Qt::LeftButton << L{} << QPoint(kMainSize.width(), 20) << 0;
    QTest::newRow("out and back in")
        << Qt::LeftButton << L{{150, 20}, {50, 20}} << QPoint(50, 20) << 1;
    QTest::newRow("in and then out")
        << Qt::LeftButton << L{{60, 20}, {-5, 20}} << QPoint(-5, 20) << 0;
    QTest::newRow("right button") << Qt::RightButton << L{} << QPoint(50, 20) << 0;
}

void TestFreeButton::clickOnRelease()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QList<QPoint>, moves);
    QFETCH(QPoint, release);
    QFETCH(int, clicks);

    m_button->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_button.get()));
    QSignalSpy clicked(m_button.get(), &QAbstractButton::clicked);

    QTest::mousePress(m_button.get(), button, Qt::NoModifier, QPoint(40, 20));
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(m_button->isDown(), button == Qt::LeftButton);
    for (const QPoint &pos : moves)
        sendMove(m_button.get(), pos, button);
    QTest::mouseRelease(m_button.get(), button, Qt::NoModifier, release);

    QCOMPARE(clicked.count(), clicks);
    QVERIFY(!m_button->isDown());
}

void TestFreeButton::neverTakesFocus()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *before = new QLineEdit(&window);
    auto *button = new TFreeButton(&window);
    auto *after = new QLineEdit(&window);
    layout->addWidget(before);
    layout->addWidget(button);
    layout->addWidget(after);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    before->setFocus();
    QVERIFY(before->hasFocus());
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY2(after->hasFocus(), "Tab stops on the button");

    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);
    QVERIFY2(after->hasFocus(), "a click took the focus");

    button->setFocus();
    QVERIFY(!button->hasFocus());
    QTest::keyClick(&window, Qt::Key_Space);
    QCOMPARE(clicked.count(), 1);
}

void TestFreeButton::settersRepaintOnlyOnChange_data()
{
    QTest::addColumn<Setter>("same");
    QTest::addColumn<Setter>("changed");
    using P = TFreeButton::TPicture;

    QTest::newRow("draw colour")
        << Setter([](TFreeButton &b) { b.SetDrawColor(QColor(0x00, 0x80, 0x80)); })
        << Setter([](TFreeButton &b) { b.SetDrawColor(QColor(0x80, 0x00, 0x00)); });
    QTest::newRow("back colour")
        << Setter([](TFreeButton &b) { b.SetBackColor(QColor(212, 208, 200)); })
        << Setter([](TFreeButton &b) { b.SetBackColor(Qt::white); });
    QTest::newRow("caption")
        << Setter([](TFreeButton &b) { b.SetCaption(QStringLiteral("Clear")); })
        << Setter([](TFreeButton &b) { b.SetCaption(QStringLiteral("Config")); });
    QTest::newRow("second caption")
        << Setter([](TFreeButton &b) { b.SetCaption2(QStringLiteral("Data")); })
        << Setter([](TFreeButton &b) { b.SetCaption2(QString()); });
    QTest::newRow("picture")
        << Setter([](TFreeButton &b) { b.SetPicture(P::Clear); })
        << Setter([](TFreeButton &b) { b.SetPicture(P::Gear); });
}

void TestFreeButton::settersRepaintOnlyOnChange()
{
    QFETCH(Setter, same);
    QFETCH(Setter, changed);

    m_button->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_button.get()));
    QTRY_VERIFY(m_button->paints > 0);
    QTest::qWait(50);
    QSignalSpy pressed(m_button.get(), &QAbstractButton::pressed);
    QSignalSpy released(m_button.get(), &QAbstractButton::released);
    QSignalSpy clicked(m_button.get(), &QAbstractButton::clicked);
    QSignalSpy toggled(m_button.get(), &QAbstractButton::toggled);

    m_button->paints = 0;
    same(*m_button);
    QTest::qWait(100);
    QCOMPARE(m_button->paints, 0);

    changed(*m_button);
    QTRY_VERIFY(m_button->paints > 0);

    QCOMPARE(pressed.count() + released.count() + clicked.count() + toggled.count(), 0);
}

void TestFreeButton::captions_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("caption2");

    QTest::newRow("one line") << QStringLiteral("Config") << QString();
    QTest::newRow("two lines") << QStringLiteral("Clear") << QStringLiteral("Graph");
    QTest::newRow("none") << QString() << QString();
    QTest::newRow("accents") << QStringLiteral("Température") << QStringLiteral("°C");
}

void TestFreeButton::captions()
{
    QFETCH(QString, caption);
    QFETCH(QString, caption2);

    TFreeButton button;
    button.SetCaption(caption);
    button.SetCaption2(caption2);
    QCOMPARE(button.Caption(), caption);
    QCOMPARE(button.Caption2(), caption2);
    QCOMPARE(button.text(), caption);

    // setText is the same first line
    button.setText(QStringLiteral("Ok"));
    QCOMPARE(button.Caption(), QStringLiteral("Ok"));
    QCOMPARE(button.Caption2(), caption2);

    // a second line makes the button want to be taller
    const int height = button.sizeHint().height();
    button.SetCaption2(caption2.isEmpty() ? QStringLiteral("Data") : QString());
    QCOMPARE(button.sizeHint().height() > height, caption2.isEmpty());
}

void TestFreeButton::bodyColour_data()
{
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("brighter");   // against the plain body: 1 lighter, 0 same, -1 darker

    QTest::newRow("plain") << false << false << 0;
    QTest::newRow("under the mouse") << true << false << 1;
    QTest::newRow("held down") << false << true << -1;
    QTest::newRow("held down under the mouse") << true << true << -1;
}

void TestFreeButton::bodyColour()
{
    QFETCH(bool, hovered);
    QFETCH(bool, down);
    QFETCH(int, brighter);

    for (const QColor &draw : {QColor(0x00, 0x80, 0x80), QColor(0x80, 0x00, 0x00), QColor(0x00, 0x80, 0x00)}) {
        const QColor c = TFreeButton::BodyColor(draw, hovered, down);
        QCOMPARE(c.hue(), draw.hue());
        const int diff = c.value() - draw.value();
        QCOMPARE((diff > 0) - (diff < 0), brighter);
    }
}

void TestFreeButton::hoverAndPressedLooks()
{
    m_button->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_button.get()));
    // the window may have opened under the pointer
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_button.get(), &leave);
    const int plain = bodyPixel(*m_button).value();

    QEnterEvent enter(QPointF(40, 20), QPointF(40, 20), m_button->mapToGlobal(QPointF(40, 20)));
    QApplication::sendEvent(m_button.get(), &enter);
    const int hovered = bodyPixel(*m_button).value();
    QVERIFY2(hovered > plain, "no lighter body under the mouse");

    QTest::mousePress(m_button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
    const int down = bodyPixel(*m_button).value();
    QVERIFY2(down < plain, "no darker body while held down");

    QTest::mouseRelease(m_button.get(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
    QApplication::sendEvent(m_button.get(), &leave);
    QCOMPARE(bodyPixel(*m_button).value(), plain);
}

void TestFreeButton::picturesStayInTheirSquare_data()
{
    QTest::addColumn<TFreeButton::TPicture>("picture");
    using P = TFreeButton::TPicture;
    QTest::newRow("clear") << P::Clear;
    QTest::newRow("chart") << P::Chart;
    QTest::newRow("gear") << P::Gear;
    QTest::newRow("cross") << P::Cross;
    QTest::newRow("tick") << P::Tick;
}

void TestFreeButton::picturesStayInTheirSquare()
{
    QFETCH(TFreeButton::TPicture, picture);

    TFreeButton button;
    button.resize(kMainSize);
    const QImage blank = button.grab().toImage();
    button.SetPicture(picture);
    const QImage drawn = button.grab().toImage();

    // allow the antialiased edge one pixel beyond the square
    const QRect square = TFreeButton::PictureRect(kMainSize).adjusted(-1, -1, 1, 1);
    int inside = 0;
    for (int y = 0; y < kMainSize.height(); ++y) {
        for (int x = 0; x < kMainSize.width(); ++x) {
            if (blank.pixel(x, y) == drawn.pixel(x, y))
                continue;
            QVERIFY2(square.contains(x, y), qPrintable(QStringLiteral("painted at %1,%2").arg(x).arg(y)));
            ++inside;
        }
    }
    QVERIFY2(inside > 20, "picture hardly drawn");
}

QTEST_MAIN(TestFreeButton)
#include "tst_freebutton.moc"
