// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/shellopenserver.h"

#include "core/privatefolder.h"
#include "core/settingsnames.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <utility>

namespace ShellOpenChannel {

namespace {
const QByteArray kAnswer = "OK\n";
const QString kFolderName = QStringLiteral("quarn-basic-editor");
constexpr int kRetryPauseMs = 50;

// Editors that share a settings profile share the listener, so a test run or
// a second profile never hands files to somebody else's editor.
QString ProfileKey()
{
    const QString profile =
        QSettings(QSettings::IniFormat, QSettings::UserScope, SettingsNames::kOrganisation, QString()).fileName();
    return QString::fromLatin1(QCryptographicHash::hash(profile.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
}

} // namespace

QString PrivateFolder(const QString &base, QString *error)
{
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        if (error)
            *error = QStringLiteral("no absolute base folder");
        return QString();
    }
    return MakePrivateFolder(QDir::cleanPath(base) + QLatin1Char('/') + kFolderName, false, error);
}

QString Folder(QString *error)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
#ifndef Q_OS_WIN
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && IsOwnFolder(runtime)) {
        const QString folder = PrivateFolder(runtime, error);
        if (!folder.isEmpty())
            return folder;
    }
#else
    Q_UNUSED(runtime);
#endif
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    MakeFolders(cache);
    return PrivateFolder(cache, error);
}

namespace {
// Socket and lock share their folder and name.
QString PathInFolder(const QString &suffix)
{
    const QString folder = Folder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/open-") + ProfileKey() + suffix;
}
} // namespace

QString SocketPath()
{
#ifdef Q_OS_WIN
    // A named pipe; the server gives it user-only access.
    return QStringLiteral("quarn-basic-editor-%1-%2").arg(qEnvironmentVariable("USERNAME"), ProfileKey());
#else
    return PathInFolder(QString());
#endif
}

QString LockPath()
{
    return PathInFolder(QStringLiteral(".lock"));
}

QByteArray EncodeRequest(const QStringList &files)
{
    QByteArray request;
    for (const QString &file : files)
        request += QUrl::toPercentEncoding(QFileInfo(file).absoluteFilePath()) + '\n';
    return request + '\n';
}

RequestReader::State RequestReader::Append(const QByteArray &bytes)
{
    if (m_state != Incomplete)
        return m_state;
    // Only the new bytes and the one before them can complete the request.
    const qsizetype from = qMax<qsizetype>(0, m_buffer.size() - 1);
    m_buffer += bytes;
    qsizetype end = -1;
    if (m_buffer.startsWith('\n'))
        end = 0;
    else if (const qsizetype blank = m_buffer.indexOf("\n\n", from); blank >= 0)
        end = blank + 1;
    if (end < 0) {
        if (m_buffer.size() > kMaxRequestBytes) {
            m_state = TooLong;
            m_buffer.clear();
        }
        return m_state;
    }
    if (end > kMaxRequestBytes) {
        m_state = TooLong;
        m_buffer.clear();
        return m_state;
    }
    const QList<QByteArray> lines = m_buffer.left(end).split('\n');
    for (const QByteArray &line : lines) {
        if (!line.isEmpty())
            m_files.append(QUrl::fromPercentEncoding(line));
    }
    m_buffer.clear();
    m_state = Complete;
    return m_state;
}

Delivery SendRequest(const QByteArray &request, int timeoutMs)
{
    const QString path = SocketPath();
    if (path.isEmpty())
        return Delivery::NotReached;
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return Delivery::NotReached;
    socket.write(request);
    socket.flush();
    QByteArray answer;
    while (answer.size() < kAnswer.size()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime()))) {
            // A closed connection was refused; an open one waits on a busy listener.
            return socket.state() == QLocalSocket::ConnectedState && socket.bytesToWrite() == 0 ? Delivery::Unanswered
                                                                                                : Delivery::NotReached;
        }
        answer += socket.readAll();
    }
    return answer.startsWith(kAnswer) ? Delivery::Answered : Delivery::NotReached;
}

} // namespace ShellOpenChannel

using namespace ShellOpenChannel;

namespace {
// How often waiting requests look again whether the program can take them.
constexpr int kBusyRetryMs = 200;
} // namespace

