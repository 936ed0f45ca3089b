// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QLocalServer;

// The desktop's "open these files" requests between two starts of the editor
// by the same user and settings profile: a start made by the desktop offers its
// files to the editor that already runs, which opens them.
class CShellOpenServer : public QObject
{
    Q_OBJECT
public:
    using OpenHandler = std::function<void(const QStringList &files)>;

    explicit CShellOpenServer(OpenHandler handler, QObject *parent = nullptr);
    ~CShellOpenServer() override;

    // Starts listening unless another editor listens already.
    bool Listen();
    bool IsListening() const;

    // Offers files to a running editor; true when it took them.
    static bool OfferToRunningEditor(const QStringList &files, int timeoutMs = 2000);

    // The name both sides meet under: one per user and settings folder.
    static QString ServerName();

private:
    void OnNewConnection();

    OpenHandler m_handler;
    QLocalServer *m_pServer;
};
