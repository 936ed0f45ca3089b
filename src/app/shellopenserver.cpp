// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/shellopenserver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSettings>
#include <QUrl>

namespace {
// One request: the files' absolute paths, percent-encoded UTF-8, one a line,
// then an empty line.
// The answer "OK\n" tells that the running editor took them.
const QByteArray kAnswer = "OK\n";
constexpr qint64 kMaxRequest = 1 << 20;

QString UserName()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    return name;
}
} // namespace

CShellOpenServer::CShellOpenServer(OpenHandler handler, QObject *parent)
    : QObject(parent), m_handler(std::move(handler)), m_pServer(new QLocalServer(this))
{
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &CShellOpenServer::OnNewConnection);
}

CShellOpenServer::~CShellOpenServer() = default;

QString CShellOpenServer::ServerName()
{
    // Editors that share a settings profile share the server, so a test run or
    // a second profile never hands files to somebody else's editor.
    const QString profile = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                      QStringLiteral("TRZ"), QString())
                                .fileName();
    const QByteArray hash =
        QCryptographicHash::hash(profile.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("quarn-basic-editor-%1-%2").arg(UserName(), QString::fromLatin1(hash));
}

bool CShellOpenServer::Listen()
{
    const QString name = ServerName();
    if (m_pServer->listen(name))
        return true;
    if (m_pServer->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Somebody answers under the name: leave it to them. Nobody: a crashed
    // editor left its socket behind.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(name);
    return m_pServer->listen(name);
}

bool CShellOpenServer::IsListening() const
{
    return m_pServer->isListening();
}

void CShellOpenServer::OnNewConnection()
{
    while (QLocalSocket *socket = m_pServer->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMaxRequest) {
                socket->abort();
                return;
            }
            const QByteArray data = socket->peek(socket->bytesAvailable());
            if (!data.endsWith("\n\n") && data != "\n")
                return;
            socket->readAll();
            QStringList files;
            const QList<QByteArray> lines = data.split('\n');
            for (const QByteArray &line : lines) {
                if (!line.isEmpty())
                    files.append(QUrl::fromPercentEncoding(line));
            }
            socket->write(kAnswer);
            socket->flush();
            socket->disconnectFromServer();
            if (m_handler && !files.isEmpty())
                m_handler(files);
        });
    }
}

bool CShellOpenServer::OfferToRunningEditor(const QStringList &files, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray request;
    for (const QString &file : files)
        request += QUrl::toPercentEncoding(QFileInfo(file).absoluteFilePath()) + '\n';
    request += '\n';
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray answer;
    while (answer.size() < kAnswer.size() && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    return answer.startsWith(kAnswer);
}
