#include "shell/SingleInstance.h"

#include <QDir>
#include <QLockFile>

namespace quenyx::shell {

SingleInstance::SingleInstance(const QString& lockFile) : lock_(std::make_unique<QLockFile>(lockFile))
{
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() { return lock_->tryLock(0); }

QString SingleInstance::DefaultLockFile()
{
    const QString machine = qEnvironmentVariable("QUENYX_MACHINE");
    const QString folder = machine.isEmpty() ? QDir::tempPath() : machine;
    return QDir(folder).filePath(QStringLiteral("QuenyxAdmin.lock"));
}

} // namespace quenyx::shell
