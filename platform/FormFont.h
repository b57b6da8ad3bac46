// The small sans-serif font the windows are laid out for. The classic bitmap face is rarely on a
// Linux desktop; the narrow metric-compatible faces that follow keep captions inside the fixed
// control rectangles, and DejaVu Sans is there on every Debian desktop.
#pragma once

#include <QFont>
#include <QStringList>

inline QStringList FormFontFamilies()
{
    return {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")};
}