CShellOpenServer::CShellOpenServer(OpenHandler handler, ReadyCheck ready, QObject *parent)
    : QObject(parent), m_handler(std::move(handler)), m_ready(std::move(ready)), m_pServer(new QLocalServer(this))
{
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &CShellOpenServer::OnNewConnection);
}

CShellOpenServer::~CShellOpenServer()
{
    // The socket goes before the lock, so the next holder finds no socket of ours.
    m_pServer->close();
}

bool CShellOpenServer::Claim()
{
    return m_lock.TryLock(LockPath());
}

bool CShellOpenServer::HoldsClaim() const
{
    return m_lock.IsLocked();
}

bool CShellOpenServer::Listen()
{
    if (m_pServer->isListening())
        return true;
    if (!m_lock.IsLocked())
        return false;
    // The lock is ours, so a socket left at the address is a dead editor's.
    const QString path = SocketPath();
    QLocalServer::removeServer(path);
    if (!path.isEmpty() && m_pServer->listen(path))
        return true;
    qWarning("Files opened from the desktop cannot be handed to this editor: %s", qPrintable(m_pServer->errorString()));
    m_lock.Unlock();
    return false;
}

void CShellOpenServer::StopListening()
{
    m_pServer->close();
    m_lock.Unlock();
}

void CShellOpenServer::OnNewConnection()
{
    while (QLocalSocket *socket = m_pServer->nextPendingConnection()) {
        if (m_nConnections >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_nConnections;
        connect(socket, &QObject::destroyed, this, [this] { --m_nConnections; });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // Whatever a connection has not managed in its time, it is dropped.
        QTimer::singleShot(s_requestTimeoutMs.Value(), socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        auto reader = std::make_shared<RequestReader>();
        auto read = [this, socket, reader] {
            if (reader->CurrentState() != RequestReader::Incomplete)
                return;
            switch (reader->Append(socket->readAll())) {
            case RequestReader::Incomplete:
                return;
            case RequestReader::TooLong:
                socket->abort();
                return;
            case RequestReader::Complete:
                break;
            }
            // Only a listening editor answers for files: one that stopped may be
            // gone before it opened them, and one with too many waiting already
            // could not hold them.
            const QStringList files = reader->Files();
            qsizetype bytes = 0;
            for (const QString &file : files)
                bytes += file.size() * qsizetype(sizeof(QChar));
            if (!m_pServer->isListening() || m_nPendingBytes + bytes > s_maxPendingBytes.Value()) {
                socket->abort();
                return;
            }
            socket->write(kAnswer);
            socket->disconnectFromServer();
            if (!files.isEmpty()) {
                m_pending.append(files);
                m_nPendingBytes += bytes;
                QMetaObject::invokeMethod(this, &CShellOpenServer::ServePending, Qt::QueuedConnection);
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        if (socket->bytesAvailable() > 0)
            read();
    }
}

void CShellOpenServer::ServePending()
{
    if (m_bServing || m_pending.isEmpty())
        return;
    if (m_ready && !m_ready()) {
        QTimer::singleShot(kBusyRetryMs, this, &CShellOpenServer::ServePending);
        return;
    }
    // A failed open shows a message box whose event loop takes in further
    // requests; they wait here until these are done.
    m_bServing = true;
    const QStringList files = std::exchange(m_pending, {});
    m_nPendingBytes = 0;
    QPointer<CShellOpenServer> alive(this);
    if (m_handler)
        m_handler(files);
    if (!alive)
        return;
    m_bServing = false;
    if (!m_pending.isEmpty())
        QMetaObject::invokeMethod(this, &CShellOpenServer::ServePending, Qt::QueuedConnection);
}

CShellOpenServer::Offer CShellOpenServer::OfferFiles(const QStringList &files)
{
    if (LockPath().isEmpty())
        return Offer::NoEditor;
    const QByteArray request = EncodeRequest(files);
    QDeadlineTimer deadline(s_answerTimeoutMs.Value());
    for (;;) {
        if (Claim())
            return Offer::NoEditor;
        // A live editor holds the lock. It may still be starting, or have all
        // its connections busy: try again until it answers or time is up.
        switch (SendRequest(request, int(deadline.remainingTime()))) {
        case Delivery::Answered:
            return Offer::Delivered;
        case Delivery::Unanswered:
            return Offer::Queued;
        case Delivery::NotReached:
            break;
        }
        if (deadline.hasExpired())
            return Offer::Unreachable;
        QThread::msleep(kRetryPauseMs);
    }
}
