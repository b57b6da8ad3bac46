// What our painted widgets show, told to screen readers: roles, names, values and texts through
// Qt's accessibility interfaces, made by one factory.
#pragma once

// Installs the factory for the read-outs, needle meters, slider, status bar and strip chart.
// Call it before the first of them is created: an interface Qt has already made for a widget
// stays as it is. Further calls do nothing.
void InstallAccessibility();
