// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

// The zoom of every document window, in steps from the normal size, kept in
// the settings store. Each step makes the text a little larger or smaller.
class CEditorZoom : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxSteps = 8;

    // The one zoom of the program, read from the settings store when first asked for.
    static CEditorZoom &Instance();

    int Step() const { return m_nStep; }
    // Sets the zoom, within kMaxSteps either way, and keeps it.
    void SetStep(int step);
    void ZoomIn() { SetStep(m_nStep + 1); }
    void ZoomOut() { SetStep(m_nStep - 1); }
    void Reset() { SetStep(0); }
    // Reads the zoom kept in the settings store again.
    void Reload();

    // The font size of a step, for a normal size in points.
    static qreal PointSize(qreal normal, int step);

Q_SIGNALS:
    void Changed(int step);

private:
    CEditorZoom() = default;
    int m_nStep = 0;
};
