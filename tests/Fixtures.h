// What many tests start from: an empty working directory of their own, and the system's records
// as a new run has them.
#pragma once

#include "acquisition/RxLine.h"
#include "acquisition/Stats.h"
#include "config/ConfigData.h"

#include <QDir>
#include <QTemporaryDir>

// A fresh, empty working directory for one test; the previous one comes back afterwards.
class WorkingFolder
{
public:
    WorkingFolder()
        : m_previous(QDir::currentPath())
    {
        m_entered = m_dir.isValid() && QDir::setCurrent(m_dir.path());
    }
    ~WorkingFolder() { QDir::setCurrent(m_previous); }
    WorkingFolder(const WorkingFolder &) = delete;
    WorkingFolder &operator=(const WorkingFolder &) = delete;

    bool isValid() const { return m_entered; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
    bool m_entered = false;
};

// No readings, an all-zero configuration and an empty receive line, as at start-up.
inline void ResetRecords()
{
    ClearStats();
    ConfigData = TConfigData();
    RxLine[0] = '\0';
    RxCount = 0;
}
