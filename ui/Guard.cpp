// The standard exception display.
#include "ui/Guard.h"

#include "ui/FormMain.h"

#include <QMessageBox>

void ShowException(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, QLatin1String(TFormMain::kCaption), message, QMessageBox::Ok);
    box.exec();
}
