// Clicking check box: a left press toggles at once and asks for one click sound, the release
// adds nothing, other buttons do nothing, and the keyboard still works as in any check box.
#include "platform/ClickSound.h"
#include "platform/PCheck.h"

#include <QSignalSpy>
#include <QTemporaryFile>
#include <QtTest>

#include <memory>
#include <unistd.h>

namespace {

constexpr QSize kBoxSize(97, 19);

void sendMouse(QWidget *w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestPCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void leftPressTogglesAtPress_data();
    void leftPressTogglesAtPress();
    void otherButtonsDoNothing_data();
    void otherButtonsDoNothing();
    void doubleClickTogglesTwice();
    void spaceToggles();
    void setCheckedSignalsOnlyOnChange();
    void soundWithoutDeviceIsSilent();

private:
    std::unique_ptr<TPCheck> m_box;
};

void TestPCheck::initTestCase()
{
    SetClickSoundEnabled(false);
}

void TestPCheck::init()
{
    m_box = std::make_unique<TPCheck>();
    m_box->setText(QStringLiteral("Enable"));
    m_box->resize(kBoxSize);
    m_box->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_box.get()));
}

void TestPCheck::cleanup()
{
    m_box.reset();
}

void TestPCheck::leftPressTogglesAtPress_data()
{
    QTest::addColumn<bool>("start");
    QTest::addColumn<QPoint>("at");

    QTest::newRow("on the box, clear") << false << QPoint(6, 9);
    QTest::newRow("on the box, checked") << true << QPoint(6, 9);
    // the whole control answers, not only the box and its text
    QTest::newRow("past the caption") << false << QPoint(kBoxSize.width() - 2, 9);
}

void TestPCheck::leftPressTogglesAtPress()
{
    QFETCH(bool, start);
    QFETCH(QPoint, at);

    m_box->SetChecked(start);
    QSignalSpy toggled(m_box.get(), &QAbstractButton::toggled);
    QSignalSpy clicked(m_box.get(), &QAbstractButton::clicked);
    const int clicks = ClickCount();

    sendMouse(m_box.get(), QEvent::MouseButtonPress, Qt::LeftButton, at);
    QCOMPARE(m_box->Checked(), !start);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(ClickCount(), clicks + 1);

    // held and moved about, then let go: nothing more
    sendMouse(m_box.get(), QEvent::MouseMove, Qt::LeftButton, at + QPoint(3, 2));
    sendMouse(m_box.get(), QEvent::MouseButtonRelease, Qt::LeftButton, at);
    QCOMPARE(m_box->Checked(), !start);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(ClickCount(), clicks + 1);
}

void TestPCheck::otherButtonsDoNothing_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestPCheck::otherButtonsDoNothing()
{
    QFETCH(Qt::MouseButton, button);

    m_box->SetChecked(true);
    QSignalSpy toggled(m_box.get(), &QAbstractButton::toggled);
    const int clicks = ClickCount();
    sendMouse(m_box.get(), QEvent::MouseButtonPress, button, QPoint(6, 9));
    sendMouse(m_box.get(), QEvent::MouseButtonRelease, button, QPoint(6, 9));
    QVERIFY(m_box->Checked());
    QCOMPARE(toggled.count(), 0);
    QCOMPARE(ClickCount(), clicks);
}

void TestPCheck::doubleClickTogglesTwice()
{
    // a double click is two presses, so the box comes back to where it was
    m_box->SetChecked(false);
    QSignalSpy toggled(m_box.get(), &QAbstractButton::toggled);
    const int clicks = ClickCount();
    const QPoint at(6, 9);
    sendMouse(m_box.get(), QEvent::MouseButtonPress, Qt::LeftButton, at);
    sendMouse(m_box.get(), QEvent::MouseButtonRelease, Qt::LeftButton, at);
    sendMouse(m_box.get(), QEvent::MouseButtonDblClick, Qt::LeftButton, at);
    sendMouse(m_box.get(), QEvent::MouseButtonRelease, Qt::LeftButton, at);
    QCOMPARE(toggled.count(), 2);
    QVERIFY(!m_box->Checked());
    QCOMPARE(ClickCount(), clicks + 2);
}

void TestPCheck::spaceToggles()
{
    m_box->SetChecked(false);
    QSignalSpy toggled(m_box.get(), &QAbstractButton::toggled);
    QTest::keyClick(m_box.get(), Qt::Key_Space);
    QVERIFY(m_box->Checked());
    QTest::keyClick(m_box.get(), Qt::Key_Space);
    QVERIFY(!m_box->Checked());
    QCOMPARE(toggled.count(), 2);
}

void TestPCheck::setCheckedSignalsOnlyOnChange()
{
    m_box->SetChecked(true);
    QSignalSpy toggled(m_box.get(), &QAbstractButton::toggled);
    QSignalSpy clicked(m_box.get(), &QAbstractButton::clicked);
    const int clicks = ClickCount();
    m_box->SetChecked(true);
    QCOMPARE(toggled.count(), 0);
    m_box->SetChecked(false);
    QCOMPARE(toggled.count(), 1);
    QVERIFY(!m_box->Checked());
    QVERIFY(!m_box->isChecked());
    // set by the program: no click, no sound
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(ClickCount(), clicks);
}

void TestPCheck::soundWithoutDeviceIsSilent()
{
    // whatever the machine has for sound, asking for clicks neither blocks, crashes nor prints
    QTemporaryFile errors;
    QVERIFY(errors.open());
    const int savedStderr = dup(STDERR_FILENO);
    QVERIFY(savedStderr >= 0);
    QVERIFY(dup2(errors.handle(), STDERR_FILENO) >= 0);

    SetClickSoundEnabled(true);
    const int clicks = ClickCount();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 20; ++i)
        sendMouse(m_box.get(), QEvent::MouseButtonPress, Qt::LeftButton, QPoint(6, 9));
    const qint64 requestMs = timer.elapsed();
    const bool finished = QTest::qWaitFor([] { return !ClickPlaying(); }, 5000);
    SetClickSoundEnabled(false);

    fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);

    QVERIFY2(requestMs < 200, "asking for clicks held up the caller");
    QVERIFY2(finished, "a click went on playing");
    QCOMPARE(ClickCount(), clicks + 20);
    errors.seek(0);
    QCOMPARE(errors.readAll(), QByteArray());
}

QTEST_MAIN(TestPCheck)
#include "tst_pcheck.moc"
