#pragma once
// Only one copy of the program runs per program folder. The first copy listens on a local
// socket; a later copy finds it, asks it to come to the front and exits. A lock file decides
// which copy is first when two start at the same moment; a socket or lock left behind by a
// killed copy does not block the next start.

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace postavo {

class SingleCopy : public QObject {
    Q_OBJECT
public:
    // `programFile` is the running program file; the lock's name is derived from its name and
    // folder, and from the user, so separate installs and users do not block each other.
    explicit SingleCopy(const QString& programFile, QObject* parent = nullptr);
    ~SingleCopy() override;

    enum class Outcome { First, Other, Failed };
    // Becomes the first copy, or tells the first copy to come to the front (Outcome::Other,
    // the caller then exits). Waits up to `waitMs` for a copy that is just starting.
    Outcome start(int waitMs = 5000);

    QString serverName() const { return name_; }
    QString lockPath() const { return lockPath_; }
    QString errorString() const { return error_; }

    static QString nameFor(const QString& programFile);

signals:
    // Another copy was started: come to the front.
    void activationRequested();

private:
    bool askFirstToActivate(int timeoutMs);

    QString name_;
    QString lockPath_;
    QString error_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

} // namespace postavo
