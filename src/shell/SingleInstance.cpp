#include "shell/SingleInstance.h"

#include <QDir>
#include <QLockFile>

namespace quenyx::shell {

SingleInstance::SingleInstance(const QString& lockFile)
    : lock_(std::make_unique<QLockFile>(lockFile)), fileName_(lockFile)
{
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::Acquire()
{
    if (lock_->tryLock(0))
        return Outcome::Acquired;
    return lock_->error() == QLockFile::LockFailedError ? Outcome::HeldByAnother : Outcome::Failed;
}

QString SingleInstance::failure() const
{
    switch (lock_->error()) {
    case QLockFile::PermissionError:
        return QStringLiteral("its folder is missing or read-only");
    case QLockFile::LockFailedError:
        return QStringLiteral("another console holds it");
    default:
        return QStringLiteral("it cannot be written");
    }
}

QString SingleInstance::fileName() const
{
    return fileName_;
}

QString SingleInstance::DefaultLockFile()
{
    const QString machine = qEnvironmentVariable("QUENYX_MACHINE");
    const QString folder = machine.isEmpty() ? QDir::tempPath() : machine;
    return QDir(folder).filePath(QStringLiteral("QuenyxAdmin.lock"));
}

} // namespace quenyx::shell
