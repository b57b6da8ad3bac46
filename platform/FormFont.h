// The small sans-serif font the windows are laid out for. On Windows that is the classic
// "MS Sans Serif". Elsewhere fontconfig would stand in DejaVu Sans for it, which is too wide for
// the fixed control rectangles, so the narrow metric-compatible faces come first there.
#pragma once

#include <QFont>
#include <QStringList>

inline QStringList FormFontFamilies()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif")};
#else
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")};
#endif
}
