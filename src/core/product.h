// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The program's name and version. The version comes from the build: the CMake
// project version followed by its letter.
namespace Product {

inline const QString kName = QStringLiteral("Quarn BASIC Editor");
inline const QString kVersion = QStringLiteral(QBE_PRODUCT_VERSION);
// The reverse-DNS name the desktop knows the program by: its desktop entry is
// "<id>.desktop" and its AppStream metainfo "<id>.metainfo.xml".
inline const QString kAppId = QStringLiteral(QBE_APP_ID);

// "Quarn BASIC Editor v1.3.8c": the main window's title and the About box's headline.
inline QString Title()
{
    return kName + QStringLiteral(" v") + kVersion;
}

} // namespace Product
