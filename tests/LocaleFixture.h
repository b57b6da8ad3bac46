// Switches the process to a German locale, whose decimal separator is a comma, so that tests can
// show that numbers are read and written with a point whatever the locale. The locale is compiled
// into a temporary folder with localedef, so nothing needs installing system-wide.
#pragma once

#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>

class GermanLocale
{
public:
    // True when the process now runs in a locale whose decimal point is ','.
    bool enter()
    {
        if (!m_dir.isValid())
            return false;
        const QString path = m_dir.filePath(QStringLiteral("de_DE.UTF-8"));
        const int rc = QProcess::execute(QStringLiteral("localedef"),
                                         {QStringLiteral("-i"), QStringLiteral("de_DE"),
                                          QStringLiteral("-f"), QStringLiteral("UTF-8"), path});
        if (rc != 0)
            return false;
        qputenv("LOCPATH", m_dir.path().toLocal8Bit());
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            return false;
        return std::localeconv()->decimal_point[0] == ',';
    }

    ~GermanLocale() { std::setlocale(LC_ALL, "C"); }

private:
    QTemporaryDir m_dir;
};
