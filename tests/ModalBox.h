// Answers the modal message boxes that appear while a test runs: records what each one said
// and presses its OK button, as a user would.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

class ModalBoxAnswerer : public QObject
{
public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QStringList buttons;
    };

    explicit ModalBoxAnswerer(int pollMs = 10)
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalBoxAnswerer::answer);
        m_timer.start(pollMs);
    }

    QList<Box> boxes;

    // Runs before the box is answered, while it is on screen.
    std::function<void()> whileShown;

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        QStringList buttons;
        for (QAbstractButton *b : box->buttons())
            buttons << b->text().remove(QLatin1Char('&'));
        boxes.append({box->windowTitle(), box->text(), box->icon(), buttons});
        if (whileShown)
            whileShown();
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    QTimer m_timer;
};
