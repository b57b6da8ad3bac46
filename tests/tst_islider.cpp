// Slider: keys, wheel and dragging move the position within 0..100, and PositionChange comes
// once for every change and never for a request that leaves the position where it was.
#include "platform/iSlider.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

struct WheelTurn
{
    quint64 ms;    // event timestamp
    int delta;     // angleDelta().y(); 120 is one notch, positive is up
};

void sendWheel(QWidget *w, const WheelTurn &turn)
{
    const QPointF at(100, 20);
    QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, turn.delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    event.setTimestamp(turn.ms);
    QApplication::sendEvent(w, &event);
}

void sendMouse(QWidget *w, QEvent::Type type, QPointF pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

Q_DECLARE_METATYPE(QList<WheelTurn>)

class TestISlider : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void settings();
    void geometry_data();
    void geometry();
    void setPositionClamps_data();
    void setPositionClamps();
    void keys_data();
    void keys();
    void wheel_data();
    void wheel();
    void drag_data();
    void drag();
    void clickWithoutMovingChangesNothing();

private:
    std::unique_ptr<TiSlider> m_slider;
};

void TestISlider::init()
{
    m_slider = std::make_unique<TiSlider>();
    m_slider->resize(TiSlider::kWidth, TiSlider::kHeight);
}

void TestISlider::cleanup()
{
    m_slider.reset();
}

void TestISlider::settings()
{
    QCOMPARE(m_slider->Position(), 0.0);
    QCOMPARE(m_slider->PositionMin(), 0.0);
    QCOMPARE(m_slider->PositionMax(), 100.0);
    QCOMPARE(m_slider->KeyArrowStepSize(), 1.0);
    QCOMPARE(m_slider->KeyPageStepSize(), 10.0);
    QCOMPARE(m_slider->MouseWheelStepSize(), 1.0);
    QCOMPARE(m_slider->focusPolicy(), Qt::StrongFocus);
}

void TestISlider::geometry_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("usable");
    QTest::addColumn<double>("position");
    QTest::addColumn<double>("x");

    QTest::newRow("main window, left end") << 200 << 180 << 0.0 << 10.0;
    QTest::newRow("main window, right end") << 200 << 180 << 100.0 << 190.0;
    QTest::newRow("main window, 37.5") << 200 << 180 << 37.5 << 77.5;
    QTest::newRow("wider") << 420 << 400 << 25.0 << 110.0;
    // narrower than the margins: a track of one pixel, never zero
    QTest::newRow("too narrow") << 12 << 1 << 100.0 << 11.0;
}

void TestISlider::geometry()
{
    QFETCH(int, width);
    QFETCH(int, usable);
    QFETCH(double, position);
    QFETCH(double, x);

    QCOMPARE(TiSlider::UsableWidth(width), usable);
    QCOMPARE(TiSlider::PositionX(position, width), x);
    QCOMPARE(TiSlider::TravelToUnits(usable, width), 100.0);
}

void TestISlider::setPositionClamps_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("request");
    QTest::addColumn<double>("result");
    QTest::addColumn<int>("changeCount");

    QTest::newRow("below the range") << 10.0 << -5.0 << 0.0 << 1;
    QTest::newRow("above the range") << 10.0 << 250.0 << 100.0 << 1;
    QTest::newRow("fraction kept") << 10.0 << 99.8 << 99.8 << 1;
    QTest::newRow("same position") << 37.5 << 37.5 << 37.5 << 0;
    QTest::newRow("below at 0") << 0.0 << -5.0 << 0.0 << 0;
    QTest::newRow("above at 100") << 100.0 << 250.0 << 100.0 << 0;
    QTest::newRow("not a number") << 37.5 << qQNaN() << 37.5 << 0;
    QTest::newRow("minus infinity") << 37.5 << -qInf() << 0.0 << 1;
}

