#include "platform/AtomicFile.h"

#include "platform/Exception.h"

#include <QFileInfo>
#include <QSaveFile>

TFileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    // QSaveFile would rename its temporary file over a device or a pipe just as
    // over a regular file (as root, even over /dev/full), so anything else that
    // already exists under the name is refused.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return fwCannotCreate;

    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk) shows in write()'s count: a
    // buffered QSaveFile flushes in commit() and renames a truncated file as if
    // nothing had happened.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fwCannotCreate;
    // After cancelWriting() or a failed write, commit() removes the temporary
    // file instead of renaming it.
    if (file.write(bytes) != bytes.size())
        file.cancelWriting();
    return file.commit() ? fwOk : fwWriteFailed;
}

void SaveFileAtomically(const QString& path, const QByteArray& bytes)
{
    switch (WriteFileAtomically(path, bytes)) {
    case fwOk:
        return;
    case fwCannotCreate:
        throw EFCreateError(QString("ﾌｧｲﾙ %1 を作成できません").arg(path));
    case fwWriteFailed:
        throw EWriteError(QString("ｽﾄﾘｰﾑへの書き込みｴﾗｰ"));
    }
}
