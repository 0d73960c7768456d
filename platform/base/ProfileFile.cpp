#include "platform/base/ProfileFile.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/ProfileText.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A file that exists but cannot be read gives nothing, so that a write never
// replaces contents it could not see.
std::optional<QByteArray> ReadProfileFile(const QString& path, int* error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (stat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            return QByteArray();
        if (error != nullptr)
            *error = errno;
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        if (error != nullptr)
            *error = S_ISDIR(info.st_mode) ? EISDIR : EEXIST;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // QFile keeps the reason only as text; asking the system again gives its number.
        const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        const int reason = descriptor < 0 ? errno : EIO;
        if (descriptor >= 0)
            ::close(descriptor);
        if (error != nullptr)
            *error = reason;
        return std::nullopt;
    }
    return file.readAll();
}

QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, int bufferSize,
                                const QString& path)
{
    const TProfileText text(ReadProfileFile(path).value_or(QByteArray()));
    return text.Read(section, key, defaultValue, bufferSize);
}

bool WritePrivateProfileString(const QString& section, const QString* key,
                               const QString* value, const QString& path)
{
    const auto original = ReadProfileFile(path);
    if (!original)
        return false;
    TProfileText text(*original);
    if (key == nullptr)
        text.EraseSection(section);
    else if (value == nullptr)
        text.DeleteKey(section, *key);
    else if (!text.Write(section, *key, *value))
        return false;

    // Deleting what is not there changes nothing and needs no write.
    const QByteArray bytes = text.Bytes();
    if (bytes == *original)
        return true;
    return WriteFileAtomically(path, bytes) == fwOk;
}