void TestISlider::setPositionClamps()
{
    QFETCH(double, start);
    QFETCH(double, request);
    QFETCH(double, result);
    QFETCH(int, changeCount);

    m_slider->SetPosition(start);
    QSignalSpy changes(m_slider.get(), &TiSlider::PositionChange);
    m_slider->SetPosition(request);
    QCOMPARE(m_slider->Position(), result);
    QCOMPARE(changes.count(), changeCount);
}

void TestISlider::keys_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<double>("result");

    QTest::newRow("Right from 0") << 0.0 << int(Qt::Key_Right) << 1.0;
    QTest::newRow("Up from 0") << 0.0 << int(Qt::Key_Up) << 1.0;
    QTest::newRow("Right at 100") << 100.0 << int(Qt::Key_Right) << 100.0;
    QTest::newRow("Right from 99.8") << 99.8 << int(Qt::Key_Right) << 100.0;
    QTest::newRow("Left from 37.5") << 37.5 << int(Qt::Key_Left) << 36.5;
    QTest::newRow("Left from 0") << 0.0 << int(Qt::Key_Left) << 0.0;
    QTest::newRow("Down from 0.4") << 0.4 << int(Qt::Key_Down) << 0.0;
    QTest::newRow("Page Up from 95") << 95.0 << int(Qt::Key_PageUp) << 100.0;
    QTest::newRow("Page Up from 100") << 100.0 << int(Qt::Key_PageUp) << 100.0;
    QTest::newRow("Page Down from 100") << 100.0 << int(Qt::Key_PageDown) << 90.0;
    QTest::newRow("Page Down from 5") << 5.0 << int(Qt::Key_PageDown) << 0.0;
    QTest::newRow("Home from 37.5") << 37.5 << int(Qt::Key_Home) << 0.0;
    QTest::newRow("Home at 0") << 0.0 << int(Qt::Key_Home) << 0.0;
    QTest::newRow("End from 0") << 0.0 << int(Qt::Key_End) << 100.0;
    QTest::newRow("End at 100") << 100.0 << int(Qt::Key_End) << 100.0;
    QTest::newRow("other key") << 37.5 << int(Qt::Key_A) << 37.5;
}

void TestISlider::keys()
{
    QFETCH(double, start);
    QFETCH(int, key);
    QFETCH(double, result);

    m_slider->SetPosition(start);
    QSignalSpy changes(m_slider.get(), &TiSlider::PositionChange);
    QTest::keyClick(m_slider.get(), Qt::Key(key));
    QCOMPARE(m_slider->Position(), result);
    QCOMPARE(changes.count(), result == start ? 0 : 1);
}

void TestISlider::wheel_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<QList<WheelTurn>>("turns");
    QTest::addColumn<double>("result");
    QTest::addColumn<int>("changeCount");

    using T = QList<WheelTurn>;
    QTest::newRow("one notch up") << 10.0 << T{{1000, 120}} << 11.0 << 1;
    QTest::newRow("one notch down") << 10.0 << T{{1000, -120}} << 9.0 << 1;
    QTest::newRow("second notch 10 ms later dropped")
        << 10.0 << T{{1000, 120}, {1010, 120}} << 11.0 << 1;
    QTest::newRow("second notch 29 ms later dropped")
        << 10.0 << T{{1000, 120}, {1029, 120}} << 11.0 << 1;
    QTest::newRow("second notch 30 ms later taken")
        << 10.0 << T{{1000, 120}, {1030, 120}} << 12.0 << 2;
    // counted from the last step taken, not from the last notch dropped
    QTest::newRow("steady 20 ms notches")
        << 10.0 << T{{1000, 120}, {1020, 120}, {1040, 120}, {1060, 120}, {1080, 120}} << 13.0 << 3;
    QTest::newRow("two notches in one event") << 10.0 << T{{1000, 240}} << 11.0 << 1;
    QTest::newRow("fine wheel adds up to a notch")
        << 10.0 << T{{1000, 40}, {1100, 40}, {1200, 40}} << 11.0 << 1;
    QTest::newRow("fine wheel short of a notch") << 10.0 << T{{1000, 60}, {1100, 59}} << 10.0 << 0;
    QTest::newRow("turning back starts afresh") << 10.0 << T{{1000, 90}, {1100, -90}} << 10.0 << 0;
    QTest::newRow("down at 0") << 0.0 << T{{1000, -120}} << 0.0 << 0;
    QTest::newRow("up at 100") << 100.0 << T{{1000, 120}} << 100.0 << 0;
}

