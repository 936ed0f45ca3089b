// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Drives a modal window from inside its own event loop: while a modal widget
// of type T is up, step is called every few milliseconds until it returns
// true. After timeoutMs the window is closed and TimedOut() tells so, so that
// a failing test never hangs in a modal loop.
template<class T>
class ModalPoller
{
public:
    explicit ModalPoller(std::function<bool(T *)> step, int timeoutMs = 30000)
        : m_state(std::make_shared<State>())
    {
        auto state = m_state;
        state->timer = new QTimer(qApp);
        state->clock.start();
        QObject::connect(state->timer, &QTimer::timeout, state->timer, [state, step, timeoutMs] {
            T *window = qobject_cast<T *>(QApplication::activeModalWidget());
            if (window) {
                state->seen = true;
                if (step(window)) {
                    state->done = true;
                    state->timer->stop();
                    return;
                }
            }
            if (state->clock.elapsed() > timeoutMs) {
                state->timedOut = true;
                state->timer->stop();
                if (window)
                    window->close();
            }
        });
        state->timer->start(10);
    }
    ~ModalPoller() { delete m_state->timer; }

    bool Seen() const { return m_state->seen; }
    bool Done() const { return m_state->done; }
    bool TimedOut() const { return m_state->timedOut; }

private:
    struct State
    {
        QTimer *timer = nullptr;
        QElapsedTimer clock;
        bool seen = false;
        bool done = false;
        bool timedOut = false;
    };
    std::shared_ptr<State> m_state;
};
