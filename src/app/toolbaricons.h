// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QColor>
#include <QIcon>

class QPalette;

// The toolbar's pictures, drawn for the palette they show on: on a dark
// toolbar their dark outlines take the palette's light text colour, so that
// no picture sinks into the background.
namespace ToolbarIcons {

// svg with its dark strokes in ink when background is dark; as it is otherwise.
QByteArray ForBackground(const QByteArray &svg, const QColor &background, const QColor &ink);

// The named picture of the program's toolbar set for palette.
QIcon Icon(const QString &name, const QPalette &palette);

} // namespace ToolbarIcons
