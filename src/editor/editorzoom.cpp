// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "editor/editorzoom.h"

#include "core/settingsstore.h"
#include "editor/editorsettings.h"

#include <QtMath>

namespace {
// Each step changes the size by an eighth.
constexpr qreal kStepFactor = 1.125;
} // namespace

CEditorZoom &CEditorZoom::Instance()
{
    static CEditorZoom *zoom = [] {
        auto *made = new CEditorZoom;
        made->Reload();
        return made;
    }();
    return *zoom;
}

void CEditorZoom::Reload()
{
    const int step = qBound(-kMaxSteps, EditorSettings::Load(CSettingsStore()).zoom, kMaxSteps);
    if (step != m_nStep) {
        m_nStep = step;
        Q_EMIT Changed(m_nStep);
    }
}

void CEditorZoom::SetStep(int step)
{
    step = qBound(-kMaxSteps, step, kMaxSteps);
    if (step == m_nStep)
        return;
    m_nStep = step;
    CSettingsStore store;
    EditorSettings{m_nStep}.SaveZoom(store);
    Q_EMIT Changed(m_nStep);
}

qreal CEditorZoom::PointSize(qreal normal, int step)
{
    return normal * qPow(kStepFactor, step);
}
