// The window shown while the program starts.
#include "app/FormSplash.h"

#include "platform/FormFont.h"

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TFormSplash *FormSplash = nullptr;

TFormSplash::TFormSplash(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormSplash"));
    setWindowTitle(QStringLiteral("Attendere - caricamento programma"));
    setFixedSize(kClientWidth, kClientHeight);
    // hiding the splash must never count as closing the program's last window
    setAttribute(Qt::WA_QuitOnClose, false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);

    TransparentMemo1 = new QLabel(this);
    TransparentMemo1->setObjectName(QStringLiteral("TransparentMemo1"));
    TransparentMemo1->setAttribute(Qt::WA_TranslucentBackground);
    TransparentMemo1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TransparentMemo1->setText(QStringLiteral("Programma di rilevazione\n"
                                             "parametri Rotavolt\n"
                                             "\n"
                                             "Caricamento della configurazione\n"
                                             "e apertura della porta seriale..."));
    QFont font;
    font.setFamilies(FormFontFamilies());
    font.setPointSize(8);
    font.setBold(true);
    TransparentMemo1->setFont(font);
    QPalette memo = TransparentMemo1->palette();
    memo.setColor(QPalette::WindowText, Qt::red);
    TransparentMemo1->setPalette(memo);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(TransparentMemo1);
}

void TFormSplash::showEvent(QShowEvent *event)
{
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
}
