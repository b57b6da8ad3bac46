// A last word on standard error when the program dies of a fatal signal or an unhandled error.
#pragma once

void InstallCrashReport();