void TestISlider::wheel()
{
    QFETCH(double, start);
    QFETCH(QList<WheelTurn>, turns);
    QFETCH(double, result);
    QFETCH(int, changeCount);

    m_slider->SetPosition(start);
    QSignalSpy changes(m_slider.get(), &TiSlider::PositionChange);
    for (const WheelTurn &turn : turns)
        sendWheel(m_slider.get(), turn);
    QCOMPARE(m_slider->Position(), result);
    QCOMPARE(changes.count(), changeCount);
}

void TestISlider::drag_data()
{
    QTest::addColumn<double>("pressX");
    QTest::addColumn<QList<double>>("moves");   // x of each move with the button held
    QTest::addColumn<double>("result");
    QTest::addColumn<int>("changeCount");

    using M = QList<double>;
    const double usable = TiSlider::UsableWidth(TiSlider::kWidth);
    QTest::newRow("18 px right") << 60.0 << M{78.0} << 37.0 + 18 * 100 / usable << 1;
    QTest::newRow("9 px left") << 60.0 << M{51.0} << 37.0 - 9 * 100 / usable << 1;
    QTest::newRow("fraction") << 150.0 << M{157.0} << 37.0 + 7 * 100 / usable << 1;
    QTest::newRow("in steps, from where it was")
        << 20.0 << M{21.0, 22.0, 23.0} << 37.0 + 3 * 100 / usable << 3;
    QTest::newRow("out and back") << 100.0 << M{110.0, 100.0} << 37.0 << 2;
    QTest::newRow("past the right end") << 10.0 << M{190.0} << 100.0 << 1;
    QTest::newRow("past the left end") << 190.0 << M{-50.0} << 0.0 << 1;
    QTest::newRow("pinned at the end") << 10.0 << M{190.0, 195.0, 300.0} << 100.0 << 1;
}

void TestISlider::drag()
{
    QFETCH(double, pressX);
    QFETCH(QList<double>, moves);
    QFETCH(double, result);
    QFETCH(int, changeCount);

    m_slider->SetPosition(37.0);
    QSignalSpy changes(m_slider.get(), &TiSlider::PositionChange);
    sendMouse(m_slider.get(), QEvent::MouseButtonPress, QPointF(pressX, 20));
    QCOMPARE(m_slider->Position(), 37.0);
    for (double x : moves)
        sendMouse(m_slider.get(), QEvent::MouseMove, QPointF(x, 20));
    sendMouse(m_slider.get(), QEvent::MouseButtonRelease, QPointF(moves.last(), 20));
    QCOMPARE(m_slider->Position(), result);
    QCOMPARE(changes.count(), changeCount);

    // once let go, moving the mouse moves nothing
    sendMouse(m_slider.get(), QEvent::MouseMove, QPointF(pressX + 50, 20));
    QCOMPARE(m_slider->Position(), result);
}

void TestISlider::clickWithoutMovingChangesNothing()
{
    // wherever the click lands, the position does not jump to it
    m_slider->SetPosition(37.0);
    QSignalSpy changes(m_slider.get(), &TiSlider::PositionChange);
    for (const QPointF at : {QPointF(5, 5), QPointF(100, 20), QPointF(195, 38)}) {
        sendMouse(m_slider.get(), QEvent::MouseButtonPress, at);
        sendMouse(m_slider.get(), QEvent::MouseMove, at);
        sendMouse(m_slider.get(), QEvent::MouseButtonRelease, at);
    }
    QCOMPARE(m_slider->Position(), 37.0);
    QCOMPARE(changes.count(), 0);
}

QTEST_MAIN(TestISlider)
#include "tst_islider.moc"
