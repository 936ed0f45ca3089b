// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "core/filelock.h"
#include "core/limit.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QLocalServer;

// Where and how the editors of one user and settings profile meet. A request
// is the files' absolute paths, percent-encoded UTF-8, one a line, ended by an
// empty line; the answer "OK\n" tells that the listening editor took it.
namespace ShellOpenChannel {

inline CLimit<int> s_answerTimeoutMs{30000}; // an offering start waits this long
inline CLimit<int> s_requestTimeoutMs{5000}; // a connection must send its request within this
inline constexpr int kMaxConnections = 16;   // served at once; more are refused at once
inline constexpr int kMaxRequestBytes = 256 * 1024;
// Requests wait to be served in memory up to this much; further ones are refused.
inline CLimit<qsizetype> s_maxPendingBytes{qsizetype(16) << 20};

// The user's private folder below base (created with mode 0700 when missing,
// tightened to 0700 when only others' read or search bits are set). Empty,
// with the reason in *error, when it is no real folder, belongs to somebody
// else, or others may write to it.
QString PrivateFolder(const QString &base, QString *error = nullptr);
// The folder that holds socket and lock: inside $XDG_RUNTIME_DIR when that is
// usable, else inside the user's own cache folder; never a shared folder.
// Empty when neither can be made safe.
QString Folder(QString *error = nullptr);
// The listener's address (an absolute socket path; on Windows a pipe name)
// and the lock that decides who listens. Empty when there is no safe folder.
QString SocketPath();
QString LockPath();

QByteArray EncodeRequest(const QStringList &files);

// Collects one request as its bytes arrive.
class RequestReader
{
public:
    enum State { Incomplete, Complete, TooLong };
    State Append(const QByteArray &bytes);
    State CurrentState() const { return m_state; }
    // The files of a complete request.
    QStringList Files() const { return m_files; }

private:
    QByteArray m_buffer;
    QStringList m_files;
    State m_state = Incomplete;
};

enum class Delivery {
    Answered,   // the listener took the request
    Unanswered, // the request went out, but no answer came in time
    NotReached  // nobody listens, or the listener refused the connection
};
// Sends one request to the listener and waits up to timeoutMs for its answer.
Delivery SendRequest(const QByteArray &request, int timeoutMs);

} // namespace ShellOpenChannel

// The desktop's "open these files" requests between starts of the editor. One
// editor per user and settings profile holds a lock and listens; a start made
// by the desktop offers its files to it and ends. The listener answers as soon
// as a request is in and opens the files afterwards, from the event loop: the
// files of all requests that are waiting by then at once.
class CShellOpenServer : public QObject
{
    Q_OBJECT
public:
    using OpenHandler = std::function<void(const QStringList &files)>;
    // Tells whether requests can be served now; they wait while it says no.
    using ReadyCheck = std::function<bool()>;

    explicit CShellOpenServer(OpenHandler handler, ReadyCheck ready = {}, QObject *parent = nullptr);
    ~CShellOpenServer() override;

    // Takes the lock that makes this process the one that listens; false while
    // another live editor holds it (a crashed one's lock is taken over).
    bool Claim();
    bool HoldsClaim() const;
    // Starts listening; needs the claim. On failure the claim is given back.
    bool Listen();
    // Stops taking requests and gives the claim back, so that the next start
    // offering files becomes the editor; a request that is coming in is refused.
    void StopListening();

    enum class Offer {
        Delivered,   // a running editor took the files
        Queued,      // one runs and has the request, but did not answer in time
        Unreachable, // one runs but could not be reached in time
        NoEditor     // none runs; the claim is this process's now, where one can be had
    };
    // Offers files to the editor that holds the lock, trying until it answers
    // or s_answerTimeoutMs has passed.
    Offer OfferFiles(const QStringList &files);

private:
    void OnNewConnection();
    void ServePending();

    OpenHandler m_handler;
    ReadyCheck m_ready;
    QLocalServer *m_pServer;
    CFileLock m_lock;
    QStringList m_pending;
    qsizetype m_nPendingBytes = 0;
    int m_nConnections = 0;
    bool m_bServing = false;
};
