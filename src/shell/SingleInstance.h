#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace quenyx::shell {

// Holds the console's single-instance lock for as long as it lives. A lock left by an instance that
// crashed is taken over, since its process no longer exists.
class SingleInstance final
{
public:
    explicit SingleInstance(const QString& lockFile);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    enum class Outcome {
        Acquired,
        HeldByAnother, // another running instance holds the lock
        Failed,        // the lock file cannot be made (a missing or read-only folder): no instance is running
    };
    Outcome Acquire();
    // Why the last Acquire failed, for the user.
    QString failure() const;
    QString fileName() const;

    // On an emulated machine one console per machine folder; on Windows one per user's temp folder.
    static QString DefaultLockFile();

private:
    std::unique_ptr<QLockFile> lock_;
    QString fileName_;
};

} // namespace quenyx::shell
