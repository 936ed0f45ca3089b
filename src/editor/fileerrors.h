// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "core/uitext.h"
#include "core/wholefile.h"

#include <QString>

// The message of a project folder that cannot become the current directory.
inline const UiText kSetProjectDirectoryFailed{"FileErrors",
                                               QT_TRANSLATE_NOOP("FileErrors", "Failed to set project directory!")};

// The message the user sees for the system's error number of a file operation.

// "%1 was not found.", "Access to %1 was denied.", "A sharing violation
// occurred while accessing %1." or "Disk full while accessing %1." with the
// path in the system's form, by the cause of error; fallback for any other error.
QString FileErrorText(int error, const QString &path, const QString &fallback);
