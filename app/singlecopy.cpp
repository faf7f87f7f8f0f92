#include "singlecopy.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace postavo {

namespace {
constexpr char kActivate[] = "activate\n";
}

QString SingleCopy::nameFor(const QString& programFile)
{
    const QFileInfo fi(programFile);
    const QString canonical = fi.canonicalFilePath().isEmpty() ? fi.absoluteFilePath() : fi.canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("%1-%2-%3").arg(fi.completeBaseName().toLower()).arg(uint(getuid())).arg(QString::fromLatin1(hash));
}

SingleCopy::SingleCopy(const QString& programFile, QObject* parent)
    : QObject(parent), name_(nameFor(programFile))
{
    lockPath_ = QDir::tempPath() + '/' + name_ + QStringLiteral(".lock");
}

SingleCopy::~SingleCopy()
{
    if (server_)
        server_->close();
    if (lock_)
        lock_->unlock();
}

bool SingleCopy::askFirstToActivate(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kActivate);
    socket.flush();
    socket.waitForBytesWritten(timeoutMs);
    // Wait for the first copy's acknowledgement so the request is not lost when we exit.
    socket.waitForReadyRead(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

SingleCopy::Outcome SingleCopy::start(int waitMs)
{
    QDeadlineTimer deadline(waitMs);
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A copy that was killed leaves its lock behind; QLockFile sees that its process is gone.
    lock_->setStaleLockTime(0);
    while (true) {
        if (lock_->tryLock(0)) {
            // We are first. A socket file left by a killed copy would make listen() fail.
            QLocalServer::removeServer(name_);
            server_ = new QLocalServer(this);
            server_->setSocketOptions(QLocalServer::UserAccessOption);
            if (!server_->listen(name_)) {
                error_ = server_->errorString();
                return Outcome::Failed;
            }
            connect(server_, &QLocalServer::newConnection, this, [this] {
                while (QLocalSocket* s = server_->nextPendingConnection()) {
                    connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
                    connect(s, &QLocalSocket::readyRead, this, [this, s] {
                        const QByteArray msg = s->readAll();
                        if (msg.contains("activate")) {
                            s->write("ok\n");
                            s->flush();
                            emit activationRequested();
                        }
                    });
                }
            });
            return Outcome::First;
        }
        // Someone holds the lock: it is running, or starting and not listening yet.
        if (askFirstToActivate(200))
            return Outcome::Other;
        if (deadline.hasExpired()) {
            error_ = QStringLiteral("Another copy of the program holds %1 but does not answer.").arg(lockPath_);
            return Outcome::Failed;
        }
        QThread::msleep(50);
    }
}

} // namespace postavo
